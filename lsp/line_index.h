// Positions in a document, as the template's load counts them and as the
// client does. Templates are single-byte text: each character U+0000 to
// U+00FF of the document is one byte of the template, and a column of the
// tester is the index of a character on its line. The load's lines end at
// '\n' only; the client's end at "\n", "\r\n" or a lone "\r", and it counts
// a line's characters in UTF-16 code units or in UTF-8 bytes, as the two
// sides agreed at initialisation. Both meet at byte offsets in the text.
//
// Every mapping costs a binary search and a walk of at most a few hundred
// bytes, whatever the length of the line: the characters and UTF-16 units
// before a byte are kept at intervals through the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fxt::lsp {

enum class Encoding { kUtf8, kUtf16 };

// A place as the client names it: a line (from 0) and a count of code
// units on it.
struct ClientPosition {
  size_t line = 0;
  size_t character = 0;
};

class LineIndex {
 public:
  explicit LineIndex(std::string_view text);

  std::string_view Text() const { return text_; }

  // The load's lines (from 0), which end at '\n'.
  size_t LineCount() const { return templateLines_.size(); }
  // A load's line without its line end ('\n', and a '\r' before it); empty
  // past the last line.
  std::string_view Line(int32_t line) const;
  // The number of characters on a load's line.
  int32_t LengthOf(int32_t line) const;

  // The byte offset of the character at `index` on a load's line, clamped
  // to the line's end; past the last line, the text's end.
  size_t OffsetOf(int32_t line, int32_t index) const;
  // The end of a load's line, before its line end.
  size_t EndOf(int32_t line) const;
  // The load's line (from 0) and the index of the character that holds the
  // byte at `offset`.
  struct TemplatePlace {
    int32_t line;
    int32_t index;
  };
  TemplatePlace TemplatePlaceOf(size_t offset) const;

  // The client's position of the character boundary at `offset`, and the
  // other way round: a position past its line's end stands at the line's
  // end, one past the last line at the text's end, and one inside a
  // character at its start.
  ClientPosition ClientPositionOf(size_t offset, Encoding encoding) const;
  size_t OffsetOf(ClientPosition position, Encoding encoding) const;

 private:
  // The characters and UTF-16 units before `offset`, a character boundary.
  struct Count {
    size_t offset;
    size_t characters;
    size_t utf16;
  };

  std::string_view text_;
  std::vector<size_t> templateLines_;  // byte offset where each load's line begins
  std::vector<size_t> clientLines_;    // the same for the client's lines; empty
                                       // when they are the load's (no '\r')
  std::vector<Count> counts_;          // at intervals through the text, from 0

  const std::vector<size_t>& ClientLines() const;
  Count CountAt(size_t offset) const;
  size_t OffsetOfCharacter(size_t characters) const;
  size_t OffsetOfUtf16(size_t units) const;
  size_t ClientLineEnd(size_t line) const;
};

// Reads one character of UTF-8 text: its code point and how many bytes it
// takes. A byte that begins no valid sequence is one character of its own,
// U+FFFD.
struct Character {
  uint32_t codePoint;
  size_t bytes;
};
Character ReadCharacter(std::string_view text);

// Whether UTF-8 text holds a character above U+00FF, which a template holds
// as '?': an edit that replaced it would write the '?' back instead.
bool HoldsWideCharacter(std::string_view text);

}  // namespace fxt::lsp
