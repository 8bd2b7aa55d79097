#include "model/pool_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

namespace fxt {
namespace {

// A small template's model fits the first block. A larger one goes on to
// large pages at once, in blocks twice as large each time, up to a few
// large pages.
constexpr size_t FIRST_BLOCK = size_t{64} << 10;
constexpr size_t SECOND_BLOCK = LARGE_PAGE_SIZE;
constexpr size_t LARGEST_BLOCK = size_t{4} * LARGE_PAGE_SIZE;

struct Block {
  std::byte* next = nullptr;
  size_t left = 0;
  size_t nextSize = FIRST_BLOCK;
  // Each block begins with a pointer to the block before it, so that every
  // block stays reachable, as a leak checker wants to see it.
  std::byte* start = nullptr;
};
Block current;
constexpr size_t BLOCK_HEADER = POOL_ALIGNMENT;

std::byte* NewBlock(size_t size) noexcept {
  if (size < LARGE_PAGE_SIZE) return static_cast<std::byte*>(::operator new(size, std::nothrow));
  auto* room = static_cast<std::byte*>(
      ::operator new (size, std::align_val_t{LARGE_PAGE_SIZE}, std::nothrow));
  if (room != nullptr) AdviseLargePages(room, size);
  return room;
}

}  // namespace

void AdviseLargePages([[maybe_unused]] void* room, [[maybe_unused]] size_t size) {
#ifdef MADV_HUGEPAGE
  const auto start = reinterpret_cast<uintptr_t>(room);
  const uintptr_t first = RoundUp(start, LARGE_PAGE_SIZE);
  const uintptr_t end = (start + size) / LARGE_PAGE_SIZE * LARGE_PAGE_SIZE;
  // Only advice: a system that cannot follow it works all the same.
  if (end > first) {
    (void)madvise(static_cast<char*>(room) + (first - start), end - first, MADV_HUGEPAGE);
  }
#endif
}

void* TakePoolMemory(size_t size) noexcept {
  size = RoundUp(std::max<size_t>(size, 1), POOL_ALIGNMENT);
  if (size > current.left) {
    const size_t blockSize = std::max(current.nextSize, RoundUp(size + BLOCK_HEADER, FIRST_BLOCK));
    std::byte* block = NewBlock(blockSize);
    if (block == nullptr) return nullptr;
    ::new (block) std::byte*(current.start);
    // What was left of the block before is too little to keep track of.
    current.start = block;
    current.next = block + BLOCK_HEADER;
    current.left = blockSize - BLOCK_HEADER;
    current.nextSize = std::clamp(blockSize * 2, SECOND_BLOCK, LARGEST_BLOCK);
  }
  std::byte* piece = current.next;
  current.next += size;
  current.left -= size;
  return piece;
}

}  // namespace fxt
