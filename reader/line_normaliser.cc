#include "reader/line_normaliser.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "reader/byte_words.h"
#include "reader/line_scan.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

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

// What lowers an ASCII capital.
constexpr char CASE_BIT = 0x20;

// Copies `length` bytes in whole chunks: both buffers have room for the
// chunk that the last byte falls in.
void CopyChunks(char* to, const uint8_t* from, size_t length) {
  for (size_t i = 0; i < length; i += SCAN_CHUNK) std::memcpy(to + i, from + i, SCAN_CHUNK);
}

// The byte-by-byte way, a byte (or a quoted text) at a time, so that a
// quicker way can take runs of plain bytes between its steps.
class PieceNormaliser {
 public:
  PieceNormaliser(const uint8_t* raw, size_t available, char* line)
      : raw_(raw), available_(available), line_(line), i_(available > 0 && raw[0] == '*' ? 1 : 0) {}

  bool AtEnd() const { return i_ == available_; }
  size_t Remaining() const { return available_ - i_; }
  const uint8_t* Cursor() const { return raw_ + i_; }
  char* Output() const { return line_ + out_; }
  void Advance(size_t read, size_t written) {
    i_ += read;
    out_ += written;
  }

  // Takes the byte at the cursor, outside quotes, and the quoted text that
  // it opens. False once the piece has ended: `Piece` then holds it.
  bool Step() {
    const uint16_t entry = kOutsideQuotes[raw_[i_]];
    line_[out_] = static_cast<char>(entry);
    out_ += (entry & KEEP) >> 8;
    if ((entry & LOOK) == 0) {
      ++i_;
      return true;
    }
    const char c = static_cast<char>(raw_[i_]);
    if (c == '=') {
      Note(true);
      ++i_;
      return true;
    }
    if (c != '"') return Finish();
    return TakeQuoted();
  }

  // The piece, once a step has ended it or all its bytes are taken.
  const NormalisedPiece& Piece() {
    if (AtEnd() && !finished_) Finish();
    return piece_;
  }

 private:
  const uint8_t* raw_;
  size_t available_;
  char* line_;
  size_t i_;
  size_t out_ = 0;
  bool finished_ = false;
  NormalisedPiece piece_;

  void Note(bool equals) {
    const bool first = piece_.marks == 0;
    if (equals ? first : !first && piece_.marks <= QUOTES_NOTED) {
      piece_.at[static_cast<size_t>(piece_.marks++)] = out_ - 1;
    }
  }

  // Quoted text is kept as it stands, up to the closing quote.
  bool TakeQuoted() {
    Note(false);
    for (++i_;; ++i_) {
      if (i_ == available_) {
        piece_.quoteLeftOpen = true;
        return Finish();
      }
      const uint8_t byte = raw_[i_];
      line_[out_++] = static_cast<char>(byte);
      if (!kInsideQuotes[byte]) continue;
      if (byte == '=') {
        Note(true);
        continue;
      }
      if (byte == '"') break;
      --out_;
      piece_.quoteLeftOpen = true;
      return Finish();
    }
    Note(false);
    ++i_;
    return true;
  }

  // The line takes the piece's bytes up to its line end: past a remark
  // too, which is lost.
  bool Finish() {
    finished_ = true;
    line_[out_] = '\0';
    piece_.length = out_;
    piece_.textLength = i_;
    // An empty piece may have no bytes at all to point at.
    const void* lineEnd = i_ < available_ ? std::memchr(raw_ + i_, '\n', available_ - i_) : nullptr;
    piece_.rawLength = lineEnd == nullptr
                           ? available_
                           : static_cast<size_t>(static_cast<const uint8_t*>(lineEnd) - raw_);
    return false;
  }
};

}  // namespace

NormalisedPiece NormaliseEachByte(const uint8_t* raw, size_t available, char* line) {
  PieceNormaliser normaliser(raw, available, line);
  while (!normaliser.AtEnd() && normaliser.Step()) {
  }
  return normaliser.Piece();
}

// What the masks tell of a line that the quick way does: where it ends,
// which of its bytes it keeps, and where its marks stand in the piece: the
// first '=', then the first three quotes after it.
struct LineShape {
  size_t lineEnd;
  size_t textEnd;
  uint64_t kept;
  uint64_t lowered;  // capitals outside quotes, all of them kept
  std::array<size_t, 1 + QUOTES_NOTED> marks;
  size_t markCount;
  bool quoteLeftOpen;
};

// Bit i tells whether an odd number of quotes stands at or before byte i:
// the byte is quoted, or the quote that opens a quoted text. Taken a pair of
// quotes at a time, as a line holds few: the bits from an opening quote up
// to its closing one are their difference, and to the end of the word when
// it has none.
constexpr uint64_t QuotedBytes(uint64_t quotes) {
  uint64_t quoted = 0;
  while (quotes != 0) {
    const uint64_t opening = quotes & (~quotes + 1);
    quotes &= quotes - 1;
    const uint64_t closing = quotes & (~quotes + 1);
    quotes &= quotes - 1;
    quoted |= closing - opening;
  }
  return quoted;
}

// The masks tell where the text ends, which bytes are quoted, and so which
// blanks go; and where the marks stand.
bool ShapeOf(const uint8_t* raw, size_t available, const LineMasks& masks, LineShape& shape) {
  const uint64_t lineEnds = masks.lineEnd & LowBits(available);
  if (lineEnds != 0) {
    shape.lineEnd = static_cast<size_t>(std::countr_zero(lineEnds));
  } else if (available <= SCAN_BYTES || raw[SCAN_BYTES] == '\n') {
    // A line of exactly 64 bytes ends just past the masks.
    shape.lineEnd = std::min(available, SCAN_BYTES);
  } else {
    return false;
  }
  const uint64_t textEnds = masks.textEnd & LowBits(shape.lineEnd);
  shape.textEnd = textEnds != 0 ? static_cast<size_t>(std::countr_zero(textEnds)) : shape.lineEnd;
  const uint64_t text = LowBits(shape.textEnd);
  const uint64_t quotes = masks.quote & text;
  const uint64_t quoted = quotes != 0 ? QuotedBytes(quotes) & text : 0;
  shape.quoteLeftOpen = shape.textEnd > 0 && ((quoted >> (shape.textEnd - 1)) & 1) != 0;
  shape.lowered = masks.upper & ~quoted & text;
  const uint64_t starred = raw[0] == '*' ? 1 : 0;
  shape.kept = ~((masks.blank | starred) & ~quoted) & text;

  shape.markCount = 0;
  const uint64_t equals = masks.equals & text;
  if (equals == 0) return true;
  const auto first = static_cast<size_t>(std::countr_zero(equals));
  shape.marks[shape.markCount++] = first;
  uint64_t after = quotes & ~LowBits(first + 1);
  for (; after != 0 && shape.markCount <= QUOTES_NOTED; after &= after - 1) {
    shape.marks[shape.markCount++] = static_cast<size_t>(std::countr_zero(after));
  }
  return true;
}

// The line is the runs of kept bytes, one after the other; each mark lands
// where its run does.
size_t CompactRuns(const uint8_t* raw, const LineShape& shape, char* line, NormalisedPiece& piece) {
  size_t nextMark = 0;
  size_t length = 0;
  const uint64_t kept = shape.kept;
  uint64_t ends = kept & ~(kept >> 1);
  for (uint64_t starts = kept & ~(kept << 1); starts != 0; starts &= starts - 1, ends &= ends - 1) {
    const auto first = static_cast<size_t>(std::countr_zero(starts));
    const auto end = static_cast<size_t>(std::countr_zero(ends)) + 1;
    CopyChunks(line + length, raw + first, end - first);
    for (uint64_t capitals = shape.lowered & LowBits(end) & ~LowBits(first); capitals != 0;
         capitals &= capitals - 1) {
      line[length + static_cast<size_t>(std::countr_zero(capitals)) - first] |= CASE_BIT;
    }
    for (; nextMark < shape.markCount && shape.marks[nextMark] < end; ++nextMark) {
      piece.at[nextMark] = length + (shape.marks[nextMark] - first);
    }
    length += end - first;
  }
  return length;
}

#if defined(__x86_64__) || defined(__i386__)
// For each 8-bit mask, the positions of its set bits, in order: the shuffle
// that gathers the bytes it keeps.
constexpr std::array<std::array<uint8_t, 8>, 256> kGathers = [] {
  std::array<std::array<uint8_t, 8>, 256> gathers{};
  for (size_t mask = 0; mask < 256; ++mask) {
    size_t count = 0;
    for (uint8_t bit = 0; bit < 8; ++bit) {
      if ((mask >> bit) & 1) gathers[mask][count++] = bit;
    }
  }
  return gathers;
}();

// The case bit for each byte whose bit is set in `capitals`, of 16 bytes.
[[gnu::target("ssse3")]] __m128i CaseBits(uint16_t capitals) {
  const __m128i spread = _mm_shuffle_epi8(_mm_set1_epi16(static_cast<int16_t>(capitals)),
                                          _mm_set_epi64x(0x0101010101010101, 0));
  const __m128i bits = _mm_set1_epi64x(static_cast<int64_t>(0x8040201008040201));
  const __m128i set = _mm_cmpeq_epi8(_mm_and_si128(spread, bits), bits);
  return _mm_and_si128(set, _mm_set1_epi8(CASE_BIT));
}

// The bytes of a chunk of 16 whose bits are set in `kept`, gathered in one
// step with SSSE3's byte shuffle, those set in `capitals` lowered. It writes
// 16 bytes to `to`, of which it returns how many count.
[[gnu::target("ssse3,popcnt")]] size_t GatherChunk(const uint8_t* chunk, uint16_t kept,
                                                   uint16_t capitals, char* to) {
  const uint32_t low = kept & 0xFFu;
  const uint32_t high = kept >> 8;
  const __m128i lowOrder = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kGathers[low].data()));
  const __m128i highOrder = _mm_add_epi8(
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kGathers[high].data())), _mm_set1_epi8(8));
  __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk));
  if (capitals != 0) bytes = _mm_or_si128(bytes, CaseBits(capitals));
  const __m128i gathered = _mm_shuffle_epi8(bytes, _mm_unpacklo_epi64(lowOrder, highOrder));
  const auto lowCount = static_cast<size_t>(__builtin_popcount(low));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(to), gathered);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(to + lowCount),
                   _mm_unpackhi_epi64(gathered, gathered));
  return lowCount + static_cast<size_t>(__builtin_popcount(high));
}

// The same for a whole line: each chunk of 16 bytes is gathered in one
// step, whatever its runs. A mark lands after the kept bytes before it.
[[gnu::target("ssse3,popcnt")]] size_t CompactShuffled(const uint8_t* raw, const LineShape& shape,
                                                       char* line, NormalisedPiece& piece) {
  size_t length = 0;
  for (size_t offset = 0; offset < shape.textEnd; offset += SCAN_CHUNK) {
    length += GatherChunk(raw + offset, static_cast<uint16_t>(shape.kept >> offset),
                          static_cast<uint16_t>(shape.lowered >> offset), line + length);
  }
  for (size_t m = 0; m < shape.markCount; ++m) {
    // A mark stands within the masks' 64 bytes, so the shift is in range.
    const uint64_t before = (uint64_t{1} << shape.marks[m]) - 1;
    piece.at[m] = static_cast<size_t>(__builtin_popcountll(shape.kept & before));
  }
  return length;
}

bool CanShuffle() {
  static const bool can = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
  return can;
}
#endif

#if defined(__x86_64__) || defined(__i386__)
// The run of plain bytes that a chunk of 16 starts with: those before its
// first quote, '=' or byte that ends the text, its blanks gone and its
// capitals lowered. Long lines are mostly such runs.
struct PlainRun {
  size_t read;
  size_t written;
};

[[gnu::target("ssse3,popcnt")]] PlainRun TakePlainRun(const uint8_t* chunk, char* to) {
  const ChunkMasks masks = ClassifyChunk(chunk);
  constexpr uint32_t kPastChunk = uint32_t{1} << SCAN_CHUNK;
  const uint32_t looks = masks.lineEnd | masks.quote | masks.equals | masks.textEnd | kPastChunk;
  const auto read = static_cast<size_t>(std::countr_zero(looks));
  const uint32_t run = (uint32_t{1} << read) - 1;
  const auto kept = static_cast<uint16_t>(~masks.blank & run);
  const auto capitals = static_cast<uint16_t>(masks.upper & run);
  return {read, GatherChunk(chunk, kept, capitals, to)};
}

// The byte-by-byte way, with the runs of plain bytes taken a chunk at a time
// while a whole chunk is left to read.
[[gnu::target("ssse3,popcnt")]] NormalisedPiece NormaliseInChunks(const uint8_t* raw,
                                                                  size_t available, char* line) {
  PieceNormaliser normaliser(raw, available, line);
  while (!normaliser.AtEnd()) {
    if (normaliser.Remaining() >= SCAN_CHUNK) {
      const PlainRun run = TakePlainRun(normaliser.Cursor(), normaliser.Output());
      normaliser.Advance(run.read, run.written);
      if (run.read == SCAN_CHUNK) continue;
    }
    if (!normaliser.Step()) break;
  }
  return normaliser.Piece();
}
#endif

NormalisedPiece NormaliseBytes(const uint8_t* raw, size_t available, char* line) {
#if defined(__x86_64__) || defined(__i386__)
  if (CanShuffle()) return NormaliseInChunks(raw, available, line);
#endif
  return NormaliseEachByte(raw, available, line);
}

// The line from its masks, or false when they cannot tell its shape.
bool NormaliseFromMasks(const uint8_t* raw, size_t available, const LineMasks& masks, char* line,
                        NormalisedPiece& piece, Compaction compaction) {
  LineShape shape;
  if (!ShapeOf(raw, available, masks, shape)) return false;
  size_t length = 0;
#if defined(__x86_64__) || defined(__i386__)
  if (compaction == Compaction::kShuffles && !CanShuffle()) return false;
  if (compaction == Compaction::kShuffles || (compaction == Compaction::kBest && CanShuffle())) {
    length = CompactShuffled(raw, shape, line, piece);
  } else {
    length = CompactRuns(raw, shape, line, piece);
  }
#else
  if (compaction == Compaction::kShuffles) return false;
  length = CompactRuns(raw, shape, line, piece);
#endif
  line[length] = '\0';
  piece.length = length;
  piece.rawLength = shape.lineEnd;
  piece.textLength = shape.textEnd;
  piece.quoteLeftOpen = shape.quoteLeftOpen;
  piece.marks = static_cast<int>(shape.markCount);
  return true;
}

bool NormaliseMasked(const uint8_t* raw, size_t available, const uint8_t* readableEnd, char* line,
                     NormalisedPiece& piece, Compaction compaction) {
  if (!CanScan(raw, readableEnd)) return false;
  return NormaliseFromMasks(raw, available, ScanLine(raw), line, piece, compaction);
}

void NormaliseScannedPiece(const uint8_t* raw, size_t available, const LineMasks& masks, char* line,
                           NormalisedPiece& piece) {
  piece = NormalisedPiece{};
  if (NormaliseFromMasks(raw, available, masks, line, piece, Compaction::kBest)) return;
  piece = NormaliseBytes(raw, available, line);
}

void NormalisePiece(const uint8_t* raw, size_t available, const uint8_t* readableEnd, char* line,
                    NormalisedPiece& piece) {
  if (CanScan(raw, readableEnd))
    return NormaliseScannedPiece(raw, available, ScanLine(raw), line, piece);
  piece = NormaliseBytes(raw, available, line);
}

}  // namespace fxt
