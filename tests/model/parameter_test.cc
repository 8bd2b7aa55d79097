#include "model/parameter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace fxt {
namespace {

TEST(Parameter, InitLeavesTheDisplayerToTheCaller) {
  Parameter parameter;
  parameter.displayer = 12;
  parameter.kind = 5;
  parameter.Init();
  EXPECT_EQ(parameter.displayer, 12);
  EXPECT_EQ(parameter.kind, 0);
  EXPECT_EQ(parameter.firstStop.selectedEntry, 255);
}

// A renewed parameter is a fresh one in its old place: everything it held is
// given back, its links stay, and its displayer is the caller's to set.
TEST(Parameter, RenewLeavesAFreshParameterWhereTheOldOneStood) {
  Parameter first;
  first.next = std::make_unique<Parameter>();
  Parameter& renewed = *first.next;
  renewed.prev = &first;
  renewed.displayer = 7;
  renewed.kind = 3;
  renewed.sourceLine = 40;
  renewed.SetTypeName("-PAN-");
  ASSERT_TRUE(renewed.AppendAttribute(2));
  for (int i = 0; i < 3; ++i) ASSERT_NE(renewed.AddStop(), nullptr);
  renewed.firstStop.mode = 2;
  renewed.firstStop.SetLabel("Red");
  ASSERT_TRUE(renewed.firstStop.AppendEntry(Entry8(1, 0, 255, 0)));

  renewed.Renew();
  const Parameter fresh;
  EXPECT_EQ(renewed.prev, &first);
  EXPECT_EQ(first.next.get(), &renewed);
  EXPECT_EQ(renewed.next, nullptr);
  EXPECT_EQ(renewed.displayer, 7);
  EXPECT_EQ(renewed.kind, fresh.kind);
  EXPECT_EQ(renewed.sourceLine, fresh.sourceLine);
  EXPECT_FALSE(renewed.typeName.IsSet());
  EXPECT_EQ(renewed.attribCount, 0);
  EXPECT_EQ(renewed.attribList, nullptr);
  EXPECT_EQ(renewed.stopCount, 0);
  EXPECT_TRUE(renewed.furtherStops.Nodes().empty());
  EXPECT_EQ(renewed.firstStop.next, nullptr);
  EXPECT_EQ(renewed.firstStop.mode, fresh.firstStop.mode);
  EXPECT_FALSE(renewed.firstStop.label.IsSet());
  EXPECT_EQ(renewed.firstStop.entryCount, 0);
  EXPECT_EQ(renewed.firstStop.entries, nullptr);
  EXPECT_EQ(renewed.firstStop.selectedEntry, fresh.firstStop.selectedEntry);
  EXPECT_EQ(renewed.AddStop(), &renewed.firstStop);
}

TEST(Parameter, TypeNamesAreNormalisedBeforeTheLookup) {
  struct Case {
    std::string text;
    const char* stored;
    bool shared;
  } cases[] = {
      {"-PAN-", "-PAN-", true},
      {"-pan-", "-PAN-", true},
      {"  -pan-", "-PAN-", true},
      {"-pan- ", "-PAN- ", false},
      {"\t-pan-", "\t-PAN-", false},
      {"   ", "", false},
      {"-MAGENTA-", "-MAGENTA-", false},
      {"-magnta-", "-MAGNTA-", true},
      {std::string(60, 'a'), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", false},
      {std::string(55, ' ') + "abcde", "", false},
  };
  for (const Case& c : cases) {
    Parameter parameter;
    parameter.SetTypeName(c.text);
    ASSERT_TRUE(parameter.typeName.IsSet()) << c.text;
    EXPECT_STREQ(parameter.typeName.get(), c.stored) << c.text;
    EXPECT_EQ(parameter.typeName.IsCopy(), !c.shared) << c.text;
  }
}

TEST(Parameter, StopsAreAppendedAfterTheEmbeddedFirstOne) {
  Parameter parameter;
  EXPECT_EQ(parameter.AddStop(), &parameter.firstStop);
  Stop* second = parameter.AddStop();
  Stop* third = parameter.AddStop();
  Stop* fourth = parameter.AddStop();
  EXPECT_EQ(parameter.stopCount, 4);
  EXPECT_EQ(parameter.firstStop.next.get(), second);
  EXPECT_EQ(second->next.get(), third);
  EXPECT_EQ(third->next.get(), fourth);
  EXPECT_EQ(parameter.LastStop(), fourth);
  (void)parameter.Destroy();
  EXPECT_EQ(parameter.LastStop(), &parameter.firstStop);
  EXPECT_NE(parameter.AddStop(), nullptr);
  EXPECT_EQ(parameter.stopCount, 2);
}

TEST(Parameter, StopCountNeverWraps) {
  Parameter parameter;
  for (int i = 0; i < MAX_STOPS; ++i) ASSERT_NE(parameter.AddStop(), nullptr);
  EXPECT_EQ(parameter.AddStop(), nullptr);
  EXPECT_EQ(parameter.stopCount, 255);
}

TEST(Parameter, DestroyReleasesEverythingItOwns) {
  Parameter parameter;
  parameter.SetTypeName("custom");
  parameter.AppendAttribute(1);
  for (int i = 0; i < 4; ++i) parameter.AddStop()->SetLabel("own label");
  EXPECT_EQ(parameter.Destroy(), nullptr);  // no predecessor owned it
  EXPECT_EQ(parameter.stopCount, 1);
  EXPECT_EQ(parameter.firstStop.next, nullptr);
  EXPECT_FALSE(parameter.firstStop.label.IsSet());
  EXPECT_EQ(parameter.attribList, nullptr);
  EXPECT_FALSE(parameter.typeName.IsSet());
}

TEST(Parameter, DestroyJoinsTheNeighboursAndHandsBackOwnership) {
  Parameter a;
  a.next = std::make_unique<Parameter>();
  Parameter* b = a.next.get();
  b->prev = &a;
  b->next = std::make_unique<Parameter>();
  Parameter* c = b->next.get();
  c->prev = b;

  std::unique_ptr<Parameter> removed = b->Destroy();
  EXPECT_EQ(removed.get(), b);
  EXPECT_EQ(a.next.get(), c);
  EXPECT_EQ(c->prev, &a);
}

TEST(Parameter, AttributeNumbersKeepTheirOrder) {
  Parameter parameter;
  for (const uint8_t number : std::initializer_list<uint8_t>{3, 1, 2})
    ASSERT_TRUE(parameter.AppendAttribute(number));
  ASSERT_EQ(parameter.attribCount, 3);
  EXPECT_EQ(parameter.attribList[0], 3);
  EXPECT_EQ(parameter.attribList[1], 1);
  EXPECT_EQ(parameter.attribList[2], 2);
}

TEST(Parameter, AttributeCountNeverWraps) {
  Parameter parameter;
  for (int i = 0; i < MAX_ATTRIBUTE_NUMBERS; ++i) ASSERT_TRUE(parameter.AppendAttribute(1));
  EXPECT_FALSE(parameter.AppendAttribute(1));
  EXPECT_EQ(parameter.attribCount, 255);
}

TEST(Parameter, NthParameterStopsAtTheEnds) {
  Parameter first;
  first.next = std::make_unique<Parameter>();
  Parameter* second = first.next.get();
  EXPECT_EQ(NthParameter(&first, 0), &first);
  EXPECT_EQ(NthParameter(&first, 2), second);
  EXPECT_EQ(NthParameter(&first, 40), second);
}

}  // namespace
}  // namespace fxt
