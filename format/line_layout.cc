#include "format/line_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "reader/blank.h"

namespace fxt {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether any of a keyword's bytes, at most 16, is a blank. Two words that
// overlap cover them, read where they stand: a copy to test would stall the
// reads that follow it.
bool AnyBlank(std::string_view bytes) {
  const size_t size = bytes.size();
  if (size >= sizeof(uint64_t)) {
    uint64_t first = 0;
    uint64_t last = 0;
    std::memcpy(&first, bytes.data(), sizeof first);
    std::memcpy(&last, bytes.data() + size - sizeof last, sizeof last);
    return (BlankBytes(first) | BlankBytes(last)) != 0;
  }
  return std::ranges::any_of(bytes, IsBlank);
}

// Where the keyword ends in the code: after as many bytes that are no blank
// as the keyword has letters, since the reader drops blanks before it
// matches.
size_t KeywordEnd(std::string_view code, size_t keywordLength) {
  if (code.size() >= keywordLength && !AnyBlank(code.substr(0, keywordLength))) {
    return keywordLength;  // as most lines write it
  }
  size_t i = 0;
  for (size_t taken = 0; i < code.size() && taken < keywordLength; ++i) {
    if (!IsBlank(code[i])) ++taken;
  }
  return i;
}

// What packing does with each byte of a value outside quotes.
enum class Packing : uint8_t { kKeep, kDrop, kQuote, kOpen, kClose, kComma };

constexpr std::array<Packing, 256> kPacking = [] {
  std::array<Packing, 256> packing{};
  packing[' '] = packing['\t'] = Packing::kDrop;
  packing['"'] = Packing::kQuote;
  packing['('] = Packing::kOpen;
  packing[')'] = Packing::kClose;
  packing[','] = Packing::kComma;
  return packing;
}();

// A value whose blanks outside quotes the reader drops: a stop's or an
// attribute list's. In canonical spacing, each ',' outside the parentheses
// and quotes is followed by one blank. Packed in place first, since the
// value at most doubles.
void AppendPacked(LineText& out, std::string_view value, bool blankAfterTopComma) {
  if (value.size() > LineText::CAPACITY) {
    out.Append(value);  // too long whatever becomes of it
    return;
  }
  std::array<char, 2 * LineText::CAPACITY> packed;  // filled below
  char* to = packed.data();
  int depth = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (kPacking[static_cast<uint8_t>(c)]) {
      case Packing::kKeep:
        *to++ = c;
        break;
      case Packing::kDrop:
        break;
      case Packing::kQuote: {
        // Quoted text stays as it stands, through its closing quote if any.
        const size_t through = std::min(value.find('"', i + 1), value.size() - 1);
        CopyBytes(to, value.data() + i, through + 1 - i);
        to += through + 1 - i;
        i = through;
        break;
      }
      case Packing::kOpen:
        ++depth;
        *to++ = c;
        break;
      case Packing::kClose:
        --depth;
        *to++ = c;
        break;
      case Packing::kComma:
        *to++ = c;
        if (depth <= 0 && blankAfterTopComma) *to++ = ' ';
        break;
    }
  }
  out.Append({packed.data(), static_cast<size_t>(to - packed.data())});
}

// Each keyword's spelling, as long as the table spells it.
constexpr std::array<std::string_view, KEYWORD_COUNT> kSpellings = [] {
  std::array<std::string_view, KEYWORD_COUNT> spellings{};
  for (const Keyword& keyword : KeywordTable) {
    spellings[static_cast<size_t>(keyword.id)] = keyword.text;
  }
  return spellings;
}();

void AppendValue(LineText& out, std::string_view value, TokenId keyword, Spacing spacing) {
  switch (keyword) {
    case TOKEN_STOP:
      AppendPacked(out, value, spacing == Spacing::kCanonical);
      return;
    case TOKEN_ATTRIB_LIST:
      AppendPacked(out, value, false);
      return;
    default:
      out.Append(value);
  }
}

}  // namespace

LineParts SplitLine(std::string_view line, size_t slashFrom) {
  const size_t slash = line.find('/', slashFrom);
  std::string_view remark = slash == std::string_view::npos ? "" : line.substr(slash);
  while (!remark.empty() && IsBlank(remark.back())) remark.remove_suffix(1);
  return {TrimBlanks(line.substr(0, slash)), remark};
}

void AppendLaidOutCode(LineText& out, std::string_view code, const Keyword& keyword,
                       Spacing spacing) {
  std::string_view spelling = kSpellings[static_cast<size_t>(keyword.id)];
  const size_t keywordEnd = KeywordEnd(code, spelling.size());
  bool takesValue = spelling.back() == '=';
  if (takesValue) spelling.remove_suffix(1);
  const std::string_view rest = code.substr(keywordEnd);
  std::string_view value = TrimBlanks(rest);
  // "stop" and the block keywords hold no '=', but a line may give one.
  if (!takesValue && value.starts_with('=')) {
    takesValue = true;
    value = TrimBlanks(value.substr(1));
  }
  out.Append(spelling);
  if (!takesValue) {
    out.Append(rest);
    return;
  }
  if (spacing == Spacing::kCompact) {
    out.Push('=');
  } else {
    out.Append(value.empty() ? " =" : " = ");
  }
  AppendValue(out, value, keyword.id, spacing);
}

}  // namespace fxt
