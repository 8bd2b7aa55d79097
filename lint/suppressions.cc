#include "lint/suppressions.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace fxt {
namespace {

// The language is read in any letter case; so are these.
constexpr std::string_view kMarker = "fxtlint:";
constexpr std::string_view kIgnore = "ignore";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithWord(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(text[i]) != word[i]) return false;
  }
  return true;
}

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

// A comment "fxtlint: ignore" that names no code is kept with an empty
// code: it suppresses nothing, and says so.
void ReadComment(std::string_view line, int32_t lineNumber, std::vector<Suppression>& out) {
  const size_t start = CommentStart(line);
  if (start == std::string_view::npos) return;
  std::string_view rest = TrimmedFront(line.substr(start + 1));
  if (!StartsWithWord(rest, kMarker)) return;
  rest = TrimmedFront(rest.substr(kMarker.size()));
  if (!StartsWithWord(rest, kIgnore)) return;
  const SourcePosition position{lineNumber, static_cast<int32_t>(start + 1)};
  if (rest.size() > kIgnore.size() && !IsBlank(rest[kIgnore.size()])) {
    const size_t glued = std::min(rest.find_first_of(" \t\r"), rest.size());
    out.push_back({position, std::string(rest.substr(0, glued)), false, true});
    return;
  }
  rest.remove_prefix(kIgnore.size());
  const size_t before = out.size();
  while (!rest.empty()) {
    rest = TrimmedFront(rest);
    size_t length = 0;
    while (length < rest.size() && rest[length] != ',' && !IsBlank(rest[length])) ++length;
    if (length > 0) {
      std::string code(rest.substr(0, length));
      for (char& c : code) c = Upper(c);
      out.push_back({position, std::move(code)});
    }
    rest.remove_prefix(std::min(length + 1, rest.size()));
  }
  if (out.size() == before) out.push_back({position, std::string()});
}

// Whether a '/' at `slash` may begin a suppression comment: the marker
// follows it, after blanks.
bool MarkerAfter(std::string_view text, size_t slash) {
  return StartsWithWord(TrimmedFront(text.substr(slash + 1)), kMarker);
}

bool Before(const Suppression& a, int32_t line, std::string_view code) {
  return a.position.line < line || (a.position.line == line && a.code < code);
}

}  // namespace

// Most files hold no suppression: the search goes from one remark that
// begins with the marker to the next, counting the lines passed on the
// way, and reads each line with one at most once.
Suppressions::Suppressions(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  int64_t lineNumber = 1;
  size_t counted = 0;  // line ends before this offset are counted
  for (size_t slash = text.find('/'); slash != std::string_view::npos;) {
    if (!MarkerAfter(text, slash)) {
      slash = text.find('/', slash + 1);
      continue;
    }
    const size_t endBefore = text.rfind('\n', slash);
    const size_t begin = endBefore == std::string_view::npos ? 0 : endBefore + 1;
    lineNumber += std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                             text.begin() + static_cast<std::ptrdiff_t>(begin), '\n');
    counted = begin;
    const size_t end = std::min(text.find('\n', slash), text.size());
    ReadComment(text.substr(begin, end - begin),
                static_cast<int32_t>(std::min<int64_t>(lineNumber, INT32_MAX)), suppressions_);
    slash = end == text.size() ? std::string_view::npos : text.find('/', end);
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
