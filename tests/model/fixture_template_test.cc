#include "model/fixture_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fxt {
namespace {

class FixtureTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EmptyAllSlots();
    fixture = FixtureTemplate::Create(1);
    ASSERT_NE(fixture, nullptr);
  }
  void TearDown() override { EmptyAllSlots(); }

  // The displayers of the parameter list, walked forwards and checked
  // backwards.
  std::vector<int> Displayers() const {
    std::vector<int> displayers;
    const Parameter* previous = nullptr;
    const Parameter* parameter = &fixture->firstParameter;
    for (int n = 1; n <= fixture->parameterCount; ++n, parameter = parameter->next.get()) {
      EXPECT_EQ(parameter->prev, previous);
      displayers.push_back(parameter->displayer);
      previous = parameter;
    }
    EXPECT_EQ(previous->next, nullptr);
    return displayers;
  }

  FixtureTemplate* fixture = nullptr;
};

TEST_F(FixtureTemplateTest, CreatingReplacesTheTemplateInTheSlot) {
  fixture->SetModelName("old");
  FixtureTemplate* replacement = FixtureTemplate::Create(1);
  EXPECT_EQ(FixtureInSlot(1), replacement);
  EXPECT_TRUE(replacement->modelName.empty());
  EXPECT_EQ(FixtureInSlot(2), nullptr);
}

TEST_F(FixtureTemplateTest, ADestroyedTemplateLeavesItsSlot) {
  FixtureTemplate* held = FixtureInSlot(1);
  std::unique_ptr<FixtureTemplate> owner(held);  // destroyed through its virtual destructor
  owner.reset();
  EXPECT_EQ(FixtureInSlot(1), nullptr);
}

TEST_F(FixtureTemplateTest, SlotNumbersOutsideOneToElevenHoldNothing) {
  EXPECT_EQ(FixtureTemplate::Create(0), nullptr);
  EXPECT_EQ(FixtureTemplate::Create(12), nullptr);
  EXPECT_NE(FixtureTemplate::Create(11), nullptr);
  EXPECT_EQ(FixtureInSlot(0), nullptr);
  EXPECT_EQ(FixtureInSlot(-1), nullptr);
  EmptySlot(11);
  EXPECT_EQ(FixtureInSlot(11), nullptr);
}

TEST_F(FixtureTemplateTest, ModelNameKeepsFifteenCharacters) {
  fixture->SetModelName("A name of twenty chr");
  EXPECT_EQ(fixture->modelName, "A name of twent");
  fixture->SetModelName("MAC500");
  EXPECT_EQ(fixture->modelName, "MAC500");
}

TEST_F(FixtureTemplateTest, ManufacturerIsNormalisedAndMatched) {
  struct Case {
    std::string text;
    const char* stored;
    bool shared;
  } cases[] = {
      {"clay paky", "CLAY PAKY", true},
      {"  Clay Paky", "CLAY PAKY", true},
      {"CLAY  PAKY", "CLAY  PAKY", false},
      {"Clay Paky ", "CLAY PAKY ", false},
      {"   ", "", false},
      {std::string(60, 'x'), "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX", false},
  };
  for (const Case& c : cases) {
    fixture->SetManufacturer(c.text);
    ASSERT_TRUE(fixture->manufacturer.IsSet()) << c.text;
    EXPECT_STREQ(fixture->manufacturer.get(), c.stored) << c.text;
    EXPECT_EQ(fixture->manufacturer.IsCopy(), !c.shared) << c.text;
  }
  fixture->ReleaseManufacturer();
  EXPECT_FALSE(fixture->manufacturer.IsSet());
}

TEST_F(FixtureTemplateTest, AttributesAreAppendedAfterTheEmbeddedFirstOne) {
  EXPECT_EQ(fixture->AddAttribute(), &fixture->firstAttribute);
  Attribute* second = fixture->AddAttribute();
  EXPECT_EQ(fixture->firstAttribute.next.get(), second);
  EXPECT_EQ(fixture->attributeCount, 2);
}

TEST_F(FixtureTemplateTest, AttributeCountNeverWraps) {
  for (int i = 0; i < MAX_ATTRIBUTES; ++i) ASSERT_NE(fixture->AddAttribute(), nullptr);
  EXPECT_EQ(fixture->AddAttribute(), nullptr);
  EXPECT_EQ(fixture->attributeCount, 255);
}

TEST_F(FixtureTemplateTest, NoParameterIsDroppedWhileTheListHoldsFewerThanTwo) {
  EXPECT_EQ(fixture->AddParameter(NO_DISPLAYER), &fixture->firstParameter);
  fixture->AddParameter(NO_DISPLAYER);
  EXPECT_EQ(Displayers(), (std::vector<int>{30, 30}));
}

TEST_F(FixtureTemplateTest, ALastParameterWithoutDisplayerIsDropped) {
  fixture->AddParameter(NO_DISPLAYER)->displayer = 1;
  fixture->AddParameter(NO_DISPLAYER);
  Parameter* added = fixture->AddParameter(NO_DISPLAYER);
  EXPECT_EQ(Displayers(), (std::vector<int>{1, 30}));
  EXPECT_EQ(fixture->firstParameter.next.get(), added);
}

TEST_F(FixtureTemplateTest, AMiddleParameterWithoutDisplayerIsDropped) {
  fixture->AddParameter(NO_DISPLAYER)->displayer = 1;
  fixture->AddParameter(NO_DISPLAYER);
  fixture->AddParameter(3);
  fixture->AddParameter(NO_DISPLAYER);
  EXPECT_EQ(Displayers(), (std::vector<int>{1, 3, 30}));
}

// The first parameter is part of the record: the one after it takes its
// place, with its stops, names and attribute numbers.
TEST_F(FixtureTemplateTest, TheEmbeddedFirstParameterCanBeDropped) {
  fixture->AddParameter(NO_DISPLAYER);
  Parameter* second = fixture->AddParameter(NO_DISPLAYER);
  second->displayer = 2;
  second->SetTypeName("-tilt-");
  second->AppendAttribute(4);
  second->AddStop()->SetLabel("a copied label");
  second->AddStop()->SetLabel("Red");
  fixture->AddParameter(5);
  fixture->AddParameter(NO_DISPLAYER);

  EXPECT_EQ(Displayers(), (std::vector<int>{2, 5, 30}));
  const Parameter& first = fixture->firstParameter;
  EXPECT_STREQ(first.typeName.get(), "-TILT-");
  ASSERT_EQ(first.attribCount, 1);
  EXPECT_EQ(first.attribList[0], 4);
  ASSERT_EQ(first.stopCount, 2);
  EXPECT_STREQ(first.firstStop.label.get(), "a copied label");
  EXPECT_STREQ(first.firstStop.next->label.get(), "Red");
}

// Positions at or past the end answer with the last element without a walk;
// the answer must follow every drop.
TEST_F(FixtureTemplateTest, PositionalLookupsFollowAppendsAndDrops) {
  EXPECT_EQ(fixture->AttributeAt(5), &fixture->firstAttribute);
  fixture->AddAttribute();
  Attribute* second = fixture->AddAttribute();
  EXPECT_EQ(fixture->AttributeAt(1), &fixture->firstAttribute);
  EXPECT_EQ(fixture->AttributeAt(2), second);
  EXPECT_EQ(fixture->AttributeAt(300), second);
  Attribute* third = fixture->AddAttribute();
  EXPECT_EQ(fixture->AttributeAt(2), second);
  EXPECT_EQ(fixture->AttributeAt(3), third);
  EXPECT_EQ(fixture->AttributeAt(0), &fixture->firstAttribute);

  fixture->AddParameter(1);
  fixture->AddParameter(NO_DISPLAYER);
  fixture->AddParameter(2);
  Parameter* appended = fixture->AddParameter(NO_DISPLAYER);  // drops the middle one
  EXPECT_EQ(Displayers(), (std::vector<int>{1, 2, 30}));
  EXPECT_EQ(fixture->ParameterAt(9), appended);
  EXPECT_EQ(fixture->ParameterAt(2), fixture->firstParameter.next.get());
  appended = fixture->AddParameter(NO_DISPLAYER);  // drops the last one
  EXPECT_EQ(Displayers(), (std::vector<int>{1, 2, 30}));
  EXPECT_EQ(fixture->ParameterAt(9), appended);

  appended->displayer = 3;
  fixture->firstParameter.displayer = NO_DISPLAYER;
  appended = fixture->AddParameter(NO_DISPLAYER);  // drops the first one
  EXPECT_EQ(Displayers(), (std::vector<int>{2, 3, 30}));
  EXPECT_EQ(fixture->ParameterAt(3), appended);
  EXPECT_EQ(fixture->ParameterAt(9), appended);
}

// When the first is dropped and the second was the last, the record's own
// first parameter becomes the last.
TEST_F(FixtureTemplateTest, DroppingTheFirstOfTwoKeepsTheListWhole) {
  fixture->AddParameter(NO_DISPLAYER);
  fixture->AddParameter(5);
  Parameter* appended = fixture->AddParameter(NO_DISPLAYER);
  EXPECT_EQ(Displayers(), (std::vector<int>{5, 30}));
  EXPECT_EQ(fixture->ParameterAt(9), appended);
  EXPECT_EQ(fixture->firstParameter.next.get(), appended);
}

TEST_F(FixtureTemplateTest, FindParameterByDisplayerGivesTheLastMatch) {
  fixture->AddParameter(7);
  Parameter* later = fixture->AddParameter(7);
  EXPECT_EQ(fixture->FindParameterByDisplayer(7), later);
  EXPECT_EQ(fixture->FindParameterByDisplayer(7 + 256), nullptr);
  EXPECT_EQ(fixture->FindParameterByDisplayer(8), nullptr);
}

TEST_F(FixtureTemplateTest, ParameterCountNeverWraps) {
  for (int i = 0; i < MAX_PARAMETERS; ++i)
    ASSERT_NE(fixture->AddParameter(static_cast<uint16_t>(i)), nullptr);
  EXPECT_EQ(fixture->AddParameter(NO_DISPLAYER + 1000), nullptr);
  EXPECT_EQ(fixture->parameterCount, 255);
  // Dropping the one without a displayer makes room again.
  EXPECT_NE(fixture->AddParameter(NO_DISPLAYER), nullptr);
  EXPECT_EQ(fixture->parameterCount, 255);
}

}  // namespace
}  // namespace fxt
