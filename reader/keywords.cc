#include "reader/keywords.h"

#include <array>
#include <cstring>
#include <string_view>

namespace fxt {
namespace {

constexpr char LowerCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct LoweredKeyword {
  std::array<char, 16> text{};  // the keyword's text in lower case
  size_t length = 0;
};

constexpr std::array<LoweredKeyword, KEYWORD_COUNT> kLowered = [] {
  std::array<LoweredKeyword, KEYWORD_COUNT> lowered{};
  for (size_t k = 0; k < KEYWORD_COUNT; ++k) {
    const char* text = KeywordTable[k].text;
    size_t i = 0;
    for (; text[i] != '\0'; ++i) lowered[k].text[i] = LowerCase(text[i]);
    lowered[k].length = i;
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

}  // namespace

const Keyword* MatchKeyword(const char* line) {
  const Candidates& candidates = kCandidates[static_cast<uint8_t>(line[0])];
  for (uint8_t i = 0; i < candidates.count; ++i) {
    const uint8_t k = candidates.keywords[i];
    const LoweredKeyword& keyword = kLowered[k];
    // The line is NUL-terminated, and no keyword holds a NUL: the comparison
    // stops at a shorter line's end.
    if (std::strncmp(line, keyword.text.data(), keyword.length) == 0) return &KeywordTable[k];
  }
  return nullptr;
}

}  // namespace fxt
