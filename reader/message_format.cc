#include "reader/message_format.h"

#include <algorithm>
#include <charconv>

namespace fxt {
namespace {

// The longest number "%d" prints: "-2147483648".
constexpr size_t LONGEST_NUMBER = 11;

}  // namespace

size_t LineNumberPlace(std::string_view format) { return format.find("%d"); }

void LineDigits::Write(int32_t line) {
  if (line > 0 && line_ == line - 1) {
    CountOnByOne();
  } else {
    length_ = static_cast<size_t>(
        std::to_chars(digits_.begin(), digits_.begin() + LONGEST_NUMBER, line).ptr -
        digits_.begin());
  }
  line_ = line;
}

// Only ever from a number of 0 or more: a leading '-' is never reached.
void LineDigits::CountOnByOne() {
  for (size_t i = length_; i-- > 0;) {
    if (digits_[i] != '9') {
      ++digits_[i];
      return;
    }
    digits_[i] = '0';
  }
  std::copy_backward(digits_.begin(), digits_.begin() + length_, digits_.begin() + length_ + 1);
  digits_[0] = '1';
  ++length_;
}

size_t FormatLineNumber(std::span<char, MESSAGE_CAPACITY> message, std::string_view format,
                        size_t place, int32_t line) {
  static LineDigits digits;
  size_t length = 0;
  const auto append = [&message, &length](std::string_view piece) {
    const size_t taken = std::min(piece.size(), MESSAGE_CAPACITY - 1 - length);
    std::memcpy(message.data() + length, piece.data(), taken);
    length += taken;
  };
  append(format.substr(0, place));
  append(digits.Of(line));
  append(format.substr(place + 2));
  message[length] = '\0';
  return length;
}

std::optional<SplitFormat> SplitAtLineNumber(std::string_view format, size_t place) {
  const std::string_view head = format.substr(0, place);
  const std::string_view tail = format.substr(place + 2);
  const bool fits = head.size() <= SplitFormat::HEAD && tail.size() < SplitFormat::TAIL &&
                    head.size() + LONGEST_NUMBER + tail.size() < MESSAGE_CAPACITY;
  if (!fits) return std::nullopt;
  SplitFormat split;
  std::copy(head.begin(), head.end(), split.head.begin());
  std::copy(tail.begin(), tail.end(), split.tail.begin());
  split.headLength = head.size();
  split.tailLength = tail.size();
  return split;
}

}  // namespace fxt
