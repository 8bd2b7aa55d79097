#include "reader/line_in_place.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "reader/keywords.h"
#include "reader/line_normaliser.h"
#include "reader/line_scan.h"

namespace fxt {
namespace {

// What the normaliser makes of a line, the way the grammar reads it.
struct Normalised {
  NormalisedPiece piece;
  std::string line;

  std::string Value() const {
    if (piece.marks == 0) return {};
    return line.substr(piece.at[0] + 1);
  }
  std::string Quoted() const {
    if (piece.marks < 3) return {};
    return line.substr(piece.at[1] + 1, piece.at[2] - piece.at[1] - 1);
  }
  size_t ValueQuote() const {
    return piece.marks < 2 ? std::string_view::npos : piece.at[1] - piece.at[0] - 1;
  }
};

Normalised Normalise(const std::string& text, size_t available) {
  std::vector<char> line(NORMALISED_CAPACITY);
  const NormalisedPiece piece =
      NormaliseBytes(reinterpret_cast<const uint8_t*>(text.data()), available, line.data());
  return {piece, std::string(line.data(), piece.length)};
}

// Reads `line` in place, with bytes that could be read past it.
bool ReadPadded(const std::string& line, LineInPlace& read, std::string& padded) {
  padded = line + std::string(SCAN_BYTES + SCAN_CHUNK, 'q');
  const auto* raw = reinterpret_cast<const uint8_t*>(padded.data());
  const size_t available = std::min<size_t>(99, line.size());
  return ReadLineInPlace(raw, available, ScanLine(raw), read);
}

// A line read in place tells the grammar all that its normalised line does.
void ExpectAgrees(const std::string& line, const LineInPlace& read) {
  const Normalised normalised = Normalise(line, std::min<size_t>(99, line.size()));
  const std::string shown = testing::PrintToString(line);
  EXPECT_EQ(read.length, normalised.piece.length) << shown;
  EXPECT_EQ(read.rawLength, normalised.piece.rawLength) << shown;
  EXPECT_EQ(MatchBufferedKeyword(read.keyword), MatchKeyword(normalised.line.c_str())) << shown;
  EXPECT_EQ(read.valueGiven, normalised.piece.marks > 0) << shown;
  EXPECT_EQ(read.value, normalised.Value()) << shown;
  EXPECT_EQ(read.quoted, normalised.Quoted()) << shown;
  EXPECT_EQ(read.valueQuote, normalised.ValueQuote()) << shown;
  // The window begins as the normalised line does, as far as it goes.
  for (size_t i = 0; i < KEYWORD_WINDOW && read.keyword[i] != '\0'; ++i) {
    ASSERT_EQ(read.keyword[i], normalised.line[i]) << shown;
  }
}

TEST(LineInPlace, ReadsTheCommonLinesWhereTheyStand) {
  const char* const lines[] = {
      "  name = \"Gobo Rot\"\n",
      "channel=12\n",
      "\tnumDMX = 16   / sixteen channels\n",
      "  stop = (m0:65535),d,-270,270,\"Pan=\"\n",
      "attribute\n",
      "End\r\n",
      "/ a remark: Name = \"X\"\n",
      "   \n",
      "  type = c",
      "=5\n",
      "stop = \"a\"\n",
  };
  for (const char* text : lines) {
    LineInPlace read;
    std::string padded;
    ASSERT_TRUE(ReadPadded(text, read, padded)) << text;
    ExpectAgrees(text, read);
  }
}

TEST(LineInPlace, LeavesToTheNormaliserWhatOnlyItCanRead) {
  const std::string lines[] = {
      "  na me = 1\n",         // blanks within the keyword
      "homeval = 1 2\n",       // within the value
      "type = C\n",            // a capital in the value
      "*attribute\n",          // a leading star
      "name = \"open\n",       // a quote never closed
      "name = \"a\" \"b\"\n",  // more than one pair of quotes
      "name = \"a\n",          // one quote after the '='
      "\"x = y\"\n",           // the '=' within quotes
      "\"attribute\"\n",       // a keyword with quotes
      std::string(70, 'a'),    // longer than the masks
  };
  for (const std::string& text : lines) {
    LineInPlace read;
    std::string padded;
    EXPECT_FALSE(ReadPadded(text, read, padded)) << text;
  }
}

// Lines made of the pieces that a template line is made of, in any order,
// and of any bytes at all.
std::string RandomLine(std::mt19937& random) {
  static const char* const pieces[] = {
      " ", "\t", "=",  "\"",   "name", "StOp", "numDMX", "attriblist", "(", ")",  ":",
      ",", "m",  "12", "0x1F", "-5",   "d",    "N",      "\"A b\"",    "/", "\r", "*",
  };
  constexpr char kAny[] = " \t\"=/\r\n*AZazm0x,(@[`{\x80\xff";
  std::uniform_int_distribution<int> count(0, 14);
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces));  // the last for a NUL
  std::uniform_int_distribution<size_t> any(0, sizeof kAny - 1);
  std::string line;
  const bool bytes = random() % 4 == 0;
  for (int i = count(random); i > 0; --i) {
    if (bytes) {
      line += kAny[any(random)];
    } else {
      const size_t p = piece(random);
      line += p == std::size(pieces) ? std::string(1, '\0') : std::string(pieces[p]);
    }
  }
  return line + (random() % 8 == 0 ? "" : "\n") + "next line";
}

TEST(LineInPlace, AgreesWithTheNormaliserWheneverItReads) {
  std::mt19937 random(2026);
  int read = 0;
  for (int round = 0; round < 200000; ++round) {
    const std::string line = RandomLine(random);
    LineInPlace inPlace;
    std::string padded;
    if (!ReadPadded(line, inPlace, padded)) continue;
    ++read;
    ExpectAgrees(line, inPlace);
    if (HasFailure()) return;
  }
  EXPECT_GT(read, 20000);
}

}  // namespace
}  // namespace fxt
