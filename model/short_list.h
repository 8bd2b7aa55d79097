// A list of small values that holds its first few in place and moves to the
// heap once it grows past them. Most of the model's lists are short: a heap
// array for each of them cost an allocation and a free per list.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace fxt {

template <typename T, size_t kInPlace>
class ShortList {
 public:
  ShortList() = default;
  ShortList(const ShortList&) = delete;
  ShortList& operator=(const ShortList&) = delete;
  // The list moves whole; the one it came from is left empty.
  ShortList(ShortList&& other) noexcept { *this = std::move(other); }
  ShortList& operator=(ShortList&& other) noexcept {
    if (this == &other) return *this;
    inPlace_ = other.inPlace_;
    onHeap_ = std::move(other.onHeap_);
    data_ = other.InPlace() ? inPlace_.data() : onHeap_.data();
    size_ = std::exchange(other.size_, 0);
    other.clear();
    return *this;
  }
  ~ShortList() = default;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::span<const T> Items() const { return {data_, size_}; }
  const T& back() const { return data_[size_ - 1]; }

  void push_back(T item) {
    if (InPlace()) {
      if (size_ < kInPlace) {
        inPlace_[size_++] = item;
        return;
      }
      onHeap_.reserve(2 * kInPlace);
      onHeap_.assign(inPlace_.begin(), inPlace_.end());
    }
    onHeap_.push_back(item);
    data_ = onHeap_.data();
    ++size_;
  }

  void Erase(size_t index) {
    std::copy(data_ + index + 1, data_ + size_, data_ + index);
    --size_;
    if (!InPlace()) onHeap_.pop_back();
  }

  // Back in place; the heap's room is kept for the list's next growth.
  void clear() {
    onHeap_.clear();
    data_ = inPlace_.data();
    size_ = 0;
  }

 private:
  bool InPlace() const { return data_ == inPlace_.data(); }

  std::array<T, kInPlace> inPlace_{};
  std::vector<T> onHeap_;
  T* data_ = inPlace_.data();  // inPlace_ or onHeap_, whichever holds the items
  size_t size_ = 0;
};

}  // namespace fxt
