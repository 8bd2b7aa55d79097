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

Suppressions::Suppressions(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  int32_t lineNumber = 1;
  for (size_t begin = 0; begin <= text.size();) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(begin, end - begin);
    if (line.find(kMarker) != std::string_view::npos) ReadComment(line, lineNumber, suppressions_);
    begin = end + 1;
    if (lineNumber < INT32_MAX) ++lineNumber;
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
