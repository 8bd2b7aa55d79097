// Text written one piece after another, as the formatter writes a block's
// lines and the new text: a piece costs its copy and one comparison, in room
// made ahead by doubling and never cleared, of large pages where it is
// large. A string's append checks more each time, and a string's room is
// cleared, which on a file of half a million lines shows.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "format/short_bytes.h"
#include "reader/input_file.h"

namespace fxt {

using TextBytes = std::vector<char, UnclearedAllocator<char>>;

class TextSink {
 public:
  // Makes room for `size` bytes in all.
  void Reserve(size_t size) {
    if (size <= room_.size()) return;
    room_.reserve(size);
    room_.resize(size);
  }
  // Inline, as a call would cost as much as the copy of a line.
  [[gnu::always_inline]] void Append(std::string_view piece) {
    if (piece.size() > room_.size() - size_) Grow(piece.size());
    CopyBytes(room_.data() + size_, piece.data(), piece.size());
    size_ += piece.size();
  }
  // Drops the first `count` bytes.
  void DropFront(size_t count) {
    if (count == 0) return;  // the room may be none at all
    std::memmove(room_.data(), room_.data() + count, size_ - count);
    size_ -= count;
  }
  void Clear() { size_ = 0; }

  size_t Size() const { return size_; }
  std::string_view View() const { return {room_.data(), size_}; }
  // The text's bytes; the sink is empty after.
  TextBytes Take() {
    room_.resize(size_);
    size_ = 0;
    return std::move(room_);
  }

 private:
  [[gnu::noinline]] void Grow(size_t more) { Reserve(std::max(2 * room_.size(), size_ + more)); }

  TextBytes room_;  // the text, then room for more
  size_t size_ = 0;
};

}  // namespace fxt
