#include "tools/display_path.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace fxt {
namespace {

uint8_t ByteAt(std::string_view bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); }

void AppendEscaped(std::string& out, uint8_t byte) {
  char escaped[5];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  out += escaped;
}

}  // namespace

// The controls of bidirectional text are U+061C, U+200E and U+200F, U+202A
// to U+202E, and U+2066 to U+2069.
bool IsEscapedOnTerminal(uint32_t codePoint) {
  if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F)) return true;
  return codePoint == 0x061C || codePoint == 0x200E || codePoint == 0x200F ||
         (codePoint >= 0x202A && codePoint <= 0x202E) ||
         (codePoint >= 0x2066 && codePoint <= 0x2069);
}

// A byte that begins no valid sequence counts as the character of its value:
// in 0x80 to 0x9F it is a C1 control to a terminal that reads 8-bit codes.
std::string DisplayPath(std::string_view path) {
  std::string shown;
  while (!path.empty()) {
    const size_t valid = Utf8SequenceLength(path);
    const size_t length = std::max<size_t>(valid, 1);
    const std::string_view sequence = path.substr(0, length);
    if (IsEscapedOnTerminal(valid != 0 ? Utf8CodePoint(path, valid) : ByteAt(path, 0))) {
      for (const char c : sequence) AppendEscaped(shown, static_cast<uint8_t>(c));
    } else {
      shown += sequence;
    }
    path.remove_prefix(length);
  }
  return shown;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

std::string Utf8Path(std::string_view path) {
  std::string shown;
  while (!path.empty()) {
    const size_t length = Utf8SequenceLength(path);
    // A backslash of the name is escaped too, or "\xE9" written out would
    // read as the byte E9.
    if (length == 0 || path.front() == '\\') {
      AppendEscaped(shown, ByteAt(path, 0));
      path.remove_prefix(1);
      continue;
    }
    shown += path.substr(0, length);
    path.remove_prefix(length);
  }
  return shown;
}

}  // namespace fxt
