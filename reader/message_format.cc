#include "reader/message_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace fxt {

size_t LineNumberPlace(std::string_view format) { return format.find("%d"); }

size_t FormatLineNumber(std::span<char, MESSAGE_CAPACITY> message, std::string_view format,
                        size_t place, int32_t line) {
  // The reports of one line come one after another: its number is written
  // out once.
  static struct {
    int32_t line = 0;
    std::array<char, 12> digits{'0'};
    size_t length = 1;
  } last;
  if (last.line != line) {
    last.line = line;
    last.length = static_cast<size_t>(
        std::to_chars(last.digits.begin(), last.digits.end(), line).ptr - last.digits.begin());
  }
  size_t length = 0;
  const auto append = [&message, &length](std::string_view piece) {
    const size_t taken = std::min(piece.size(), MESSAGE_CAPACITY - 1 - length);
    std::memcpy(message.data() + length, piece.data(), taken);
    length += taken;
  };
  append(format.substr(0, place));
  append({last.digits.data(), last.length});
  append(format.substr(place + 2));
  message[length] = '\0';
  return length;
}

}  // namespace fxt
