#include "reader/line_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>

#include "reader/line_in_place.h"
#include "reader/line_normaliser.h"
#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

// valueText and quotedText from where the line's '=' and the value's quotes
// landed.
void SplitValue(const NormalisedPiece& piece) {
  ParseContext& ctx = parseContext;
  ctx.valueQuote = std::string_view::npos;
  ctx.valueGiven = piece.marks != 0 ? 1 : 0;
  if (piece.marks == 0) {
    ctx.valueText = {};
    ctx.quotedText = {};
    return;
  }
  // The quotes read on through the line's NUL: a quote never closed takes it
  // into quotedText, and it is one of the characters after a third quote.
  const char* line = ctx.lineBuffer;
  const size_t end = piece.length + 1;
  const size_t value = piece.at[0] + 1;
  ctx.valueText = {line + value, piece.length - value};
  const int quotes = piece.marks - 1;
  if (quotes == 0) {
    ctx.quotedText = {};
    return;
  }
  // Text between the first two quotes; a quote never closed takes the rest.
  ctx.valueQuote = piece.at[1] - value;
  const size_t first = piece.at[1] + 1;
  const size_t second = quotes > 1 ? piece.at[2] : end;
  ctx.quotedText = {line + first, second - first};
  // From the third quote on, every character of the value is one error.
  if (quotes > 2) {
    ReportErrorTimes(DiagnosticId::kTooManyQuotes, static_cast<int32_t>(end - piece.at[3]));
  }
}

// The line's texts from a line normalised into lineBuffer.
void TakeNormalisedLine(const uint8_t* raw, const NormalisedPiece& piece) {
  ParseContext& ctx = parseContext;
  ctx.lineReadInPlace = 0;
  if (piece.quoteLeftOpen) ReportError(DiagnosticId::kUnexpectedEndOfLine);
  ctx.lineLength = piece.length;
  ctx.rawLine = {reinterpret_cast<const char*>(raw), piece.rawLength};
  AdvancePast(piece.rawLength);
  SplitValue(piece);
}

// The line's texts from a line read in place.
void TakeLineInPlace(const uint8_t* raw) {
  ParseContext& ctx = parseContext;
  const LineInPlace& line = ctx.lineInPlace;
  ctx.lineLength = line.length;
  ctx.lineReadInPlace = 1;
  ctx.rawLine = {reinterpret_cast<const char*>(raw), line.rawLength};
  ctx.valueText = line.value;
  ctx.valueGiven = line.valueGiven ? 1 : 0;
  ctx.quotedText = line.quoted;
  ctx.valueQuote = line.valueQuote;
  AdvancePast(line.rawLength);
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
  if (!CanScan(raw, ctx.inputEnd)) {
    TakeNormalisedLine(raw, NormaliseBytes(raw, available, ctx.lineBuffer));
    return true;
  }
  // One scan serves both readings.
  const LineMasks masks = ScanLine(raw);
  if (!ctx.normaliseEveryLine && ReadLineInPlace(raw, available, masks, ctx.lineInPlace)) {
    TakeLineInPlace(raw);
    return true;
  }
  NormalisedPiece piece;
  NormaliseScannedPiece(raw, available, masks, ctx.lineBuffer, piece);
  TakeNormalisedLine(raw, piece);
  return true;
}

size_t NormaliseLinePiece(std::string_view bytes, std::string& normalised) {
  const size_t piece = std::min<size_t>(LINE_CAPACITY - 1, bytes.size());
  std::array<char, NORMALISED_CAPACITY> line;  // filled by the normalising
  const NormalisedPiece normalisedPiece =
      NormaliseBytes(reinterpret_cast<const uint8_t*>(bytes.data()), piece, line.data());
  normalised.assign(line.data(), normalisedPiece.length);
  return piece;
}

LinePiece NormaliseLinePiece(std::string_view bytes, const char* readableEnd,
                             std::span<char, NORMALISED_CAPACITY> normalised) {
  const size_t piece = std::min<size_t>(LINE_CAPACITY - 1, bytes.size());
  NormalisedPiece normalisedPiece;
  NormalisePiece(reinterpret_cast<const uint8_t*>(bytes.data()), piece,
                 reinterpret_cast<const uint8_t*>(readableEnd), normalised.data(), normalisedPiece);
  return {piece, normalisedPiece.rawLength, normalisedPiece.length, normalisedPiece.quoteLeftOpen,
          normalisedPiece.textLength};
}

bool ValueIsNumber() {
  const std::string_view value = parseContext.valueText;
  return !value.empty() && std::all_of(value.begin(), value.end(), IsDigit);
}

}  // namespace fxt
