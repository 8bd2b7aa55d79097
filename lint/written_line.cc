#include "lint/written_line.h"

#include <algorithm>

#include "reader/parse_context.h"

namespace fxt {
namespace {

// Outside quotes these end the line's text; inside, they end it too, and
// leave the quote unclosed.
bool EndsText(char c) { return c == '\n' || c == '\r' || c == '/' || c == '\0'; }
char Lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

WrittenLine::WrittenLine(std::string_view raw) : raw_(raw) {
  const size_t available = std::min<size_t>(raw.size(), LINE_CAPACITY - 1);
  const auto keep = [this](char c, size_t at) {
    text_ += c;
    from_.push_back(static_cast<uint8_t>(at));
  };
  size_t i = available > 0 && raw[0] == '*' ? 1 : 0;
  for (; i < available; ++i) {
    const char c = raw[i];
    if (IsBlank(c)) continue;
    if (EndsText(c)) break;
    keep(Lowered(c), i);
    if (c != '"') continue;
    const size_t quote = i;
    for (++i; i < available && raw[i] != '"' && !EndsText(raw[i]); ++i) keep(raw[i], i);
    if (i == available || raw[i] != '"') {
      unclosedQuote_ = quote;
      break;
    }
    keep(raw[i], i);
  }
  textEnd_ = std::min(i, available);
}

WrittenLine::WrittenLine(std::span<const uint8_t> file, const LineEvent& line)
    : WrittenLine(line.raw) {
  offset_ = static_cast<size_t>(reinterpret_cast<const uint8_t*>(line.raw.data()) - file.data());
}

ByteSpan WrittenLine::RawOf(size_t first, size_t last) const {
  last = std::min(last, text_.size());
  if (first >= last) {
    const size_t end = from_.empty() ? textEnd_ : from_.back() + size_t{1};
    const size_t at = first < from_.size() ? from_[first] : end;
    return {at, at};
  }
  return {from_[first], from_[last - 1] + size_t{1}};
}

ByteSpan WrittenLine::Value() const {
  if (text_.find('=') == std::string::npos) return {textEnd_, textEnd_};
  size_t end = textEnd_;
  while (end > 0 && IsBlank(raw_[end - 1])) --end;
  const size_t begin = RawIndexOf(ValueIndex());
  return {std::min(begin, end), end};
}

std::optional<ByteSpan> WrittenLine::Quoted() const {
  const size_t open = text_.find('"');
  const size_t close = open == std::string::npos ? open : text_.find('"', open + 1);
  if (close == std::string::npos || open < ValueIndex()) return std::nullopt;
  return RawOf(open + 1, close);
}

}  // namespace fxt
