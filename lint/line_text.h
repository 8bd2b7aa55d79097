// Where the parts of a line stand among the file's bytes, for the fixes that
// change them. The reader's normalised text (blanks dropped, letters lowered
// outside quotes) maps back to the bytes it was made from, by the reader's
// own rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "edit/text_edit.h"
#include "load/load_observer.h"
#include "reader/blank.h"

namespace fxt {

// Bytes of the line: from `begin` up to `end`, indices into its raw text.
struct RawSpan {
  size_t begin = 0;
  size_t end = 0;

  bool empty() const { return begin == end; }
};

class LineText {
 public:
  LineText(std::span<const uint8_t> file, const LineEvent& line);

  std::string_view Raw() const { return raw_; }
  std::string_view Text(RawSpan span) const {
    return raw_.substr(span.begin, span.end - span.begin);
  }
  // The raw index of the normalised character at `index`; the end of the
  // line's text for an index past its last character.
  size_t RawIndexOf(size_t index) const;
  // The raw span of normalised[begin, end).
  RawSpan SpanOf(size_t begin, size_t end) const { return {RawIndexOf(begin), RawEnd(end)}; }
  // The value as written: from its first character after the '=' to the
  // remark or the line end, without the blanks around it. Empty without '='.
  RawSpan Value() const;
  // The text between the value's first two double quotes, if both are there.
  std::optional<RawSpan> Quoted() const;
  // The normalised index of the value's first character.
  size_t ValueIndex() const;

  TextEdit Replace(RawSpan span, std::string text) const {
    return {offset_ + span.begin, offset_ + span.end, std::move(text)};
  }
  TextEdit Insert(size_t rawIndex, std::string text) const {
    return {offset_ + rawIndex, offset_ + rawIndex, std::move(text)};
  }

 private:
  const LineEvent& line_;
  std::string_view raw_;
  size_t offset_;  // of the raw text in the file

  // Just past the raw character of normalised[index - 1].
  size_t RawEnd(size_t index) const {
    return index == 0 ? RawIndexOf(0) : RawIndexOf(index - 1) + 1;
  }
  // Where the line's text ends: at its remark, or its line end.
  size_t TextEnd() const;
};

}  // namespace fxt
