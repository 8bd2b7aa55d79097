#include "lsp/line_words.h"

#include <algorithm>

#include "lsp/line_index.h"

namespace fxt::lsp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string TemplateLine(std::string_view utf8) {
  if (std::ranges::all_of(utf8, [](char c) { return (c & 0x80) == 0; })) return std::string(utf8);
  std::string bytes;
  while (!utf8.empty()) {
    const Character character = ReadCharacter(utf8);
    bytes += character.codePoint > 0xFF ? '?' : static_cast<char>(character.codePoint);
    utf8.remove_prefix(character.bytes);
  }
  return bytes;
}

// The reader drops blanks and lowers letters outside quotes before it
// matches a keyword; the keyword's span ends where its last letter stands.
WrittenKeyword KeywordOf(std::string_view line) {
  std::string normalised;
  std::vector<int32_t> from;  // the character each normalised one came from
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '/' || c == '"' || c == '\r') break;
    if (i == 0 && c == '*') continue;
    if (IsBlank(c)) continue;
    normalised += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    from.push_back(static_cast<int32_t>(i));
  }
  WrittenKeyword written;
  written.keyword = normalised.empty() ? nullptr : MatchKeyword(normalised.c_str());
  if (written.keyword == nullptr) return written;
  const size_t length = std::string_view(written.keyword->text).size();
  written.span = {from.front(), from[length - 1] + 1};
  return written;
}

Span ValueOf(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos)
    return {static_cast<int32_t>(line.size()), static_cast<int32_t>(line.size())};
  size_t begin = equals + 1;
  size_t end = line.size();
  bool quoted = false;
  for (size_t i = begin; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (!quoted && (line[i] == '/' || line[i] == '\r')) {
      end = i;
      break;
    }
  }
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  return {static_cast<int32_t>(begin), static_cast<int32_t>(end)};
}

std::vector<Span> ItemsOf(std::string_view line, Span within) {
  std::vector<Span> items;
  int32_t begin = within.begin;
  for (int32_t i = within.begin; i <= within.end; ++i) {
    if (i == within.end || line[static_cast<size_t>(i)] == ',') {
      items.push_back({begin, i});
      begin = i + 1;
    }
  }
  return items;
}

StopLineParts StopLinePartsOf(std::string_view line, Span value) {
  StopLineParts parts;
  const auto end = static_cast<size_t>(value.end);
  const size_t open = line.find('(', static_cast<size_t>(value.begin));
  const size_t close = line.find(')', open == std::string_view::npos ? end : open);
  if (open >= end || close >= end) return parts;
  parts.slots = Span{static_cast<int32_t>(open) + 1, static_cast<int32_t>(close)};
  size_t at = close + 1;
  while (at < end && IsBlank(line[at])) ++at;
  if (at >= end || line[at] != ',') return parts;
  ++at;
  while (at < end && IsBlank(line[at])) ++at;
  if (at < end) parts.mode = Span{static_cast<int32_t>(at), static_cast<int32_t>(at) + 1};
  return parts;
}

}  // namespace fxt::lsp
