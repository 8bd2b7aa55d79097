#include "tools/display_path.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace fxt {
namespace {

uint8_t ByteAt(std::string_view bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); }

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

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

size_t Utf8SequenceLength(std::string_view bytes) {
  if (bytes.empty()) return 0;
  const uint8_t first = ByteAt(bytes, 0);
  if (first < 0x80) return 1;
  size_t length = 0;
  uint8_t low = 0x80;   // the bounds of the second byte exclude overlong
  uint8_t high = 0xBF;  // forms, surrogates and code points past U+10FFFF
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0) low = 0xA0;
    if (first == 0xED) high = 0x9F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  const uint8_t second = ByteAt(bytes, 1);
  if (second < low || second > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (!IsContinuation(ByteAt(bytes, i))) return 0;
  }
  return length;
}

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
