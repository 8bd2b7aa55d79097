#include "load/load_template.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "../test_support.h"
#include "reader/keywords.h"
#include "reader/line_reader.h"
#include "reader/parse_context.h"

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
  SetInput({});
  EXPECT_EQ(LoadTemplate(&target, 1), 0);
  EXPECT_EQ(target.messages, (std::vector<std::string>{"Reading Fixture Template File",
                                                       "Template Loaded Successfully"}));

  SetInput(BytesOf("x/\"\n"));
  target.messages.clear();
  LoadTemplate(&target, 1);
  EXPECT_EQ(target.messages.back(), "Template Loaded Successfully");
}

TEST_F(LoadTemplateTest, WithoutATargetNothingIsReportedButTheCountsHold) {
  const LoadOutcome outcome = RunLoad(BytesOf("bogus\nname=\"/\n"), nullptr);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.warningFlag, 1);
}

TEST_F(LoadTemplateTest, TheInputEndsAtItsEndOrAtTheFirstFFByte) {
  const std::string text = "fixture\nname=\"A\"\xff\nname=\"B\"\n";
  EXPECT_EQ(RunLoad(BytesOf(text), nullptr).fixture->modelName, "A");
  // Only the bytes handed over are read, though more follow in memory.
  EXPECT_EQ(RunLoad(BytesOf(std::string_view(text).substr(0, 9)), nullptr).fixture->modelName, "");
}

TEST_F(LoadTemplateTest, KeywordsMatchAsLowerCasePrefixes) {
  EXPECT_EQ(MatchKeyword("numdmx=5")->id, TOKEN_NUM_DMX);
  EXPECT_EQ(MatchKeyword("endless")->id, TOKEN_END);
  EXPECT_EQ(MatchKeyword("abcdefghijk")->id, TOKEN_PLACEHOLDER);
  EXPECT_EQ(MatchKeyword("stopper")->id, TOKEN_STOP);
  EXPECT_EQ(MatchKeyword("fixtur"), nullptr);
  EXPECT_EQ(MatchKeyword("numDMX="), nullptr);  // lines are lower-cased first
  EXPECT_EQ(MatchKeyword("manufacturer=\"a long name\"")->id, TOKEN_MANUFACTURER);
}

// Each keyword is found by its own text, and not by its text less its last
// character, nor with that character changed.
TEST_F(LoadTemplateTest, EveryKeywordIsFoundByItsWholeText) {
  for (const Keyword& keyword : KeywordTable) {
    std::string text = keyword.text;
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    ASSERT_NE(MatchKeyword(text.c_str()), nullptr) << text;
    EXPECT_EQ(MatchKeyword(text.c_str())->id, keyword.id) << text;
    EXPECT_EQ(MatchKeyword((text + "more").c_str())->id, keyword.id) << text;
    text.pop_back();
    EXPECT_EQ(MatchKeyword(text.c_str()), nullptr) << text;
    text.push_back('#');
    EXPECT_EQ(MatchKeyword(text.c_str()), nullptr) << text;
  }
}

// The line buffer still holds an earlier, longer line after the current
// one's NUL: it must not complete a keyword.
TEST_F(LoadTemplateTest, ABufferedLineEndsAtItsNul) {
  const auto match = [](std::string_view text) {
    std::array<char, LINE_CAPACITY> buffer{};
    text.copy(buffer.data(), text.size());
    return MatchBufferedKeyword(buffer);
  };
  EXPECT_EQ(match(std::string_view("fixtur\0e", 8)), nullptr);
  EXPECT_EQ(match(std::string_view("displayernum\0=", 14)), nullptr);
  EXPECT_EQ(match(std::string_view("end\0fixture", 11))->id, TOKEN_END);
  EXPECT_EQ(match("displayernum=12")->id, TOKEN_DISPLAYER_NUM);
  EXPECT_EQ(match("stop=(1),n,\"a\"")->id, TOKEN_STOP);
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
  SetInput(BytesOf(kClean));
  LoadTemplate(nullptr, 1);
  ASSERT_NE(FixtureInSlot(1), nullptr);
  SetInput(BytesOf("fixture\nname=\"Other\"\n"));
  LoadTemplate(nullptr, 1);
  ASSERT_NE(FixtureInSlot(1), nullptr);
  EXPECT_EQ(FixtureInSlot(1)->modelName, "Other");
  SetInput({});
  LoadTemplate(nullptr, 1);
  EXPECT_EQ(FixtureInSlot(1), nullptr);
}

TEST_F(LoadTemplateTest, ASlotOutsideOneToElevenGetsNoTemplate) {
  testing::RecordingTarget target;
  SetInput(BytesOf("fixture\nname=\"x\"\n"));
  EXPECT_EQ(LoadTemplate(&target, 12), 1);
  EXPECT_EQ(target.messages[1], "FATAL ERROR - line 1: Out of Memory");
}

TEST_F(LoadTemplateTest, ALoadDependsOnItsBytesAloneWhateverCameBefore) {
  const std::string second = "fixture\nattribute\nname=\"INTENSITY\"\nchannel=0\nend\n";
  const LoadOutcome alone = RunLoad(BytesOf(second), nullptr);
  RunLoad(BytesOf(std::string(kClean) + "fixture\nattribute\ntype=i\n"), nullptr);
  const LoadOutcome after = RunLoad(BytesOf(second), nullptr);
  EXPECT_EQ(after.result, alone.result);
  EXPECT_EQ(after.fixture->firstAttribute.channel, alone.fixture->firstAttribute.channel);
}

// After an error the tester checks later lines against values it no longer
// stores; a tolerant load stores them, so the same lines are checked against
// what the template says.
TEST_F(LoadTemplateTest, ATolerantLoadKeepsStoringAfterAnError) {
  const std::string text =
      "fixture\nversion=\"1.2\"\nattribute\nname=\"PAN\"\nchannel=1\nfinechan=2\nhomeval=300\n"
      "parameter\nname=\"P\"\ntype=f\ndisplayernum=1\nattriblist=1\nstop=(300),n,"
      "\"Mid\"\nattribute\n";
  const LoadOutcome tester = RunLoad(BytesOf(text), nullptr);
  EXPECT_EQ(tester.result, 2);  // the version, and the home value taken as an 8-bit one
  EXPECT_TRUE(tester.fixture->firstAttribute.HasNoFineChannel());
  EXPECT_EQ(tester.fixture->firstParameter.stopCount, 0);

  testing::RecordingTarget target;
  const LoadOutcome tolerant = RunLoad(BytesOf(text), &target, nullptr, LoadMode::kTolerant);
  EXPECT_EQ(tolerant.result, 1);
  EXPECT_EQ(target.messages[1], "ERROR - line 2: invalid version number");
  const FixtureTemplate& fixture = *tolerant.fixture;
  EXPECT_EQ(fixture.firstAttribute.fineChannel, 1);
  EXPECT_EQ(fixture.firstAttribute.homeValue, 300);
  EXPECT_EQ(std::string(fixture.firstParameter.typeName.get()), "P");
  ASSERT_EQ(fixture.firstParameter.stopCount, 1);
  EXPECT_EQ(fixture.firstParameter.firstStop.entries[0].low, 300);
  // The next load is the tester's again.
  EXPECT_EQ(RunLoad(BytesOf(text), nullptr).result, 2);
}

// A tolerant load adds each further list line to the list, in order, until
// the parameter holds the most numbers its count allows.
TEST_F(LoadTemplateTest, ATolerantLoadAddsListsUpToTheCount) {
  std::string text = "fixture\n";
  for (int channel = 1; channel <= 200; ++channel) {
    text += "attribute\nchannel=" + std::to_string(channel) + "\n";
  }
  // Ten lines of twenty numbers each: 200, 199, ... 1.
  std::string lists;
  for (int channel = 200; channel >= 1; --channel) {
    if (channel % 20 == 0) lists += "attriblist=";
    lists += std::to_string(channel) + (channel % 20 == 1 ? "\n" : ",");
  }
  text += "parameter\ntype=c\ndisplayernum=1\n" + lists;
  const LoadOutcome tolerant = RunLoad(BytesOf(text), nullptr, nullptr, LoadMode::kTolerant);
  const Parameter& parameter = tolerant.fixture->firstParameter;
  ASSERT_EQ(parameter.attribCount, 200);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(parameter.attribList[i], 200 - i) << i;

  const LoadOutcome full = RunLoad(BytesOf(text + lists), nullptr, nullptr, LoadMode::kTolerant);
  ASSERT_EQ(full.fixture->firstParameter.attribCount, MAX_ATTRIBUTE_NUMBERS);
  EXPECT_EQ(full.fixture->firstParameter.attribList[MAX_ATTRIBUTE_NUMBERS - 1], 146);
}

TEST_F(LoadTemplateTest, ATolerantLoadReadsOnPastTheErrorLimit) {
  std::string text = "fixture\n";
  for (int i = 0; i < 21; ++i) text += "version=x\n";
  text += "bogus\nattribute\n";
  EXPECT_EQ(RunLoad(BytesOf(text), nullptr).fixture->attributeCount, 0);
  EXPECT_EQ(RunLoad(BytesOf(text), nullptr, nullptr, LoadMode::kTolerant).fixture->attributeCount,
            1);
}

}  // namespace
}  // namespace fxt
