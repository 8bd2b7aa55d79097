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

LineStarts::LineStarts(std::string_view text) : text_(text) {
  starts_.push_back(0);
  for (size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    starts_.push_back(at + 1);
  }
}

TextPosition LineStarts::PositionOf(size_t offset) const {
  offset = std::min(offset, text_.size());
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  const auto line = static_cast<size_t>(after - starts_.begin());  // from 1
  const size_t column = offset - starts_[line - 1] + 1;
  return {static_cast<int32_t>(std::min<size_t>(line, INT32_MAX)),
          static_cast<int32_t>(std::min<size_t>(column, INT32_MAX))};
}

std::string_view LineStarts::Line(int32_t line) const {
  if (line < 1 || static_cast<size_t>(line) > starts_.size()) return {};
  const size_t begin = starts_[static_cast<size_t>(line) - 1];
  const size_t end = static_cast<size_t>(line) < starts_.size()
                         ? starts_[static_cast<size_t>(line)] - 1
                         : text_.size();
  return text_.substr(begin, end - begin);
}

}  // namespace fxt
