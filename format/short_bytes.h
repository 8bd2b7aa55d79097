// Copies and comparisons of the few bytes a template line holds, done in
// place: a call to the C library's memcpy or memcmp costs more than copying
// twenty bytes, and its branches on the length mispredict from one line to
// the next. Any length from one word to two is two words that overlap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace fxt {

namespace short_bytes {

struct Pair {
  uint64_t low;
  uint64_t high;
};

template <typename Word>
Word Load(const char* from) {
  Word word;
  std::memcpy(&word, from, sizeof word);
  return word;
}

template <typename Word>
void CopyOverlapping(char* to, const char* from, size_t length) {
  const auto first = Load<Word>(from);
  const auto last = Load<Word>(from + length - sizeof(Word));
  std::memcpy(to, &first, sizeof first);
  std::memcpy(to + length - sizeof(Word), &last, sizeof last);
}

inline uint64_t Difference(uint32_t a, uint32_t b) { return a ^ b; }
inline uint64_t Difference(uint64_t a, uint64_t b) { return a ^ b; }
inline uint64_t Difference(Pair a, Pair b) { return (a.low ^ b.low) | (a.high ^ b.high); }

template <typename Word>
bool SameOverlapping(const char* a, const char* b, size_t length) {
  const size_t last = length - sizeof(Word);
  return (Difference(Load<Word>(a), Load<Word>(b)) |
          Difference(Load<Word>(a + last), Load<Word>(b + last))) == 0;
}

}  // namespace short_bytes

// `length` bytes from `from` to `to`, which do not overlap.
inline void CopyBytes(char* to, const char* from, size_t length) {
  using namespace short_bytes;
  if (length > 2 * sizeof(Pair)) {
    std::memcpy(to, from, length);
  } else if (length > sizeof(uint64_t) * 2) {
    CopyOverlapping<Pair>(to, from, length);
  } else if (length >= sizeof(uint64_t)) {
    CopyOverlapping<uint64_t>(to, from, length);
  } else if (length >= sizeof(uint32_t)) {
    CopyOverlapping<uint32_t>(to, from, length);
  } else {
    for (size_t i = 0; i < length; ++i) to[i] = from[i];
  }
}

// Whether two byte strings are the same.
inline bool SameBytes(std::string_view a, std::string_view b) {
  using namespace short_bytes;
  const size_t length = a.size();
  if (length != b.size()) return false;
  if (length > 2 * sizeof(Pair)) return std::memcmp(a.data(), b.data(), length) == 0;
  if (length > sizeof(uint64_t) * 2) return SameOverlapping<Pair>(a.data(), b.data(), length);
  if (length >= sizeof(uint64_t)) return SameOverlapping<uint64_t>(a.data(), b.data(), length);
  if (length >= sizeof(uint32_t)) return SameOverlapping<uint32_t>(a.data(), b.data(), length);
  for (size_t i = 0; i < length; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace fxt
