// Positions in a document as the client counts them. A template is
// single-byte text: each character U+0000 to U+00FF of the document is one
// byte of the template, and a column of the tester is the index of a
// character on its line. Clients count a line's characters in UTF-16 code
// units or in UTF-8 bytes, as the two sides agreed at initialisation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fxt::lsp {

enum class Encoding { kUtf8, kUtf16 };

class LineIndex {
 public:
  explicit LineIndex(std::string_view text);

  size_t LineCount() const { return starts_.size(); }
  // Line `line` (from 0) without its line end; empty past the last line.
  std::string_view Line(int32_t line) const;

  // The client's character offset of the character at `index` on a line,
  // and the other way round. Both stop at the line's end.
  int32_t CharacterOf(int32_t line, int32_t index, Encoding encoding) const;
  int32_t IndexOf(int32_t line, int32_t character, Encoding encoding) const;
  // The byte offset in the text of a client's position, clamped to the text.
  size_t OffsetOf(int32_t line, int32_t character, Encoding encoding) const;
  // The number of characters on a line.
  int32_t LengthOf(int32_t line) const;

 private:
  std::string_view text_;
  std::vector<size_t> starts_;  // byte offset where each line begins
};

// Reads one character of UTF-8 text: its code point and how many bytes it
// takes. A byte that begins no valid sequence is one character of its own,
// U+FFFD.
struct Character {
  uint32_t codePoint;
  size_t bytes;
};
Character ReadCharacter(std::string_view text);

}  // namespace fxt::lsp
