#include "format/format_template.h"

#include <gtest/gtest.h>

#include <string>

#include "format/line_layout.h"
#include "format/same_reading.h"
#include "format/unified_diff.h"
#include "reader/keywords.h"

namespace fxt {
namespace {

const Keyword& KeywordOf(TokenId id) { return KeywordTable[static_cast<size_t>(id)]; }

TEST(LayOutCode, KeywordsAsTheTableSpellsThemAndOneBlankAroundTheirEquals) {
  struct Case {
    const char* code;
    TokenId keyword;
    const char* canonical;
    const char* compact;
  } cases[] = {
      {"NAME=\"Mac 500\"", TOKEN_NAME, "name = \"Mac 500\"", "name=\"Mac 500\""},
      {"chan nel   =\t 5", TOKEN_CHANNEL, "channel = 5", "channel=5"},
      {"NUMDMX = 16", TOKEN_NUM_DMX, "numDMX = 16", "numDMX=16"},
      {"FINE\tCHAN=2", TOKEN_FINE_CHANNEL, "finechan = 2", "finechan=2"},
      {"end", TOKEN_END, "end", "end"},
      // A blank anywhere in a long keyword, in the first eight bytes or the last.
      {"MANUFAC TURER=\"X\"", TOKEN_MANUFACTURER, "manufacturer = \"X\"", "manufacturer=\"X\""},
      {"displayer num=1", TOKEN_DISPLAYER_NUM, "displayernum = 1", "displayernum=1"},
      {"channel =", TOKEN_CHANNEL, "channel =", "channel="},
      // Values other than a stop's and a list's keep their blanks and case.
      {"name = Robo Spot", TOKEN_NAME, "name = Robo Spot", "name=Robo Spot"},
      {"version = 2 . 1", TOKEN_VERSION, "version = 2 . 1", "version=2 . 1"},
      {"attriblist = 1, 2 ,3", TOKEN_ATTRIB_LIST, "attriblist = 1,2,3", "attriblist=1,2,3"},
      {"STOP = ( M0 : 255 , 10 ) , W , \"Pan =\"", TOKEN_STOP, "stop = (M0:255,10), W, \"Pan =\"",
       "stop=(M0:255,10),W,\"Pan =\""},
      {"stop=(m0:65535),d,-270,270,\"Pan=\"", TOKEN_STOP,
       "stop = (m0:65535), d, -270, 270, \"Pan=\"", "stop=(m0:65535),d,-270,270,\"Pan=\""},
      {"stop = (10),n,\"a, b\"", TOKEN_STOP, "stop = (10), n, \"a, b\"", "stop=(10),n,\"a, b\""},
      // A keyword that takes no value keeps what follows it as written.
      {"ATTRIBUTE", TOKEN_ATTRIBUTE, "attribute", "attribute"},
      {"End of file", TOKEN_END, "end of file", "end of file"},
      {"Endless", TOKEN_END, "endless", "endless"},
      {"stop (1),n,\"x\"", TOKEN_STOP, "stop (1),n,\"x\"", "stop (1),n,\"x\""},
      {"fixture = x", TOKEN_FIXTURE, "fixture = x", "fixture=x"},
  };
  for (const Case& c : cases) {
    LineText canonical;
    LineText compact;
    AppendLaidOutCode(canonical, c.code, KeywordOf(c.keyword), Spacing::kCanonical);
    AppendLaidOutCode(compact, c.code, KeywordOf(c.keyword), Spacing::kCompact);
    EXPECT_EQ(canonical.View(), c.canonical) << c.code;
    EXPECT_EQ(compact.View(), c.compact) << c.code;
  }
}

// A layout that would not fit is marked, never cut short in silence.
TEST(LayOutCode, ALayoutPastTheRoomIsTooLong) {
  LineText text;
  text.Append(LineText::CAPACITY - 3, ' ');
  AppendLaidOutCode(text, "channel=1", KeywordOf(TOKEN_CHANNEL), Spacing::kCompact);
  EXPECT_TRUE(text.TooLong());
  text.Clear();
  AppendLaidOutCode(text, "stop=(1,2,3,4,5,6,7,8,9)", KeywordOf(TOKEN_STOP), Spacing::kCanonical);
  EXPECT_FALSE(text.TooLong());
  EXPECT_EQ(text.View(), "stop = (1,2,3,4,5,6,7,8,9)");
}

// The reader of a layout meets its end where a file's line would have one.
TEST(LineText, ALineEndInTheRoomLeavesTheTextAsItIs) {
  LineText text;
  text.Append("  name = x");
  text.EndLineInRoom();
  EXPECT_EQ(text.View(), "  name = x");
  EXPECT_EQ(text.View().data()[text.Size()], '\n');
  text.Clear();
  text.Append(LineText::CAPACITY, ' ');
  text.EndLineInRoom();  // no room is left: nothing is written
  EXPECT_EQ(text.Size(), LineText::CAPACITY);
  EXPECT_FALSE(text.TooLong());
}

TEST(SplitLine, CodeAndRemarkWithoutTheirBlanks) {
  const LineParts parts = SplitLine("\t name = \"X\"   / a remark  \t");
  EXPECT_EQ(parts.code, "name = \"X\"");
  EXPECT_EQ(parts.remark, "/ a remark");
  EXPECT_EQ(SplitLine("   ").code, "");
  EXPECT_EQ(SplitLine("//").remark, "//");
}

std::string Formatted(std::string_view text, int indent = 2) {
  FormatOptions options;
  options.indent = indent;
  return FormattedText(text, options);
}

TEST(FormatTemplate, LaysBlocksOut) {
  const std::string messy =
      "  FIXTURE\n"
      "\tNAME=\"Mini Head\"\n"
      "numdmx=6   \n"
      "   attribute\n"
      "name=\"PAN\"\n"
      "        CHANNEL=1\n"
      "parameter\n"
      "type = f\n"
      "attriblist= 1 , 2\n"
      "stop = ( m0 : 65535 ) , d , -270 , 270 , \"Pan=\"\n"
      "End";
  const std::string laidOut =
      "fixture\n"
      "name = \"Mini Head\"\n"
      "numDMX = 6\n"
      "attribute\n"
      "  name = \"PAN\"\n"
      "  channel = 1\n"
      "parameter\n"
      "  type = f\n"
      "  attriblist = 1,2\n"
      "  stop = (m0:65535), d, -270, 270, \"Pan=\"\n"
      "end\n";
  EXPECT_EQ(Formatted(messy), laidOut);
  EXPECT_EQ(Formatted(laidOut), laidOut);
  EXPECT_TRUE(Formatted(messy, 4).starts_with("fixture\nname = \"Mini Head\"\nnumDMX = 6\n"));
  EXPECT_NE(Formatted(messy, 4).find("\n    channel = 1\n"), std::string::npos);
  EXPECT_NE(Formatted(messy, 0).find("\nchannel = 1\n"), std::string::npos);
  EXPECT_EQ(Formatted(messy, -3), Formatted(messy, 0));
  EXPECT_EQ(Formatted(messy, 1000), Formatted(messy, MAX_INDENT));
}

TEST(FormatTemplate, RemarksStayOnTheirLinesAndAlignInTheirBlock) {
  const std::string text =
      "/ the head\n"
      "fixture / opens it\n"
      "name = \"A\"    / the model\n"
      "manufacturer = \"Generic\" / the maker\n"
      "   / before the block\n"
      "attribute\n"
      "   / inside it\n"
      "channel = 5 / its channel\n"
      "homeval = 0x8000       / the middle\n"
      "   / at the end\n";
  EXPECT_EQ(Formatted(text),
            "/ the head\n"
            "fixture                   / opens it\n"
            "name = \"A\"                / the model\n"
            "manufacturer = \"Generic\"  / the maker\n"
            "/ before the block\n"
            "attribute\n"
            "  / inside it\n"
            "  channel = 5       / its channel\n"
            "  homeval = 0x8000  / the middle\n"
            "/ at the end\n");
}

// Lines that any new layout might make the tester read otherwise stay byte
// for byte; the lines around them are laid out.
TEST(FormatTemplate, LeavesHazardousLinesAsTheyAre) {
  struct Case {
    const char* name;
    std::string line;
  } cases[] = {
      {"past 99 bytes", "  name = \"" + std::string(95, 'x') + "\""},
      {"a '*' first", "*  NAME = \"X\""},
      {"a quote left open", " NAME = \"Green   "},
      {"a '/' inside quotes", " NAME = \"a/b\"  "},
      {"a carriage return inside", " NAME = \"X\"\r junk"},
      {"a NUL inside", std::string(" NAME = \"X\"\0junk", 16)},
      {"no keyword", " Robo  Spot"},
  };
  for (const Case& c : cases) {
    const std::string text = "FIXTURE\n" + c.line + "\nATTRIBUTE\n";
    EXPECT_EQ(Formatted(text), "fixture\n" + c.line + "\nattribute\n") << c.name;
  }
  // The reader takes a CRLF line's carriage return as one of its 99 bytes.
  const std::string long98 = "name = \"" + std::string(89, 'x') + "\"";
  EXPECT_EQ(Formatted("NAME = \"" + std::string(89, 'x') + "\"\n"), long98 + "\n");
  EXPECT_EQ(Formatted(" " + long98 + "\n"), long98 + "\n");
  EXPECT_EQ(Formatted(" " + long98 + "\r\n"), " " + long98 + "\r\n");  // two pieces
  EXPECT_EQ(Formatted("NAME=\"" + std::string(89, 'x') + "\"\r\n"), long98 + "\r\n");
}

// A block keyword on a line that stays as it is still opens its block.
TEST(FormatTemplate, ALineThatStaysStillOpensItsBlock) {
  EXPECT_EQ(Formatted("fixture\n*ATTRIBUTE\nchannel=1\n*fixture\nname=\"X\"\n"),
            "fixture\n*ATTRIBUTE\n  channel = 1\n*fixture\nname = \"X\"\n");
}

TEST(FormatTemplate, AStopLineTooLongForBlanksIsWrittenWithoutThem) {
  const std::string stop = "stop=(m" + std::string(78, '1') + "),w,\"Red\"";  // 95 bytes
  EXPECT_EQ(Formatted("parameter\n" + stop + "\n"), "parameter\n  " + stop + "\n");
}

TEST(FormatTemplate, KeepsTheLineEndsOfTheFileAndEndsWithOne) {
  EXPECT_EQ(Formatted("FIXTURE\r\nNAME=\"X\"\nend"), "fixture\r\nname = \"X\"\r\nend\r\n");
  EXPECT_EQ(Formatted("fixture\nend\n\n  \n\t\n"), "fixture\nend\n");
  EXPECT_EQ(Formatted("fixture\n\n\nend\n"), "fixture\n\n\nend\n");
  EXPECT_EQ(Formatted("\n \n"), "");
  EXPECT_EQ(Formatted(""), "");
  EXPECT_EQ(Formatted("/ remark only"), "/ remark only\n");
}

TEST(FormatTemplate, LeavesEverythingFromA0xFFByteOn) {
  const std::string tail = "NAME = \"x\"\xFF  JUNK  \n  END  \n\n";
  EXPECT_EQ(Formatted("FIXTURE\n" + tail), "fixture\n" + tail);
  EXPECT_EQ(Formatted("FIXTURE  \n\xFF"), "fixture\n\xFF");
  // A first block whose first line stays as it is, up to the byte.
  const std::string kept("fixture>\0ame = \"Cut\"\nversion = 1.0\n", 35);
  EXPECT_EQ(Formatted(kept + "\xFF\n"), kept + "\xFF\n");
}

TEST(FormatTemplate, EditsAreOrderedJoinedAndReplaceWholeLines) {
  const std::string text = "FIXTURE\nNAME=\"X\"\nversion = 1.0\nEND\n";
  const Formatting formatting = FormatTemplate(text, FormatOptions{});
  ASSERT_EQ(formatting.edits.size(), 2u);
  EXPECT_EQ(formatting.edits[0], (TextEdit{0, 17, "fixture\nname = \"X\"\n"}));
  EXPECT_EQ(formatting.edits[1], (TextEdit{31, 35, "end\n"}));
  EXPECT_EQ(ApplyEdits(text, formatting.edits), formatting.laidOut);
  EXPECT_TRUE(FormatTemplate("fixture\nend\n", FormatOptions{}).edits.empty());
}

TEST(SameReading, HoldsTwoTextsToOneReportAndOneModel) {
  const std::string text = "fixture\nname = \"A\"\nversion = x\n";
  EXPECT_TRUE(SameReading(text, "FIXTURE\r\n  name=\"A\"  / a remark\nversion=x"));
  EXPECT_FALSE(SameReading(text, "fixture\nname = \"B\"\nversion = x\n"));    // the model
  EXPECT_FALSE(SameReading(text, "fixture\nname = \"A\"\n\nversion = x\n"));  // a line number
  // Another bad version draws the same message and builds the same model.
  EXPECT_TRUE(SameReading(text, "fixture\nname = \"A\"\nversion = y\n"));
  EXPECT_FALSE(SameReading(text, "fixture\nname = \"A\"\nversion = 1.0\n"));
}

TEST(UnifiedDiff, ShowsChangedLinesWithThreeLinesOfContext) {
  const std::string before = "a\nb\nc\nd\nE\nf\ng\nh\ni\nj\nk\nl\nM\nn";
  const std::string after = "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\n";
  EXPECT_EQ(UnifiedDiff("t.fxt", before, after),
            "--- t.fxt\n+++ t.fxt\n"
            "@@ -2,7 +2,7 @@\n b\n c\n d\n-E\n+e\n f\n g\n h\n"
            "@@ -10,5 +10,5 @@\n j\n k\n l\n-M\n-n\n\\ No newline at end of file\n+m\n+n\n");
  // Six lines between two changes make one hunk, as diff -u makes it.
  EXPECT_EQ(UnifiedDiff("t", "A\n1\n2\n3\n4\n5\n6\nB\n", "a\n1\n2\n3\n4\n5\n6\nb\n"),
            "--- t\n+++ t\n@@ -1,8 +1,8 @@\n-A\n+a\n 1\n 2\n 3\n 4\n 5\n 6\n-B\n+b\n");
  EXPECT_EQ(UnifiedDiff("t.fxt", before, before), "");
  EXPECT_EQ(UnifiedDiff("t.fxt", "a\n\n\n", "a\n"),
            "--- t.fxt\n+++ t.fxt\n@@ -1,3 +1 @@\n a\n-\n-\n");
}

}  // namespace
}  // namespace fxt
