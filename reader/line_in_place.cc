#include "reader/line_in_place.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "reader/byte_words.h"
#include "reader/line_scan.h"

namespace fxt {
namespace {

constexpr uint64_t LowestBit(uint64_t bits) { return bits & (~bits + 1); }

// The bits set in `bits` stand side by side, or none is set.
constexpr bool IsOneRun(uint64_t bits) { return ((bits + LowestBit(bits)) & bits) == 0; }

size_t PlaceOf(uint64_t bit) { return static_cast<size_t>(std::countr_zero(bit)); }

// Where a run of bits begins, and how long it is. Counted without a
// population count, which the processors that the build targets need not
// have.
struct Run {
  size_t start = 0;
  size_t length = 0;
};

Run RunOf(uint64_t bits) {
  if (bits == 0) return {};
  const size_t start = PlaceOf(bits);
  return {start, static_cast<size_t>(std::countr_one(bits >> start))};
}

using Window = std::array<uint8_t, KEYWORD_WINDOW>;

// For each keyword length, the window's bytes that it fills; and where its
// '=' goes.
constexpr std::array<Window, KEYWORD_WINDOW + 1> kFilled = [] {
  std::array<Window, KEYWORD_WINDOW + 1> filled{};
  for (size_t length = 0; length <= KEYWORD_WINDOW; ++length) {
    for (size_t i = 0; i < length; ++i) filled[length][i] = 0xFF;
  }
  return filled;
}();
constexpr std::array<Window, KEYWORD_WINDOW + 1> kEqualsAfter = [] {
  std::array<Window, KEYWORD_WINDOW + 1> after{};
  for (size_t length = 0; length < KEYWORD_WINDOW; ++length) after[length][length] = '=';
  return after;
}();

uint64_t Word(const void* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// The keyword window: the keyword's first 16 bytes lowered, then its '='.
// A keyword without quotes has all its capitals outside them; most have
// none.
void LowerKeyword(const uint8_t* keyword, size_t length, bool capitals, bool equals,
                  LineInPlace& line) {
  constexpr int CASE_SHIFT = 2;  // from 0x80, the mark of a capital, to 0x20
  const size_t filled = std::min(length, KEYWORD_WINDOW);
  for (size_t half = 0; half < KEYWORD_WINDOW; half += 8) {
    uint64_t word = Word(keyword + half);
    if (capitals) word |= UpperBytes(word) >> CASE_SHIFT;
    uint64_t lowered = word & Word(&kFilled[filled][half]);
    if (equals) lowered |= Word(&kEqualsAfter[filled][half]);
    std::memcpy(line.keyword.data() + half, &lowered, sizeof lowered);
  }
}

// The keyword window is read from any of the masks' bytes, a chunk at most
// past them.
static_assert(KEYWORD_WINDOW <= SCAN_CHUNK);

// A line of a keyword alone, with no quote, and no blank within it.
bool ReadKeywordAlone(const uint8_t* raw, const LineMasks& masks, uint64_t text,
                      LineInPlace& line) {
  const uint64_t keyword = text & ~masks.blank;
  if ((masks.quote & text) != 0 || !IsOneRun(keyword)) return false;
  const Run run = RunOf(keyword);
  line.length = run.length;
  LowerKeyword(raw + run.start, run.length, (masks.upper & keyword) != 0, false, line);
  line.valueGiven = false;
  line.value = {};
  line.quoted = {};
  line.valueQuote = std::string_view::npos;
  return true;
}

// A line with a '=': a value has no quote, or one pair after the '=', as
// the third quote starts errors, and a quote never closed is one.
bool ReadKeywordAndValue(const uint8_t* raw, const LineMasks& masks, uint64_t text, uint64_t equals,
                         LineInPlace& line) {
  const uint64_t beforeEquals = equals - 1;
  const uint64_t quotes = masks.quote & text;
  const uint64_t opening = LowestBit(quotes);
  const uint64_t closing = LowestBit(quotes ^ opening);
  if ((quotes ^ opening ^ closing) != 0 || (opening != 0 && closing == 0) ||
      (quotes & beforeEquals) != 0) {
    return false;
  }
  const uint64_t outside = text & ~(closing - opening);
  const uint64_t kept = text & ~(masks.blank & outside);
  const uint64_t keyword = kept & beforeEquals;
  const uint64_t value = kept & ~beforeEquals & ~equals;
  if (!IsOneRun(keyword) || !IsOneRun(value) || (masks.upper & outside & value) != 0) {
    return false;
  }

  const Run keywordRun = RunOf(keyword);
  const Run valueRun = value != 0 ? RunOf(value) : Run{PlaceOf(equals) + 1, 0};
  line.length = keywordRun.length + 1 + valueRun.length;
  LowerKeyword(raw + keywordRun.start, keywordRun.length, (masks.upper & keyword) != 0, true, line);
  line.valueGiven = true;
  const char* bytes = reinterpret_cast<const char*>(raw);
  line.value = {bytes + valueRun.start, valueRun.length};
  line.valueQuote = std::string_view::npos;
  line.quoted = {};
  if (opening != 0) {
    line.valueQuote = PlaceOf(opening) - valueRun.start;
    line.quoted = {bytes + PlaceOf(opening) + 1, PlaceOf(closing) - PlaceOf(opening) - 1};
  }
  return true;
}

}  // namespace

bool ReadLineInPlace(const uint8_t* raw, size_t available, const LineMasks& masks,
                     LineInPlace& line) {
  // A piece with no line end ends with its bytes.
  uint64_t lineEnd = LowestBit(masks.lineEnd & LowBits(available));
  if (lineEnd == 0 && available < SCAN_BYTES) lineEnd = uint64_t{1} << available;
  // A line that runs past the masks, or whose '*' goes as a blank would.
  if (lineEnd == 0 || raw[0] == '*') return false;
  line.rawLength = PlaceOf(lineEnd);
  const uint64_t text = LowestBit(masks.textEnd | lineEnd) - 1;
  const uint64_t equals = LowestBit(masks.equals & text);
  return equals == 0 ? ReadKeywordAlone(raw, masks, text, line)
                     : ReadKeywordAndValue(raw, masks, text, equals, line);
}

}  // namespace fxt
