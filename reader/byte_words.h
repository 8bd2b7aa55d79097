// Eight bytes at a time in one 64-bit word, for any processor: which bytes
// of a word are 0, or a given byte, each marked by its high bit, exactly,
// with no carry crossing from one byte to the next.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fxt {

inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kHighBits = 0x8080808080808080u;

// Bits [0, count) of a word.
constexpr uint64_t LowBits(size_t count) {
  return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
}

// 0x80 in each byte of `word` that is 0, and 0 in every other byte.
constexpr uint64_t ZeroBytes(uint64_t word) {
  return ~(((word & ~kHighBits) + ~kHighBits) | word) & kHighBits;
}

// 0x80 in each byte of `word` that is `byte`, and 0 in every other byte.
constexpr uint64_t BytesEqual(uint64_t word, uint8_t byte) {
  return ZeroBytes(word ^ (kOnes * byte));
}

// 0x80 in each byte of `word` that is 'A' to 'Z', and 0 in every other byte.
constexpr uint64_t UpperBytes(uint64_t word) {
  const uint64_t seven = word & ~kHighBits;
  const uint64_t fromA = seven + kOnes * (0x80 - 'A');
  const uint64_t pastZ = seven + kOnes * (0x80 - 'Z' - 1);
  return fromA & ~pastZ & ~word & kHighBits;
}

}  // namespace fxt
