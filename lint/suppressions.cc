#include "lint/suppressions.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace fxt {
namespace {

constexpr std::string_view kMarker = "fxtlint:";
constexpr std::string_view kIgnore = "ignore";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimmedFront(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// The column of the line's comment: its first '/' outside double quotes.
size_t CommentStart(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '/' && !quoted) return i;
  }
  return std::string_view::npos;
}

void ReadComment(std::string_view line, int32_t lineNumber, std::vector<Suppression>& out) {
  const size_t start = CommentStart(line);
  if (start == std::string_view::npos) return;
  std::string_view rest = TrimmedFront(line.substr(start + 1));
  if (!rest.starts_with(kMarker)) return;
  rest = TrimmedFront(rest.substr(kMarker.size()));
  if (!rest.starts_with(kIgnore)) return;
  rest.remove_prefix(kIgnore.size());
  const SourcePosition position{lineNumber, static_cast<int32_t>(start + 1)};
  while (!rest.empty()) {
    rest = TrimmedFront(rest);
    size_t length = 0;
    while (length < rest.size() && rest[length] != ',' && !IsBlank(rest[length])) ++length;
    if (length > 0) out.push_back({position, std::string(rest.substr(0, length))});
    rest.remove_prefix(std::min(length + 1, rest.size()));
  }
}

}  // namespace

// Most files hold no suppression: the search goes from one mention of the
// marker to the next, counting the lines passed on the way.
Suppressions::Suppressions(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  int64_t lineNumber = 1;
  size_t counted = 0;  // line ends before this offset are counted
  for (size_t mention = text.find(kMarker); mention != std::string_view::npos;) {
    const size_t endBefore = text.rfind('\n', mention);
    const size_t begin = endBefore == std::string_view::npos ? 0 : endBefore + 1;
    lineNumber += std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                             text.begin() + static_cast<std::ptrdiff_t>(begin), '\n');
    counted = begin;
    const size_t end = std::min(text.find('\n', mention), text.size());
    ReadComment(text.substr(begin, end - begin),
                static_cast<int32_t>(std::min<int64_t>(lineNumber, INT32_MAX)), suppressions_);
    mention = end == text.size() ? std::string_view::npos : text.find(kMarker, end);
  }
}

bool Suppressions::Suppress(std::string_view code, int32_t line) {
  bool suppressed = false;
  // Comments stand in file order: the ones on the two lines are adjacent.
  auto it = std::lower_bound(suppressions_.begin(), suppressions_.end(), line - 1,
                             [](const Suppression& suppression, int32_t first) {
                               return suppression.position.line < first;
                             });
  for (; it != suppressions_.end() && it->position.line <= line; ++it) {
    if (code.starts_with(it->code)) {
      it->used = true;
      suppressed = true;
    }
  }
  return suppressed;
}

}  // namespace fxt
