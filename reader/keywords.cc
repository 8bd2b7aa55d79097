#include "reader/keywords.h"

#include <array>
#include <bit>
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

// A keyword is told by the first three bytes of the line: a perfect hash of
// them names the one keyword that can begin the line, or the two that share
// them ("attribute", "attriblist="). No keyword begins another, so the one
// that matches is the first in table order, as a walk of the whole table
// finds it.
constexpr uint32_t PrefixOf(const char* text) {
  return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 16;
}

constexpr int HASH_BITS = 6;
constexpr size_t SLOT_COUNT = size_t{1} << HASH_BITS;

constexpr size_t SlotOf(uint32_t prefix, uint32_t multiplier) {
  return (prefix * multiplier) >> (32 - HASH_BITS);
}

// The first multiplier that gives every distinct prefix a slot of its own.
constexpr uint32_t kMultiplier = [] {
  for (uint32_t multiplier = 0x9E3779B1u;; multiplier += 2) {
    bool distinct = true;
    for (size_t a = 0; a < KEYWORD_COUNT && distinct; ++a) {
      for (size_t b = 0; b < a && distinct; ++b) {
        const uint32_t pa = PrefixOf(kLowered[a].text.data());
        const uint32_t pb = PrefixOf(kLowered[b].text.data());
        distinct = pa == pb || SlotOf(pa, multiplier) != SlotOf(pb, multiplier);
      }
    }
    if (distinct) return multiplier;
  }
}();

constexpr uint8_t NO_KEYWORD = 0xFF;
constexpr size_t MOST_PER_SLOT = 2;
using Slot = std::array<uint8_t, MOST_PER_SLOT>;

constexpr std::array<Slot, SLOT_COUNT> kSlots = [] {
  std::array<Slot, SLOT_COUNT> slots{};
  for (Slot& slot : slots) slot.fill(NO_KEYWORD);
  for (size_t k = 0; k < KEYWORD_COUNT; ++k) {
    Slot& slot = slots[SlotOf(PrefixOf(kLowered[k].text.data()), kMultiplier)];
    slot[slot[0] == NO_KEYWORD ? 0 : 1] = static_cast<uint8_t>(k);
  }
  return slots;
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
bool Matches(const Words& line, size_t k) {
  const Words text = WordsOf(kLowered[k].text.data());
  const Words mask = WordsOf(kLowered[k].mask.data());
  return (((line.low ^ text.low) & mask.low) | ((line.high ^ text.high) & mask.high)) == 0;
}

const Keyword* MatchWords(const char* window) {
  const Words line = WordsOf(window);
  // The prefix is in the first word already, where the bytes stand in order.
  const uint32_t prefix = std::endian::native == std::endian::little
                              ? static_cast<uint32_t>(line.low & 0xFFFFFFu)
                              : PrefixOf(window);
  const Slot& slot = kSlots[SlotOf(prefix, kMultiplier)];
  for (const uint8_t k : slot) {
    if (k == NO_KEYWORD) break;
    if (Matches(line, k)) return &KeywordTable[k];
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
