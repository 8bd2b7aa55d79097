// One line as the reader reads it, with the place in the raw line of every
// character it keeps: what a diagnostic speaks of (a keyword, a value, a
// slot) is found in the reader's text, then placed in the written one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fxt {

// Bytes [begin, end) of a raw line.
struct ByteSpan {
  size_t begin = 0;
  size_t end = 0;

  bool Empty() const { return begin == end; }
  bool operator==(const ByteSpan&) const = default;
};

class WrittenLine {
 public:
  // `raw` is the line, or the piece of an over-long one, as it stands in the
  // file from where the reader began it; at most its first 99 bytes are read.
  explicit WrittenLine(std::string_view raw);

  // As the reader leaves it: no blanks, lower case outside quotes, no remark.
  const std::string& Text() const { return text_; }
  // The raw bytes that the reader's characters [first, last) came from; for
  // an empty range, the empty span where character `first` stands, or at
  // the end of the text.
  ByteSpan RawOf(size_t first, size_t last) const;
  // The quote of a quoted text that the line ends in, and where it ends.
  bool QuoteUnclosed() const { return unclosedQuote_ != NONE; }
  ByteSpan UnclosedQuote() const { return {unclosedQuote_, textEnd_}; }
  std::string_view Raw() const { return raw_; }

 private:
  static constexpr size_t NONE = SIZE_MAX;

  std::string_view raw_;
  std::string text_;
  std::vector<uint8_t> from_;  // the raw byte of each character of text_
  size_t unclosedQuote_ = NONE;
  size_t textEnd_ = 0;  // where the reader stopped in raw_
};

}  // namespace fxt
