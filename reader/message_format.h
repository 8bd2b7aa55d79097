// The tester's messages carry their line number where the format's one "%d"
// stands. They are formatted here as snprintf would format them into a
// buffer of MESSAGE_CAPACITY bytes, without its cost.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

namespace fxt {

// A formatted message is cut to this many bytes, terminator included.
inline constexpr size_t MESSAGE_CAPACITY = 100;
inline constexpr size_t NO_LINE_NUMBER = std::string_view::npos;

// Where the format's "%d" stands; NO_LINE_NUMBER when it has none.
size_t LineNumberPlace(std::string_view format);

// The decimal digits of a line number, kept from one message to the next:
// the messages of a line come one after another and the next line's after
// them, so the digits are mostly kept or counted on by one.
class LineDigits {
 public:
  static constexpr size_t SPACE = 16;  // room for "-2147483648" and padding

  // The digits of `line`, as "%d" prints it; valid until the next call.
  std::string_view Of(int32_t line) {
    if (line != line_) Write(line);
    return {digits_.data(), length_};
  }
  // The digits of the last call, followed by bytes of no meaning up to SPACE.
  const char* Padded() const { return digits_.data(); }
  size_t size() const { return length_; }

 private:
  void Write(int32_t line);
  void CountOnByOne();

  int32_t line_ = 0;
  std::array<char, SPACE> digits_{'0'};
  size_t length_ = 1;
};

// The format with `line` in place of its "%d" at `place`, cut to the
// buffer and NUL-terminated; its length.
size_t FormatLineNumber(std::span<char, MESSAGE_CAPACITY> message, std::string_view format,
                        size_t place, int32_t line);

// A format split at its "%d" once and padded, so that each message is put
// together from three copies of fixed size: a few moves each, where a copy
// of measured length is a call to memcpy.
struct SplitFormat {
  static constexpr size_t HEAD = 32;
  static constexpr size_t TAIL = 80;
  static constexpr size_t MESSAGE_SPACE = HEAD + LineDigits::SPACE + TAIL;

  std::array<char, HEAD> head{};
  std::array<char, TAIL> tail{};  // NUL-padded: the message's terminator comes with it
  size_t headLength = 0;
  size_t tailLength = 0;
};

// The split format; none when the text is too long for the blocks, or so
// long that a line number could bring it to the cut at MESSAGE_CAPACITY.
std::optional<SplitFormat> SplitAtLineNumber(std::string_view format, size_t place);

// The message of a split format with the digits of the last call of
// `digits`, NUL-terminated; its length, as FormatLineNumber gives it.
inline size_t FormatSplit(std::span<char, SplitFormat::MESSAGE_SPACE> message,
                          const SplitFormat& format, const LineDigits& digits) {
  const size_t digitCount = digits.size();
  std::memcpy(message.data(), format.head.data(), SplitFormat::HEAD);
  std::memcpy(message.data() + format.headLength, digits.Padded(), LineDigits::SPACE);
  std::memcpy(message.data() + format.headLength + digitCount, format.tail.data(),
              SplitFormat::TAIL);
  return format.headLength + digitCount + format.tailLength;
}

}  // namespace fxt
