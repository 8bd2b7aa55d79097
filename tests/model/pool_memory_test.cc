#include "model/pool_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "model/pooled_array.h"
#include "model/stop.h"
#include "reader/input_file.h"

namespace fxt {
namespace {

bool Aligned(const void* memory, size_t alignment) {
  return reinterpret_cast<uintptr_t>(memory) % alignment == 0;
}

TEST(PoolMemory, PiecesAreAlignedAndApartAcrossManyBlocks) {
  // Enough pieces for a few blocks, of small and of large pages, with some
  // pieces larger than the first block.
  const std::vector<size_t> sizes = {1, 6, 16, 114, 1530};
  std::vector<std::pair<std::byte*, size_t>> pieces;
  for (size_t round = 0; round < 4000; ++round) {
    const size_t size = round % 400 == 0 ? size_t{200} << 10 : sizes[round % sizes.size()];
    auto* piece = static_cast<std::byte*>(TakePoolMemory(size));
    ASSERT_NE(piece, nullptr);
    ASSERT_TRUE(Aligned(piece, POOL_ALIGNMENT));
    std::memset(piece, static_cast<int>(round & 0xFF), size);
    pieces.emplace_back(piece, size);
  }
  std::sort(pieces.begin(), pieces.end());
  for (size_t i = 1; i < pieces.size(); ++i) {
    ASSERT_LE(pieces[i - 1].first + pieces[i - 1].second, pieces[i].first) << i;
  }
}

TEST(PooledArray, MakesDefaultElementsAndMovesOwnership) {
  PooledArray<StopEntry> entries = PooledArray<StopEntry>::Make(19);
  ASSERT_NE(entries.get(), nullptr);
  EXPECT_EQ(entries.length(), 19);
  for (size_t i = 0; i < 19; ++i) {
    EXPECT_EQ(entries[i].low, 0);
    EXPECT_EQ(entries[i].attribute, 0);
  }
  entries[18].high = 7;
  PooledArray<StopEntry> moved = std::move(entries);
  EXPECT_EQ(entries, nullptr);  // NOLINT(bugprone-use-after-move): moved from on purpose
  EXPECT_EQ(moved[18].high, 7);
  moved = PooledArray<StopEntry>::Make(0);
  EXPECT_EQ(moved, nullptr);
  EXPECT_EQ(moved.length(), 0);
}

TEST(PooledArray, AnArrayGivenBackIsReusedClearedForItsLength) {
  if (FXT_RECORD_POOLS == 0) GTEST_SKIP() << "the allocator serves every array here";
  PooledArray<uint8_t> first = PooledArray<uint8_t>::Make(200);
  const uint8_t* memory = first.get();
  first[0] = 9;
  first.reset();
  const PooledArray<uint8_t> otherLength = PooledArray<uint8_t>::Make(199);
  EXPECT_NE(otherLength.get(), memory);
  const PooledArray<uint8_t> again = PooledArray<uint8_t>::Make(200);
  EXPECT_EQ(again.get(), memory);
  EXPECT_EQ(again[0], 0);
}

TEST(GrowBy, KeepsTheElementsAndStopsAtTheEightBitCount) {
  PooledArray<uint8_t> numbers;
  uint8_t count = 0;
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(GrowByOne(numbers, count, static_cast<uint8_t>(i)));
  EXPECT_FALSE(GrowByOne(numbers, count, uint8_t{7}));
  ASSERT_EQ(count, 255);
  ASSERT_EQ(numbers.length(), 255);
  for (int i = 0; i < 255; ++i) ASSERT_EQ(numbers[static_cast<size_t>(i)], i);
}

TEST(UnclearedAllocator, RoomOfALargePageStartsAtOne) {
  FileBytes bytes;
  bytes.reserve(LARGE_PAGE_SIZE + 1);
  EXPECT_TRUE(Aligned(bytes.data(), LARGE_PAGE_SIZE));
  FileBytes small;
  small.reserve(100);
  EXPECT_NE(small.data(), nullptr);
}

}  // namespace
}  // namespace fxt
