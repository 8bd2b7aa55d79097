#include "model/name_tables.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fxt {
namespace {

TEST(NameTables, SizesAndEntriesThatAreEasyToGetWrong) {
  EXPECT_EQ(ManufacturerNames.size(), 27u);
  EXPECT_EQ(AttributeTypeNames.size(), 29u);
  EXPECT_EQ(ParameterTypeNames.size(), 38u);
  EXPECT_EQ(DisplayLabels.size(), 433u);

  EXPECT_STREQ(ManufacturerNames[4], "CLAY PAKY");
  EXPECT_STREQ(ManufacturerNames[26], "RADLITE");
  EXPECT_STREQ(AttributeTypeNames[11], "GOBO ROT");
  EXPECT_STREQ(AttributeTypeNames[28], "SHAPER2");
  EXPECT_STREQ(ParameterTypeNames[6], "-MAGNTA-");
  EXPECT_STREQ(ParameterTypeNames[9], "-GOBO<>-");
  EXPECT_STREQ(ParameterTypeNames[28], "-PRISM<>-");
  EXPECT_STREQ(ParameterTypeNames[32], "-GB1 IDX-");
  EXPECT_STREQ(DisplayLabels[1], "Ti@=");
  EXPECT_STREQ(DisplayLabels[225], "UV");
  EXPECT_STREQ(DisplayLabels[226], "Lee 2");
  EXPECT_STREQ(DisplayLabels[400], "Lee 999");
  EXPECT_STREQ(DisplayLabels[401], "Rosco 09");
  EXPECT_STREQ(DisplayLabels[417], "Gam 120");
  EXPECT_STREQ(DisplayLabels[432], "Gam 995");
}

TEST(NameTables, NoLabelIsLongerThanNineCharacters) {
  for (const char* label : DisplayLabels) EXPECT_LE(std::strlen(label), 9u) << label;
}

TEST(NameTables, ColourColonIsOneTextAtTwoPlaces) {
  EXPECT_EQ(DisplayLabels[14], DisplayLabels[177]);
  EXPECT_EQ(LookupName("Colour:", DisplayLabels), 14);
}

TEST(LookupName, ComparesWholeTextsExactly) {
  struct Case {
    const char* text;
    int index;
  } cases[] = {
      {"PAN", 0}, {"SHAPER2", 28}, {"pan", -1}, {"PAN ", -1}, {"GOBO  ROT", -1}, {"", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(LookupName(c.text, AttributeTypeNames), c.index) << c.text;
}

TEST(LookupName, NullTextOrEmptyTableFindsNothing) {
  EXPECT_EQ(LookupName(nullptr, AttributeTypeNames), -1);
  EXPECT_EQ(LookupName("PAN", AttributeTypeNames.data(), 0), -1);
  EXPECT_EQ(LookupName("PAN", AttributeTypeNames.data(), -3), -1);
}

}  // namespace
}  // namespace fxt
