#include "edit/text_edit.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace fxt {

std::optional<std::string> ApplyEdits(std::string_view text, std::span<const TextEdit> edits) {
  std::vector<const TextEdit*> ordered;
  ordered.reserve(edits.size());
  for (const TextEdit& edit : edits) {
    if (edit.begin > edit.end || edit.end > text.size()) return std::nullopt;
    ordered.push_back(&edit);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const TextEdit* a, const TextEdit* b) { return a->begin < b->begin; });

  // Edits that overlap have no one meaning; those that do not replace at
  // most the whole text, which tells the result's size.
  size_t size = text.size();
  size_t covered = 0;
  for (const TextEdit* edit : ordered) {
    if (edit->begin < covered) return std::nullopt;
    size = size - (edit->end - edit->begin) + edit->newText.size();
    covered = edit->end;
  }
  std::string result;
  result.reserve(size);
  size_t copied = 0;  // the original bytes before this offset are in `result`
  for (const TextEdit* edit : ordered) {
    result.append(text.substr(copied, edit->begin - copied));
    result.append(edit->newText);
    copied = edit->end;
  }
  result.append(text.substr(copied));
  return result;
}

size_t OffsetOf(std::string_view text, int32_t line, int32_t column) {
  size_t lineStart = 0;
  for (int32_t n = 1; n < line; ++n) {
    const size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) return text.size();
    lineStart = lineEnd + 1;
  }
  const size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
  const size_t wanted = lineStart + static_cast<size_t>(std::max(column, 1) - 1);
  return std::min(wanted, lineEnd);
}

// To the start of the line before.
void LineCursor::StepBack() {
  const size_t end = lineStart_ - 1;  // the '\n' that ends the line before
  const size_t before = end == 0 ? std::string_view::npos : text_.rfind('\n', end - 1);
  lineStart_ = before == std::string_view::npos ? 0 : before + 1;
  --line_;
}

TextPosition LineCursor::PositionOf(size_t offset) {
  offset = std::min(offset, text_.size());
  while (lineStart_ > offset) StepBack();
  for (size_t end = text_.find('\n', lineStart_); end < offset; end = text_.find('\n', end + 1)) {
    lineStart_ = end + 1;
    if (line_ < INT32_MAX) ++line_;
  }
  const size_t column = offset - lineStart_ + 1;
  return {line_, static_cast<int32_t>(std::min<size_t>(column, INT32_MAX))};
}

std::string_view LineCursor::Line(int32_t line) {
  if (line < 1) return {};
  while (line_ > line) StepBack();
  while (line_ < line) {
    const size_t end = text_.find('\n', lineStart_);
    if (end == std::string_view::npos) return {};
    lineStart_ = end + 1;
    ++line_;
  }
  const size_t end = std::min(text_.find('\n', lineStart_), text_.size());
  return text_.substr(lineStart_, end - lineStart_);
}

}  // namespace fxt
