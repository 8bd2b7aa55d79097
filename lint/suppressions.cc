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
  const SourcePosition position{lineNumber, static_cast<int32_t>(start + 1)};
  if (rest.size() > kIgnore.size() && !IsBlank(rest[kIgnore.size()])) {
    const size_t glued = std::min(rest.find_first_of(" \t\r"), rest.size());
    out.push_back({position, std::string(rest.substr(0, glued)), false, true});
    return;
  }
  rest.remove_prefix(kIgnore.size());
  while (!rest.empty()) {
    rest = TrimmedFront(rest);
    size_t length = 0;
    while (length < rest.size() && rest[length] != ',' && !IsBlank(rest[length])) ++length;
    if (length > 0) out.push_back({position, std::string(rest.substr(0, length))});
    rest.remove_prefix(std::min(length + 1, rest.size()));
  }
}

bool Before(const Suppression& a, int32_t line, std::string_view code) {
  return a.position.line < line || (a.position.line == line && a.code < code);
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
  for (size_t i = 0; i < suppressions_.size(); ++i) {
    if (!suppressions_[i].glued) byLineAndCode_.push_back(i);
  }
  std::sort(byLineAndCode_.begin(), byLineAndCode_.end(), [this](size_t a, size_t b) {
    const Suppression& second = suppressions_[b];
    return Before(suppressions_[a], second.position.line, second.code);
  });
}

bool Suppressions::Suppress(std::string_view code, int32_t line) {
  if (byLineAndCode_.empty()) return false;
  bool suppressed = false;
  for (size_t length = 1; length <= code.size(); ++length) {
    const std::string_view prefix = code.substr(0, length);
    // Both lines are searched, whatever the first found.
    const bool above = SuppressOn(line - 1, prefix);
    const bool here = SuppressOn(line, prefix);
    suppressed = suppressed || above || here;
  }
  return suppressed;
}

// The comments that name one code on one line are marked used together, the
// first time: each is marked once, however often the code is suppressed.
bool Suppressions::SuppressOn(int32_t line, std::string_view prefix) {
  const auto first = std::partition_point(
      byLineAndCode_.begin(), byLineAndCode_.end(),
      [&](size_t index) { return Before(suppressions_[index], line, prefix); });
  const auto names = [&](size_t index) {
    const Suppression& suppression = suppressions_[index];
    return suppression.position.line == line && suppression.code == prefix;
  };
  if (first == byLineAndCode_.end() || !names(*first)) return false;
  if (!suppressions_[*first].used) {
    for (auto it = first; it != byLineAndCode_.end() && names(*it); ++it) {
      suppressions_[*it].used = true;
    }
  }
  return true;
}

}  // namespace fxt
