// UTF-8 as the tools meet it: a template is single-byte text, but a file
// written by an editor may be UTF-8, and paths and protocol text are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fxt {

// The length of the valid UTF-8 sequence at the start of `bytes`; 0 when
// the first byte begins none.
size_t Utf8SequenceLength(std::string_view bytes);

// Whether the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// The code point of a valid sequence, `length` bytes long, at the start of
// `bytes`.
uint32_t Utf8CodePoint(std::string_view bytes, size_t length);

}  // namespace fxt
