// The parts of a line of a template as a user wrote them: its keyword, and
// the pieces of its value, each with the character indexes it spans.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/keywords.h"

namespace fxt::lsp {

struct Span {
  int32_t begin = 0;  // character index on the line, from 0
  int32_t end = 0;    // one past the last
  bool Holds(int32_t index) const { return index >= begin && index < end; }
};

struct WrittenKeyword {
  const Keyword* keyword = nullptr;  // null when the line begins with none
  Span span;                         // the keyword as written, blanks within it included
};

// The line's keyword, found as the reader finds it; the line is the
// template's bytes, one per character.
WrittenKeyword KeywordOf(std::string_view line);

// The value after the line's first '=', without its remark and outer blanks.
Span ValueOf(std::string_view line);

// The comma-separated items of a value (numbers of a list, slots of a stop),
// from `begin` to `end`.
std::vector<Span> ItemsOf(std::string_view line, Span within);

// A stop line's slot list, between its parentheses, and its mode letter
// after them and a comma, where the line has them.
struct StopLineParts {
  std::optional<Span> slots;
  std::optional<Span> mode;
};
StopLineParts StopLinePartsOf(std::string_view line, Span value);

// The line as template bytes: each character U+0000 to U+00FF one byte,
// '?' for the others.
std::string TemplateLine(std::string_view utf8);

}  // namespace fxt::lsp
