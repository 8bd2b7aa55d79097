// One template line as the formatter sees it: where its code and its remark
// stand, and the code written in the one layout. What a line means is the
// reader's business: the keyword comes from the reader, and every layout
// proposed here is kept only when the reader reads it as the line it
// replaces.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "format/short_bytes.h"
#include "reader/blank.h"
#include "reader/byte_words.h"
#include "reader/keywords.h"

namespace fxt {

// A line's bytes without its line end, cut where its layout may change.
struct LineParts {
  std::string_view code;    // from its first byte that is no blank to its last
  std::string_view remark;  // from the '/' that starts it, without trailing blanks; empty for none
};

// Cuts a line whose first '/' stands outside quotes: the reader ends a line
// at a '/' inside quotes too, and such a line is never laid out anew. No
// '/' stands before `slashFrom`.
LineParts SplitLine(std::string_view line, size_t slashFrom = 0);

// A line's new text, built in place rather than in a string of its own.
// Bytes that would not fit are dropped and the text marked too long: no
// layout that long is ever taken, since the reader reads at most 99 bytes
// of a line as one. The room past the text may be read; only a line end
// is ever written there, outside the text.
class LineText {
 public:
  static constexpr size_t CAPACITY = 128;

  void Clear() {
    size_ = 0;
    tooLong_ = false;
  }
  void Append(std::string_view bytes) {
    if (bytes.size() > CAPACITY - size_) {
      tooLong_ = true;
      return;
    }
    CopyBytes(bytes_.data() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
  }
  void Append(size_t count, char c) {
    if (count > CAPACITY - size_) {
      tooLong_ = true;
      return;
    }
    if (count <= sizeof(uint64_t) && CAPACITY - size_ >= sizeof(uint64_t)) {
      // An indent is a few blanks: one word of them, however many are kept.
      const uint64_t word = kOnes * static_cast<uint8_t>(c);
      std::memcpy(bytes_.data() + size_, &word, sizeof word);
    } else {
      std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(size_), count, c);
    }
    size_ += count;
  }
  void Push(char c) {
    if (size_ == CAPACITY) {
      tooLong_ = true;
      return;
    }
    bytes_[size_++] = c;
  }
  void Pop() { --size_; }
  // Writes a '\n' just past the text, which stays as it is, so that a reader
  // of the room meets the line's end there.
  void EndLineInRoom() {
    if (size_ < CAPACITY) bytes_[size_] = '\n';
  }

  std::string_view View() const { return {bytes_.data(), size_}; }
  size_t Size() const { return size_; }
  bool TooLong() const { return tooLong_; }
  // The end of the room the text stands in, all of which may be read.
  const char* RoomEnd() const { return bytes_.data() + bytes_.size(); }

 private:
  std::array<char, CAPACITY> bytes_{};
  size_t size_ = 0;
  bool tooLong_ = false;
};

enum class Spacing : uint8_t {
  kCanonical,  // "keyword = value", a stop's parts after ", "
  kCompact,    // no blank that may go, for a line that is long already
};

// Appends the code of a line that begins with `keyword`, laid out: the
// keyword as the table spells it, one blank either side of its '=', a stop's
// slot list without blanks and its parts after ", ", an attribute list
// without blanks. Text after a keyword that takes no value stays as written.
void AppendLaidOutCode(LineText& out, std::string_view code, const Keyword& keyword,
                       Spacing spacing);

}  // namespace fxt
