#include "lsp/line_index.h"

#include <algorithm>
#include <iterator>

#include "tools/display_path.h"

namespace fxt::lsp {
namespace {

constexpr uint32_t REPLACEMENT = 0xFFFD;
// Bytes between two kept counts: the longest walk that a mapping takes.
constexpr size_t COUNT_INTERVAL = 256;

size_t Utf16UnitsOf(const Character& character) { return character.codePoint > 0xFFFF ? 2 : 1; }

// The index of the last element of `starts` (which begins with 0) that is
// at most `offset`.
size_t LastAtOrBefore(const std::vector<size_t>& starts, size_t offset) {
  return static_cast<size_t>(std::distance(
             starts.begin(), std::upper_bound(starts.begin(), starts.end(), offset))) -
         1;
}

}  // namespace

Character ReadCharacter(std::string_view text) {
  const size_t length = Utf8SequenceLength(text);
  if (length == 0) return {REPLACEMENT, 1};
  return {Utf8CodePoint(text, length), length};
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
  templateLines_.push_back(0);
  bool lineEndsDiffer = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') templateLines_.push_back(i + 1);
    if (text[i] == '\r') lineEndsDiffer = true;
  }
  if (lineEndsDiffer) {
    clientLines_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
      const bool crBeforeLf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
      if ((text[i] == '\n' || text[i] == '\r') && !crBeforeLf) clientLines_.push_back(i + 1);
    }
  }
  Count count{0, 0, 0};
  counts_.push_back(count);
  while (count.offset < text.size()) {
    const Character character = ReadCharacter(text.substr(count.offset));
    count.offset += character.bytes;
    ++count.characters;
    count.utf16 += Utf16UnitsOf(character);
    if (count.offset - counts_.back().offset >= COUNT_INTERVAL) counts_.push_back(count);
  }
}

const std::vector<size_t>& LineIndex::ClientLines() const {
  return clientLines_.empty() ? templateLines_ : clientLines_;
}

// From the last count kept before `offset`, character by character; an
// offset inside a character counts up to that character's start.
LineIndex::Count LineIndex::CountAt(size_t offset) const {
  offset = std::min(offset, text_.size());
  const auto after = std::upper_bound(counts_.begin(), counts_.end(), offset,
                                      [](size_t at, const Count& c) { return at < c.offset; });
  Count count = *std::prev(after);
  while (count.offset < offset) {
    const Character character = ReadCharacter(text_.substr(count.offset));
    if (count.offset + character.bytes > offset) break;
    count.offset += character.bytes;
    ++count.characters;
    count.utf16 += Utf16UnitsOf(character);
  }
  return count;
}

size_t LineIndex::OffsetOfCharacter(size_t characters) const {
  const auto after = std::upper_bound(counts_.begin(), counts_.end(), characters,
                                      [](size_t at, const Count& c) { return at < c.characters; });
  Count count = *std::prev(after);
  for (; count.characters < characters && count.offset < text_.size(); ++count.characters) {
    count.offset += ReadCharacter(text_.substr(count.offset)).bytes;
  }
  return count.offset;
}

size_t LineIndex::OffsetOfUtf16(size_t units) const {
  const auto after = std::upper_bound(counts_.begin(), counts_.end(), units,
                                      [](size_t at, const Count& c) { return at < c.utf16; });
  Count count = *std::prev(after);
  while (count.offset < text_.size()) {
    const Character character = ReadCharacter(text_.substr(count.offset));
    count.utf16 += Utf16UnitsOf(character);
    if (count.utf16 > units) break;
    count.offset += character.bytes;
  }
  return count.offset;
}

std::string_view LineIndex::Line(int32_t line) const {
  if (line < 0 || static_cast<size_t>(line) >= templateLines_.size()) return {};
  const size_t begin = templateLines_[static_cast<size_t>(line)];
  return text_.substr(begin, EndOf(line) - begin);
}

size_t LineIndex::EndOf(int32_t line) const {
  if (line < 0) return 0;
  const auto at = static_cast<size_t>(line);
  if (at >= templateLines_.size()) return text_.size();
  size_t end = at + 1 < templateLines_.size() ? templateLines_[at + 1] - 1 : text_.size();
  if (end > templateLines_[at] && text_[end - 1] == '\r') --end;
  return end;
}

int32_t LineIndex::LengthOf(int32_t line) const {
  if (line < 0 || static_cast<size_t>(line) >= templateLines_.size()) return 0;
  const size_t begin = templateLines_[static_cast<size_t>(line)];
  return static_cast<int32_t>(CountAt(EndOf(line)).characters - CountAt(begin).characters);
}

size_t LineIndex::OffsetOf(int32_t line, int32_t index) const {
  if (line < 0) return 0;
  if (static_cast<size_t>(line) >= templateLines_.size()) return text_.size();
  const size_t begin = templateLines_[static_cast<size_t>(line)];
  const size_t characters = CountAt(begin).characters + static_cast<size_t>(std::max(index, 0));
  return std::min(OffsetOfCharacter(characters), EndOf(line));
}

LineIndex::TemplatePlace LineIndex::TemplatePlaceOf(size_t offset) const {
  const size_t line = LastAtOrBefore(templateLines_, offset);
  const size_t index = CountAt(offset).characters - CountAt(templateLines_[line]).characters;
  return {static_cast<int32_t>(line), static_cast<int32_t>(index)};
}

size_t LineIndex::ClientLineEnd(size_t line) const {
  const std::vector<size_t>& lines = ClientLines();
  if (line + 1 >= lines.size()) return text_.size();
  const size_t next = lines[line + 1];
  const bool crlf = next >= 2 && text_[next - 1] == '\n' && text_[next - 2] == '\r';
  return next - (crlf ? 2 : 1);
}

ClientPosition LineIndex::ClientPositionOf(size_t offset, Encoding encoding) const {
  const std::vector<size_t>& lines = ClientLines();
  const Count at = CountAt(offset);
  const size_t line = LastAtOrBefore(lines, at.offset);
  const size_t begin = lines[line];
  if (encoding == Encoding::kUtf8) return {line, at.offset - begin};
  return {line, at.utf16 - CountAt(begin).utf16};
}

size_t LineIndex::OffsetOf(ClientPosition position, Encoding encoding) const {
  const std::vector<size_t>& lines = ClientLines();
  if (position.line >= lines.size()) return text_.size();
  const size_t begin = lines[position.line];
  const size_t end = ClientLineEnd(position.line);
  // A line holds no more code units of either kind than bytes.
  const size_t character = std::min(position.character, end - begin);
  if (encoding == Encoding::kUtf8) return CountAt(begin + character).offset;
  return std::min(OffsetOfUtf16(CountAt(begin).utf16 + character), end);
}

bool HoldsWideCharacter(std::string_view text) {
  while (!text.empty()) {
    const Character character = ReadCharacter(text);
    if (character.codePoint > 0xFF) return true;
    text.remove_prefix(character.bytes);
  }
  return false;
}

}  // namespace fxt::lsp
