// The tester's messages carry their line number where the format's one "%d"
// stands. They are formatted here as snprintf would format them into a
// buffer of MESSAGE_CAPACITY bytes, without its cost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace fxt {

// A formatted message is cut to this many bytes, terminator included.
inline constexpr size_t MESSAGE_CAPACITY = 100;
inline constexpr size_t NO_LINE_NUMBER = std::string_view::npos;

// Where the format's "%d" stands; NO_LINE_NUMBER when it has none.
size_t LineNumberPlace(std::string_view format);

// The format with `line` in place of its "%d" at `place`, cut to the
// buffer and NUL-terminated; its length.
size_t FormatLineNumber(std::span<char, MESSAGE_CAPACITY> message, std::string_view format,
                        size_t place, int32_t line);

}  // namespace fxt
