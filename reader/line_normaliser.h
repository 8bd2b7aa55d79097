// The reader's rules for one piece of a line: a physical line, or 99 bytes of
// a longer one. Its text ends at its line end or at the first '/', '\r' or
// NUL; blanks and tabs outside quotes go, letters outside quotes are
// lowered, a '*' that begins it goes as a blank would, and quoted text stays
// as it was written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "reader/line_scan.h"

namespace fxt {

// A value has at most three quotes that matter: the first two bound the
// quoted text, and the third starts the errors.
inline constexpr int QUOTES_NOTED = 3;

// The normaliser writes the line in whole chunks of 16 bytes: the line it
// writes to needs this much room.
inline constexpr size_t NORMALISED_CAPACITY = 128;

struct NormalisedPiece {
  size_t length = 0;           // of the normalised line, before its NUL
  size_t rawLength = 0;        // the bytes of the piece the line takes, up to its line end
  size_t textLength = 0;       // the bytes before its text ended: at a '/', '\r', NUL or line end
  bool quoteLeftOpen = false;  // its text ended inside quotes
  // Where the line's first '=' and then the first three quotes after it
  // stand in the normalised line; `marks` of them are set.
  int marks = 0;
  std::array<size_t, 1 + QUOTES_NOTED> at{};
};

// Normalises raw[0, available), available at most 99, into `line`. Bytes
// from `readableEnd` on are never read.
void NormalisePiece(const uint8_t* raw, size_t available, const uint8_t* readableEnd, char* line,
                    NormalisedPiece& piece);
// The same for a line whose masks were scanned already: CanScan held.
void NormaliseScannedPiece(const uint8_t* raw, size_t available, const LineMasks& masks, char* line,
                           NormalisedPiece& piece);

// The ways of doing it. Byte by byte does every piece: NormaliseEachByte
// a byte at a time, and NormaliseBytes the same but for the bytes outside
// quotes up to a quote, '=' or the end of the text, which it takes 16 at a
// time where the processor has SSSE3. From the masks of the line's first 64
// bytes is quicker; it does the pieces that end within them, far enough from
// the end of the readable bytes, and answers false for any other. It copies
// the kept bytes in runs, or gathers them with SSSE3's byte shuffle where the
// processor has it (the best way there), and lowers the capitals outside
// quotes where they land; it fills a fresh `piece` (as NormalisedPiece{}
// makes it). All give the same answers.
NormalisedPiece NormaliseBytes(const uint8_t* raw, size_t available, char* line);
NormalisedPiece NormaliseEachByte(const uint8_t* raw, size_t available, char* line);
enum class Compaction : uint8_t { kRuns, kShuffles, kBest };
bool NormaliseMasked(const uint8_t* raw, size_t available, const uint8_t* readableEnd, char* line,
                     NormalisedPiece& piece, Compaction compaction = Compaction::kBest);

}  // namespace fxt
