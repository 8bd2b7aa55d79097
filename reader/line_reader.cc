#include "reader/line_reader.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What NormaliseLine makes of each byte outside quotes: the byte it keeps
// (letters lowered), or one of the codes below.
constexpr int16_t DROP = -1;   // blanks and tabs
constexpr int16_t END = -2;    // the line ends: its end, a line end, a remark
constexpr int16_t QUOTE = -3;  // quoted text begins

constexpr std::array<int16_t, 256> kOutsideQuotes = [] {
  std::array<int16_t, 256> outside{};
  for (int c = 0; c < 256; ++c) {
    outside[static_cast<size_t>(c)] =
        static_cast<int16_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  outside[' '] = outside['\t'] = DROP;
  outside['\n'] = outside['\r'] = outside['/'] = outside['\0'] = END;
  outside['"'] = QUOTE;
  return outside;
}();

bool EndsQuotedText(char c) { return c == '\n' || c == '\r' || c == '/' || c == '\0'; }

}  // namespace

SourcePosition CursorPosition() {
  const ParseContext& ctx = parseContext;
  const auto offset = static_cast<uint64_t>(ctx.inputCursor - ctx.physicalLineStart);
  return {ctx.physicalLine, static_cast<int32_t>(std::min<uint64_t>(offset + 1, INT32_MAX))};
}

// The input ends at its first INPUT_END byte, found once here rather than
// looked for at every byte.
void SetInput(std::span<const uint8_t> bytes) {
  ParseContext& ctx = parseContext;
  ctx.inputStart = bytes.data();
  ctx.inputCursor = bytes.data();
  ctx.inputEnd = bytes.data() + bytes.size();
  const void* stop = bytes.empty() ? nullptr : std::memchr(bytes.data(), INPUT_END, bytes.size());
  ctx.inputStop = stop == nullptr ? ctx.inputEnd : static_cast<const uint8_t*>(stop);
  ctx.physicalLine = 1;
  ctx.physicalLineStart = bytes.data();
}

bool ReadTemplateLine() {
  ParseContext& ctx = parseContext;
  const SourcePosition start = CursorPosition();
  const uint8_t* startByte = ctx.inputCursor;
  const int length = ReadRawLine(ctx.lineBuffer, LINE_CAPACITY);
  if (length == 0) return false;
  ctx.linePosition = start;
  ctx.rawLine = {reinterpret_cast<const char*>(startByte), static_cast<size_t>(length - 1)};
  if (ctx.lineNumber < INT32_MAX) ++ctx.lineNumber;
  NormaliseLine(ctx.lineBuffer);
  SplitValue(ctx.lineBuffer);
  return true;
}

int ReadRawLine(char* buffer, uint8_t capacity) {
  ParseContext& ctx = parseContext;
  if (ctx.templateEnded || capacity == 0 || ctx.inputCursor == ctx.inputStop) return 0;
  const size_t piece =
      std::min<size_t>(capacity - 1u, static_cast<size_t>(ctx.inputStop - ctx.inputCursor));
  const void* lineEnd = std::memchr(ctx.inputCursor, '\n', piece);
  const size_t collected =
      lineEnd == nullptr
          ? piece
          : static_cast<size_t>(static_cast<const uint8_t*>(lineEnd) - ctx.inputCursor);
  std::memcpy(buffer, ctx.inputCursor, collected);
  buffer[collected] = '\0';
  ctx.inputCursor += collected;
  // A line end right after a full piece still belongs to it.
  if (ctx.inputCursor != ctx.inputStop && *ctx.inputCursor == '\n') {
    ++ctx.inputCursor;
    if (ctx.physicalLine < INT32_MAX) ++ctx.physicalLine;
    ctx.physicalLineStart = ctx.inputCursor;
  }
  return static_cast<int>(collected) + 1;
}

void NormaliseLine(char* line) {
  if (line[0] == '*') line[0] = ' ';
  char* out = line;
  for (const char* in = line;; ++in) {
    const int16_t kept = kOutsideQuotes[static_cast<uint8_t>(*in)];
    if (kept >= 0) {
      *out++ = static_cast<char>(kept);
      continue;
    }
    if (kept == DROP) continue;
    if (kept == END) break;
    // Quoted text is kept as it stands, up to the closing quote.
    *out++ = '"';
    for (++in; *in != '"'; ++in) {
      if (EndsQuotedText(*in)) {
        ReportError(DiagnosticId::kUnexpectedEndOfLine);
        *out = '\0';
        return;
      }
      *out++ = *in;
    }
    *out++ = '"';
  }
  *out = '\0';
}

void SplitValue(const char* line) {
  ParseContext& ctx = parseContext;
  const char* equals = std::strchr(line, '=');
  if (equals == nullptr) {
    ctx.valueText.clear();
    ctx.quotedText.clear();
    return;
  }
  // The value's terminating NUL is part of it, and counts in its length.
  const char* value = equals + 1;
  const size_t length = std::strlen(value) + 1;
  ctx.valueText.assign(value, length);
  const char* end = value + length;
  const auto quote = [end](const char* from) {
    return static_cast<const char*>(std::memchr(from, '"', static_cast<size_t>(end - from)));
  };
  const char* first = quote(value);
  if (first == nullptr) {
    ctx.quotedText.clear();
    return;
  }
  const char* second = quote(first + 1);
  // Text between the first two quotes; a quote never closed takes the rest.
  ctx.quotedText.assign(first + 1,
                        static_cast<size_t>((second == nullptr ? end : second) - (first + 1)));
  const char* third = second == nullptr ? nullptr : quote(second + 1);
  // From the third quote on, every character of the value is one error.
  if (third != nullptr) {
    ReportErrorTimes(DiagnosticId::kTooManyQuotes, static_cast<int32_t>(end - third));
  }
}

bool ValueIsNumber() {
  const std::string& value = parseContext.valueText;
  if (value.empty() || !IsDigit(value[0])) return false;
  for (size_t i = 1; i < value.size(); ++i) {
    if (!IsDigit(value[i]) && value[i] != '\0') return false;
  }
  return true;
}

}  // namespace fxt
