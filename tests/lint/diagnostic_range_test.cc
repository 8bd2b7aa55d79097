// The range of every code of the catalogue, each on a case of its own: the
// text of its line that the range covers.
#include "lint/diagnostic_range.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "../test_support.h"
#include "lint/check.h"
#include "lint/line_finder.h"
#include "lint/written_line.h"
#include "load/run_load.h"

namespace fxt {
namespace {

const std::string kHeader = "fixture\nname = \"A\"\nversion = 1.0\nmanufacturer = \"B\"\n";
// Lines 5 to 14: two attributes on channels 1 and 2, the second 16-bit, and
// a parameter that lists them in the order 2, 1; a stop line follows.
const std::string kParameter = kHeader +
                               "attribute\n  name = \"INTENSITY\"\n  channel = 1\n"
                               "attribute\n  channel = 2\n  finechan = 3\n"
                               "parameter\n  type = c\n  displayernum = 1\n  attriblist = 2,1\n";

struct RangeCase {
  std::string code;
  std::string text;
  int32_t line;
  std::string covered;  // the bytes of the line that the range covers
  size_t nth = 0;       // which of the code's diagnostics on the line
};

std::vector<RangeCase> Cases() {
  const std::string stop = kParameter + "  stop = ";
  return {
      {"FT101", "fixture\nname = \"Spot  / a remark\n", 2, "\"Spot"},
      {"FT102", "fixture\nname = \"A\"\"B\"\n", 2, "\"B\""},
      {"FT103", "fixture\n  Chan el = 2\n", 2, "Chan el"},
      {"FT201", "  Name = \"A\"\n", 1, "Name"},
      {"FT202", "fixture\nchannel = 1\n", 2, "channel"},
      {"FT203", "fixture\nname = Spot  / a remark\n", 2, "Spot"},
      {"FT204", "fixture\nversion = \"1.2\"\n", 2, "\"1.2\""},
      {"FT205", "fixture\nmanufacturer = \"A\"\nmanufacturer = \"B\" / again\n", 3,
       "manufacturer = \"B\""},
      {"FT206", "fixture\nmanufacturer = B\n", 2, "B"},
      {"FT211", "  Fixture  / the first\nattribute\nend\n", 1, "Fixture"},
      {"FT212", "fixture\nattribute\nend\n", 1, "fixture"},
      {"FT213", "fixture\nattribute\nend\n", 1, "fixture"},
      {"FT214", "fixture\nattribute\nend\n", 1, "fixture"},
      {"FT301", kHeader + "attribute\n  type = i\nattribute\n  type = I\n", 8, "I"},
      {"FT302", kHeader + "attribute\n  type = x\n", 6, "x"},
      {"FT303", kHeader + "attribute\n  channel = 2a\n", 6, "2a"},
      {"FT304", kHeader + "attribute\n  channel = 65\n", 6, "65"},
      {"FT305", kHeader + "attribute\n  channel = 2\nattribute\n  channel = 2\n", 8, "2"},
      {"FT306", kHeader + "attribute\n  channel = 2\n  channel = 3\n", 7, "channel = 3"},
      {"FT307", kHeader + "attribute\n  finechan = x\n", 6, "x"},
      {"FT308", kHeader + "attribute\n  homeval = x\n", 6, "x"},
      {"FT309", kHeader + "attribute\n  channel = 2\n  homeval = 300\nend\n", 7, "300"},
      {"FT310", kHeader + "attribute\n  minval = 1\n", 6, "minval"},
      {"FT311", kHeader + "attribute\n  maxval = 1\n", 6, "maxval"},
      {"FT312", kHeader + "attribute\n  type = i\n  minval = x\n", 7, "x"},
      {"FT313", kHeader + "attribute\n  type = i\n  maxval = 300\n", 7, "300"},
      {"FT314", kHeader + "attribute\n  stop = (1),n,\"A\"\n", 6, "stop"},
      {"FT401", kHeader + "parameter\n  name = \"A\"\n  name = \"B\"\n", 7, "name = \"B\""},
      {"FT402", kHeader + "parameter\n  type = x\n", 6, "x"},
      {"FT403", kParameter + "  attriblist = 1\n", 15, "attriblist = 1"},
      {"FT404", kParameter + "  attriblist = 1x, 2y\n", 15, "y", 1},
      {"FT405", kParameter + "  attriblist = 1,513\n", 15, "513"},
      // 01 is listed after one 1, 001 after two: its second report.
      {"FT406", kParameter + "  attriblist = 1,01,001\n", 15, "001", 2},
      {"FT407", kParameter + "  attriblist = 1,7\n", 15, "7"},
      {"FT408", kHeader + "parameter\n  displayernum = x\n", 6, "x"},
      {"FT409", kHeader + "parameter\n  displayernum = 1\n  displayernum = 2\n", 7,
       "displayernum = 2"},
      {"FT410", kHeader + "parameter\n  displayernum = 1\nparameter\n  displayernum = 1\n", 8, "1"},
      {"FT411", kHeader + "parameter\n  type = c\nParameter\n", 7, "Parameter"},
      {"FT412", kHeader + "parameter\n  displayernum = 1\nend\n", 7, "end"},
      {"FT413", kHeader + "parameter\n  channel = 1\n", 6, "channel"},
      {"FT501", kHeader + "parameter\n  stop = (1),n,\"A\"\n", 6, "stop"},
      {"FT502", stop + "1),n,\"A\"\n", 15, "1),n,\"A\""},
      {"FT503", stop + "(1,2,n,\"A\"\n", 15, "(1,2,n,\"A\""},
      {"FT504", stop + "(m1,m2),b,\"A\"\n", 15, "m"},
      {"FT505", stop + "(1,2#),n,\"A\"\n", 15, "#"},
      {"FT506", stop + "(1,:5),n,\"A\"\n", 15, ":5"},
      {"FT507", stop + "(300, 256),n,\"A\"\n", 15, "256"},
      // A value past the list reads the entry an earlier, longer list left.
      {"FT508",
       kHeader + "attribute\n  channel = 1\nattribute\n  channel = 2\nattribute\n  channel = 3\n"
                 "parameter\n  type = c\n  displayernum = 1\n  attriblist = 1,2,3\n"
                 "parameter\n  type = c\n  displayernum = 2\n  attriblist = 2,1\n"
                 "  stop = (1,2,3),n,\"A\"\n",
       19, "3"},
      {"FT509", stop + "(1,2)n,\"A\"\n", 15, "n"},
      {"FT510", stop + "(1,2),n,A\n", 15, "A"},
      {"FT511", stop + "(1,2),d,-1000,10,\"A\"\n", 15, "-1000"},
      {"FT512", stop + "(1,2),x,\"A\"\n", 15, "x"},
      {"FT513", stop + "(1,2),b,\"A\"\n", 15, "b"},
      {"FT514", stop + "(m1,2),n,\"A\"\n", 15, "n"},
      {"FT515", kParameter + testing::Repeated("  stop = (1,2),n,\"A\"\n", 256), 270,
       "stop = (1,2),n,\"A\""},
      {"FT902", kHeader + testing::Repeated("attribute\n", 256), 260, "attribute"},
      {"FT903", kHeader + testing::FullOfParameters() + "parameter\n", 4 + 255 * 3 + 1,
       "parameter"},
      {"FL001", "fixture\n/ fxtlint: ignore FX999  \n", 2, "/ fxtlint: ignore FX999"},
      {"FL101", "fixture\n", 1, "fixture"},
      {"FL102", "no template here\n", 1, "no template here"},
      {"FL103", "fixture\n  chanel = 2\n", 2, "chanel"},
      {"FL104", kHeader + "attribute  / no channel\n  name = \"A\"\nend\n", 5, "attribute"},
      {"FL105", kHeader + "attribute\n  channel = 2\n  finechan = 2\n", 7, "2"},
      {"FL106", kHeader + "attribute\n  channel = 1\nattribute\n  name = \"B\"\nend\n", 7,
       "attribute"},
      {"FL107", kHeader + "attribute\n  name = \"Intensity\"\n", 6, "\"Intensity\""},
      {"FL108", "fixture\nname = Spot\n", 2, "Spot"},
      {"FL109", "fixture\n/" + std::string(120, 'x') + "\r\n", 2, std::string(22, 'x')},
      {"FL110", kHeader + "parameter\n  attriblist = 7\n", 6, "7"},
      {"FL111", "fixture\nname = \"A\"\xff\nend\n", 2, "\xff"},
      {"FL112",
       "\xEF\xBB\xBF"
       "fixture\n",
       1, "\xEF\xBB\xBF"},
      {"FL113",
       "fixture\nname = \"Spot \xE2\x80\x9C"
       "A\xE2\x80\x9D\"\n",
       2, "\xE2\x80\x9C"},
      {"FL114", kHeader + "attribute\n  name = \"PAN \"  / a blank too many\n", 6, "\"PAN \""},
      {"FL115", stop + "(20,1),n,\"B\"\n  stop = ( 10 , 1 ),n,\"A\"\n", 16, "( 10 , 1 )"},
      {"FL116", stop + "(20,1),n,\"B\"\n  stop = (20,1),n,\"A\"\n", 16, "(20,1)"},
      {"FL117", stop + "(m9:1,5:3),w,\"A\"\n", 15, "5:3", 1},
      {"FL118", "fixture\nname = \"Spot 575 Profile Zoom\"\n", 2, "\"Spot 575 Profile Zoom\""},
      {"FL119", "fixture\nversion = 1.2.3  / a patch\n", 2, ".3"},
      {"FL120", kHeader + "attribute\n  homeval = 0x80 (half)\n", 6, "(half)"},
  };
}

// The diagnostics of one code alone, so that none joins another.
std::vector<LintDiagnostic> Reported(const std::string& code, const std::string& text,
                                     std::vector<std::string>& codes) {
  class Collector : public LintSink {
   public:
    explicit Collector(std::vector<LintDiagnostic>& out) : out_(out) {}
    void Diagnostic(const LintDiagnostic& diagnostic) override {
      out_.push_back({diagnostic.entry,
                      diagnostic.severity,
                      diagnostic.promoted,
                      diagnostic.testerLine,
                      diagnostic.range,
                      "",
                      std::nullopt,
                      {}});
    }

   private:
    std::vector<LintDiagnostic>& out_;
  };
  std::vector<LintDiagnostic> found;
  Collector collector(found);
  LintOptions options;
  options.maxDiagnostics = 0;
  std::string unknown;
  EXPECT_TRUE(options.codes.Select(code, unknown));
  CheckTemplate("t.fxt", BytesOf(text), options, collector);
  for (const LintDiagnostic& diagnostic : found) codes.emplace_back(diagnostic.entry.code);
  return found;
}

std::string LineOf(const std::string& text, int32_t line) {
  size_t begin = 0;
  for (int32_t i = 1; i < line; ++i) begin = text.find('\n', begin) + 1;
  return text.substr(begin, text.find('\n', begin) - begin);
}

TEST(DiagnosticRange, CoversWhatIsWrongForEveryCode) {
  std::set<std::string> pinned;
  for (const RangeCase& c : Cases()) {
    SCOPED_TRACE(c.code);
    pinned.insert(c.code);
    std::vector<std::string> codes;
    const std::vector<LintDiagnostic> found = Reported(c.code, c.text, codes);
    ASSERT_GT(found.size(), c.nth) << ::testing::PrintToString(codes);
    const SourceRange range = found[c.nth].range;
    EXPECT_EQ(range.start.line, c.line);
    EXPECT_EQ(range.end.line, c.line);
    const std::string line = LineOf(c.text, c.line);
    ASSERT_LE(range.start.column, range.end.column);
    EXPECT_EQ(line.substr(static_cast<size_t>(range.start.column - 1),
                          static_cast<size_t>(range.end.column - range.start.column)),
              c.covered);
  }
  // Memory that runs out, and a character that a file cannot hold, are
  // found directly.
  EXPECT_EQ(RangeOf(DiagnosticId::kOutOfMemory, {3, 1}, "  stop = (1),n,\"A\"  / a remark"),
            (SourceRange{{3, 3}, {3, 19}}));
  EXPECT_EQ(RangeOf(DiagnosticId::kWideCharacter, {2, 7}, "?x"), (SourceRange{{2, 7}, {2, 8}}));
  pinned.insert("FT901");
  for (const CatalogueEntry& entry : Catalogue) {
    if (entry.severity != Severity::kNote) {
      EXPECT_TRUE(pinned.contains(std::string(entry.code))) << entry.code << " has no case";
    }
  }
}

// A line that holds nothing the range could cover still gets a place; a
// line too short for what it should hold, the byte where it ends.
TEST(DiagnosticRange, EmptyPartsFallBackToWhatTheLineHolds) {
  EXPECT_EQ(RangeOf(DiagnosticId::kChannelNotANumber, {4, 1}, "  channel =  "),
            (SourceRange{{4, 3}, {4, 12}}));
  EXPECT_EQ(RangeOf(DiagnosticId::kModeSyntax, {4, 1}, "stop=(1)"), (SourceRange{{4, 8}, {4, 9}}));
  EXPECT_EQ(RangeOf(DiagnosticId::kNoKeyword, {4, 1}, ""), (SourceRange{{4, 1}, {4, 1}}));
  // An empty number of a list, the second that names no attribute: the ','
  // that ends it.
  const TemplateTracker noAttributes;
  EXPECT_EQ(
      RangeOf(DiagnosticId::kNoAttributeOnChannel, {4, 1}, "attriblist=1,,2", {1, &noAttributes}),
      (SourceRange{{4, 14}, {4, 15}}));
  EXPECT_EQ(RangeOf(DiagnosticId::kNoKeyword, {4, 100}, "=x"), (SourceRange{{4, 100}, {4, 101}}));
}

// The ranges are found in the text as the reader leaves it: their reading
// of a line must be the reader's own, over every template of the cases and
// over lines made to be hard.
class SameReading : public ReportTarget, public LoadObserver {
 public:
  explicit SameReading(std::span<const uint8_t> bytes) : lines_(bytes) {}
  void Report(const Diagnostic& diagnostic) override {
    if (diagnostic.id == DiagnosticId::kUnexpectedEndOfLine) unclosed_ = diagnostic.position;
  }
  void BeforeLine(const LineEvent& line, StateFn /*state*/) override {
    const WrittenLine written(lines_.TextAt(line.position));
    EXPECT_EQ(written.Text(), line.normalised) << line.position.line << ":" << line.position.column;
    EXPECT_EQ(written.QuoteUnclosed(), unclosed_ == line.position) << line.position.line;
  }

 private:
  LineFinder lines_;
  SourcePosition unclosed_;
};

void ExpectSameReading(const std::string& text) {
  SameReading reading(BytesOf(text));
  RunLoad(BytesOf(text), &reading, &reading);
}

TEST(WrittenLine, ReadsALineAsTheReaderDoes) {
  const std::string longQuote = "name = \"" + std::string(95, 'a') + "\" / b\n";
  const std::vector<std::string> hard = {
      "*Name = \"A / B\"  / remark\n",
      "  Stop = ( M1 : 2 , r3 ) , n , \"Open  Wide\"\r\n",
      "\tmanufacturer\t=\t\"X\"\"Y\"Z\"\n",
      "name = \"no end\r\nname = \"cut / here\"\n",
      "x\"=\"=y\n",
      longQuote + longQuote,
      std::string(250, 'Q') + "\n" + "/" + std::string(120, '"') + "\n",
      std::string("a\0b = 1\n", 8),
  };
  for (const std::string& text : hard) ExpectSameReading(text);
  int files = 0;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(FXT_SOURCE_DIR "/tests/cli")) {
    if (entry.path().extension() != ".fxt") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    ExpectSameReading(std::string(std::istreambuf_iterator<char>(in), {}));
    ++files;
  }
  EXPECT_GT(files, 50);
}

// The value and its quoted text as a fix finds them among the raw bytes.
TEST(WrittenLine, FindsTheValueAndItsQuotesAsTheReaderSplitsTheLine) {
  struct Case {
    std::string raw;
    std::string value;
    std::optional<std::string> quoted;
  } cases[] = {
      {"  Name = \"A  B\"   / a remark", "\"A  B\"", "A  B"},
      {"name = Spot  ", "Spot", std::nullopt},
      {"name = \"unclosed  / cut", "\"unclosed", std::nullopt},
      {"x\"=\"=y", "\"=y", std::nullopt},  // the first quote stands before the value
      {"stop = (1),n,\"\"", "(1),n,\"\"", ""},
      {"end", "", std::nullopt},
  };
  for (const Case& c : cases) {
    const WrittenLine line(c.raw);
    EXPECT_EQ(line.RawText(line.Value()), c.value) << c.raw;
    const std::optional<ByteSpan> quoted = line.Quoted();
    EXPECT_EQ(quoted ? std::optional<std::string>(line.RawText(*quoted)) : std::nullopt, c.quoted)
        << c.raw;
  }
}

}  // namespace
}  // namespace fxt
