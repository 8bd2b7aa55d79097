// Where the model's pools get their memory. A large template holds tens of
// thousands of stops, each with its entry array: asked of the allocator one
// by one, and touched for the first time, each 4 KB of them costs a page
// fault, which on such a template takes longer than reading it. The pools
// instead cut their records out of blocks that grow with the model, and a
// block of 2 MB or more lies on the system's large pages. Pool memory is kept
// for reuse until the program ends, so it holds at most as much as was alive
// at once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fxt {

// The size of the system's large pages on x86-64, the only one asked for.
inline constexpr size_t LARGE_PAGE_SIZE = size_t{2} << 20;

// `size` rounded up to a whole number of `step`s.
constexpr size_t RoundUp(size_t size, size_t step) { return (size + step - 1) / step * step; }

// Asks for the large pages of the system for the whole pages of that size
// within `size` bytes of room at `room`, where there are such pages: a large
// buffer then costs a few page faults instead of one per 4 KB.
void AdviseLargePages(void* room, size_t size);

// Alignment of every piece of pool memory: enough for any record of the model.
inline constexpr size_t POOL_ALIGNMENT = alignof(std::max_align_t);

// `size` bytes, rounded up to POOL_ALIGNMENT, cut from the current block or
// from a new one; never given back. Null when no memory could be had.
void* TakePoolMemory(size_t size) noexcept;

// Pieces of pool memory of one size that were given back, for the next
// piece of that size to take.
class FreePieces {
 public:
  void* Take(size_t size) noexcept {
    if (first_ == nullptr) return TakePoolMemory(size);
    Piece* piece = first_;
    first_ = piece->next;
    return piece;
  }
  void Give(void* memory) noexcept {
    auto* piece = static_cast<Piece*>(memory);
    piece->next = first_;
    first_ = piece;
  }

 private:
  struct Piece {
    Piece* next;
  };
  Piece* first_ = nullptr;
};

}  // namespace fxt
