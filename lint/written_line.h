// One line as the reader reads it, with the place in the raw line of every
// character it keeps: what a diagnostic speaks of (a keyword, a value, a
// slot) is found in the reader's text, then placed in the written one, and
// so are the bytes that a fix changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "edit/text_edit.h"
#include "load/load_observer.h"
#include "reader/blank.h"

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
  // The line a load read, placed among the file's bytes for the edits of a
  // fix.
  WrittenLine(std::span<const uint8_t> file, const LineEvent& line);

  // As the reader leaves it: no blanks, lower case outside quotes, no remark.
  const std::string& Text() const { return text_; }
  // The raw bytes that the reader's characters [first, last) came from; for
  // an empty range, the empty span where character `first` stands, or at
  // the end of the text.
  ByteSpan RawOf(size_t first, size_t last) const;
  // The raw byte of the reader's character `index`; where the text ends (at
  // its remark or the line's end) for an index past its last character.
  size_t RawIndexOf(size_t index) const { return index < from_.size() ? from_[index] : textEnd_; }
  // The quote of a quoted text that the line ends in, and where it ends.
  bool QuoteUnclosed() const { return unclosedQuote_ != NONE; }
  ByteSpan UnclosedQuote() const { return {unclosedQuote_, textEnd_}; }
  std::string_view Raw() const { return raw_; }
  std::string_view RawText(ByteSpan span) const {
    return raw_.substr(span.begin, span.end - span.begin);
  }

  // The reader's index of the value's first character: after the first
  // '=', quoted or not, as the reader splits the line.
  size_t ValueIndex() const { return text_.find('=') + 1; }
  // The value as written: from its first character after the '=' to the
  // remark or the line end, without the blanks around it. Empty without '='.
  ByteSpan Value() const;
  // The text between the line's first two double quotes, when both stand in
  // the value.
  std::optional<ByteSpan> Quoted() const;

  TextEdit Replace(ByteSpan span, std::string text) const {
    return {offset_ + span.begin, offset_ + span.end, std::move(text)};
  }
  TextEdit Insert(size_t rawIndex, std::string text) const {
    return {offset_ + rawIndex, offset_ + rawIndex, std::move(text)};
  }

 private:
  static constexpr size_t NONE = SIZE_MAX;

  std::string_view raw_;
  std::string text_;
  std::vector<uint8_t> from_;  // the raw byte of each character of text_
  size_t unclosedQuote_ = NONE;
  size_t textEnd_ = 0;  // where the reader stopped in raw_
  size_t offset_ = 0;   // of raw_ in the file
};

}  // namespace fxt
