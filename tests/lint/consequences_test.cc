// After its first error the tester checks later lines against values it no
// longer stores. For every error it reports: the error early, sound blocks
// after it, and no diagnostic on the sound blocks; what the tester says
// about them is a note on the error.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../test_support.h"
#include "lint/check.h"
#include "load/run_load.h"

namespace fxt {
namespace {

const std::string kStart = "fixture\nname = \"A\"\nmanufacturer = \"B\"\n";
const std::string kVersion = "version = 1.0\n";
const std::string kIntensity = "attribute\n  name = \"INTENSITY\"\n  channel = 1\n";
// A 16-bit attribute whose home value and stop value are above 255: sound,
// but wrong to a load that did not store its fine channel.
const std::string kSound =
    "attribute\n  name = \"PAN\"\n  channel = 10\n  finechan = 11\n  homeval = 300\n"
    "parameter\n  name = \"-PAN-\"\n  type = f\n  attriblist = 10\n  displayernum = 9\n"
    "  stop = (300),n,\"Centre\"\n";
const std::string kList = "parameter\n  type = c\n  displayernum = 2\n  attriblist = 1\n";

struct EarlyError {
  std::string code;
  std::string header;  // the header's last lines
  std::string blocks;  // after the intensity attribute's channel= line
};

std::vector<EarlyError> EarlyErrors() {
  return {
      {"FT101", kVersion, "attribute\n  name = \"OPEN\n  channel = 2\n"},
      {"FT102", kVersion, "attribute\n  name = \"A\"\"B\"\n  channel = 2\n"},
      {"FT204", "version = \"1.2\"\n", ""},
      {"FT206", kVersion + "manufacturer = C\n", ""},
      {"FT301", kVersion, "attribute\n  type = i\n  channel = 2\n"},
      {"FT302", kVersion, "attribute\n  type = x\n  channel = 2\n"},
      {"FT303", kVersion, "attribute\n  channel = x\n"},
      {"FT304", kVersion, "attribute\n  channel = 65\n"},
      {"FT305", kVersion, "attribute\n  channel = 1\n"},
      {"FT306", kVersion, "attribute\n  channel = 2\n  channel = 3\n"},
      {"FT307", kVersion, "attribute\n  channel = 2\n  finechan = x\n"},
      {"FT308", kVersion, "attribute\n  channel = 2\n  homeval = x\n"},
      {"FT309", kVersion, "attribute\n  channel = 2\n  homeval = 300\n"},
      {"FT310", kVersion, "attribute\n  channel = 2\n  minval = 1\n"},
      {"FT311", kVersion, "attribute\n  channel = 2\n  maxval = 1\n"},
      {"FT312", kVersion, "  minval = x\n"},
      {"FT313", kVersion, "  maxval = 300\n"},
      // The next block line reports the type missing too, on the snippet.
      {"FT402", kVersion, "parameter\n  type = x\n  displayernum = 3\n" + kList},
      {"FT403", kVersion, kList + "  attriblist = 1\n"},
      {"FT404", kVersion, "parameter\n  type = c\n  displayernum = 2\n  attriblist = 1x\n"},
      {"FT405", kVersion, "parameter\n  type = c\n  displayernum = 2\n  attriblist = 513\n"},
      {"FT406", kVersion, "parameter\n  type = c\n  displayernum = 2\n  attriblist = 1,1\n"},
      {"FT407", kVersion, "parameter\n  type = c\n  displayernum = 2\n  attriblist = 7\n"},
      {"FT408", kVersion, "parameter\n  type = c\n  displayernum = x\n"},
      {"FT409", kVersion, "parameter\n  type = c\n  displayernum = 2\n  displayernum = 3\n"},
      {"FT410", kVersion, "parameter\n  type = c\n  displayernum = 2\n" + kList},
      {"FT411", kVersion, "parameter\n  type = c\n" + kList},
      {"FT412", kVersion, "parameter\n  displayernum = 3\n" + kList},
      {"FT501", kVersion, "parameter\n  type = c\n  displayernum = 2\n  stop = (1),n,\"A\"\n"},
      {"FT502", kVersion, kList + "  stop = 1),n,\"A\"\n"},
      {"FT503", kVersion, kList + "  stop = (1,n,\"A\"\n"},
      {"FT504", kVersion, kList + "  stop = (m1m),b,\"A\"\n"},
      {"FT505", kVersion, kList + "  stop = (1#),n,\"A\"\n"},
      {"FT506", kVersion, kList + "  stop = (:5),n,\"A\"\n"},
      {"FT507", kVersion, kList + "  stop = (300),n,\"A\"\n"},
      {"FT508", kVersion,
       "attribute\n  channel = 2\n"
       "parameter\n  type = c\n  displayernum = 2\n  attriblist = 1,2\n"
       "parameter\n  type = c\n  displayernum = 3\n  attriblist = 1\n  stop = (1,2),n,\"A\"\n"},
      {"FT509", kVersion, kList + "  stop = (1)n,\"A\"\n"},
      {"FT510", kVersion, kList + "  stop = (1),n,A\n"},
      {"FT511", kVersion, kList + "  stop = (m1),d,-1000,10,\"A\"\n"},
      {"FT512", kVersion, kList + "  stop = (1),x,\"A\"\n"},
      {"FT513", kVersion, kList + "  stop = (1),b,\"A\"\n"},
      {"FT514", kVersion, kList + "  stop = (m1),n,\"A\"\n"},
      {"FT515", kVersion, kList + testing::Repeated("  stop = (1),n,\"A\"\n", 256)},
      // The checks at a template's end: the sound blocks come before them.
      {"FT212", kVersion, ""},
      {"FT213", kVersion, ""},
      // A 256th attribute or parameter ends the load: nothing after it is read.
      {"FT902", kVersion, testing::Repeated("attribute\n  channel = 3\n", 255)},
      {"FT903", kVersion, testing::FullOfParameters() + "parameter\n"},
  };
}

std::string TemplateWith(const EarlyError& early, int32_t& soundFrom, int32_t& soundTo) {
  std::string start = kStart;
  if (early.code == "FT212") start = "fixture\nname = \"A\"\n";
  if (early.code == "FT213") start = "fixture\nmanufacturer = \"B\"\n";
  const std::string before = start + early.header + kIntensity + early.blocks;
  const auto lines = [](const std::string& text) {
    return static_cast<int32_t>(std::count(text.begin(), text.end(), '\n'));
  };
  soundFrom = lines(before) + 1;
  soundTo = lines(before + kSound);
  return before + kSound + "end\n";
}

class Collector : public LintSink {
 public:
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    found.push_back(
        {std::string(diagnostic.entry.code), diagnostic.range.start.line, diagnostic.notes.size()});
  }
  struct Found {
    std::string code;
    int32_t line;
    size_t notes;
  };
  std::vector<Found> found;
};

TEST(Consequences, NoDiagnosticOnSoundBlocksAfterAnyError) {
  std::set<std::string> tried;
  for (const EarlyError& early : EarlyErrors()) {
    SCOPED_TRACE(early.code);
    tried.insert(early.code);
    int32_t soundFrom = 0;
    int32_t soundTo = 0;
    const std::string text = TemplateWith(early, soundFrom, soundTo);
    Collector collector;
    LintOptions options;
    options.maxDiagnostics = 0;
    const FileSummary summary = CheckTemplate("t.fxt", BytesOf(text), options, collector);
    EXPECT_GT(summary.result, 0);
    bool reported = false;
    for (const Collector::Found& found : collector.found) {
      reported = reported || found.code == early.code;
      EXPECT_FALSE(found.line >= soundFrom && found.line <= soundTo)
          << found.code << " on line " << found.line;
    }
    EXPECT_TRUE(reported);
  }
  // Every error the tester can report, but for memory running out.
  for (const CatalogueEntry& entry : Catalogue) {
    if (IsLintRule(entry) || entry.severity < Severity::kError || entry.code == "FT901") continue;
    EXPECT_TRUE(tried.contains(std::string(entry.code))) << entry.code << " not tried";
  }
}

// The tester's own report is what --tester-only shows: there the home value
// is out of range, and the error is counted.
TEST(Consequences, AreNotesOnTheErrorAndNotCountedUnlessTesterOnly) {
  const std::string text = kStart + "version = \"1.2\"\n" + kIntensity + kSound + "end\n";
  const auto codes = [](const Collector& of) {
    std::vector<std::string> found;
    for (const Collector::Found& diagnostic : of.found) found.push_back(diagnostic.code);
    return found;
  };
  Collector collector;
  const FileSummary summary = CheckTemplate("t.fxt", BytesOf(text), {}, collector);
  // The version that was not stored is missing at the end: FT211.
  ASSERT_EQ(codes(collector), (std::vector<std::string>{"FT211", "FT204"}));
  EXPECT_EQ(collector.found[1].notes, 1u);
  EXPECT_EQ(summary.errors, 1u);
  EXPECT_EQ(summary.result, 2);

  Collector tester;
  LintOptions testerOnly;
  testerOnly.testerOnly = true;
  EXPECT_EQ(CheckTemplate("t.fxt", BytesOf(text), testerOnly, tester).errors, 2u);
  EXPECT_EQ(codes(tester), (std::vector<std::string>{"FT204", "FT309", "FT211"}));

  // With its cause not reported, a consequence stands for itself.
  Collector ignoring;
  LintOptions ignore;
  std::string unknown;
  ASSERT_TRUE(ignore.codes.Ignore("FT204", unknown));
  EXPECT_EQ(CheckTemplate("t.fxt", BytesOf(text), ignore, ignoring).errors, 1u);
  EXPECT_EQ(codes(ignoring), (std::vector<std::string>{"FT211", "FT309"}));
}

}  // namespace
}  // namespace fxt
