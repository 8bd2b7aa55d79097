// The first 64 bytes of a template line, classified in one pass: where its
// line end, blanks, quotes, '=', the bytes that end its text and the capital
// letters stand, as bit masks (bit i for byte i). The normaliser cuts,
// compacts and splits a line from these without looking at its bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fxt {

// The bytes are read in chunks of this many, up to the chunk that holds the
// first line end: a line of up to 64 bytes costs one to four chunks.
inline constexpr size_t SCAN_CHUNK = 16;
inline constexpr size_t SCAN_BYTES = 64;

struct LineMasks {
  uint64_t lineEnd = 0;  // '\n'
  uint64_t blank = 0;    // ' ' and '\t'
  uint64_t quote = 0;    // '"'
  uint64_t equals = 0;   // '='
  uint64_t textEnd = 0;  // '/', '\r' and NUL: each ends a line's text
  uint64_t upper = 0;    // 'A' to 'Z'
};

// What one chunk holds, a bit per byte, as LineMasks has it.
struct ChunkMasks {
  uint32_t lineEnd;
  uint32_t blank;
  uint32_t quote;
  uint32_t equals;
  uint32_t textEnd;
  uint32_t upper;
};

// Classifies the SCAN_CHUNK bytes from `chunk`, all readable.
ChunkMasks ClassifyChunk(const uint8_t* chunk);

// The scan reads 64 bytes, and those who read a line from its masks read
// up to a chunk past them: so many must be readable from `raw`.
inline bool CanScan(const uint8_t* raw, const uint8_t* readableEnd) {
  return static_cast<size_t>(readableEnd - raw) >= SCAN_BYTES + SCAN_CHUNK;
}

// Classifies raw[0, 64) up to and including the chunk that holds the first
// '\n'; the bits of the chunks after it stay clear. All 64 bytes must be
// readable.
LineMasks ScanLine(const uint8_t* raw);

// The two ways of doing it: with SSE2, where the processor has it, and with
// plain 64-bit words anywhere else. ScanLine is one of them; both give the
// same answers.
LineMasks ScanLineWords(const uint8_t* raw);
#if defined(__SSE2__)
LineMasks ScanLineSse2(const uint8_t* raw);
#endif

}  // namespace fxt
