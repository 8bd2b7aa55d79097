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

// What the reader makes of each byte outside quotes: the byte it writes
// (letters lowered), whether the write is kept, and whether the byte needs
// a closer look (a quote, the first '=', or the end of the line's text).
constexpr uint16_t KEEP = 0x100;
constexpr uint16_t LOOK = 0x200;

constexpr std::array<uint16_t, 256> kOutsideQuotes = [] {
  std::array<uint16_t, 256> outside{};
  for (int c = 0; c < 256; ++c) {
    const int lowered = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
    outside[static_cast<size_t>(c)] = static_cast<uint16_t>(lowered | KEEP);
  }
  outside[' '] = outside['\t'] = 0;  // blanks and tabs are dropped
  for (const char c : {'\n', '\r', '/', '\0'}) outside[static_cast<uint8_t>(c)] = LOOK;
  outside['"'] |= LOOK;
  outside['='] |= LOOK;
  return outside;
}();

// The bytes that need a closer look inside quotes: all of them end the
// quoted text but '=', whose first appearance is noted.
constexpr std::array<bool, 256> kInsideQuotes = [] {
  std::array<bool, 256> inside{};
  for (const char c : {'\n', '\r', '/', '\0', '"', '='}) inside[static_cast<uint8_t>(c)] = true;
  return inside;
}();

// A value has at most three quotes that matter: the first two bound the
// quoted text, and the third starts the errors.
constexpr int QUOTES_NOTED = 3;

// What normalising one line noted besides its text.
struct LineShape {
  size_t length = 0;                               // of the normalised text
  const char* equals = nullptr;                    // the first '=', or null
  std::array<const char*, QUOTES_NOTED> quotes{};  // the value's first quotes
  int quoteCount = 0;
};

// Moves the cursor past `length` bytes of a piece and, when one follows
// directly, past the line end that closes it.
void AdvancePast(size_t length) {
  ParseContext& ctx = parseContext;
  ctx.inputCursor += length;
  if (ctx.inputCursor != ctx.inputStop && *ctx.inputCursor == '\n') {
    ++ctx.inputCursor;
    if (ctx.physicalLine < INT32_MAX) ++ctx.physicalLine;
    ctx.physicalLineStart = ctx.inputCursor;
  }
}

// Where normalising stopped in the raw bytes, and why.
enum class Stopped : uint8_t {
  kLineEnd,    // at a '\n', which closes the piece
  kTextEnd,    // at '\r', '/' or NUL: the piece runs on to its line end
  kPieceFull,  // every byte of the piece was taken
};

struct Normalised {
  size_t scanned;  // raw bytes taken before the stop
  Stopped stopped;
};

Stopped StopAt(uint8_t byte) { return byte == '\n' ? Stopped::kLineEnd : Stopped::kTextEnd; }

// Normalises raw[0, available) into `line` while it copies: '*' first,
// remarks, blanks and case outside quotes; quoted text as it stands. Notes
// the first '=' and the value's quotes on the way, for SplitValue. A load
// reports a quote left open; a tool that only looks at the line does not.
template <bool kReports>
Normalised NormaliseLine(const uint8_t* raw, size_t available, char* line, LineShape& shape) {
  char* out = line;
  size_t i = available > 0 && raw[0] == '*' ? 1 : 0;
  const auto noteQuote = [&shape](const char* quote) {
    if (shape.equals != nullptr && shape.quoteCount < QUOTES_NOTED) {
      shape.quotes[static_cast<size_t>(shape.quoteCount++)] = quote;
    }
  };
  const auto finish = [&](size_t at, Stopped stopped) {
    *out = '\0';
    shape.length = static_cast<size_t>(out - line);
    return Normalised{at, stopped};
  };
  while (i < available) {
    const uint16_t entry = kOutsideQuotes[raw[i]];
    *out = static_cast<char>(entry);
    out += (entry & KEEP) >> 8;
    if ((entry & LOOK) == 0) {
      ++i;
      continue;
    }
    const char c = static_cast<char>(raw[i]);
    if (c == '=') {
      if (shape.equals == nullptr) shape.equals = out - 1;
      ++i;
      continue;
    }
    if (c != '"') return finish(i, StopAt(raw[i]));
    // Quoted text is kept as it stands, up to the closing quote.
    noteQuote(out - 1);
    for (++i;; ++i) {
      if (i == available) {
        if constexpr (kReports) ReportError(DiagnosticId::kUnexpectedEndOfLine);
        return finish(i, Stopped::kPieceFull);
      }
      const uint8_t byte = raw[i];
      *out++ = static_cast<char>(byte);
      if (!kInsideQuotes[byte]) continue;
      if (byte == '=') {
        if (shape.equals == nullptr) shape.equals = out - 1;
        continue;
      }
      if (byte == '"') break;
      --out;
      if constexpr (kReports) ReportError(DiagnosticId::kUnexpectedEndOfLine);
      return finish(i, StopAt(byte));
    }
    noteQuote(out - 1);
    ++i;
  }
  return finish(i, Stopped::kPieceFull);
}

void SplitValue(const LineShape& shape) {
  ParseContext& ctx = parseContext;
  if (shape.equals == nullptr) {
    ctx.valueText = {};
    ctx.quotedText.clear();
    return;
  }
  // The value's terminating NUL is part of it, and counts in its length.
  const char* value = shape.equals + 1;
  const char* end = ctx.lineBuffer + shape.length + 1;
  ctx.valueText = {value, static_cast<size_t>(end - value)};
  if (shape.quoteCount == 0) {
    ctx.quotedText.clear();
    return;
  }
  // Text between the first two quotes; a quote never closed takes the rest.
  const char* first = shape.quotes[0] + 1;
  const char* second = shape.quoteCount > 1 ? shape.quotes[1] : end;
  ctx.quotedText.assign(first, static_cast<size_t>(second - first));
  // From the third quote on, every character of the value is one error.
  if (shape.quoteCount > 2) {
    ReportErrorTimes(DiagnosticId::kTooManyQuotes, static_cast<int32_t>(end - shape.quotes[2]));
  }
}
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
  if (ctx.templateEnded || ctx.inputCursor == ctx.inputStop) return false;
  ctx.linePosition = CursorPosition();
  if (ctx.lineNumber < INT32_MAX) ++ctx.lineNumber;
  const uint8_t* raw = ctx.inputCursor;
  const size_t available =
      std::min<size_t>(LINE_CAPACITY - 1, static_cast<size_t>(ctx.inputStop - raw));
  LineShape shape;
  const Normalised normalised = NormaliseLine<true>(raw, available, ctx.lineBuffer, shape);
  size_t length = normalised.scanned;
  if (normalised.stopped == Stopped::kTextEnd) {
    // The rest of the piece, up to its line end, is a remark or lost text.
    const void* lineEnd = std::memchr(raw + length, '\n', available - length);
    length = lineEnd == nullptr ? available
                                : static_cast<size_t>(static_cast<const uint8_t*>(lineEnd) - raw);
  }
  ctx.rawLine = {reinterpret_cast<const char*>(raw), length};
  AdvancePast(length);
  SplitValue(shape);
  return true;
}

size_t NormaliseLinePiece(std::string_view bytes, std::string& normalised) {
  const size_t piece = std::min<size_t>(LINE_CAPACITY - 1, bytes.size());
  std::array<char, LINE_CAPACITY> line;  // filled by the normalising
  LineShape shape;
  NormaliseLine<false>(reinterpret_cast<const uint8_t*>(bytes.data()), piece, line.data(), shape);
  normalised.assign(line.data(), shape.length);
  return piece;
}

bool ValueIsNumber() {
  const std::string_view value = parseContext.valueText;
  if (value.empty() || !IsDigit(value[0])) return false;
  for (size_t i = 1; i < value.size(); ++i) {
    if (!IsDigit(value[i]) && value[i] != '\0') return false;
  }
  return true;
}

}  // namespace fxt
