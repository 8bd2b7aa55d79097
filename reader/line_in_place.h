// A line read where it stands in the input. Most lines need nothing of the
// normaliser but their keyword lowered: their blanks stand before the
// keyword, around its '=' and after the value, never within either, and
// their value holds no capital outside quotes. Such a line is read from the
// input's own bytes: its keyword is lowered into a window of its own, and
// its value and quoted text are views of the input. Every other line is
// normalised into the line buffer as before.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "reader/keywords.h"
#include "reader/line_scan.h"

namespace fxt {

struct LineInPlace {
  size_t rawLength = 0;  // the bytes the line takes, up to its line end
  size_t length = 0;     // of the line as the normaliser would write it
  // What the keyword table is matched on: the keyword lowered, its '=' after
  // it when the line has one, and NULs. A keyword matches this window when
  // it matches the normalised line.
  alignas(8) std::array<char, KEYWORD_WINDOW> keyword{};
  bool valueGiven = false;  // the line has a '='
  std::string_view value;   // after the '=', as the normaliser would keep it
  std::string_view quoted;  // between the value's two quotes; empty when it has none
  size_t valueQuote = std::string_view::npos;  // the first quote's place in the value
};

// Reads raw[0, available), available at most 99, in place when the line's
// shape allows it; false for a line that must be normalised. `masks` are
// those that ScanLine gives for raw, where CanScan held. Reports nothing.
bool ReadLineInPlace(const uint8_t* raw, size_t available, const LineMasks& masks,
                     LineInPlace& line);

}  // namespace fxt
