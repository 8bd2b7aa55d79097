#include "format/unified_diff.h"

#include <algorithm>
#include <vector>

namespace fxt {
namespace {

constexpr size_t CONTEXT_LINES = 3;

// Each line with its line end; the last may lack one.
std::vector<std::string_view> LinesWithEnds(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return lines;
}

struct Hunk {
  size_t first;  // the first line shown, from 0
  size_t last;   // past the last line shown, of the longer text
};

void AppendRange(std::string& diff, size_t first, size_t count) {
  // An empty range names the line before it, as diff -u does.
  diff += std::to_string(count == 0 ? first : first + 1);
  if (count != 1) diff += "," + std::to_string(count);
}

void AppendLine(std::string& diff, char mark, std::string_view line) {
  diff += mark;
  diff += line;
  if (!line.ends_with('\n')) diff += "\n\\ No newline at end of file\n";
}

void AppendHunk(std::string& diff, const Hunk& hunk, const std::vector<std::string_view>& before,
                const std::vector<std::string_view>& after) {
  const size_t beforeEnd = std::min(hunk.last, before.size());
  const size_t afterEnd = std::min(hunk.last, after.size());
  diff += "@@ -";
  AppendRange(diff, hunk.first, beforeEnd - hunk.first);
  diff += " +";
  AppendRange(diff, hunk.first, afterEnd - hunk.first);
  diff += " @@\n";
  for (size_t i = hunk.first; i < hunk.last;) {
    if (i < beforeEnd && i < afterEnd && before[i] == after[i]) {
      AppendLine(diff, ' ', before[i++]);
      continue;
    }
    // A run of changed lines: the old ones, then the new ones.
    size_t end = i;
    while (end < hunk.last && !(end < beforeEnd && end < afterEnd && before[end] == after[end])) {
      ++end;
    }
    for (size_t j = i; j < std::min(end, beforeEnd); ++j) AppendLine(diff, '-', before[j]);
    for (size_t j = i; j < std::min(end, afterEnd); ++j) AppendLine(diff, '+', after[j]);
    i = end;
  }
}

}  // namespace

std::string UnifiedDiff(std::string_view name, std::string_view before, std::string_view after) {
  const std::vector<std::string_view> old = LinesWithEnds(before);
  const std::vector<std::string_view> now = LinesWithEnds(after);
  const size_t count = std::max(old.size(), now.size());
  std::vector<Hunk> hunks;
  for (size_t i = 0; i < count; ++i) {
    if (i < old.size() && i < now.size() && old[i] == now[i]) continue;
    const size_t first = i > CONTEXT_LINES ? i - CONTEXT_LINES : 0;
    const size_t last = std::min(count, i + 1 + CONTEXT_LINES);
    if (!hunks.empty() && first <= hunks.back().last) {
      hunks.back().last = last;
    } else {
      hunks.push_back({first, last});
    }
  }
  if (hunks.empty()) return {};
  std::string diff;
  diff.append("--- ").append(name).append("\n+++ ").append(name).append("\n");
  for (const Hunk& hunk : hunks) AppendHunk(diff, hunk, old, now);
  return diff;
}

}  // namespace fxt
