#include "lsp/line_index.h"

#include <algorithm>

#include "tools/display_path.h"

namespace fxt::lsp {
namespace {

constexpr uint32_t REPLACEMENT = 0xFFFD;

int32_t UnitsOf(const Character& character, Encoding encoding) {
  if (encoding == Encoding::kUtf8) return static_cast<int32_t>(character.bytes);
  return character.codePoint > 0xFFFF ? 2 : 1;
}

}  // namespace

Character ReadCharacter(std::string_view text) {
  const size_t length = Utf8SequenceLength(text);
  if (length == 0) return {REPLACEMENT, 1};
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(text[i])); };
  switch (length) {
    case 1:
      return {byte(0), 1};
    case 2:
      return {((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F), 2};
    case 3:
      return {((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F), 3};
    default:
      return {((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) |
                  (byte(3) & 0x3F),
              4};
  }
}

LineIndex::LineIndex(std::string_view text) : text_(text) {
  starts_.push_back(0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') starts_.push_back(i + 1);
  }
}

std::string_view LineIndex::Line(int32_t line) const {
  if (line < 0 || static_cast<size_t>(line) >= starts_.size()) return {};
  const size_t begin = starts_[static_cast<size_t>(line)];
  const size_t end = static_cast<size_t>(line) + 1 < starts_.size()
                         ? starts_[static_cast<size_t>(line) + 1] - 1
                         : text_.size();
  std::string_view content = text_.substr(begin, end - begin);
  if (content.ends_with('\r')) content.remove_suffix(1);
  return content;
}

int32_t LineIndex::CharacterOf(int32_t line, int32_t index, Encoding encoding) const {
  std::string_view rest = Line(line);
  int32_t units = 0;
  for (int32_t i = 0; i < index && !rest.empty(); ++i) {
    const Character character = ReadCharacter(rest);
    units += UnitsOf(character, encoding);
    rest.remove_prefix(character.bytes);
  }
  return units;
}

int32_t LineIndex::IndexOf(int32_t line, int32_t character, Encoding encoding) const {
  std::string_view rest = Line(line);
  int32_t units = 0;
  int32_t index = 0;
  while (!rest.empty()) {
    const Character read = ReadCharacter(rest);
    units += UnitsOf(read, encoding);
    if (units > character) break;
    rest.remove_prefix(read.bytes);
    ++index;
  }
  return index;
}

size_t LineIndex::OffsetOf(int32_t line, int32_t character, Encoding encoding) const {
  if (line < 0) return 0;
  if (static_cast<size_t>(line) >= starts_.size()) return text_.size();
  const std::string_view content = Line(line);
  std::string_view rest = content;
  const int32_t index = IndexOf(line, character, encoding);
  for (int32_t i = 0; i < index; ++i) rest.remove_prefix(ReadCharacter(rest).bytes);
  return starts_[static_cast<size_t>(line)] + (content.size() - rest.size());
}

int32_t LineIndex::LengthOf(int32_t line) const {
  std::string_view rest = Line(line);
  int32_t length = 0;
  for (; !rest.empty(); ++length) rest.remove_prefix(ReadCharacter(rest).bytes);
  return length;
}

}  // namespace fxt::lsp
