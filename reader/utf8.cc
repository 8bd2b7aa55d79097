#include "reader/utf8.h"

namespace fxt {
namespace {

uint8_t ByteAt(std::string_view bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); }

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

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

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

uint32_t Utf8CodePoint(std::string_view bytes, size_t length) {
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(ByteAt(bytes, i)); };
  switch (length) {
    case 1:
      return byte(0);
    case 2:
      return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3:
      return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default:
      return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) |
             (byte(3) & 0x3F);
  }
}

}  // namespace fxt
