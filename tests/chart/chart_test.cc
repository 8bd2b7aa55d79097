// What a chart knows of a template beyond the model: its footprint, its
// stops laid out on lanes, and where each line of the template is drawn.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_source.h"
#include "chart/footprint.h"
#include "chart/html_text.h"
#include "chart/page.h"
#include "chart/places.h"
#include "chart/stop_lanes.h"
#include "tests/test_support.h"
#include "tools/model_json.h"

namespace fxt::chart {
namespace {

using fxt::testing::Repeated;

constexpr std::string_view kHeader =
    "fixture\nname = \"Chart\"\nversion = 1.0\nmanufacturer = \"Generic\"\n";

ChartSource Read(const std::string& text) { return ReadForChart("chart.fxt", BytesOf(text)); }

template <typename Problem>
std::vector<std::string> Texts(const std::vector<Problem>& problems) {
  std::vector<std::string> texts;
  for (const Problem& problem : problems) texts.push_back(problem.text);
  return texts;
}

TEST(ChartSource, KeepsTheHeaderLinesOfTheLastTemplateOnly) {
  const ChartSource source = Read(
      "fixture\nproduct = \"First\"\nnumDMX = 9\nattribute\nchannel = 1\n"
      "fixture\nname = \"Second\"\nproduct = \"Mode 2\"\nattribute\nproduct = \"not a header "
      "line\"\n"
      "channel = 3\nend\n");
  EXPECT_EQ(source.product, "Mode 2");
  EXPECT_FALSE(source.numDmx.has_value());
  ASSERT_EQ(source.writtenAttributes.size(), 1u);
  EXPECT_EQ(source.writtenAttributes[0].line, 9);
  EXPECT_TRUE(source.writtenAttributes[0].hasChannelLine);
}

// The chart draws what a tolerant load stores, whether it shares the
// check's load (no error: both loads store alike) or loads again after an
// error; the result is the tester's either way.
TEST(ChartSource, DrawsWhatATolerantLoadStores) {
  struct Case {
    const char* name;
    std::string text;
    int result;
  };
  const std::string attributes = "attribute\nname = \"INTENSITY\"\nchannel = 1\n";
  const std::string parameter =
      "parameter\ntype = c\nattriblist = 1\ndisplayernum = 1\nstop = (0:9),n,\"A\"\n";
  const std::vector<Case> cases = {
      {"clean", std::string(kHeader) + attributes + parameter + "end\n", 0},
      {"warnings only", std::string(kHeader) + "chanel = 2\n" + attributes + parameter + "end\n",
       -1},
      {"an error before values",
       std::string(kHeader) + "version = 100\n" + attributes + parameter + "end\n", 1},
      // Past the error limit a line without a keyword ends the tester's
      // reading; a tolerant load reads on.
      {"past the error limit",
       std::string(kHeader) + Repeated("version = 100\n", 21) + "nonsense\n" + attributes +
           parameter + "end\n",
       21},
  };
  for (const Case& test : cases) {
    const ChartSource source = Read(test.text);
    EXPECT_EQ(source.load.result, test.result) << test.name;
    LoadOutcome tolerant = RunLoad(BytesOf(test.text), nullptr, nullptr, LoadMode::kTolerant);
    tolerant.result = source.load.result;
    tolerant.errorCount = source.load.errorCount;
    tolerant.warningFlag = source.load.warningFlag;
    EXPECT_EQ(ModelJson(source.load), ModelJson(tolerant)) << test.name;
    ASSERT_EQ(source.blocks.size(), 4u) << test.name;
    EXPECT_EQ(source.blocks.back().kind, BlockKind::kEnd) << test.name;
    EXPECT_EQ(source.writtenAttributes.size(), 1u) << test.name;
  }
}

TEST(Footprint, DrawsEachChannelWithTheAttributesThatTakeIt) {
  const ChartSource source = Read(std::string(kHeader) +
                                  "numDMX = 6\n"
                                  "attribute\nname = \"INTENSITY\"\nchannel = 0\n"
                                  "attribute\nname = \"PAN\"\nchannel = 1\nfinechan = 2\n"
                                  "attribute\nname = \"TILT\"\nchannel = 3\nend\n");
  const Footprint footprint = FootprintOf(*source.load.fixture, source);
  ASSERT_EQ(footprint.cells.size(), 7u);  // channel 0, then 1 to numDMX=6
  EXPECT_EQ(footprint.cells.front().channel, 0);
  EXPECT_TRUE(footprint.attributes[0].intensity);
  const FootprintCell& fine = *footprint.CellOf(2);
  ASSERT_EQ(fine.uses.size(), 1u);
  EXPECT_EQ(fine.uses[0].number, 2);
  EXPECT_TRUE(fine.uses[0].fine);
  EXPECT_EQ(footprint.attributes[1].fineChannel, 2);
  EXPECT_TRUE(footprint.CellOf(6)->uses.empty());
  EXPECT_FALSE(footprint.CellOf(6)->beyondNumDmx);
  EXPECT_TRUE(footprint.problems.empty());
}

TEST(Footprint, SaysWhatIsWrongWithTheChannels) {
  struct Case {
    const char* name;
    std::string attributes;
    std::vector<std::string> problems;
  };
  const std::vector<Case> cases = {
      {"a fine channel on a channel in use",
       "attribute\nname = \"PAN\"\nchannel = 1\nfinechan = 2\nattribute\nname = \"TILT\"\nchannel "
       "= 2\n",
       {"Channel 2 is taken by 2 attributes: PAN (fine) and TILT."}},
      {"no channel= line",
       "attribute\nname = \"INTENSITY\"\nchannel = 1\nattribute\nname = \"ZOOM\"\n",
       {"Channel 1 is taken by 2 attributes: INTENSITY and ZOOM.",
        "ZOOM has no channel= line, so it takes channel 1."}},
      {"a channel past one universe",
       "attribute\nname = \"GOBO\"\nchannel = 600\n",
       {"GOBO's channel 600 lies outside 0 to 512 and is not drawn."}},
      {"more channels than numDMX= says",
       "attribute\nchannel = 1\nattribute\nchannel = 5\n",
       {"numDMX= says 3 channels, but attributes take channels up to 5."}},
      {"an attribute's fine channel on its own channel",
       "attribute\nchannel = 1\nattribute\nchannel = 3\nfinechan = 3\n",
       {"Channel 3 is taken by 2 attributes: attribute 2 and attribute 2 (fine)."}},
  };
  for (const Case& test : cases) {
    const std::string numDmx = std::string(test.name).starts_with("more") ? "numDMX = 3\n" : "";
    const ChartSource source = Read(std::string(kHeader) + numDmx + test.attributes + "end\n");
    EXPECT_EQ(Texts(FootprintOf(*source.load.fixture, source).problems), test.problems)
        << test.name;
  }
}

TEST(Footprint, NamesAtMostSixAttributesOfAChannel) {
  std::string text(kHeader);
  for (int n = 0; n < 9; ++n) text += "attribute\nchannel = 1\n";
  const ChartSource source = Read(text + "end\n");
  const std::vector<std::string> problems =
      Texts(FootprintOf(*source.load.fixture, source).problems);
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(
      problems[0],
      "Channel 1 is taken by 9 attributes: attribute 1, attribute 2, attribute 3, attribute 4, "
      "attribute 5, attribute 6 and 3 more.");
}

std::string Parameter(const std::string& stops, const std::string& list = "2") {
  return std::string(kHeader) +
         "attribute\nname = \"INTENSITY\"\nchannel = 1\n"
         "attribute\nname = \"GOBO\"\nchannel = 2\n"
         "attribute\nname = \"ROT\"\nchannel = 3\n"
         "attribute\nname = \"PAN\"\nchannel = 4\nfinechan = 5\n"
         "parameter\nname = \"-GOBO-\"\ntype = b\nattriblist = " +
         list + "\ndisplayernum = 1\n" + stops + "end\n";
}

StopLanes LanesOfText(const std::string& text) {
  const ChartSource source = Read(text);
  EXPECT_LE(source.load.result, 0) << text;
  const FixtureTemplate& fixture = *source.load.fixture;
  return LanesOf(fixture, *fixture.ParameterAt(1));
}

TEST(StopLanes, SaysWhereStopsOverlapRepeatAndRunBackwards) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> problems;
  };
  const std::vector<Case> cases = {
      {"stops side by side", Parameter("stop = (0:9),n,\"A\"\nstop = (10:19),n,\"B\"\n"), {}},
      {"stops that overlap",
       Parameter("stop = (0:10),n,\"A\"\nstop = (10:19),n,\"B\"\nstop = (5),n,\"C\"\n"),
       {"Stop 1 \"A\" and stop 3 \"C\" overlap: GOBO 5.",
        "Stop 1 \"A\" and stop 2 \"B\" overlap: GOBO 10."}},
      {"stops that share a value of one attribute only",
       Parameter("stop = (0:7,128),n,\"A\"\nstop = (8:15,128),n,\"B\"\n", "2,3"),
       {}},
      {"stops that overlap on every attribute they share",
       Parameter("stop = (0:9,0:127),n,\"A\"\nstop = (8:15,100),n,\"B\"\n", "2,3"),
       {"Stop 1 \"A\" and stop 2 \"B\" overlap: GOBO 8 to 9, ROT 100."}},
      {"a stop repeated",
       Parameter("stop = (0:9),n,\"A\"\nstop = (0:9),n,\"A\"\nstop = (0:9),n,\"A\"\n"),
       {"Stops 2 to 3 repeat stop 1 \"A\" exactly."}},
      {"a range written backwards",
       Parameter("stop = (31:0),n,\"A\"\n"),
       {"Stop 1 \"A\" runs backwards on GOBO: 31 to 0."}},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(Texts(LanesOfText(test.text).problems), test.problems) << test.name;
  }
}

TEST(StopLanes, LaysStopsOnTheScaleOfTheirAttribute) {
  const StopLanes lanes =
      LanesOfText(Parameter("stop = (0:9,m0:32767),w,\"A\"\nstop = "
                            "(5:20,32768:65535),n,\"B\"\nstop = (5:20,32768:65535),n,\"B\"\n",
                            "2,4"));
  ASSERT_EQ(lanes.lanes.size(), 2u);
  const Lane& gobo = lanes.lanes[0];
  const Lane& pan = lanes.lanes[1];
  EXPECT_FALSE(gobo.sixteenBit);
  EXPECT_TRUE(pan.sixteenBit);
  ASSERT_EQ(lanes.runs.size(), 2u);
  EXPECT_EQ(lanes.runs[1].count, 2);
  ASSERT_EQ(gobo.bars.size(), 2u);
  EXPECT_EQ(gobo.bars[1].values.from, 5);
  EXPECT_EQ(gobo.bars[1].values.to, 20);
  EXPECT_EQ(gobo.bars[1].row, 1);  // it meets the first bar, so it stands below it
  EXPECT_EQ(gobo.rows, 2);
  ASSERT_EQ(gobo.gaps.size(), 1u);
  EXPECT_EQ(SpanText(gobo.gaps[0]), "21 to 255");
  EXPECT_EQ(pan.bars[1].values.to, 65535);
  EXPECT_TRUE(pan.gaps.empty());
  // The run of two stops overlaps itself, whole.
  ASSERT_EQ(pan.overlaps.size(), 1u);
  EXPECT_EQ(SpanText(pan.overlaps[0]), "32768 to 65535");
  EXPECT_EQ(lanes.RunOf(3), &lanes.runs[1]);
  EXPECT_EQ(lanes.RunOf(4), nullptr);
}

TEST(StopLanes, NamesAFewOverlapsAndCountsTheRest) {
  std::string stops;
  for (int n = 0; n < 40; ++n) stops += "stop = (0:255),n,\"S" + std::to_string(n) + "\"\n";
  const std::vector<std::string> problems = Texts(LanesOfText(Parameter(stops)).problems);
  ASSERT_EQ(problems.size(), 13u);
  EXPECT_EQ(problems.back(), "And 768 more pairs of overlapping stops.");  // 40 * 39 / 2 - 12
}

TEST(StopLanes, StacksAtMostSixRows) {
  std::string stops;
  for (int n = 0; n < 9; ++n) stops += "stop = (0:255),n,\"S" + std::to_string(n) + "\"\n";
  const StopLanes lanes = LanesOfText(Parameter(stops));
  EXPECT_EQ(lanes.lanes[0].rows, MOST_ROWS);
  for (const Bar& bar : lanes.lanes[0].bars) EXPECT_LT(bar.row, MOST_ROWS);
}

TEST(Places, LeadEachLineToWhatItBelongsTo) {
  const ChartSource source = Read(
      "fixture\nname = \"Old\"\nattribute\nchannel = 1\n"  // lines 1-4: a template the load dropped
      "fixture\nname = \"New\"\n"                          // 5-6
      "attribute\nchannel = 1\n"                           // 7-8
      "parameter\ntype = c\nattriblist = 1\ndisplayernum = 1\n"  // 9-12
      "stop = (0:9),n,\"A\"\nstop = (10:19),n,\"B\"\n"           // 13-14
      "end\nattribute\n");                                       // 15-16
  const Places places(source.load.fixture.get(), source);
  const std::vector<std::pair<int32_t, Place>> expected = {
      {3, {}},
      {5, {Place::Kind::kHeader}},
      {8, {Place::Kind::kAttribute, 1}},
      {11, {Place::Kind::kParameter, 1}},
      {14, {Place::Kind::kStop, 1, 2}},
      {15, {Place::Kind::kHeader}},
      {16, {}},
  };
  for (const auto& [line, place] : expected)
    EXPECT_EQ(places.OfLine(line), place) << "line " << line;
}

// A note's link leads to a stop that no diagnostic of its own concerns: the
// stop before one that is out of order.
TEST(Page, EveryLinkLeadsToAnElementOfThePage) {
  const std::string page =
      ChartPage(Read(std::string(kHeader) + "attribute\nname = \"COLOUR\"\nchannel = 1\n"
                                            "parameter\nname = \"-COLOUR-\"\ntype = c\n"
                                            "attriblist = 1\ndisplayernum = 1\n"
                                            "stop = (20:29),n,\"Blue\"\n"
                                            "stop = (10:19),n,\"Red\"\nend\n"));
  const auto valuesOf = [&page](std::string_view attribute) {
    std::vector<std::string> values;
    for (size_t at = page.find(attribute); at != std::string::npos;
         at = page.find(attribute, at + 1)) {
      const size_t begin = at + attribute.size();
      values.push_back(page.substr(begin, page.find('"', begin) - begin));
    }
    return values;
  };
  const std::vector<std::string> idList = valuesOf(" id=\"");
  const std::set<std::string> ids(idList.begin(), idList.end());
  const std::vector<std::string> links = valuesOf("href=\"#");
  for (const std::string& link : links) EXPECT_TRUE(ids.contains(link)) << link;
  EXPECT_TRUE(ids.contains("stop-1-1"));
  EXPECT_FALSE(links.empty());
}

TEST(Html, EscapesTextAndShowsControlCharacters) {
  Html html;
  html.Text("a<b>&\"c\"\x01\x7F\xE9\xA0") << int32_t{-12};
  EXPECT_EQ(html.Page(), "a&lt;b&gt;&amp;\"c\"\\x01\\x7F\xC3\xA9\xC2\xA0-12");
}

}  // namespace
}  // namespace fxt::chart
