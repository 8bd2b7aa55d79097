// What a load leaves in the model, where the printed output cannot show it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../test_support.h"
#include "grammar/grammar_dispatch.h"
#include "reader/number_scan.h"
#include "reader/parse_context.h"

namespace fxt {
namespace {

using testing::LoadText;

constexpr const char* kHeader = "fixture\nname=\"Spot\"\nversion=1.5\nmanufacturer=\"martin\"\n";

// Attributes on channels 1 and 2, both 8-bit, and a list naming both.
constexpr const char* kTwoAttributes =
    "attribute\nname=\"PAN\"\nchannel=1\n"
    "attribute\nname=\"TILT\"\nchannel=2\n"
    "parameter\ntype=f\ndisplayernum=1\nattriblist=1,2\n";

class GrammarTest : public ::testing::Test {
 protected:
  const FixtureTemplate& Load(const std::string& body) {
    loaded_ = LoadText(kHeader + body);
    return *loaded_.fixture;
  }
  const std::vector<std::string>& Messages() const { return loaded_.messages; }
  // The last stop of the last parameter, after a stop line.
  const Stop& LoadStop(const std::string& stopLine) {
    const FixtureTemplate& fixture = Load(std::string(kTwoAttributes) + stopLine + "\n");
    const Parameter* parameter = NthParameter(&fixture.firstParameter, 99);
    return *NthStop(&parameter->firstStop, 99);
  }

 private:
  testing::Loaded loaded_{};
};

TEST_F(GrammarTest, HeaderValuesAreStored) {
  const FixtureTemplate& fixture = Load("name=\"A model name of twenty\"\n");
  EXPECT_EQ(fixture.modelName, "A model name of");
  EXPECT_EQ(fixture.version, 1 * 256 + 5);
  EXPECT_EQ(fixture.manufacturer.get(), ManufacturerNames[1]);
}

TEST_F(GrammarTest, VersionsReadAsTwoNumbersWithAPoint) {
  struct Case {
    const char* value;
    int stored;  // -1: invalid
  } cases[] = {{"1.5", 261},
               {"99.99", 99 * 256 + 99},
               {"3.14", 3 * 256 + 14},
               {"1.5.7", 261},
               {"100.0", -1},
               {"1", -1},
               {"-1.5", -1},
               {"\"1.5\"", -1},
               {"", -1},
               {"1.-5", -1},
               {"1.+5", 261},
               {"0.0", 0}};
  for (const Case& c : cases) {
    const auto loaded = LoadText(std::string("fixture\nversion=") + c.value + "\n");
    const bool valid = loaded.messages.empty();
    EXPECT_EQ(valid, c.stored >= 0) << c.value;
    if (valid) {
      EXPECT_EQ(loaded.fixture->version, c.stored) << c.value;
    }
  }
}

TEST_F(GrammarTest, ValuesAreNotStoredAfterTheFirstError) {
  const FixtureTemplate& fixture = Load(
      "version=x\nname=\"Later\"\nmanufacturer=\"Robe\"\n"
      "attribute\nname=\"INTENSITY\"\nchannel=1\nfinechan=2\nminval=5\nmaxval=9\nhomeval=7\n"
      "parameter\nname=\"-pan-\"\ntype=f\ndisplayernum=4\nattriblist=1\nstop=(m1),w,\"Pan=\"\n");
  EXPECT_EQ(fixture.modelName, "Spot");
  EXPECT_EQ(fixture.manufacturer.get(), ManufacturerNames[1]);
  const Attribute& intensity = fixture.firstAttribute;
  EXPECT_EQ(intensity.kind, KIND_INTENSITY);  // kinds are stored regardless
  EXPECT_EQ(intensity.fineChannel, NO_FINE_CHANNEL);
  EXPECT_EQ(intensity.minValue, 0);
  EXPECT_EQ(intensity.maxValue, 256);
  EXPECT_EQ(intensity.homeValue, 0);
  const Parameter& parameter = fixture.firstParameter;
  EXPECT_FALSE(parameter.typeName.IsSet());
  EXPECT_EQ(parameter.kind, KIND_F);
  EXPECT_EQ(parameter.displayer, 4);
  EXPECT_EQ(parameter.attribCount, 0);
  EXPECT_EQ(parameter.stopCount, 0);
}

TEST_F(GrammarTest, AttributeFieldsAndScaledHomeValues) {
  const FixtureTemplate& fixture = Load(
      "attribute\nname=\"INTENSITY\"\nchannel=0\nminval=5\nmaxval=256\nhomeval=128\n"
      "attribute\nname=\"GOBO ROT\"\ntype=b\nchannel=3\nhomeval=0x1f\n"
      "attribute\nname=\"Custom\"\nchannel=5\nhomeval=300\nfinechan=6\n"
      "attribute\nfinechan=0\nhomeval=-1\nchannel=7\n"
      "end\n");
  ASSERT_EQ(fixture.attributeCount, 4);
  const Attribute& intensity = *NthAttribute(&fixture.firstAttribute, 1);
  EXPECT_EQ(intensity.channel, -1);
  EXPECT_EQ(intensity.minValue, 5);
  EXPECT_EQ(intensity.maxValue, 256);
  EXPECT_EQ(intensity.homeValue, 32768);
  const Attribute& gobo = *NthAttribute(&fixture.firstAttribute, 2);
  EXPECT_EQ(gobo.typeName.get(), AttributeTypeNames[11]);
  EXPECT_EQ(gobo.kind, KIND_B);
  EXPECT_EQ(gobo.channel, 2);
  EXPECT_EQ(gobo.homeValue, 7936);
  const Attribute& custom = *NthAttribute(&fixture.firstAttribute, 3);
  EXPECT_TRUE(custom.typeName.IsCopy());
  EXPECT_EQ(custom.fineChannel, 5);
  EXPECT_EQ(custom.homeValue, 300);
  const Attribute& plain = *NthAttribute(&fixture.firstAttribute, 4);
  EXPECT_EQ(plain.fineChannel, NO_FINE_CHANNEL);  // finechan=0 keeps it 8-bit
  EXPECT_EQ(plain.homeValue, 0);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
}

TEST_F(GrammarTest, NamesDeclareIntensityAndPanOnlyWhenExact) {
  const FixtureTemplate& fixture = Load(
      "attribute\nname=\"Intensity\"\nattribute\nname=\"PAN\"\nattribute\nname=\"INTENSITY\"\n");
  EXPECT_EQ(NthAttribute(&fixture.firstAttribute, 1)->kind, KIND_NONE);
  EXPECT_EQ(NthAttribute(&fixture.firstAttribute, 2)->kind, KIND_F);
  EXPECT_EQ(NthAttribute(&fixture.firstAttribute, 3)->kind, KIND_INTENSITY);
  EXPECT_EQ(parseContext.intensityAttribute, 3);
}

TEST_F(GrammarTest, AChannelAfterChannelOneIsRefusedToo) {
  const FixtureTemplate& fixture = Load("attribute\nchannel=1\nchannel=6\n");
  EXPECT_EQ(fixture.firstAttribute.channel, 0);
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"ERROR - line 7: only one channel per attribute allowed"}));
  EXPECT_EQ(parseContext.channelOwners[6], 1);
}

// Each number of a list reads as atoi reads it, whether it is digits alone,
// read as the line goes by, or holds characters that are errors.
TEST_F(GrammarTest, AttributeListNumbersReadAsAtoiReadsThem) {
  const std::vector<std::string> numbers = {
      "5", "", "12a3", "a12", "-3", "+4", "99999999999", "0x1f", "\"7\"", "007", "4294967297",
  };
  std::string list;
  for (const std::string& number : numbers) list += (list.empty() ? "" : ",") + number;
  Load(std::string(kTwoAttributes) + "parameter\ntype=c\ndisplayernum=2\nattriblist=" + list +
       "\n");
  ASSERT_EQ(parseContext.attribListCount, static_cast<int32_t>(numbers.size()));
  for (size_t i = 0; i < numbers.size(); ++i) {
    EXPECT_EQ(parseContext.attribListNumbers[i],
              static_cast<uint8_t>(DecimalValue(numbers[i].c_str())))
        << numbers[i];
  }
}

TEST_F(GrammarTest, AttributeListsResolveChannelsToAttributeNumbers) {
  const FixtureTemplate& fixture = Load(
      "attribute\nchannel=1\nattribute\nchannel=2\nattribute\nname=\"INTENSITY\"\nchannel=5\n"
      "parameter\ntype=c\ndisplayernum=1\nattriblist=1,2,5\n");
  const Parameter& parameter = fixture.firstParameter;
  ASSERT_EQ(parameter.attribCount, 3);
  EXPECT_EQ(parameter.attribList[0], 1);
  EXPECT_EQ(parameter.attribList[1], 2);
  EXPECT_EQ(parameter.attribList[2], 3);
  EXPECT_EQ(parseContext.attribListCount, 3);
  EXPECT_EQ(NthAttribute(&fixture.firstAttribute, 3)->kind, KIND_INTENSITY_LISTED);
}

TEST_F(GrammarTest, AnAttributeWithoutChannelAnswersToChannelOne) {
  const FixtureTemplate& fixture =
      Load("attribute\nattribute\nchannel=1\nparameter\ntype=c\ndisplayernum=1\nattriblist=1\n");
  ASSERT_EQ(fixture.firstParameter.attribCount, 1);
  EXPECT_EQ(fixture.firstParameter.attribList[0], 1);
}

// A list finds what was declared since the one before it: a later attribute,
// and a channel that an attribute took after an earlier list looked.
TEST_F(GrammarTest, ListsSeeAttributesDeclaredSinceTheLastList) {
  Load(
      "attribute\nchannel=1\nparameter\ntype=c\ndisplayernum=1\nattriblist=1\n"
      "attribute\nparameter\ntype=c\ndisplayernum=2\nattriblist=3\n"
      "attribute\nchannel=3\nparameter\ntype=c\ndisplayernum=3\nattriblist=3,1\n");
  // Only the list before channel 3 was taken misses it.
  EXPECT_EQ(
      Messages(),
      (std::vector<std::string>{"ERROR - line 15: Found reference to a non existing attribute"}));
}

TEST_F(GrammarTest, ALaterAttributeWithoutChannelIsFoundOnChannelOne) {
  Load(
      "attribute\nchannel=2\nparameter\ntype=c\ndisplayernum=1\nattriblist=1\n"
      "attribute\nparameter\ntype=c\ndisplayernum=2\nattriblist=1\n");
  EXPECT_EQ(
      Messages(),
      (std::vector<std::string>{"ERROR - line 10: Found reference to a non existing attribute"}));
}

TEST_F(GrammarTest, RepeatedListNumberIsStoredOnce) {
  const FixtureTemplate& fixture =
      Load("attribute\nchannel=5\nparameter\ntype=c\ndisplayernum=1\nattriblist=5,5\n");
  EXPECT_EQ(fixture.firstParameter.attribCount, 1);
  EXPECT_EQ(
      Messages(),
      (std::vector<std::string>{"ERROR - line 10: Found two argument numbers to be the same"}));
}

TEST_F(GrammarTest, AParameterThatNeverGotADisplayerIsDropped) {
  const FixtureTemplate& fixture = Load(
      "attribute\nchannel=1\n"
      "parameter\nname=\"-pan-\"\ntype=f\ndisplayernum=1\n"
      "parameter\nname=\"-tilt-\"\ntype=f\n"
      "parameter\nname=\"-colour-\"\ntype=c\ndisplayernum=3\n");
  ASSERT_EQ(fixture.parameterCount, 2);
  EXPECT_STREQ(fixture.firstParameter.typeName.get(), "-PAN-");
  EXPECT_EQ(fixture.firstParameter.next->kind, KIND_C);
  EXPECT_EQ(fixture.firstParameter.next->displayer, 3);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "ERROR - line 14: no displayer number for previous parameter given"}));
}

TEST_F(GrammarTest, ASecondFixtureLineStartsANewTemplate) {
  const FixtureTemplate& fixture =
      Load("attribute\nchannel=1\nfixture\nname=\"Second\"\nattribute\nname=\"TILT\"\nchannel=1\n");
  EXPECT_EQ(fixture.modelName, "Second");
  EXPECT_EQ(fixture.attributeCount, 1);
  EXPECT_EQ(fixture.firstAttribute.typeName.get(), AttributeTypeNames[1]);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
}

TEST_F(GrammarTest, StopWithMouseSlotSelectsItsEntry) {
  const Stop& stop = LoadStop("stop=(m0:255,10),w,\"Pan=\"");
  EXPECT_EQ(stop.mode, STOP_MODE_W);
  EXPECT_EQ(stop.label.get(), DisplayLabels[0]);
  ASSERT_EQ(stop.entryCount, 2);
  EXPECT_EQ(stop.entries[0].low, 0);
  EXPECT_EQ(stop.entries[0].high, 65280);
  EXPECT_EQ(stop.entries[0].attribute, 1);
  EXPECT_EQ(stop.entries[1].low, 2560);
  EXPECT_EQ(stop.entries[1].attribute, 2);
  EXPECT_EQ(stop.selectedEntry, 0);
  EXPECT_EQ(stop.midValue, 32640);
}

TEST_F(GrammarTest, StopLinesReadAsTheyAreWritten) {
  struct Case {
    const char* line;
    int32_t mode;
    std::vector<uint16_t> values;  // low, high of each entry
    std::vector<uint8_t> flags;
    uint8_t selected;
  } cases[] = {
      {"stop=(10,20),n,\"Gobo 1\"", STOP_MODE_NONE, {2560, 2560, 5120, 5120}, {0, 0}, 255},
      {"STOP = ( M0:255 , 10 ) , W , \"Pan=\"", STOP_MODE_W, {0, 65280, 2560, 2560}, {0, 0}, 0},
      {"stop=(0x1f,0xff),n,\"Red\"", STOP_MODE_NONE, {7936, 7936, 65280, 65280}, {0, 0}, 255},
      {"stop=(0x10m),w,\"Red\"", STOP_MODE_W, {4096, 4096}, {0}, 0},
      {"stop=(m0x10),w,\"Red\"", STOP_MODE_W, {0, 0}, {0}, 0},
      {"stop=(12ab),n,\"Red\"", STOP_MODE_NONE, {3072, 3072}, {0}, 255},
      {"stop=(r10:20,30),n,\"Red\"", STOP_MODE_NONE, {2560, 5120, 7680, 7680}, {1, 0}, 255},
      {"stop=(,10),n,\"Red\"", STOP_MODE_NONE, {2560, 2560}, {0}, 255},
      {"stop=(,m10),w,\"Red\"", STOP_MODE_W, {2560, 2560}, {0}, 255},
      {"stop=(10),n;\"UV\"", STOP_MODE_NONE, {2560, 2560}, {0}, 255},
      {"stop=(1,m2),3,\"Red\"", STOP_MODE_3, {256, 256, 512, 512}, {0, 0}, 1},
  };
  for (const Case& c : cases) {
    const Stop& stop = LoadStop(c.line);
    EXPECT_TRUE(Messages().empty()) << c.line << ": " << Messages().front();
    EXPECT_EQ(stop.mode, c.mode) << c.line;
    ASSERT_EQ(stop.entryCount * 2u, c.values.size()) << c.line;
    for (size_t i = 0; i < c.flags.size(); ++i) {
      EXPECT_EQ(stop.entries[i].low, c.values[2 * i]) << c.line;
      EXPECT_EQ(stop.entries[i].high, c.values[2 * i + 1]) << c.line;
      EXPECT_EQ(stop.entries[i].flagR, c.flags[i]) << c.line;
    }
    EXPECT_EQ(stop.selectedEntry, c.selected) << c.line;
  }
}

TEST_F(GrammarTest, EmptySlotsTakeNoAttribute) {
  const Stop& stop = LoadStop("stop=(10,,20),n,\"Red\"");
  ASSERT_EQ(stop.entryCount, 2);
  EXPECT_EQ(stop.entries[0].attribute, 1);
  EXPECT_EQ(stop.entries[1].attribute, 2);
}

TEST_F(GrammarTest, SixteenBitAttributesKeepTheLowSixteenBits) {
  const FixtureTemplate& fixture = Load(
      "attribute\nchannel=1\nfinechan=2\nparameter\ntype=f\ndisplayernum=1\nattriblist=1\n"
      "stop=(1000:70000),n,\"Pan\"\n");
  const Stop& stop = fixture.firstParameter.firstStop;
  ASSERT_EQ(stop.entryCount, 1);
  EXPECT_EQ(stop.entries[0].low, 1000);
  EXPECT_EQ(stop.entries[0].high, 4464);
  EXPECT_TRUE(stop.label.IsCopy());
  EXPECT_STREQ(stop.label.get(), "Pan");
}

TEST_F(GrammarTest, DisplayFormStoresItsValues) {
  const Stop& stop = LoadStop("stop=(m10),d,-270,270,\"Pan=\"");
  EXPECT_EQ(stop.mode, STOP_MODE_DISPLAY);
  EXPECT_EQ(stop.displayFrom, -270);
  EXPECT_EQ(stop.displayTo, 270);
  EXPECT_EQ(stop.label.get(), DisplayLabels[0]);
  EXPECT_EQ(stop.selectedEntry, 0);
}

TEST_F(GrammarTest, StopsAreAppendedInLineOrder) {
  const FixtureTemplate& fixture = Load(std::string(kTwoAttributes) +
                                        "stop=(1,2),n,\"Red\"\nstop=(3,4),n,\"Green\"\n"
                                        "stop=(5,6),n,\"UV\"\n");
  const Parameter& parameter = fixture.firstParameter;
  ASSERT_EQ(parameter.stopCount, 3);
  EXPECT_STREQ(parameter.firstStop.label.get(), "Red");
  EXPECT_STREQ(parameter.firstStop.next->label.get(), "Green");
  EXPECT_STREQ(parameter.firstStop.next->next->label.get(), "UV");
}

// A stop line reports one problem, and a list without its ')' reports that,
// whatever else is wrong before where the ')' should be.
TEST_F(GrammarTest, AListWithoutItsParenthesisSaysSoFirst) {
  for (const char* line : {"stop=(1;2,n,\"Red\"", "stop=(m1,m2", "stop=(x5,1", "stop=(300"}) {
    Load(std::string(kTwoAttributes) + line + "\n");
    EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR - line 15: Missing ')'."}) << line;
  }
  Load(std::string(kTwoAttributes) + "stop=(m1,m2),w,\"Red\"\n");
  EXPECT_EQ(Messages(), std::vector<std::string>{"ERROR - line 15: too many mousable attributes"});
}

// The dense table does not call the states where the grammar waits for a
// keyword: each must do nothing but return its own table, whatever the signal.
TEST(GrammarDispatch, WaitingStatesOnlyReturnTheirTables) {
  for (const RestingState& resting : kGrammarDispatch.Resting()) {
    for (const Signal signal : {SIG_ENTRY, SIG_ACTION, SIG_EXIT}) {
      EXPECT_EQ(resting.state(signal), resting.table);
    }
  }
}

}  // namespace
}  // namespace fxt
