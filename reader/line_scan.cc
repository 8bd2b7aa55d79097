#include "reader/line_scan.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "reader/blank.h"
#include "reader/byte_words.h"

namespace fxt {
namespace {

template <ChunkMasks (*classify)(const uint8_t* chunk)>
LineMasks ScanWith(const uint8_t* raw) {
  LineMasks masks;
  for (size_t shift = 0; shift < SCAN_BYTES; shift += SCAN_CHUNK) {
    const ChunkMasks chunk = classify(raw + shift);
    masks.lineEnd |= uint64_t{chunk.lineEnd} << shift;
    masks.blank |= uint64_t{chunk.blank} << shift;
    masks.quote |= uint64_t{chunk.quote} << shift;
    masks.equals |= uint64_t{chunk.equals} << shift;
    masks.textEnd |= uint64_t{chunk.textEnd} << shift;
    masks.upper |= uint64_t{chunk.upper} << shift;
    if (chunk.lineEnd != 0) break;
  }
  return masks;
}

// The high bit of each byte, gathered into bits 0 to 7.
constexpr uint32_t GatherHighBits(uint64_t marks) {
  return static_cast<uint32_t>(((marks >> 7) * 0x0102040810204080u) >> 56);
}

// Eight bytes as a word whose byte i holds the i-th of them, whatever the
// processor's byte order.
uint64_t LoadWord(const uint8_t* bytes) {
  uint64_t word = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&word, bytes, sizeof word);
  } else {
    for (size_t i = 0; i < 8; ++i) word |= uint64_t{bytes[i]} << (8 * i);
  }
  return word;
}

ChunkMasks ClassifyWords(const uint8_t* chunk) {
  ChunkMasks masks{};
  for (size_t half = 0; half < SCAN_CHUNK / 8; ++half) {
    const uint64_t word = LoadWord(chunk + half * 8);
    const auto place = [half](uint64_t marks) { return GatherHighBits(marks) << (half * 8); };
    masks.lineEnd |= place(BytesEqual(word, '\n'));
    masks.blank |= place(BlankBytes(word));
    masks.quote |= place(BytesEqual(word, '"'));
    masks.equals |= place(BytesEqual(word, '='));
    masks.textEnd |= place(BytesEqual(word, '/') | BytesEqual(word, '\r') | ZeroBytes(word));
    masks.upper |= place(UpperBytes(word));
  }
  return masks;
}

#if defined(__SSE2__)
ChunkMasks ClassifySse2(const uint8_t* chunk) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk));
  const auto equal = [bytes](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
  const auto bits = [](__m128i marks) { return static_cast<uint32_t>(_mm_movemask_epi8(marks)); };
  const __m128i textEnd = _mm_or_si128(_mm_or_si128(equal('/'), equal('\r')), equal('\0'));
  // 'A' to 'Z' are the bytes whose distance from 'A', taken unsigned, is at
  // most 25.
  const __m128i fromA = _mm_sub_epi8(bytes, _mm_set1_epi8('A'));
  const __m128i upper = _mm_cmpeq_epi8(_mm_min_epu8(fromA, _mm_set1_epi8(25)), fromA);
  return {
      bits(equal('\n')), bits(_mm_or_si128(equal(' '), equal('\t'))),
      bits(equal('"')),  bits(equal('=')),
      bits(textEnd),     bits(upper),
  };
}
#endif

}  // namespace

LineMasks ScanLineWords(const uint8_t* raw) { return ScanWith<ClassifyWords>(raw); }

#if defined(__SSE2__)
LineMasks ScanLineSse2(const uint8_t* raw) { return ScanWith<ClassifySse2>(raw); }
#endif

ChunkMasks ClassifyChunk(const uint8_t* chunk) {
#if defined(__SSE2__)
  return ClassifySse2(chunk);
#else
  return ClassifyWords(chunk);
#endif
}

LineMasks ScanLine(const uint8_t* raw) { return ScanWith<ClassifyChunk>(raw); }

}  // namespace fxt
