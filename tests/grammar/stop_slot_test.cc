// The quick reading of the common stop slot against the full one.
#include "grammar/stop_slot.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace fxt {
namespace {

// A slot list as a line's value holds it: after the '(' and ending in NUL.
std::string Value(const std::string& slots) { return "(" + slots + std::string(1, '\0'); }

std::string Describe(const SlotReading& slot) {
  return "end " + std::to_string(static_cast<int>(slot.end)) + " at " + std::to_string(slot.at) +
         " low " + std::to_string(slot.low.read) + "/" + std::to_string(slot.low.value) + " high " +
         std::to_string(slot.high.read) + "/" + std::to_string(slot.high.value) + " m " +
         std::to_string(slot.mouseMark) + " r " + std::to_string(slot.rMark);
}

// Wherever the quick reading answers, it answers as the full one does.
void ExpectAgreement(const std::string& value, bool mouseMarked) {
  SlotReading plain;
  if (!SlotList(value).ReadPlain(1, mouseMarked, plain)) return;
  const SlotReading full = ReadSlotInFull(value, 1, mouseMarked);
  EXPECT_EQ(Describe(plain), Describe(full)) << '"' << value << "\" marked " << mouseMarked;
}

// Every slot of up to five characters from the ones that matter.
std::vector<std::string> ShortSlots() {
  const std::string alphabet = "019axm:r,)";
  std::vector<std::string> slots = {""};
  for (size_t length = 0, from = 0; length < 5; ++length) {
    const size_t to = slots.size();
    for (size_t i = from; i < to; ++i) {
      for (const char c : alphabet) slots.push_back(slots[i] + c);
    }
    from = to;
  }
  return slots;
}

TEST(StopSlot, QuickReadingAgreesOnEveryShortSlot) {
  for (const std::string& slot : ShortSlots()) {
    ExpectAgreement(Value(slot), false);
    ExpectAgreement(Value(slot), true);
  }
}

struct SlotCase {
  const char* slots;
  bool quick;  // the quick reading answers
  int32_t low;
  int32_t high;
};

TEST(StopSlot, QuickReadingTakesTheCommonSlotsOnly) {
  const SlotCase kCases[] = {
      {"7,", true, 7, 7},
      {"m0:65535)", true, 0, 65535},
      {"rm12:r34,5)", true, 12, 34},
      {"999999999,", true, 999999999, 999999999},
      {"0000000001)", false, 1, 1},                  // ten digits
      {"2147483648)", false, INT32_MAX, INT32_MAX},  // saturates
      {"99999999999:1,", false, INT32_MAX, 1},
      {"0x1f,", false, 31, 31},
      {"ff:0x10)", false, 0, 16},
      {"5m,", false, 5, 5},  // a mark after the digits
      {"1:2:3)", false, 1, 2},
      {",", false, 0, 0},  // empty
      {"m)", false, 0, 0},
      {":5)", false, 0, 0},
      {"5:)", false, 5, 0},
  };
  for (const SlotCase& c : kCases) {
    const std::string value = Value(c.slots);
    SlotReading plain;
    EXPECT_EQ(SlotList(value).ReadPlain(1, false, plain), c.quick) << c.slots;
    SlotReading slot;
    SlotList(value).Read(1, false, slot);
    EXPECT_EQ(slot, ReadSlotInFull(value, 1, false)) << c.slots;
    EXPECT_EQ(slot.end, SlotEnd::kEnded) << c.slots;
    if (slot.low.read) {
      EXPECT_EQ(slot.low.value, c.low) << c.slots;
    }
    if (slot.high.read) {
      EXPECT_EQ(slot.high.value, c.high) << c.slots;
    }
    ExpectAgreement(value, false);
    ExpectAgreement(value, true);
  }
}

TEST(StopSlot, ProblemsAreLeftToTheFullReading) {
  const std::string second = Value("5,m6)");
  SlotReading slot;
  EXPECT_FALSE(SlotList(second).ReadPlain(3, true, slot));
  EXPECT_EQ(ReadSlotInFull(second, 3, true).end, SlotEnd::kSecondMouseMark);
  EXPECT_EQ(ReadSlotInFull(second, 3, true).at, 3U);
  EXPECT_FALSE(SlotList(Value("m5m,")).ReadPlain(1, false, slot));
  EXPECT_EQ(ReadSlotInFull(Value("5;"), 1, false).end, SlotEnd::kIllegal);
  EXPECT_EQ(ReadSlotInFull(Value("5"), 1, false).end, SlotEnd::kIllegal);  // the NUL
  // A value that does not end where no slot goes on is read in full.
  EXPECT_FALSE(SlotList("(5").ReadPlain(1, false, slot));
  EXPECT_EQ(ReadSlotInFull("(5", 1, false).end, SlotEnd::kUnended);
  EXPECT_FALSE(SlotList("(").ReadPlain(1, false, slot));
}

// A value that ends where the line's bytes go on with more of a slot reads
// as the same value held alone: nothing past its end is read.
TEST(StopSlot, ReadingStopsAtTheEndOfTheValue) {
  for (const std::string& slots : ShortSlots()) {
    const std::string alone = "(" + slots;
    for (const std::string follower : {"9", "x1,", ":5)", "m)"}) {
      const std::string bytes = alone + follower;
      const std::string_view value(bytes.data(), alone.size());
      for (const bool marked : {false, true}) {
        SlotReading slot;
        SlotList(value).Read(1, marked, slot);
        const SlotReading expected = ReadSlotInFull(alone, 1, marked);
        EXPECT_TRUE(slot == expected)
            << '"' << alone << "\" before " << follower << ": " << Describe(slot);
      }
    }
  }
}

}  // namespace
}  // namespace fxt
