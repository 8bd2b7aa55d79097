#include "model/attribute.h"

#include <gtest/gtest.h>

#include <memory>

namespace fxt {
namespace {

TEST(Attribute, FreshAttributeIsAnEightBitAttributeWithFullRange) {
  Attribute attribute;
  attribute.channel = 7;
  attribute.Init();
  EXPECT_EQ(attribute.channel, 0);
  EXPECT_EQ(attribute.maxValue, 256);
  EXPECT_EQ(attribute.fineChannel, 255);
  EXPECT_TRUE(attribute.HasNoFineChannel());
  attribute.fineChannel = 4;
  EXPECT_FALSE(attribute.HasNoFineChannel());
}

TEST(Attribute, KindIsAFourBitField) {
  Attribute attribute;
  attribute.kind = KIND_INTENSITY_LISTED;
  EXPECT_EQ(attribute.kind, 8);
  EXPECT_EQ(sizeof(Attribute::channel), 2u);
  EXPECT_EQ(sizeof(Attribute::homeValue), 2u);
}

TEST(Attribute, NthAttributeStopsAtTheEnds) {
  Attribute first;
  first.next = std::make_unique<Attribute>();
  first.next->next = std::make_unique<Attribute>();
  Attribute* third = first.next->next.get();
  EXPECT_EQ(NthAttribute(&first, 0), &first);
  EXPECT_EQ(NthAttribute(&first, -5), &first);
  EXPECT_EQ(NthAttribute(&first, 1), &first);
  EXPECT_EQ(NthAttribute(&first, 2), first.next.get());
  EXPECT_EQ(NthAttribute(&first, 3), third);
  EXPECT_EQ(NthAttribute(&first, 7), third);
}

TEST(Attribute, TableTypeNamesAreSharedAndOthersCopiedUnchanged) {
  Attribute attribute;
  attribute.SetTypeName("GOBO ROT");
  EXPECT_EQ(attribute.typeName.get(), AttributeTypeNames[11]);
  EXPECT_FALSE(attribute.typeName.IsCopy());

  for (const char* text : {"Intensity", "", "pan", "GOBO  ROT"}) {
    attribute.SetTypeName(text);
    EXPECT_TRUE(attribute.typeName.IsCopy()) << text;
    EXPECT_STREQ(attribute.typeName.get(), text);
  }
  attribute.FreeTypeName();
  EXPECT_EQ(attribute.typeName.get(), nullptr);
}

}  // namespace
}  // namespace fxt
