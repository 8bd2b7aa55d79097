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

// A byte that begins no valid sequence counts as one character of its own:
// in 0x80 to 0x9F it is a C1 control to a terminal that reads 8-bit codes.
bool IsControl(std::string_view sequence) {
  const uint8_t first = ByteAt(sequence, 0);
  if (sequence.size() == 1) return first < 0x20 || (first >= 0x7F && first <= 0x9F);
  // U+0080 to U+009F: C2 80 to C2 9F.
  return sequence.size() == 2 && first == 0xC2 && ByteAt(sequence, 1) <= 0x9F;
}

// The controls of bidirectional text reorder what follows them on the line
// (U+202E shows "exe.txt" as "txt.exe"): U+061C, U+200E and U+200F,
// U+202A to U+202E, U+2066 to U+2069.
bool IsBidirectionalControl(std::string_view sequence) {
  if (sequence == "\xD8\x9C") return true;
  if (sequence.size() != 3 || ByteAt(sequence, 0) != 0xE2) return false;
  const uint8_t second = ByteAt(sequence, 1);
  const uint8_t third = ByteAt(sequence, 2);
  if (second == 0x80) return third == 0x8E || third == 0x8F || (third >= 0xAA && third <= 0xAE);
  return second == 0x81 && third >= 0xA6 && third <= 0xA9;
}

}  // namespace

std::string DisplayPath(std::string_view path) {
  std::string shown;
  while (!path.empty()) {
    const size_t length = std::max<size_t>(Utf8SequenceLength(path), 1);
    const std::string_view sequence = path.substr(0, length);
    if (IsControl(sequence) || IsBidirectionalControl(sequence)) {
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
