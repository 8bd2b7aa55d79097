#include "reader/line_normaliser.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "reader/line_scan.h"

namespace fxt {
namespace {

// Bytes that every rule of the reader looks at, and some around them.
constexpr char kAlphabet[] = " \t\"=/\r\n*AZazm0x,(@[`{\x80\xff";

std::string RandomText(std::mt19937& random, size_t length) {
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 1);  // the NUL too
  std::string text;
  for (size_t i = 0; i < length; ++i) text += kAlphabet[pick(random)];
  return text;
}

// The same with the bytes that end a line's text one in fifty, so that lines
// run over several chunks, their quotes and marks in any of them.
constexpr char kWithinText[] = " \t\"=*AZazm0x,(@[`{\x80\xff";
constexpr char kEnders[] = "\n/\r";

std::string RandomLongText(std::mt19937& random, size_t length) {
  std::uniform_int_distribution<size_t> within(0, sizeof kWithinText - 2);
  std::uniform_int_distribution<size_t> ender(0, sizeof kEnders - 1);  // the NUL too
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  for (size_t i = 0; i < length; ++i) {
    text += percent(random) < 2 ? kEnders[ender(random)] : kWithinText[within(random)];
  }
  return text;
}

struct Result {
  NormalisedPiece piece;
  std::string line;
};

Result Bytewise(const std::string& text, size_t available) {
  std::vector<char> line(NORMALISED_CAPACITY);
  const NormalisedPiece piece =
      NormaliseBytes(reinterpret_cast<const uint8_t*>(text.data()), available, line.data());
  return {piece, line.data()};
}

void ExpectSame(const Result& a, const Result& b, const std::string& text) {
  EXPECT_EQ(a.line, b.line) << testing::PrintToString(text);
  EXPECT_EQ(a.piece.length, b.piece.length) << testing::PrintToString(text);
  EXPECT_EQ(a.piece.rawLength, b.piece.rawLength) << testing::PrintToString(text);
  EXPECT_EQ(a.piece.textLength, b.piece.textLength) << testing::PrintToString(text);
  EXPECT_EQ(a.piece.quoteLeftOpen, b.piece.quoteLeftOpen) << testing::PrintToString(text);
  ASSERT_EQ(a.piece.marks, b.piece.marks) << testing::PrintToString(text);
  for (int i = 0; i < a.piece.marks; ++i) {
    EXPECT_EQ(a.piece.at[static_cast<size_t>(i)], b.piece.at[static_cast<size_t>(i)])
        << testing::PrintToString(text);
  }
}

// The quick ways answer as the byte-by-byte way does, wherever they answer.
class LineNormaliser : public ::testing::TestWithParam<Compaction> {};

INSTANTIATE_TEST_SUITE_P(Compactions, LineNormaliser,
                         ::testing::Values(Compaction::kRuns, Compaction::kShuffles));

TEST_P(LineNormaliser, MasksAgreeWithTheBytes) {
  std::mt19937 random(28);
  int handled = 0;
  for (int round = 0; round < 200000; ++round) {
    const size_t length = std::uniform_int_distribution<size_t>(1, 120)(random);
    std::string text = round % 2 == 0 ? RandomText(random, length) : RandomLongText(random, length);
    const size_t available = std::min<size_t>(99, text.size());
    text.resize(text.size() + SCAN_BYTES + SCAN_CHUNK, 'q');  // readable past the piece
    std::vector<char> line(NORMALISED_CAPACITY);
    NormalisedPiece piece;
    const auto* raw = reinterpret_cast<const uint8_t*>(text.data());
    if (!NormaliseMasked(raw, available, raw + text.size(), line.data(), piece, GetParam())) {
      continue;
    }
    ++handled;
    ExpectSame({piece, line.data()}, Bytewise(text, available), text);
    if (HasFailure()) return;
  }
  if (handled == 0) GTEST_SKIP() << "this processor cannot do it this way";
  EXPECT_GT(handled, 50000);
}

// Mostly bytes that a run of plain ones may hold, so that runs fill whole
// chunks; `special` percent are those that end a run, or blanks.
std::string RandomPlainText(std::mt19937& random, size_t length, int special) {
  constexpr char kPlain[] = "AZazm0x,(@[`{\x80\xff*";
  constexpr char kSpecial[] = " \t\"=\n/\r";
  std::uniform_int_distribution<size_t> plain(0, sizeof kPlain - 2);
  std::uniform_int_distribution<size_t> stopper(0, sizeof kSpecial - 1);  // the NUL too
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  for (size_t i = 0; i < length; ++i) {
    text += percent(random) < special ? kSpecial[stopper(random)] : kPlain[plain(random)];
  }
  return text;
}

// Taking plain runs a chunk at a time changes nothing, and reads no byte
// past the piece: it is the whole of the text given.
TEST(LineNormaliser, ChunksAgreeWithEachByte) {
  std::mt19937 random(99);
  for (int round = 0; round < 100000; ++round) {
    const size_t length = std::uniform_int_distribution<size_t>(0, 99)(random);
    const int special = std::array{1, 3, 10, 30}[static_cast<size_t>(round % 4)];
    const std::string text = RandomPlainText(random, length, special);
    const std::vector<uint8_t> raw(text.begin(), text.end());
    std::vector<char> chunked(NORMALISED_CAPACITY);
    std::vector<char> eachByte(NORMALISED_CAPACITY);
    const NormalisedPiece chunkedPiece = NormaliseBytes(raw.data(), raw.size(), chunked.data());
    const NormalisedPiece eachPiece = NormaliseEachByte(raw.data(), raw.size(), eachByte.data());
    ExpectSame({chunkedPiece, chunked.data()}, {eachPiece, eachByte.data()}, text);
    if (HasFailure()) return;
  }
}

// Both scans give the same masks, for every byte value at every place.
TEST(LineScan, WordsAgreeWithSse2) {
#if defined(__SSE2__)
  std::mt19937 random(64);
  for (int round = 0; round < 20000; ++round) {
    std::string text(SCAN_BYTES, '\0');
    for (char& c : text) c = static_cast<char>(random());
    if (round % 2 == 0) text = RandomText(random, SCAN_BYTES);
    const auto* raw = reinterpret_cast<const uint8_t*>(text.data());
    const LineMasks words = ScanLineWords(raw);
    const LineMasks sse2 = ScanLineSse2(raw);
    ASSERT_EQ(words.lineEnd, sse2.lineEnd) << testing::PrintToString(text);
    ASSERT_EQ(words.blank, sse2.blank) << testing::PrintToString(text);
    ASSERT_EQ(words.quote, sse2.quote) << testing::PrintToString(text);
    ASSERT_EQ(words.equals, sse2.equals) << testing::PrintToString(text);
    ASSERT_EQ(words.textEnd, sse2.textEnd) << testing::PrintToString(text);
    ASSERT_EQ(words.upper, sse2.upper) << testing::PrintToString(text);
  }
#else
  GTEST_SKIP() << "no SSE2 here";
#endif
}

}  // namespace
}  // namespace fxt
