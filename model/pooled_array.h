// An array that a record owns, such as a stop's entries or a parameter's
// attribute numbers: its memory comes from a pool of arrays of its length,
// so that the many short arrays of a large template cost no allocation each
// and are given back for reuse when the record is freed. Its length fits the
// model's 8-bit counts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "model/pool_memory.h"
#include "model/record_pool.h"

namespace fxt {

template <typename Element>
class PooledArray {
  static_assert(std::is_trivially_copyable_v<Element> &&
                std::is_trivially_destructible_v<Element> && alignof(Element) <= POOL_ALIGNMENT);

 public:
  PooledArray() = default;
  PooledArray(const PooledArray&) = delete;
  PooledArray& operator=(const PooledArray&) = delete;
  PooledArray(PooledArray&& other) noexcept
      : elements_(std::exchange(other.elements_, nullptr)),
        length_(std::exchange(other.length_, 0)) {}
  PooledArray& operator=(PooledArray&& other) noexcept {
    if (this != &other) {
      reset();
      elements_ = std::exchange(other.elements_, nullptr);
      length_ = std::exchange(other.length_, 0);
    }
    return *this;
  }
  ~PooledArray() { reset(); }

  // `length` elements, each as its type's default makes it; none when
  // `length` is 0 or no memory could be had.
  static PooledArray Make(uint8_t length) noexcept {
    PooledArray array;
    if (length == 0) return array;
    void* memory = Take(length);
    if (memory == nullptr) return array;
    array.elements_ = static_cast<Element*>(memory);
    array.length_ = length;
    std::uninitialized_default_construct_n(array.elements_, length);
    return array;
  }

  void reset() noexcept {
    if (elements_ != nullptr) Give(elements_, length_);
    elements_ = nullptr;
    length_ = 0;
  }

  Element* get() const { return elements_; }
  Element& operator[](size_t index) const { return elements_[index]; }
  uint8_t length() const { return length_; }
  friend bool operator==(const PooledArray& array, std::nullptr_t) {
    return array.elements_ == nullptr;
  }

 private:
  static void* Take(uint8_t length) noexcept {
    if constexpr (FXT_RECORD_POOLS == 0) {
      return ::operator new(sizeof(Element) * length, std::nothrow);
    } else {
      return free_[length].Take(sizeof(Element) * length);
    }
  }
  static void Give(void* memory, uint8_t length) noexcept {
    if constexpr (FXT_RECORD_POOLS == 0) {
      ::operator delete(memory);
    } else {
      free_[length].Give(memory);
    }
  }

  // Arrays given back, by their length.
  static inline std::array<FreePieces, UINT8_MAX + 1> free_{};

  Element* elements_ = nullptr;
  uint8_t length_ = 0;
};

}  // namespace fxt
