// Getting a template into memory: the file checks that every program shares.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/pool_memory.h"

namespace fxt {

enum class InputFileStatus {
  kRead,
  kMissing,     // the path does not exist, or cannot be looked at
  kUnreadable,  // it cannot be opened, is no regular file, or reading failed
};

// Makes room for elements without clearing them: a file's bytes are read
// straight into the room, so clearing it first would only cost time.
template <typename T>
class UnclearedAllocator : public std::allocator<T> {
 public:
  using value_type = T;
  template <typename U>
  struct rebind {
    using other = UnclearedAllocator<U>;
  };

  UnclearedAllocator() = default;
  template <typename U>
  explicit UnclearedAllocator(const UnclearedAllocator<U>& /*other*/) noexcept {}

  // Room of a large page or more lies on large pages, where the system has
  // them: it starts at one and takes whole ones, so that a large file costs
  // a few page faults instead of one per 4 KB.
  T* allocate(size_t count) {
    if (!IsLarge(count)) return std::allocator<T>::allocate(count);
    const size_t size = LargeRoomSize(count);
    void* room = ::operator new (size, std::align_val_t{LARGE_PAGE_SIZE});
    AdviseLargePages(room, size);
    return static_cast<T*>(room);
  }
  void deallocate(T* room, size_t count) noexcept {
    if (!IsLarge(count)) {
      std::allocator<T>::deallocate(room, count);
      return;
    }
    ::operator delete (room, std::align_val_t{LARGE_PAGE_SIZE});
  }

  template <typename U>
  void construct(U* place) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Arguments>
  void construct(U* place, Arguments&&... arguments) {
    ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
  }

 private:
  static bool IsLarge(size_t count) { return count >= LARGE_PAGE_SIZE / sizeof(T); }
  static size_t LargeRoomSize(size_t count) { return RoundUp(count * sizeof(T), LARGE_PAGE_SIZE); }
};

using FileBytes = std::vector<uint8_t, UnclearedAllocator<uint8_t>>;

struct InputFile {
  InputFileStatus status;
  std::string reason;  // why it was not read, in the system's words
  FileBytes bytes;     // the whole file
};

// Reads a regular file of any size whole. A directory, a FIFO, a device or
// a socket is refused without waiting on it.
InputFile ReadInputFile(const char* path);
// Reads standard input to its end, whatever it is.
InputFile ReadStandardInput();

}  // namespace fxt
