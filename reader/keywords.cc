#include "reader/keywords.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace fxt {
namespace {

constexpr char LowerCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Each keyword's text in lower case, and a mask of its bytes, both padded to
// the 16 bytes that a line is compared on.
struct LoweredKeyword {
  std::array<char, KEYWORD_WINDOW> text{};
  std::array<uint8_t, KEYWORD_WINDOW> mask{};
};

constexpr std::array<LoweredKeyword, KEYWORD_COUNT> kLowered = [] {
  std::array<LoweredKeyword, KEYWORD_COUNT> lowered{};
  for (size_t k = 0; k < KEYWORD_COUNT; ++k) {
    const char* text = KeywordTable[k].text;
    for (size_t i = 0; text[i] != '\0'; ++i) {
      lowered[k].text[i] = LowerCase(text[i]);
      lowered[k].mask[i] = 0xFF;
    }
  }
  return lowered;
}();

// The keywords that begin with each byte, in table order: the first of them
// that the line begins with is its keyword, as a walk of the whole table
// would find.
constexpr size_t MOST_PER_LETTER = 4;
struct Candidates {
  std::array<uint8_t, MOST_PER_LETTER> keywords{};
  uint8_t count = 0;
};

constexpr std::array<Candidates, 256> kCandidates = [] {
  std::array<Candidates, 256> candidates{};
  for (size_t k = 0; k < KEYWORD_COUNT; ++k) {
    Candidates& first = candidates[static_cast<uint8_t>(kLowered[k].text[0])];
    first.keywords[first.count++] = static_cast<uint8_t>(k);
  }
  return candidates;
}();

// Two words of 8 bytes, read as they stand in memory.
struct Words {
  uint64_t low;
  uint64_t high;
};

Words WordsOf(const void* bytes) {
  Words words{};
  std::memcpy(&words.low, bytes, sizeof words.low);
  std::memcpy(&words.high, static_cast<const char*>(bytes) + sizeof words.low, sizeof words.high);
  return words;
}

// A keyword matches when the line's bytes under its mask are its text. No
// keyword holds a NUL, so a line that ends within one does not match it.
const Keyword* MatchWords(const char* window) {
  const Words line = WordsOf(window);
  const Candidates& candidates = kCandidates[static_cast<uint8_t>(window[0])];
  for (uint8_t i = 0; i < candidates.count; ++i) {
    const uint8_t k = candidates.keywords[i];
    const Words text = WordsOf(kLowered[k].text.data());
    const Words mask = WordsOf(kLowered[k].mask.data());
    const uint64_t differ =
        ((line.low ^ text.low) & mask.low) | ((line.high ^ text.high) & mask.high);
    if (differ == 0) return &KeywordTable[k];
  }
  return nullptr;
}

}  // namespace

const Keyword* MatchKeyword(const char* line) {
  std::array<char, KEYWORD_WINDOW> window{};
  for (size_t i = 0; i < KEYWORD_WINDOW && line[i] != '\0'; ++i) window[i] = line[i];
  return MatchWords(window.data());
}

const Keyword* MatchBufferedKeyword(std::span<const char> buffer) {
  assert(buffer.size() >= KEYWORD_WINDOW);
  return MatchWords(buffer.data());
}

}  // namespace fxt
