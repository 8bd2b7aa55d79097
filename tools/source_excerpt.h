// What a terminal shows under a diagnostic: the line it stands on, and a
// caret under the place with tildes under the rest of what is meant, as
// compilers show it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fxt {

// Colours of a terminal, as SGR sequences; empty when colour is off.
struct Colours {
  std::string_view bold;
  std::string_view error;
  std::string_view warning;
  std::string_view note;
  std::string_view caret;
  std::string_view reset;

  static Colours On();
  static Colours Off() { return {}; }
};

// The two lines: "  12 | TEXT" and "     |   ^~~~". `column` and `endColumn`
// are 1-based byte columns; the tildes reach up to `endColumn` when it lies
// past `column` on the line. The line's bytes are shown as a terminal can
// show them: UTF-8 as it is, other bytes read as Latin-1, control
// characters as \xNN, and a long line cut around the place.
std::string SourceExcerpt(std::string_view line, int32_t lineNumber, int32_t column,
                          int32_t endColumn, const Colours& colours);

}  // namespace fxt
