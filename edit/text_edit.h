// A change to a text, as data: the bytes from `begin` up to `end` give way to
// `newText`. The lint rules' fixes, the formatter and the language server's
// code actions all describe what they change this way, and all apply it
// through ApplyEdits, so that a fix means the same wherever it is applied.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fxt {

struct TextEdit {
  size_t begin = 0;  // byte offset of the first byte replaced
  size_t end = 0;    // byte offset just past the last; equal to begin for an insertion
  std::string newText;

  bool operator==(const TextEdit&) const = default;
};

// The text with every edit applied, each to the bytes of the original text
// that it names. Edits may come in any order; insertions at one offset keep
// the order they are given in. None when an edit reaches past the end of the
// text, ends before it begins, or overlaps another: such a set has no one
// meaning, and applying part of it would leave the text half changed.
std::optional<std::string> ApplyEdits(std::string_view text, std::span<const TextEdit> edits);

// The byte offset of a 1-based line and byte column, counting lines by '\n'
// as diagnostics do. A column past the end of its line stops at the line's
// end; a line past the last gives the end of the text.
size_t OffsetOf(std::string_view text, int32_t line, int32_t column);

// A 1-based line, counted by '\n', and a 1-based byte column on it.
struct TextPosition {
  int32_t line = 1;
  int32_t column = 1;

  bool operator==(const TextPosition&) const = default;
};

// Finds positions in a text from the place it last stood, so that it needs
// no memory for the text's lines: each answer costs the bytes between the
// two places, and answers asked in the order of the text cost one pass.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text = {}) : text_(text) {}

  // The position of the byte at `offset`; the text's size gives the place
  // just past its last byte.
  TextPosition PositionOf(size_t offset);
  // The bytes of a 1-based line, without its '\n'; empty past the last.
  std::string_view Line(int32_t line);

 private:
  std::string_view text_;
  size_t lineStart_ = 0;  // where the line the cursor stands on begins
  int32_t line_ = 1;

  void StepBack();
};

}  // namespace fxt
