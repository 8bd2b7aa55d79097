#include "reader/load_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../test_support.h"
#include "reader/keywords.h"

namespace fxt {
namespace {

using testing::LoadText;

constexpr const char* kClean =
    "fixture\nname=\"Spot\"\nversion=1.0\nmanufacturer=\"Robe\"\n"
    "attribute\nname=\"INTENSITY\"\nchannel=1\nend\n";

class LoadTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
};

TEST_F(LoadTemplateTest, ResultTellsCleanWarningsOnlyAndErrors) {
  EXPECT_EQ(LoadText(kClean).result, 0);
  EXPECT_EQ(LoadText("bogus\n").result, -1);
  EXPECT_EQ(LoadText("bogus\nname=\"x/\"\nname=\"y/\"\n").result, 2);
}

TEST_F(LoadTemplateTest, OpensAndClosesWithItsOwnMessages) {
  testing::RecordingTarget target;
  std::vector<uint8_t> buffer = MakeInputBuffer({});
  SetInput(buffer);
  EXPECT_EQ(LoadTemplate(&target, 1), 0);
  EXPECT_EQ(target.messages, (std::vector<std::string>{"Reading Fixture Template File",
                                                       "Template Loaded Successfully"}));

  SetInput(buffer = MakeInputBuffer({reinterpret_cast<const uint8_t*>("x/\"\n"), 4}));
  target.messages.clear();
  LoadTemplate(&target, 1);
  EXPECT_EQ(target.messages.back(), "Template Loaded Successfully");
}

TEST_F(LoadTemplateTest, WithoutATargetNothingIsReportedButTheCountsHold) {
  std::vector<uint8_t> buffer =
      MakeInputBuffer({reinterpret_cast<const uint8_t*>("bogus\nname=\"/\n"), 14});
  SetInput(buffer);
  EXPECT_EQ(LoadTemplate(nullptr, 1), 1);
  EXPECT_EQ(parseContext.warningFlag, 1);
}

TEST_F(LoadTemplateTest, KeywordsMatchAsLowerCasePrefixes) {
  EXPECT_EQ(MatchKeyword("numdmx=5")->id, TOKEN_NUM_DMX);
  EXPECT_EQ(MatchKeyword("endless")->id, TOKEN_END);
  EXPECT_EQ(MatchKeyword("abcdefghijk")->id, TOKEN_PLACEHOLDER);
  EXPECT_EQ(MatchKeyword("stopper")->id, TOKEN_STOP);
  EXPECT_EQ(MatchKeyword("fixtur"), nullptr);
  EXPECT_EQ(MatchKeyword("numDMX="), nullptr);  // lines are lower-cased first
}

// With twenty errors counted a line without a keyword warns and the load
// goes on; with twenty-one it warns and the load ends there.
TEST_F(LoadTemplateTest, ErrorLimitEndsTheLoadOnlyAtALineWithoutKeyword) {
  const auto withErrors = [](int count) {
    std::string text = "fixture\n";
    for (int i = 0; i < count; ++i) text += "version=x\n";
    return LoadText(text + "bogus\nbogus\n");
  };
  const auto twenty = withErrors(20);
  EXPECT_EQ(twenty.messages.size(), 22u);
  EXPECT_EQ(twenty.messages.back(), "WARNING - line 23: illegal token");

  const auto twentyOne = withErrors(21);
  EXPECT_EQ(twentyOne.messages.size(), 22u);
  EXPECT_EQ(twentyOne.messages.back(), "WARNING - line 23: illegal token");
  EXPECT_EQ(twentyOne.result, 21);
}

TEST_F(LoadTemplateTest, ErrorCountStopsAt255) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "name=\"/\n";
  EXPECT_EQ(LoadText(text).result, 255);
}

TEST_F(LoadTemplateTest, LoadingTwiceLeavesOnlyTheSecondTemplate) {
  LoadText(kClean);
  const FixtureTemplate* first = FixtureInSlot(1);
  ASSERT_NE(first, nullptr);
  const auto second = LoadText("fixture\nname=\"Other\"\n");
  ASSERT_NE(second.fixture, nullptr);
  EXPECT_EQ(second.fixture->modelName, "Other");
  EXPECT_EQ(LoadText("").fixture, nullptr);
}

TEST_F(LoadTemplateTest, ASlotOutsideOneToElevenGetsNoTemplate) {
  const auto loaded = LoadText("fixture\nname=\"x\"\n", 12);
  EXPECT_EQ(loaded.messages, (std::vector<std::string>{"FATAL ERROR - line 1: Out of Memory"}));
  EXPECT_EQ(loaded.result, 1);
}

}  // namespace
}  // namespace fxt
