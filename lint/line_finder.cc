#include "lint/line_finder.h"

#include <algorithm>

namespace fxt {
namespace {

std::string_view BeforeFirstFF(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return text.substr(0, text.find('\xFF'));
}

}  // namespace

LineFinder::LineFinder(std::span<const uint8_t> bytes) : cursor_(BeforeFirstFF(bytes)) {}

std::string_view LineFinder::TextAt(SourcePosition at) {
  if (at.column < 1) return {};
  const std::string_view line = cursor_.Line(at.line);
  return line.substr(std::min(line.size(), static_cast<size_t>(at.column - 1)));
}

}  // namespace fxt
