// Turns the input buffer into logical lines: cut at the line end or comment,
// blanks removed and letters lower-cased outside quotes, counted, and split
// at the first '=' into the two value strings the grammar reads; in place,
// where a line's shape lets the grammar read it where it stands.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "reader/line_normaliser.h"
#include "reader/report.h"

namespace fxt {

// Points the reader at a template's bytes, which must outlive the load. The
// input ends at their end or at the first INPUT_END byte, whichever comes
// first.
void SetInput(std::span<const uint8_t> bytes);

// Delivers the next logical line and refreshes valueText and quotedText.
// False at the end of the input or once the template has ended. A line is
// one physical line, or a piece of at most 99 bytes of a longer one, read as
// if normalised: '*' first, remarks, blanks and case. Most lines are read in
// place; the others, and every line while normaliseEveryLine is set, are
// normalised into lineBuffer. KeywordWindow() holds the keyword either way.
bool ReadTemplateLine();
// One piece of a line as ReadTemplateLine reads it, for the tools that
// must see a line as the tester does: the first 99 bytes at most of `bytes`
// (a line's bytes up to its '\n', which holds no INPUT_END), normalised into
// `normalised` as the reader normalises them. Reports nothing and leaves the
// load alone. Returns the bytes the piece took; the rest of the line is read
// as further pieces, each a line of its own.
size_t NormaliseLinePiece(std::string_view bytes, std::string& normalised);
// The same for a tool that reads line after line and keeps no string per
// line: the piece goes into `normalised`, ending in its NUL, and the reader
// may read ahead of the piece's start up to `readableEnd` (as it does in a
// template's bytes), which takes it the quick way more often.
struct LinePiece {
  size_t taken;        // the bytes the piece took
  size_t lineLength;   // those before the first '\n' among them; `taken` when none is
  size_t length;       // of the normalised piece, before its NUL
  bool quoteLeftOpen;  // its text ended inside quotes
  size_t textLength;   // the bytes before its text ended: no '/', '\r' or NUL stands there
};
LinePiece NormaliseLinePiece(std::string_view bytes, const char* readableEnd,
                             std::span<char, NORMALISED_CAPACITY> normalised);
// valueText holds one or more decimal digits and nothing else.
bool ValueIsNumber();
// Where the reader stands: the next byte's place in the file.
SourcePosition CursorPosition();

}  // namespace fxt
