// The pieces of the lint rules that their output cannot show alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lint/check.h"
#include "lint/code_filter.h"
#include "lint/edit_distance.h"
#include "lint/rule_docs.h"
#include "lint/suppressions.h"
#include "load/run_load.h"

namespace fxt {
namespace {

TEST(EditDistance, CountsInsertionsDeletionsAndSubstitutions) {
  EXPECT_EQ(EditDistance("chanel", "channel"), 1u);
  EXPECT_EQ(EditDistance("atribute", "attribute"), 1u);
  EXPECT_EQ(EditDistance("fine_chan", "finechan"), 1u);
  EXPECT_EQ(EditDistance("flips", "filps"), 2u);
  EXPECT_EQ(EditDistance("", "end"), 3u);
  EXPECT_EQ(EditDistance("end", "end"), 0u);
}

TEST(RuleDocs, EveryRuleIsDocumentedAndNoTesterCode) {
  for (const CatalogueEntry& entry : Catalogue) {
    EXPECT_EQ(RuleDocOf(entry.id) != nullptr, IsLintRule(entry)) << entry.code;
  }
}

TEST(CodeFilter, PrefixesSelectAndIgnore) {
  CodeFilter filter;
  std::string unknown;
  ASSERT_TRUE(filter.Select("FT3,FL", unknown));
  ASSERT_TRUE(filter.Ignore("FL104", unknown));
  EXPECT_TRUE(filter.Reports(EntryOf(DiagnosticId::kInvalidChannel)));            // FT304
  EXPECT_FALSE(filter.Reports(EntryOf(DiagnosticId::kInvalidVersion)));           // FT204
  EXPECT_FALSE(filter.Reports(EntryOf(DiagnosticId::kAttributeWithoutChannel)));  // FL104
  EXPECT_TRUE(filter.ReportsAnyRule());
  EXPECT_FALSE(filter.Select("FT3,XY", unknown));
  EXPECT_EQ(unknown, "XY");
  for (const char* empty : {"", ",", "FT2,", "FT2,,FL"}) {
    EXPECT_FALSE(filter.Ignore(empty, unknown)) << empty;
    EXPECT_EQ(unknown, "") << empty;
  }
  CodeFilter noRules;
  ASSERT_TRUE(noRules.Ignore("FL1", unknown));
  EXPECT_FALSE(noRules.ReportsAnyRule());
}

TEST(Suppressions, CommentsNameCodesForTheirLineAndTheNext) {
  const std::string text =
      "fixture\n"
      "name = \"A / B\"  / fxtlint: ignore FT203\n"  // the first '/' is quoted
      "/fxtlint:ignore FL1,FT304 FT305\n"
      "attribute\n"
      "/ just a remark: fxtlint: ignore FT999\n";
  Suppressions suppressions(BytesOf(text));
  ASSERT_EQ(suppressions.All().size(), 4u);
  EXPECT_EQ(suppressions.All()[0].position, (SourcePosition{2, 17}));
  EXPECT_EQ(suppressions.All()[3].code, "FT305");
  EXPECT_TRUE(suppressions.Suppress("FL104", 4));   // from the line above
  EXPECT_TRUE(suppressions.Suppress("FT203", 2));   // on its own line
  EXPECT_FALSE(suppressions.Suppress("FT203", 4));  // two lines below
  EXPECT_FALSE(suppressions.Suppress("FT305", 5));
  EXPECT_TRUE(suppressions.All()[1].used);
  EXPECT_FALSE(suppressions.All()[2].used);
}

// "ignoreFT204" is no suppression; the same code twice on a line is used
// once for both.
TEST(Suppressions, ACodeNeedsABlankBeforeIt) {
  Suppressions suppressions(
      BytesOf("version = x  / fxtlint: ignoreFT204\n"
              "version = x  / fxtlint: ignore\tFT2,FT204 FT204\n"));
  ASSERT_EQ(suppressions.All().size(), 4u);
  EXPECT_TRUE(suppressions.All()[0].glued);
  EXPECT_EQ(suppressions.All()[0].code, "ignoreFT204");
  EXPECT_FALSE(suppressions.Suppress("FT204", 1));
  EXPECT_TRUE(suppressions.Suppress("FT204", 2));
  EXPECT_FALSE(suppressions.All()[0].used);
  for (size_t i = 1; i < 4; ++i) EXPECT_TRUE(suppressions.All()[i].used) << i;
}

TEST(Suppressions, ReadInAnyLetterCaseAndWithoutACode) {
  const std::string text =
      "/ FXTLINT: Ignore fl104,Ft3\n"
      "attribute / fxtlint: ignore\n"
      "name = \"/ fxtlint: ignore FT203\"  / FxtLint:IGNORE ft203\n";
  Suppressions suppressions(BytesOf(text));
  ASSERT_EQ(suppressions.All().size(), 4u);
  EXPECT_EQ(suppressions.All()[0].code, "FL104");
  EXPECT_EQ(suppressions.All()[1].code, "FT3");
  EXPECT_EQ(suppressions.All()[2].code, "");  // names none, and suppresses nothing
  EXPECT_EQ(suppressions.All()[3].position, (SourcePosition{3, 35}));
  EXPECT_TRUE(suppressions.Suppress("FT304", 2));
  EXPECT_FALSE(suppressions.Suppress("FL001", 2));
  EXPECT_TRUE(suppressions.Suppress("FT203", 3));
}

class CollectingSink : public LintSink {
 public:
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    codes.emplace_back(diagnostic.entry.code);
  }
  std::vector<std::string> codes;
};

std::vector<std::string> CodesOf(const std::string& text, const LintOptions& options = {}) {
  CollectingSink sink;
  CheckTemplate("t.fxt", BytesOf(text), options, sink);
  return sink.codes;
}

// The rules follow the tester's reading of the template: an attribute line
// in the header opens a block, one before the fixture line does not.
TEST(Rules, FollowTheBlocksTheTesterReads) {
  const std::string header = "fixture\nname=\"A\"\nversion=1.0\nmanufacturer=\"B\"\n";
  EXPECT_EQ(CodesOf(header + "attribute\nname=\"INTENSITY\"\nchannel=1\nend\n"),
            std::vector<std::string>{});
  EXPECT_EQ(CodesOf(header + "attribute\nname=\"INTENSITY\"\nattribute\nchannel=1\nend\n"),
            (std::vector<std::string>{"FL104", "FL106"}));
  // After the end line nothing is read, so nothing after it is checked.
  EXPECT_EQ(CodesOf(header + "attribute\nname=\"INTENSITY\"\nchannel=1\nend\nattribute\n"),
            std::vector<std::string>{});
}

TEST(Rules, TesterOnlyReportsWhatTheTesterReports) {
  const std::string text = "attribute\nfixture\nattribute\n/ fxtlint: ignore FT103\nbogus\n";
  LintOptions testerOnly;
  testerOnly.testerOnly = true;
  EXPECT_EQ(CodesOf(text, testerOnly), (std::vector<std::string>{"FT201", "FT103"}));
  EXPECT_EQ(CodesOf(text), (std::vector<std::string>{"FT201", "FL101", "FL104"}));
}

// Each diagnostic as CODE@LINE:COLUMN, with the codes its notes carry.
class ShapeSink : public LintSink {
 public:
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    std::string shape = std::string(diagnostic.entry.code) + "@" +
                        std::to_string(diagnostic.range.start.line) + ":" +
                        std::to_string(diagnostic.range.start.column);
    for (const Note& note : diagnostic.notes) {
      if (note.entry != nullptr) shape += "+" + std::string(note.entry->code);
    }
    shapes.push_back(shape);
  }
  std::vector<std::string> shapes;
};

std::vector<std::string> ShapesOf(const std::string& text, const LintOptions& options,
                                  FileSummary* summary = nullptr) {
  ShapeSink sink;
  const FileSummary checked = CheckTemplate("t.fxt", BytesOf(text), options, sink);
  if (summary != nullptr) *summary = checked;
  return sink.shapes;
}

// A rule that explains what the tester says on the same line joins it as a
// note, and is not counted again; alone it stands for itself.
TEST(Check, OneMistakeIsOneDiagnostic) {
  const std::string text =
      "fixture\nname=\"A\"\nversion=1.0\nmanufacturer=\"B\"\nattribute\nname=\"INTENSITY\"\n"
      "  chanel = 1\nparameter\ntype=c\ndisplayernum=1\n  attriblist = 7,8\nend\n";
  FileSummary summary;
  EXPECT_EQ(ShapesOf(text, {}, &summary),
            (std::vector<std::string>{"FL104@5:1", "FT103@7:3+FL103", "FT407@11:16+FL110",
                                      "FT407@11:18"}));
  EXPECT_EQ(summary.warnings, 2u);
  EXPECT_EQ(summary.errors, 2u);
  LintOptions rulesAlone;
  std::string unknown;
  ASSERT_TRUE(rulesAlone.codes.Select("FL103,FL110", unknown));
  EXPECT_EQ(ShapesOf(text, rulesAlone), (std::vector<std::string>{"FL103@7:3", "FL110@11:16"}));
}

// Diagnostics come in line order, then column, the tester's before the
// rules'; a limit keeps the first of them in that order.
TEST(Check, DiagnosticsComeInLineOrderWithinTheLimit) {
  const std::string text =
      "fixture\nattribute\n  channel = 2\n  homeval = 300\nattribute\n  channel = 99\nend\n";
  EXPECT_EQ(ShapesOf(text, {}),
            (std::vector<std::string>{"FT211@1:1", "FT212@1:1", "FT213@1:1", "FT214@1:1",
                                      "FT309@4:13", "FT304@6:13"}));
  LintOptions limited;
  limited.maxDiagnostics = 5;
  FileSummary summary;
  EXPECT_EQ(ShapesOf(text, limited, &summary).back(), "FT309@4:13");
  EXPECT_EQ(summary.omitted, 1u);
  LintOptions testerOnly;
  testerOnly.testerOnly = true;
  EXPECT_EQ(ShapesOf(text, testerOnly).front(), "FT309@4:13");
}

}  // namespace
}  // namespace fxt
