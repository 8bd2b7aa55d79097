#include "lint/line_finder.h"

#include <algorithm>

namespace fxt {

LineFinder::LineFinder(std::span<const uint8_t> bytes)
    : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {
  text_ = text_.substr(0, text_.find('\xFF'));
}

void LineFinder::MoveTo(int32_t line) {
  while (line_ < line) {
    const size_t end = text_.find('\n', lineStart_);
    if (end == std::string_view::npos) return;
    lineStart_ = end + 1;
    ++line_;
  }
  while (line_ > line && lineStart_ > 0) {
    const size_t previousEnd = lineStart_ - 1;
    const size_t before =
        previousEnd == 0 ? std::string_view::npos : text_.rfind('\n', previousEnd - 1);
    lineStart_ = before == std::string_view::npos ? 0 : before + 1;
    --line_;
  }
}

std::string_view LineFinder::TextAt(SourcePosition at) {
  MoveTo(at.line);
  if (line_ != at.line || at.column < 1) return {};
  const size_t lineEnd = std::min(text_.find('\n', lineStart_), text_.size());
  const size_t begin = std::min(lineStart_ + static_cast<size_t>(at.column - 1), lineEnd);
  return text_.substr(begin, lineEnd - begin);
}

}  // namespace fxt
