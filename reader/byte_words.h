// Eight bytes at a time in one 64-bit word, for any processor: which bytes
// of a word are 0, or a given byte, each marked by its high bit, exactly,
// with no carry crossing from one byte to the next.
#pragma once

#include <cstdint>

namespace fxt {

inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kHighBits = 0x8080808080808080u;

// 0x80 in each byte of `word` that is 0, and 0 in every other byte.
constexpr uint64_t ZeroBytes(uint64_t word) {
  return ~(((word & ~kHighBits) + ~kHighBits) | word) & kHighBits;
}

// 0x80 in each byte of `word` that is `byte`, and 0 in every other byte.
constexpr uint64_t BytesEqual(uint64_t word, uint8_t byte) {
  return ZeroBytes(word ^ (kOnes * byte));
}

}  // namespace fxt
