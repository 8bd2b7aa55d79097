#include "reader/line_reader.h"

#include <algorithm>
#include <climits>

#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AtInputEnd() {
  const ParseContext& ctx = parseContext;
  return ctx.inputCursor == ctx.inputEnd || *ctx.inputCursor == INPUT_END;
}

bool EndsLogicalLine(char c) { return c == '\n' || c == '\r' || c == '/' || c == '\0'; }

}  // namespace

SourcePosition CursorPosition() {
  const ParseContext& ctx = parseContext;
  const auto offset = static_cast<uint64_t>(ctx.inputCursor - ctx.physicalLineStart);
  return {ctx.physicalLine, static_cast<int32_t>(std::min<uint64_t>(offset + 1, INT32_MAX))};
}

void SetInput(std::span<const uint8_t> bytes) {
  ParseContext& ctx = parseContext;
  ctx.inputStart = bytes.data();
  ctx.inputCursor = bytes.data();
  ctx.inputEnd = bytes.data() + bytes.size();
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
  if (ctx.templateEnded || capacity == 0 || AtInputEnd()) return 0;
  int collected = 0;
  while (collected < capacity - 1 && !AtInputEnd() && *ctx.inputCursor != '\n') {
    buffer[collected++] = static_cast<char>(*ctx.inputCursor++);
  }
  // A line end right after a full piece still belongs to it.
  if (!AtInputEnd() && *ctx.inputCursor == '\n') {
    ++ctx.inputCursor;
    if (ctx.physicalLine < INT32_MAX) ++ctx.physicalLine;
    ctx.physicalLineStart = ctx.inputCursor;
  }
  buffer[collected] = '\0';
  return collected + 1;
}

void NormaliseLine(char* line) {
  if (line[0] == '*') line[0] = ' ';
  bool insideQuotes = false;
  char* out = line;
  for (const char* in = line;; ++in) {
    const char c = *in;
    if (c == '"') insideQuotes = !insideQuotes;
    if (EndsLogicalLine(c)) {
      if (insideQuotes) ReportError(DiagnosticId::kUnexpectedEndOfLine);
      break;
    }
    if (insideQuotes) {
      *out++ = c;
    } else if (c != ' ' && c != '\t') {
      *out++ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  *out = '\0';
}

void SplitValue(const char* line) {
  ParseContext& ctx = parseContext;
  ctx.valueText.clear();
  ctx.quotedText.clear();
  const char* equals = line;
  while (*equals != '\0' && *equals != '=') ++equals;
  if (*equals == '\0') return;
  uint8_t quoteCount = 0;
  for (const char* p = equals + 1;; ++p) {
    const char c = *p;
    ctx.valueText.push_back(c);
    if (c == '"') {
      ++quoteCount;
    } else if (quoteCount == 1) {
      ctx.quotedText.push_back(c);
    }
    if (quoteCount > 2) ReportError(DiagnosticId::kTooManyQuotes);
    if (c == '\0') break;
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
