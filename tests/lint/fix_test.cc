// The fixes that the rules offer: each, applied through ApplyEdits, mends
// what its diagnostic reports and changes nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/check.h"
#include "load/run_load.h"

namespace fxt {
namespace {

struct Reported {
  std::string code;
  int32_t line;
  std::optional<Fix> fix;
  std::vector<std::string> noteCodes;  // the rules' findings that joined it

  bool operator==(const Reported& other) const { return code == other.code && line == other.line; }
  // Whether it reports `finding`: as its own code, or as a rule's finding
  // that joined the tester's diagnostic for the same mistake.
  bool Speaks(std::string_view finding) const {
    return code == finding || std::ranges::find(noteCodes, finding) != noteCodes.end();
  }
};

class FixCollector : public LintSink {
 public:
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    std::vector<std::string> noteCodes;
    for (const Note& note : diagnostic.notes) {
      if (note.entry != nullptr) noteCodes.emplace_back(note.entry->code);
    }
    reported.push_back(
        {std::string(diagnostic.entry.code), diagnostic.range.start.line,
         diagnostic.fix != nullptr ? std::optional<Fix>(*diagnostic.fix) : std::nullopt,
         std::move(noteCodes)});
  }
  std::vector<Reported> reported;
};

std::vector<Reported> Check(const std::string& text) {
  FixCollector collector;
  LintOptions options;
  options.maxDiagnostics = 0;
  CheckTemplate("t.fxt", BytesOf(text), options, collector);
  return collector.reported;
}

std::string Fixed(const std::string& text, const Fix& fix) {
  const std::optional<std::string> fixed = ApplyEdits(text, fix.edits);
  EXPECT_TRUE(fixed.has_value()) << fix.title;
  return fixed.value_or(text);
}

const std::string kHeader = "fixture\nname = \"A\"\nversion = 1.0\nmanufacturer = \"B\"\n";
const std::string kIntensity = "attribute\n  name = \"INTENSITY\"\n  channel = 1\n";

// Each case: a template, the code whose fix is applied (the tester's own
// diagnostic of the same mistake carries it, with the rule's finding as a
// note), the text it gives, and the diagnostics of other codes that go with
// it: what followed from the mistake.
struct Case {
  const char* code;
  std::string text;
  std::string fixed;
  std::vector<std::string> alsoGone;
};

TEST(Fixes, MendTheMistakeAsWritten) {
  const Case cases[] = {
      {"FL103", kHeader + kIntensity + "end\n", "", {}},  // a clean template: no fix at all
      {"FL103",
       kHeader + kIntensity + "attribute\n  name = \"PAN\"\n  chanel = 2\nend\n",
       kHeader + kIntensity + "attribute\n  name = \"PAN\"\n  channel = 2\nend\n",
       {"FL104", "FL106"}},
      // A keyword cut short, and one whose nearest spelling takes another
      // kind of value (name wants quotes, 255 is a number).
      {"FL103",
       kHeader + "attribute\n  name = \"INTENSITY\"\n  channel = 1\n  home = 255\nend\n",
       kHeader + "attribute\n  name = \"INTENSITY\"\n  channel = 1\n  homeval = 255\nend\n",
       {}},
      {"FL103", kHeader + "attribute\n  nmae = 3\n  channel = 1\nend\n", "", {}},
      {"FL103",
       kHeader + kIntensity + "attribute\n  name = \"PAN\"\n  channel 8\nend\n",
       kHeader + kIntensity + "attribute\n  name = \"PAN\"\n  channel = 8\nend\n",
       {"FL104", "FL106"}},
      {"FL103",
       kHeader + kIntensity + "attribute\n  name=\"PAN\"\n  Channel8\nend\n",
       kHeader + kIntensity + "attribute\n  name=\"PAN\"\n  Channel=8\nend\n",
       {"FL104", "FL106"}},
      {"FL108",
       "fixture\nname = 'TILT' / a remark\nversion = 1.0\nmanufacturer = \"B\"\n" + kIntensity +
           "end\n",
       "fixture\nname = \"TILT\" / a remark\nversion = 1.0\nmanufacturer = \"B\"\n" + kIntensity +
           "end\n",
       {"FT213"}},
      {"FL108",
       "fixture\nname = \xE2\x80\x9C"
       "Beam 700\xE2\x80\x9D\nversion = 1.0\n"
       "manufacturer = \"B\"\n" +
           kIntensity + "end\n",
       "fixture\nname = \"Beam 700\"\nversion = 1.0\nmanufacturer = \"B\"\n" + kIntensity + "end\n",
       {"FT213", "FL113", "FL113"}},
      {"FL108",
       "fixture\nname = \xABSpot\xBB\nversion = 1.0\nmanufacturer = \"B\"\n" + kIntensity + "end\n",
       "fixture\nname = \"Spot\"\nversion = 1.0\nmanufacturer = \"B\"\n" + kIntensity + "end\n",
       {"FT213"}},
      // An en dash in UTF-8 ends in the byte of a Windows quote, and is none.
      {"FL108",
       "fixture\nname = \xE2\x80\x93Spot\xE2\x80\x93\nversion = 1.0\nmanufacturer = \"B\"\n" +
           kIntensity + "end\n",
       "fixture\nname = \"\xE2\x80\x93Spot\xE2\x80\x93\"\nversion = 1.0\nmanufacturer = \"B\"\n" +
           kIntensity + "end\n",
       {"FT213"}},
      {"FL108",
       kHeader + kIntensity + "attribute\n  name = FOCUS\n  channel = 2\nend\n",
       kHeader + kIntensity + "attribute\n  name = \"FOCUS\"\n  channel = 2\nend\n",
       {}},
      {"FL108",
       kHeader + kIntensity +
           "parameter\n  name=\"-X-\"\n  type=n\n  attriblist=1\n  displayernum=1\n"
           "  stop = (m0:255),d,-1,1, Pan= \n  stop = (0),n,Open  / shut\nend\n",
       kHeader + kIntensity +
           "parameter\n  name=\"-X-\"\n  type=n\n  attriblist=1\n  displayernum=1\n"
           "  stop = (m0:255),d,-1,1, \"Pan=\" \n  stop = (0),n,Open  / shut\nend\n",
       {}},
      {"FL107",
       kHeader + "attribute\n  name = \"Intensity\"\n  channel = 1\nend\n",
       kHeader + kIntensity + "end\n",
       {"FT214"}},
      {"FL114",
       kHeader + kIntensity + "attribute\n  name = \"GOBO  ROT\"\n  channel = 2\nend\n",
       kHeader + kIntensity + "attribute\n  name = \"GOBO ROT\"\n  channel = 2\nend\n",
       {}},
      {"FL101", kHeader + kIntensity, kHeader + kIntensity + "end\n", {}},
      {"FL101",
       kHeader + kIntensity + "  homeval = 0",
       kHeader + kIntensity + "  homeval = 0\nend\n",
       {}},
      {"FL101",
       "fixture\r\nname = \"A\"\r\nversion = 1.0\r\nmanufacturer = \"B\"\r\n" + kIntensity,
       "fixture\r\nname = \"A\"\r\nversion = 1.0\r\nmanufacturer = \"B\"\r\n" + kIntensity +
           "end\r\n",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::vector<Reported> before = Check(c.text);
    const auto fixable = std::find_if(before.begin(), before.end(), [&](const Reported& r) {
      return r.Speaks(c.code) && r.fix.has_value();
    });
    if (c.fixed.empty()) {
      EXPECT_EQ(fixable, before.end());
      continue;
    }
    ASSERT_NE(fixable, before.end());
    const std::string fixed = Fixed(c.text, *fixable->fix);
    EXPECT_EQ(fixed, c.fixed);
    std::vector<Reported> expected;
    std::vector<std::string> alsoGone = c.alsoGone;
    for (const Reported& r : before) {
      if (&r == &*fixable) continue;
      const auto gone = std::find(alsoGone.begin(), alsoGone.end(), r.code);
      if (gone != alsoGone.end()) {
        alsoGone.erase(gone);
        continue;
      }
      expected.push_back(r);
    }
    EXPECT_EQ(alsoGone, std::vector<std::string>{});
    EXPECT_EQ(Check(fixed), expected);
  }
}

TEST(Fixes, AKeywordThatRunsIntoItsValueGetsNoFix) {
  // "chanel 8" reads as the word chanel8: spelling it channel would lose the 8.
  for (const Reported& r :
       Check(kHeader + "attribute\n  name = \"INTENSITY\"\n  chanel 8\nend\n")) {
    EXPECT_FALSE(r.Speaks("FL103") && r.fix.has_value());
  }
}

TEST(Fixes, AKeywordCloseToTwoGetsNoFix) {
  // "meval" is two edits from homeval, minval and maxval alike.
  const std::vector<Reported> reported =
      Check(kHeader + "attribute\n  name = \"INTENSITY\"\n  meval = 3\n  channel = 1\nend\n");
  const auto typo = std::find_if(reported.begin(), reported.end(),
                                 [](const Reported& r) { return r.Speaks("FL103"); });
  ASSERT_NE(typo, reported.end());
  EXPECT_FALSE(typo->fix.has_value());
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The checks that an end line starts, on the template's fixture line.
bool IsEndCheck(const Reported& r) {
  return r.code == "FT211" || r.code == "FT212" || r.code == "FT213" || r.code == "FT214";
}

// Every fix offered on the whole-program cases, applied alone: its
// diagnostic is gone, and no other appears, but the checks that an added end
// line starts. Where a file holds several misspelt keywords, mending one
// moves the lines after it into another block, and their diagnostics with
// them.
TEST(Fixes, EveryFixOfTheCasesRemovesItsDiagnostic) {
  const std::filesystem::path source(FXT_SOURCE_DIR);
  size_t applied = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(source / "tests/cli")) {
    if (entry.path().extension() != ".fxt") continue;
    const std::string text = ReadAll(entry.path());
    const std::vector<Reported> before = Check(text);
    const auto typos = std::count_if(before.begin(), before.end(),
                                     [](const Reported& r) { return r.Speaks("FL103"); });
    for (const Reported& r : before) {
      if (!r.fix) continue;
      SCOPED_TRACE(entry.path().string() + ":" + std::to_string(r.line) + " " + r.code);
      const std::vector<Reported> after = Check(Fixed(text, *r.fix));
      EXPECT_EQ(std::count(after.begin(), after.end(), r), 0);
      ++applied;
      if (r.Speaks("FL103") && typos > 1) continue;
      for (const Reported& a : after) {
        const bool appeared =
            std::count(before.begin(), before.end(), a) < std::count(after.begin(), after.end(), a);
        EXPECT_FALSE(appeared && !(r.code == "FL101" && IsEndCheck(a))) << a.code << ":" << a.line;
      }
    }
  }
  EXPECT_GT(applied, 20U);
}

}  // namespace
}  // namespace fxt
