// fxtimport's parts: the fixture file refused at its first problem, modes
// resolved to DMX channels, values scaled, labels and names from the desk's
// tables, and texts kept within what a template holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/desk_text.h"
#include "import/fixture_import.h"
#include "import/fixture_reader.h"
#include "import/key_order.h"
#include "import/mode_channels.h"
#include "import/mode_import.h"
#include "import/pixel_order.h"
#include "import/template_text.h"
#include "load/run_load.h"

namespace fxt {
namespace {

// A fixture file around the given members: availableChannels and modes at least.
std::string Fixture(const std::string& members) {
  return R"({"$schema": "x", "name": "Test Light", "categories": ["Other"], )" + members + "}";
}

const std::string kDimmer =
    R"("availableChannels": {"Dimmer": {"capability": {"type": "Intensity"}}})";

struct Refusal {
  const char* name;
  std::string json;
  std::string problem;
};

class RefusedFile : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedFile, NamesTheFirstProblemByItsPath) {
  const FixtureImport imported = ImportFixture(GetParam().json, {"test.json", "generic", {}, {}});
  EXPECT_TRUE(imported.templates.empty());
  EXPECT_EQ(imported.problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Format, RefusedFile,
    ::testing::Values(
        Refusal{"NotJson", "{\"name\": \n  [1, }",
                "$: not JSON: line 2, column 7: syntax error while parsing value - unexpected '}'; "
                "expected '[', '{', or a literal"},
        Refusal{"NoName", R"({"modes": []})", "$: \"name\" is missing"},
        Refusal{"NoModes", Fixture(kDimmer), "$: \"modes\" is missing"},
        Refusal{"UnknownCapabilityType",
                Fixture(R"("availableChannels": {"Pan": {"capability": {"type": "Spin"}}},
                           "modes": [{"name": "A", "channels": ["Pan"]}])"),
                "$.availableChannels.Pan.capability.type: \"Spin\" is no capability type"},
        Refusal{"RangeAboveTheChannel",
                Fixture(R"("availableChannels": {"Iris fine": {"capabilities": [
                             {"dmxRange": [0, 9], "type": "Iris", "openPercent": "open"},
                             {"dmxRange": [10, 256], "type": "Iris", "openPercent": "closed"}]}},
                           "modes": [{"name": "A", "channels": ["Iris fine"]}])"),
                "$.availableChannels[\"Iris fine\"].capabilities[1].dmxRange[1]: 256 is above "
                "the channel's largest value, 255"},
        Refusal{"OverlappingRanges", Fixture(R"("availableChannels": {"Gobo": {"capabilities": [
                             {"dmxRange": [0, 9], "type": "Generic"},
                             {"dmxRange": [9, 255], "type": "Generic"}]}},
                           "modes": [{"name": "A", "channels": ["Gobo"]}])"),
                "$.availableChannels.Gobo.capabilities[1].dmxRange: the range must begin after "
                "the range of the capability before it"},
        Refusal{"StartWithoutEnd", Fixture(R"("availableChannels": {"Pan": {"capability":
                             {"type": "Pan", "angleStart": "0deg"}}},
                           "modes": [{"name": "A", "channels": ["Pan"]}])"),
                "$.availableChannels.Pan.capability.angleStart: \"angleEnd\" is missing beside it"},
        Refusal{"UnknownChannelInMode",
                Fixture(kDimmer + R"(, "modes": [{"name": "A", "channels": ["Dimmer", "Dimer"]}])"),
                "$.modes[0].channels[1]: no channel, fine channel or switching channel is named "
                "\"Dimer\""},
        Refusal{"ModeNamedMode",
                Fixture(kDimmer + R"(, "modes": [{"name": "Basic mode", "channels": ["Dimmer"]}])"),
                "$.modes[0].name: a mode's name leaves out the word \"mode\""},
        Refusal{"SwitchingWithoutDefault",
                Fixture(R"("availableChannels": {"Program": {"capabilities": [
                             {"dmxRange": [0, 99], "type": "Generic", "switchChannels": {"S": "Speed"}},
                             {"dmxRange": [100, 255], "type": "Generic", "switchChannels": {"S": "Speed"}}]},
                             "Speed": {"capability": {"type": "Speed", "speed": "fast"}}},
                           "modes": [{"name": "A", "channels": ["Program", "S"]}])"),
                "$.availableChannels.Program: a channel that switches channels needs a "
                "\"defaultValue\""},
        Refusal{"MissingWheel", Fixture(R"("availableChannels": {"Colours": {"capabilities": [
                             {"dmxRange": [0, 99], "type": "WheelSlot", "slotNumber": 1},
                             {"dmxRange": [100, 255], "type": "WheelSlot", "slotNumber": 2}]}},
                           "modes": [{"name": "A", "channels": ["Colours"]}])"),
                "$.availableChannels.Colours: the wheel \"Colours\" is not in $.wheels"},
        Refusal{"PixelOfNoMatrix", Fixture(R"("matrix": {"pixelCount": [2, 1, 1]},
                           "templateChannels": {"Red $pixelKey": {"capability":
                             {"type": "ColorIntensity", "color": "Red"}}},
                           "modes": [{"name": "A", "channels": [{"insert": "matrixChannels",
                             "repeatFor": ["1", "3"], "channelOrder": "perPixel",
                             "templateChannels": ["Red $pixelKey"]}]}])"),
                "$.modes[0].channels[0].repeatFor[1]: \"3\" is no pixel or pixel group of the "
                "matrix"},
        Refusal{"HugeMatrix", Fixture(R"("matrix": {"pixelCount": [1000, 1000, 1000]},
                           "templateChannels": {"Red $pixelKey": {"capability":
                             {"type": "ColorIntensity", "color": "Red"}}},
                           "modes": [{"name": "A", "channels": ["Red 1"]}])"),
                "$.matrix.pixelCount: more than 65536 pixels"}),
    [](const ::testing::TestParamInfo<Refusal>& param) { return param.param.name; });

// The template text of the first mode of a fixture file.
std::string Imported(const std::string& json, std::vector<std::string>* losses = nullptr) {
  const FixtureImport imported = ImportFixture(json, {"test.json", "generic", {}, {}});
  EXPECT_EQ(imported.problem, "");
  if (imported.templates.empty()) return {};
  if (losses != nullptr) *losses = imported.templates[0].losses;
  return imported.templates[0].text;
}

TEST(ModeChannels, SwitchingChannelIsTakenAtTheDefaultOfItsSwitch) {
  const std::string text = Imported(Fixture(R"("availableChannels": {
      "Program": {"defaultValue": 200, "capabilities": [
        {"dmxRange": [0, 99], "type": "Generic", "switchChannels": {"Setting": "Speed"}},
        {"dmxRange": [100, 255], "type": "Generic", "switchChannels": {"Setting": "Sound"}}]},
      "Speed": {"capability": {"type": "Speed", "speedStart": "slow", "speedEnd": "fast"}},
      "Sound": {"capability": {"type": "SoundSensitivity", "soundSensitivity": "50%"}}},
    "modes": [{"name": "A", "channels": ["Program", "Setting"]}])"));
  EXPECT_NE(text.find("/ channel 2 (\"Sound\") is the switching channel \"Setting\""),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("stop = (0:255), n, \"Sound\""), std::string::npos) << text;
}

TEST(ModeChannels, MatrixOrdersFollowTheirAxes) {
  Matrix matrix;
  for (int y = 1; y <= 2; ++y) {
    for (int x = 1; x <= 2; ++x) matrix.pixels.push_back({std::to_string(x * 10 + y), x, y, 1});
  }
  EXPECT_EQ(PixelOrder(matrix, "eachPixelXYZ"), (std::vector<std::string>{"11", "21", "12", "22"}));
  EXPECT_EQ(PixelOrder(matrix, "eachPixelYXZ"), (std::vector<std::string>{"11", "12", "21", "22"}));
  EXPECT_EQ(PixelOrder(matrix, "eachPixelABC"), (std::vector<std::string>{"11", "12", "21", "22"}));
  EXPECT_TRUE(NaturalLess("Pixel 2", "Pixel 10"));
  EXPECT_FALSE(NaturalLess("Pixel 10", "Pixel 2"));
}

TEST(KeyOrder, KeysOfOneObjectAsTheFileWritesThem) {
  const std::string json = R"({"pixelGroups": {"z": 1},
      "matrix": {"a": [{"pixelGroups": {"y": 2}}],
                 "pixelGroups": {"Outer": [], "Inner": {"x": {"deep": 1}}, "All": "all"}}})";
  EXPECT_EQ(KeysInFileOrder(json, {"matrix", "pixelGroups"}),
            (std::vector<std::string>{"Outer", "Inner", "All"}));
  EXPECT_EQ(KeysInFileOrder(json, {"nothing"}), std::vector<std::string>{});
  EXPECT_EQ(KeysInFileOrder("[1, 2]", {"matrix"}), std::vector<std::string>{});
}

TEST(ModeImport, ValuesAreScaledToTheAttributesBits) {
  struct Case {
    uint64_t value;
    int from;
    int to;
    bool rangeEnd;
    uint32_t scaled;
  };
  for (const Case& c : {Case{255, 1, 2, true, 65535}, Case{128, 1, 2, false, 32768},
                        Case{32767, 2, 1, true, 127}, Case{0xFFFFFF, 3, 2, true, 0xFFFF},
                        Case{0x123456, 3, 1, false, 0x12}, Case{7, 1, 1, true, 7}}) {
    EXPECT_EQ(Scaled(c.value, c.from, c.to, c.rangeEnd), c.scaled)
        << c.value << " from " << c.from << " to " << c.to << " bytes";
  }
}

TEST(ModeImport, AFixtureWithoutDimmerGetsAnIntensityOnChannelZero) {
  const std::string text = Imported(Fixture(R"("availableChannels": {
      "Red": {"capability": {"type": "ColorIntensity", "color": "Red"}}},
    "modes": [{"name": "A", "channels": ["Red"]}])"));
  EXPECT_NE(text.find("attribute\n  name = \"INTENSITY\"\n  type = i\n  channel = 0\n"),
            std::string::npos)
      << text;
  const LoadOutcome outcome = RunLoad(BytesOf(text), nullptr);
  EXPECT_EQ(outcome.result, 0) << text;
}

TEST(ModeImport, WhatATemplateCannotSayIsARemarkAndALoss) {
  std::string channels;
  std::string modeChannels;
  for (int i = 1; i <= 66; ++i) {
    channels += (i == 1 ? "" : ",") + std::string("\"C") + std::to_string(i) +
                R"(": {"capability": {"type": "Generic", "comment": "A comment too long"}})";
    modeChannels += (i == 1 ? "" : ",") + std::string("\"C") + std::to_string(i) + "\"";
  }
  std::vector<std::string> losses;
  const std::string text =
      Imported(Fixture("\"availableChannels\": {" + channels + "}, \"modes\": [{\"name\": \"A\", " +
                       "\"channels\": [" + modeChannels + "]}]"),
               &losses);
  ASSERT_EQ(losses.size(), 65U);
  EXPECT_EQ(losses[0], "channels 65 to 66 are skipped: a template holds DMX channels 1 to 64");
  EXPECT_EQ(losses[1],
            "channel 1 (\"C1\"): the label \"A comment too long\" is kept as \"A comment\": a "
            "label holds 9 characters");
  EXPECT_NE(text.find("/ channels 65 to 66 are skipped"), std::string::npos);
  EXPECT_NE(text.find("numDMX = 64\n"), std::string::npos);
  EXPECT_EQ(RunLoad(BytesOf(text), nullptr).result, 0) << text;
}

TEST(ModeImport, TableNamesAreNumberedWhenAModeHasTwoOfAKind) {
  const std::string text = Imported(Fixture(R"(
    "wheels": {"W1": {"slots": [{"type": "Open"}, {"type": "Color", "name": "red"}]},
               "W2": {"slots": [{"type": "Open"}, {"type": "Color", "name": "Blue"}]}},
    "availableChannels": {
      "W1": {"capabilities": [{"dmxRange": [0, 99], "type": "WheelSlot", "slotNumber": 1},
                              {"dmxRange": [100, 255], "type": "WheelSlot", "slotNumber": 2}]},
      "W2": {"capabilities": [{"dmxRange": [0, 99], "type": "WheelSlot", "slotNumber": 1},
                              {"dmxRange": [100, 255], "type": "WheelSlot", "slotNumber": 2}]}},
    "modes": [{"name": "A", "channels": ["W1", "W2"]}])"));
  for (const char* line : {"name = \"COLOUR 1\"", "name = \"COLOUR 2\"", "name = \"-COLOUR1-\"",
                           "name = \"-COLOUR2-\"", "stop = (100:255), n, \"Red\""}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST(ModeImport, NamesOfBlanksAloneStillNameSomething) {
  const std::string text = Imported(R"({"name": "  ", "availableChannels": {
      "\t": {"capability": {"type": "Generic"}}},
    "modes": [{"name": "A", "channels": ["\t"]}]})");
  EXPECT_NE(text.find("name = \"Fixture\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("name = \"CHANNEL 1\"\n"), std::string::npos) << text;
  EXPECT_EQ(RunLoad(BytesOf(text), nullptr).result, 0) << text;
}

TEST(DeskText, KeepsWhatAQuotedValueCanHold) {
  EXPECT_EQ(DeskText("  Spot \"Pro\" R/G/B\t "), "Spot 'Pro' R-G-B");
  EXPECT_EQ(DeskText("Éclair ÿ"),
            "\xC9"
            "clair y");
  EXPECT_EQ(DeskText("Zoom – 😀"), "Zoom - ?");
  EXPECT_EQ(RemarkText("a/b \"c\""), "a/b \"c\"");
  EXPECT_EQ(Shortened("Sound active", 9), "Sound act");
  EXPECT_EQ(Shortened("Fan speed low", 9), "Fan speed");
}

TEST(TemplateText, RemarksWrapWithinTheLineLength) {
  const std::string remark(150, 'x');
  const std::string words = "word " + std::string(300, 'a') + " end";
  for (const std::string& text : {remark, words}) {
    const std::string lines = RemarkLines(text);
    size_t begin = 0;
    for (size_t end = lines.find('\n'); end != std::string::npos; end = lines.find('\n', begin)) {
      EXPECT_LE(end - begin, 99U);
      EXPECT_EQ(lines[begin], '/');
      begin = end + 1;
    }
    EXPECT_EQ(begin, lines.size());
  }
}

TEST(FixtureImport, ManufacturersMatchTheDesksTableByLettersAndDigits) {
  EXPECT_EQ(ManufacturerForTemplate("Clay Paky", "clay-paky"), "CLAY PAKY");
  EXPECT_EQ(ManufacturerForTemplate("jb-lighting", "jb-lighting"), "JBLIGHTING");
  EXPECT_EQ(ManufacturerForTemplate("Vari-Lite", "vari-lite"), "VARILITE");
  EXPECT_EQ(ManufacturerForTemplate("Orbit Beam", "orbit-beam"), "Orbit Beam");
  EXPECT_EQ(ManufacturerForTemplate("  ", ""), "GENERIC");
}

TEST(FixtureImport, ManufacturerNameComesFromTheLibrarysList) {
  const std::string list = R"({"$schema": "x", "clay-paky": {"name": "Clay Paky"}})";
  EXPECT_EQ(ManufacturerNamed(list, "clay-paky"), "Clay Paky");
  EXPECT_EQ(ManufacturerNamed(list, "robe"), std::nullopt);
  EXPECT_EQ(ManufacturerNamed("not json", "robe"), std::nullopt);
}

TEST(FixtureImport, ModesAreChosenByNameOrShortName) {
  const std::string json = Fixture(kDimmer + R"(, "modes": [
      {"name": "Basic", "shortName": "1ch", "channels": ["Dimmer"]},
      {"name": "Other", "channels": ["Dimmer", null]}])");
  const FixtureImport byShortName = ImportFixture(json, {"t.json", "generic", {}, "1ch"});
  ASSERT_EQ(byShortName.templates.size(), 1U);
  EXPECT_EQ(byShortName.templates[0].fileName, "t-1ch.fxt");
  const FixtureImport missing = ImportFixture(json, {"t.json", "generic", {}, "2ch"});
  EXPECT_TRUE(missing.templates.empty());
  EXPECT_EQ(missing.modeNames, (std::vector<std::string>{"Basic", "Other"}));
}

}  // namespace
}  // namespace fxt
