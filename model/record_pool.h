// Memory for the model's records, kept for reuse. A template is built and
// dropped again for every fixture line of a file, with dozens of attributes,
// parameters and stops: rather than ask the allocator for each record and give
// each back, a record's memory goes back to the pool of its kind when it is
// freed, and the next record of that kind takes it. New records are cut from
// the blocks of pool memory (model/pool_memory.h).
//
// Under AddressSanitizer every record comes from the allocator itself, so that
// a record used after it was freed is still caught.
#pragma once

#include <cstddef>
#include <new>

#include "model/pool_memory.h"

#if defined(__SANITIZE_ADDRESS__)
#define FXT_RECORD_POOLS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FXT_RECORD_POOLS 0
#endif
#endif
#ifndef FXT_RECORD_POOLS
#define FXT_RECORD_POOLS 1
#endif

namespace fxt {

template <typename Record>
class RecordPool {
 public:
  static_assert(alignof(Record) <= POOL_ALIGNMENT);

  // Null when no memory could be had.
  static void* Take() noexcept {
    if constexpr (FXT_RECORD_POOLS == 0) {
      return ::operator new(sizeof(Record), std::nothrow);
    } else {
      return free_.Take(sizeof(Record));
    }
  }

  static void Give(void* memory) noexcept {
    if (memory == nullptr) return;
    if constexpr (FXT_RECORD_POOLS == 0) {
      ::operator delete(memory);
    } else {
      free_.Give(memory);
    }
  }

 private:
  static inline FreePieces free_;
};

// A record whose memory comes from its pool derives from this:
// `new (std::nothrow)` answers null when there is no memory, plain `new`
// throws std::bad_alloc.
template <typename Record>
struct PooledRecord {
  static void* operator new(size_t size) {
    void* memory = size == sizeof(Record) ? RecordPool<Record>::Take() : nullptr;
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
  }
  static void* operator new(size_t size, const std::nothrow_t& /*nothrow*/) noexcept {
    return size == sizeof(Record) ? RecordPool<Record>::Take() : nullptr;
  }
  static void operator delete(void* memory) noexcept { RecordPool<Record>::Give(memory); }
  static void operator delete(void* memory, const std::nothrow_t& /*nothrow*/) noexcept {
    RecordPool<Record>::Give(memory);
  }
};

}  // namespace fxt
