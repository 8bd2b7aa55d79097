#include "reader/message_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace fxt {

size_t LineNumberPlace(std::string_view format) { return format.find("%d"); }

size_t FormatLineNumber(std::span<char, MESSAGE_CAPACITY> message, std::string_view format,
                        size_t place, int32_t line) {
  std::array<char, 12> digits{};
  const char* digitsEnd = std::to_chars(digits.begin(), digits.end(), line).ptr;
  size_t length = 0;
  const auto append = [&message, &length](std::string_view piece) {
    const size_t taken = std::min(piece.size(), MESSAGE_CAPACITY - 1 - length);
    std::memcpy(message.data() + length, piece.data(), taken);
    length += taken;
  };
  append(format.substr(0, place));
  append({digits.data(), static_cast<size_t>(digitsEnd - digits.data())});
  append(format.substr(place + 2));
  message[length] = '\0';
  return length;
}

}  // namespace fxt
