// The blanks that the reader drops outside quotes: a space and a tab. The
// tools that read a line as the reader does drop the same ones.
#pragma once

#include <cstdint>

#include "reader/byte_words.h"

namespace fxt {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The same for eight bytes at a time: 0x80 in each byte of `word` that is a
// blank, and 0 in every other byte.
constexpr uint64_t BlankBytes(uint64_t word) {
  return BytesEqual(word, ' ') | BytesEqual(word, '\t');
}

}  // namespace fxt
