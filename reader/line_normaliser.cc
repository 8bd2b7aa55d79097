#include "reader/line_normaliser.h"

#include <bit>
#include <cstring>

#include "reader/line_scan.h"

namespace fxt {
namespace {

// What the byte-by-byte way makes of each byte outside quotes: the byte it
// writes (letters lowered), whether the write is kept, and whether the byte
// needs a closer look (a quote, the first '=', or the end of the line's text).
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

constexpr size_t NOT_FOUND = SIZE_MAX;

// Bits [0, count) of a word.
constexpr uint64_t LowBits(size_t count) {
  return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
}

// Copies `length` bytes in whole chunks: both buffers have room for the
// chunk that the last byte falls in.
void CopyChunks(char* to, const uint8_t* from, size_t length) {
  for (size_t i = 0; i < length; i += SCAN_CHUNK) std::memcpy(to + i, from + i, SCAN_CHUNK);
}

}  // namespace

NormalisedPiece NormaliseBytes(const uint8_t* raw, size_t available, char* line) {
  NormalisedPiece piece;
  size_t out = 0;
  size_t i = available > 0 && raw[0] == '*' ? 1 : 0;
  const auto note = [&piece, &out](bool equals) {
    const bool first = piece.marks == 0;
    if (equals ? first : !first && piece.marks <= QUOTES_NOTED) {
      piece.at[static_cast<size_t>(piece.marks++)] = out - 1;
    }
  };
  // The line takes the piece's bytes up to its line end: past a remark
  // too, which is lost.
  const auto finish = [&](size_t at) {
    line[out] = '\0';
    piece.length = out;
    const void* lineEnd = std::memchr(raw + at, '\n', available - at);
    piece.rawLength = lineEnd == nullptr
                          ? available
                          : static_cast<size_t>(static_cast<const uint8_t*>(lineEnd) - raw);
    return piece;
  };
  while (i < available) {
    const uint16_t entry = kOutsideQuotes[raw[i]];
    line[out] = static_cast<char>(entry);
    out += (entry & KEEP) >> 8;
    if ((entry & LOOK) == 0) {
      ++i;
      continue;
    }
    const char c = static_cast<char>(raw[i]);
    if (c == '=') {
      note(true);
      ++i;
      continue;
    }
    if (c != '"') return finish(i);
    // Quoted text is kept as it stands, up to the closing quote.
    note(false);
    for (++i;; ++i) {
      if (i == available) {
        piece.quoteLeftOpen = true;
        return finish(i);
      }
      const uint8_t byte = raw[i];
      line[out++] = static_cast<char>(byte);
      if (!kInsideQuotes[byte]) continue;
      if (byte == '=') {
        note(true);
        continue;
      }
      if (byte == '"') break;
      --out;
      piece.quoteLeftOpen = true;
      return finish(i);
    }
    note(false);
    ++i;
  }
  return finish(i);
}

// The bytes to look at are few in a line: its '=', its quotes and whatever
// ends its text. They tell which bytes are quoted; the line is then the
// piece's bytes up to the text's end less the blanks outside quotes, copied
// in runs.
bool NormaliseMasked(const uint8_t* raw, size_t available, const uint8_t* readableEnd, char* line,
                     NormalisedPiece& piece) {
  // The scan reads 64 bytes, and a run's copy reads up to a chunk past them.
  if (static_cast<size_t>(readableEnd - raw) < SCAN_BYTES + SCAN_CHUNK) return false;
  const LineMasks masks = ScanLine(raw);
  const uint64_t lineEnds = masks.lineEnd & LowBits(available);
  if (lineEnds == 0 && available > SCAN_BYTES) return false;
  const size_t lineEnd =
      lineEnds != 0 ? static_cast<size_t>(std::countr_zero(lineEnds)) : available;

  // The marks, in order: the line's first '=', then the first three quotes
  // after it; and what ends the text.
  size_t textEnd = lineEnd;
  std::array<size_t, 1 + QUOTES_NOTED + 1> marks{};
  size_t markCount = 0;
  size_t open = NOT_FOUND;
  uint64_t quoted = 0;
  for (uint64_t marked = masks.marked & LowBits(lineEnd); marked != 0; marked &= marked - 1) {
    const auto at = static_cast<size_t>(std::countr_zero(marked));
    const uint8_t byte = raw[at];
    if (byte == '=') {
      if (markCount == 0) marks[markCount++] = at;
    } else if (byte == '"') {
      if (markCount != 0 && markCount <= QUOTES_NOTED) marks[markCount++] = at;
      if (open == NOT_FOUND) {
        open = at;
      } else {
        quoted |= LowBits(at) & ~LowBits(open);
        open = NOT_FOUND;
      }
    } else {
      textEnd = at;
      break;
    }
  }
  if (open != NOT_FOUND) {
    quoted |= LowBits(textEnd) & ~LowBits(open);
    piece.quoteLeftOpen = true;
  }
  const uint64_t text = LowBits(textEnd);
  // Capitals outside quotes are lowered byte by byte.
  if ((masks.upper & ~quoted & text) != 0) return false;

  // The line is the runs of kept bytes, one after the other. Each mark
  // lands where its run does.
  const uint64_t starred = raw[0] == '*' ? 1 : 0;
  const uint64_t kept = ~((masks.blank | starred) & ~quoted) & text;
  marks[markCount] = NOT_FOUND;
  size_t nextMark = 0;
  size_t length = 0;
  uint64_t ends = kept & ~(kept >> 1);
  for (uint64_t starts = kept & ~(kept << 1); starts != 0; starts &= starts - 1, ends &= ends - 1) {
    const auto first = static_cast<size_t>(std::countr_zero(starts));
    const auto end = static_cast<size_t>(std::countr_zero(ends)) + 1;
    CopyChunks(line + length, raw + first, end - first);
    for (; marks[nextMark] < end; ++nextMark)
      piece.at[nextMark] = length + (marks[nextMark] - first);
    length += end - first;
  }
  line[length] = '\0';
  piece.length = length;
  piece.rawLength = lineEnd;
  piece.marks = static_cast<int>(markCount);
  return true;
}

void NormalisePiece(const uint8_t* raw, size_t available, const uint8_t* readableEnd, char* line,
                    NormalisedPiece& piece) {
  piece = NormalisedPiece{};
  if (NormaliseMasked(raw, available, readableEnd, line, piece)) return;
  piece = NormaliseBytes(raw, available, line);
}

}  // namespace fxt
