#include "reader/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "../test_support.h"
#include "reader/parse_context.h"

namespace fxt {
namespace {

// Reads every logical line of `text` as the load loop would.
class LineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { parseContext = ParseContext{}; }

  std::vector<std::string> Lines(std::string_view text) {
    Feed(text);
    std::vector<std::string> lines;
    while (ReadTemplateLine()) lines.emplace_back(parseContext.lineBuffer);
    return lines;
  }
  void Feed(std::string_view text) {
    text_ = text;
    SetInput(BytesOf(text_));
    parseContext.reportTarget = &recorded;
    parseContext.normaliseEveryLine = 1;  // what lineBuffer holds is tested
  }
  // The value strings of a single line.
  void ReadOne(std::string_view line) {
    Feed(line);
    ASSERT_TRUE(ReadTemplateLine());
  }

  testing::RecordingTarget recorded;

 private:
  std::string text_;
};

TEST_F(LineReaderTest, BlanksCaseAndCommentsGoOutsideQuotes) {
  ReadOne(" Name = \"Mac 500 E\"  / a remark\r\n");
  EXPECT_STREQ(parseContext.lineBuffer, "name=\"Mac 500 E\"");
  EXPECT_EQ(parseContext.valueText, "\"Mac 500 E\"");
  EXPECT_EQ(parseContext.quotedText, "Mac 500 E");
  EXPECT_EQ(parseContext.errorCount, 0);
}

TEST_F(LineReaderTest, LinesAreCutAtLineEndsAndCounted) {
  EXPECT_EQ(Lines("*FIXTURE\r\n\n  / only a remark\nN U M D M X=3\nlast"),
            (std::vector<std::string>{"fixture", "", "", "numdmx=3", "last"}));
  EXPECT_EQ(parseContext.lineNumber, 5);
}

TEST_F(LineReaderTest, NothingIsDeliveredFromAnEmptyInput) {
  EXPECT_TRUE(Lines("").empty());
  EXPECT_EQ(parseContext.lineNumber, 0);
}

TEST_F(LineReaderTest, LongLinesComeInPiecesOfNinetyNine) {
  const std::string ninetyNine(99, 'a');
  EXPECT_EQ(Lines(ninetyNine + "\nb"), (std::vector<std::string>{ninetyNine, "b"}));
  EXPECT_EQ(Lines(std::string(150, 'c')),
            (std::vector<std::string>{std::string(99, 'c'), std::string(51, 'c')}));
  EXPECT_EQ(Lines(std::string(198, 'd') + "\n"),
            (std::vector<std::string>{std::string(99, 'd'), std::string(99, 'd')}));
}

// Each logical line knows where it begins in the file: the physical line,
// counted by '\n' bytes alone, and the byte column, which is past 1 only for
// the later pieces of an over-long line.
TEST_F(LineReaderTest, EachLineKnowsWhereItBegins) {
  Feed("a\r\n\n" + std::string(250, 'x') + "\nlast");
  std::vector<SourcePosition> positions;
  while (ReadTemplateLine()) positions.push_back(parseContext.linePosition);
  EXPECT_EQ(positions,
            (std::vector<SourcePosition>{{1, 1}, {2, 1}, {3, 1}, {3, 100}, {3, 199}, {4, 1}}));
  EXPECT_EQ(parseContext.lineNumber, 6);
}

TEST_F(LineReaderTest, ANulByteEndsTheLinesText) {
  EXPECT_EQ(Lines(std::string("name=\"a\0b\"\nend", 14)),
            (std::vector<std::string>{"name=\"a", "end"}));
  EXPECT_EQ(parseContext.errorCount, 1);  // the quote was left open
}

TEST_F(LineReaderTest, ReadingStopsOnceTheTemplateHasEnded) {
  Feed("a\nb\n");
  ASSERT_TRUE(ReadTemplateLine());
  parseContext.templateEnded = 1;
  EXPECT_FALSE(ReadTemplateLine());
}

// The value ends before the line's NUL; a quote never closed still takes
// the NUL into the quoted text.
TEST_F(LineReaderTest, ValueTextEndsBeforeTheNul) {
  struct Case {
    const char* line;
    std::string value;
    bool given;
    std::string quoted;
    bool isNumber;
  } cases[] = {
      {"channel=", "", true, "", false},
      {"channel= 0 0 7", "007", true, "", true},
      {"channel=-1", "-1", true, "", false},
      {"channel=1.5", "1.5", true, "", false},
      {"attribute", "", false, "", false},
      {"name=\"open", "\"open", true, std::string("open\0", 5), false},
      {"a=b=c", "b=c", true, "", false},
  };
  for (const Case& c : cases) {
    ReadOne(c.line);
    EXPECT_EQ(parseContext.valueText, c.value) << c.line;
    EXPECT_EQ(parseContext.valueGiven != 0, c.given) << c.line;
    EXPECT_EQ(parseContext.quotedText, c.quoted) << c.line;
    EXPECT_EQ(ValueIsNumber(), c.isNumber) << c.line;
  }
}

TEST_F(LineReaderTest, AShortLineLeavesNothingOfALongerOne) {
  Feed("manufacturer=\"long value\"\nattribute\n");
  ASSERT_TRUE(ReadTemplateLine());
  ASSERT_TRUE(ReadTemplateLine());
  EXPECT_TRUE(parseContext.valueText.empty());
  EXPECT_TRUE(parseContext.quotedText.empty());
}

TEST_F(LineReaderTest, QuoteErrors) {
  struct Case {
    const char* line;
    std::vector<std::string> messages;
    const char* normalised;
  } cases[] = {
      {"name=\"a/b\"", {"ERROR - line 1: Unexpected end of line"}, "name=\"a"},
      {"name=\"ab\r\n", {"ERROR - line 1: Unexpected end of line"}, "name=\"ab"},
      {"name=\"ab\"c\"\"",
       {"ERROR - line 1: too many quotes  SYNTAX error",
        "ERROR - line 1: too many quotes  SYNTAX error",
        "ERROR - line 1: too many quotes  SYNTAX error"},
       "name=\"ab\"c\"\""},
  };
  for (const Case& c : cases) {
    recorded.messages.clear();
    parseContext.errorCount = 0;
    parseContext.lineNumber = 0;
    ReadOne(c.line);
    EXPECT_EQ(recorded.messages, c.messages) << c.line;
    EXPECT_EQ(parseContext.errorCount, c.messages.size()) << c.line;
    EXPECT_STREQ(parseContext.lineBuffer, c.normalised);
  }
  EXPECT_EQ(parseContext.quotedText, "ab");
}

// A tool that normalises one line on its own gets the pieces that the load
// reads, and reports nothing.
TEST_F(LineReaderTest, ALinePieceIsNormalisedAsTheLoadNormalisesIt) {
  const std::string lines[] = {
      " *Name = \"Mac 500\" / remark\r",
      "*STOP = ( M0:255 ), W, \"Pan=\"",
      "name = \"open / quote",
      "  CHANNEL = 1\0 lost",
      std::string(120, 'x') + " A",
      std::string(99, 'y'),
      "",
  };
  for (const std::string& line : lines) {
    std::vector<std::string> pieces;
    std::string normalised;
    std::string_view rest = line;
    do {
      rest.remove_prefix(NormaliseLinePiece(rest, normalised));
      pieces.push_back(normalised);
    } while (!rest.empty());
    EXPECT_EQ(pieces, Lines(line + "\n")) << line;
  }
  parseContext = ParseContext{};
  std::string normalised;
  EXPECT_EQ(NormaliseLinePiece("name=\"open", normalised), 10u);
  EXPECT_EQ(normalised, "name=\"open");
  EXPECT_EQ(parseContext.errorCount, 0);
}

// Read in a buffer that goes on past the line, as a template's bytes do, a
// piece reads as it does alone, whichever way the reader takes.
TEST(NormaliseLinePiece, ReadsAlikeWhateverFollowsTheLine) {
  const std::string lines[] = {
      "  name = \"Mac 500\"  / remark",
      "stop=(m0:255),w,\"Pan=\"",
      "NAME = \"open / quote",
      "name = \"open",
      std::string(70, 'x') + " a",
      std::string(99, 'y'),
      "",
  };
  for (const std::string& line : lines) {
    const std::string text = line + "\nattribute\n" + std::string(200, 'z');
    std::string alone;
    const size_t taken = NormaliseLinePiece(line, alone);
    std::array<char, NORMALISED_CAPACITY> normalised{};
    const LinePiece piece = NormaliseLinePiece(std::string_view(text).substr(0, line.size()),
                                               text.data() + text.size(), normalised);
    EXPECT_EQ(piece.taken, taken) << line;
    EXPECT_EQ(std::string_view(normalised.data(), piece.length), alone) << line;
    EXPECT_EQ(piece.quoteLeftOpen, std::count(alone.begin(), alone.end(), '"') % 2 != 0) << line;
  }
}

}  // namespace
}  // namespace fxt
