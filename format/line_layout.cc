#include "format/line_layout.h"

namespace fxt {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Where the keyword ends in the code: after as many bytes that are no blank
// as the keyword has letters, since the reader drops blanks before it
// matches.
size_t KeywordEnd(std::string_view code, size_t keywordLength) {
  size_t i = 0;
  for (size_t taken = 0; i < code.size() && taken < keywordLength; ++i) {
    if (!IsBlank(code[i])) ++taken;
  }
  return i;
}

// A value whose blanks outside quotes the reader drops: a stop's or an
// attribute list's. In canonical spacing, each ',' outside the parentheses
// and quotes is followed by one blank.
void AppendPacked(std::string& packed, std::string_view value, bool blankAfterTopComma) {
  bool quoted = false;
  int depth = 0;
  for (const char c : value) {
    if (c == '"') quoted = !quoted;
    if (!quoted && IsBlank(c)) continue;
    packed += c;
    if (quoted) continue;
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth <= 0 && blankAfterTopComma) packed += ' ';
  }
}

void AppendValue(std::string& out, std::string_view value, TokenId keyword, Spacing spacing) {
  switch (keyword) {
    case TOKEN_STOP:
      AppendPacked(out, value, spacing == Spacing::kCanonical);
      return;
    case TOKEN_ATTRIB_LIST:
      AppendPacked(out, value, false);
      return;
    default:
      out.append(value);
  }
}

}  // namespace

LineParts SplitLine(std::string_view line) {
  const size_t slash = line.find('/');
  std::string_view remark = slash == std::string_view::npos ? "" : line.substr(slash);
  while (!remark.empty() && IsBlank(remark.back())) remark.remove_suffix(1);
  return {TrimBlanks(line.substr(0, slash)), remark};
}

void AppendLaidOutCode(std::string& out, std::string_view code, const Keyword& keyword,
                       Spacing spacing) {
  std::string_view spelling = keyword.text;
  const size_t keywordEnd = KeywordEnd(code, spelling.size());
  bool takesValue = spelling.back() == '=';
  if (takesValue) spelling.remove_suffix(1);
  std::string_view rest = code.substr(keywordEnd);
  // "stop" and the block keywords hold no '=', but a line may give one.
  const std::string_view afterBlanks = TrimBlanks(rest);
  if (!takesValue && afterBlanks.starts_with('=')) {
    takesValue = true;
    rest = afterBlanks.substr(1);
  }
  out.append(spelling);
  if (!takesValue) {
    out.append(rest);
    return;
  }
  const std::string_view value = TrimBlanks(rest);
  if (spacing == Spacing::kCompact) {
    out += '=';
  } else {
    out.append(value.empty() ? " =" : " = ");
  }
  AppendValue(out, value, keyword.id, spacing);
}

}  // namespace fxt
