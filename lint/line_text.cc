#include "lint/line_text.h"

namespace fxt {
namespace {

// The bytes that end a line's text, inside quotes or not.
bool EndsText(char c) { return c == '\r' || c == '/' || c == '\0' || c == '\n'; }

}  // namespace

LineText::LineText(std::span<const uint8_t> file, const LineEvent& line)
    : line_(line),
      raw_(line.raw),
      offset_(
          static_cast<size_t>(reinterpret_cast<const uint8_t*>(line.raw.data()) - file.data())) {}

// The reader skips a '*' at the start of the line, and blanks and tabs
// outside quotes; every other byte up to the end of the text is one
// character of the normalised line.
size_t LineText::RawIndexOf(size_t index) const {
  bool quoted = false;
  size_t kept = 0;
  size_t i = !raw_.empty() && raw_[0] == '*' ? 1 : 0;
  for (; i < raw_.size(); ++i) {
    const char c = raw_[i];
    if (!quoted && IsBlank(c)) continue;
    if (EndsText(c)) break;
    if (kept++ == index) return i;
    if (c == '"') quoted = !quoted;
  }
  return i;
}

size_t LineText::TextEnd() const { return RawIndexOf(line_.normalised.size()); }

size_t LineText::ValueIndex() const {
  return static_cast<size_t>(line_.valueText.data() - line_.normalised.data());
}

RawSpan LineText::Value() const {
  size_t end = TextEnd();
  if (line_.valueText.empty()) return {end, end};
  while (end > 0 && IsBlank(raw_[end - 1])) --end;
  const size_t begin = RawIndexOf(ValueIndex());
  return {std::min(begin, end), end};
}

std::optional<RawSpan> LineText::Quoted() const {
  if (line_.valueText.empty()) return std::nullopt;
  const size_t open = raw_.find('"', RawIndexOf(ValueIndex() - 1));
  if (open == std::string_view::npos) return std::nullopt;
  size_t close = open + 1;
  while (close < raw_.size() && raw_[close] != '"' && !EndsText(raw_[close])) ++close;
  if (close == raw_.size() || raw_[close] != '"') return std::nullopt;
  const RawSpan quoted{open + 1, close};
  // The reader's quoted text, byte for byte, or no span at all.
  if (Text(quoted) != line_.quotedText) return std::nullopt;
  return quoted;
}

}  // namespace fxt
