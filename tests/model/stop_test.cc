#include "model/stop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/attribute.h"

namespace fxt {
namespace {

TEST(Stop, FreshStopHasNoSelectionAndTheDefaultDisplayRange) {
  Stop stop;
  stop.mode = 3;
  stop.Init();
  EXPECT_EQ(stop.displayTo, 360);
  EXPECT_EQ(stop.selectedEntry, 255);
  EXPECT_EQ(stop.entryCount, 0);
  EXPECT_EQ(stop.entries, nullptr);
  EXPECT_EQ(sizeof(StopEntry), 6u);
}

TEST(Stop, EightBitValuesAreShiftedAndSixteenBitValuesKept) {
  Stop stop;
  ASSERT_TRUE(stop.AddEntry8(3, 255, 255, 1));
  ASSERT_TRUE(stop.AddEntry8(3, 0, 1, 2));
  ASSERT_TRUE(stop.AddEntry16(4, 1000, 2000, 0));
  ASSERT_EQ(stop.entryCount, 3);
  struct Expected {
    uint16_t low, high;
    uint8_t attribute, flagR;
  } expected[] = {{65280, 65280, 3, 1}, {0, 256, 3, 0}, {1000, 2000, 4, 0}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(stop.entries[i].low, expected[i].low) << i;
    EXPECT_EQ(stop.entries[i].high, expected[i].high) << i;
    EXPECT_EQ(stop.entries[i].attribute, expected[i].attribute) << i;
    EXPECT_EQ(stop.entries[i].flagR, expected[i].flagR) << i;
  }
}

TEST(Stop, SelectEntryTakesTheMiddleRoundedDownWithoutOverflow) {
  struct Case {
    uint16_t low, high, mid;
  } cases[] = {{0, 65280, 32640}, {4097, 4098, 4097}, {65280, 65280, 65280}, {65535, 65535, 65535}};
  for (const Case& c : cases) {
    Stop stop;
    stop.AddEntry16(1, 0, 0, 0);
    stop.AddEntry16(1, c.low, c.high, 0);
    stop.SelectEntry(1);
    EXPECT_EQ(stop.selectedEntry, 1);
    EXPECT_EQ(stop.midValue, c.mid);
  }
}

TEST(Stop, SelectingPastTheEntriesChangesNothing) {
  Stop stop;
  stop.SelectEntry(0);
  EXPECT_EQ(stop.selectedEntry, 255);
  stop.AddEntry8(1, 10, 20, 0);
  stop.SelectEntry(0);
  stop.SelectEntry(1);
  EXPECT_EQ(stop.selectedEntry, 0);
  EXPECT_EQ(stop.midValue, (2560 + 5120) / 2);
}

TEST(Stop, TableLabelsAreSharedOthersCopied) {
  Stop stop;
  stop.SetLabel("Colour:");
  EXPECT_EQ(stop.label.get(), DisplayLabels[14]);
  stop.SetLabel("Ti@=");
  EXPECT_EQ(stop.label.get(), DisplayLabels[1]);
  stop.SetLabel("Gam 995");
  EXPECT_EQ(stop.label.get(), DisplayLabels[432]);
  for (std::string text : {"Pan", "Tilt=", "pan=", "", "a label of thirty characters.."}) {
    stop.SetLabel(text);
    EXPECT_TRUE(stop.label.IsCopy()) << text;
    EXPECT_EQ(stop.label.get(), text);
  }
  stop.FreeLabel();
  EXPECT_FALSE(stop.label.IsSet());
}

TEST(Stop, EntryCountNeverWraps) {
  Stop stop;
  for (int i = 0; i < MAX_STOP_ENTRIES; ++i) ASSERT_TRUE(stop.AddEntry8(1, 0, 0, 0));
  EXPECT_FALSE(stop.AddEntry8(1, 0, 0, 0));
  EXPECT_EQ(stop.entryCount, 255);
}

// Entries added together keep their order after the earlier ones, and take
// only the room that the 8-bit count leaves.
TEST(Stop, EntriesAddedTogetherFillTheRoomLeft) {
  Stop stop;
  ASSERT_TRUE(stop.AddEntry8(1, 1, 1, 0));
  const std::vector<StopEntry> two = {Entry8(2, 2, 2, 0), Entry16(3, 300, 400, 1)};
  ASSERT_TRUE(stop.AppendEntries(two));
  ASSERT_EQ(stop.entryCount, 3);
  EXPECT_EQ(stop.entries[1].low, 2 << 8);
  EXPECT_EQ(stop.entries[2].high, 400);
  EXPECT_EQ(stop.entries[2].flagR, 1);
  EXPECT_TRUE(stop.AppendEntries({}));

  const std::vector<StopEntry> many(MAX_STOP_ENTRIES, Entry8(4, 0, 0, 0));
  EXPECT_FALSE(stop.AppendEntries(many));
  EXPECT_EQ(stop.entryCount, 255);
  EXPECT_EQ(stop.entries[2].attribute, 3);
  EXPECT_EQ(stop.entries[254].attribute, 4);
  EXPECT_FALSE(stop.AppendEntries(two));
}

TEST(Stop, NthStopStopsAtTheEnds) {
  Stop first;
  first.next = std::make_unique<Stop>();
  first.next->next = std::make_unique<Stop>();
  EXPECT_EQ(NthStop(&first, 0), &first);
  EXPECT_EQ(NthStop(&first, 1), &first);
  EXPECT_EQ(NthStop(&first, 3), first.next->next.get());
  EXPECT_EQ(NthStop(&first, 9), first.next->next.get());
}

// A record's memory goes back to its pool, and the next record of its kind
// takes it; records of another kind do not.
TEST(RecordPool, AFreedRecordsMemoryServesTheNextOfItsKind) {
#if FXT_RECORD_POOLS
  auto* first = new Stop;
  void* place = first;
  delete first;
  auto* attribute = new (std::nothrow) Attribute;
  auto* second = new (std::nothrow) Stop;
  EXPECT_EQ(static_cast<void*>(second), place);
  EXPECT_NE(static_cast<void*>(attribute), place);
  delete second;
  delete attribute;
#else
  GTEST_SKIP() << "records come from the allocator under AddressSanitizer";
#endif
}

}  // namespace
}  // namespace fxt
