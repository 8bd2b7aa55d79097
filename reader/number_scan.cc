#include "reader/number_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace fxt {
namespace {

// ' ', and '\t', '\n', '\v', '\f', '\r', which stand together in the code.
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Each byte's value as a digit of any base up to 36; 36 for no digit.
constexpr std::array<uint8_t, 256> kDigitValues = [] {
  std::array<uint8_t, 256> values{};
  values.fill(36);
  for (int c = '0'; c <= '9'; ++c) values[static_cast<size_t>(c)] = static_cast<uint8_t>(c - '0');
  for (size_t letter = 0; letter < 26; ++letter) {
    const auto value = static_cast<uint8_t>(letter + 10);
    values['a' + letter] = value;
    values['A' + letter] = value;
  }
  return values;
}();

template <int kBase>
int DigitValue(char c) {
  const int value = kDigitValues[static_cast<uint8_t>(c)];
  return value < kBase ? value : -1;
}

// Accumulates digits of the base from `p`, stopping the magnitude past the
// 32-bit range so that it can neither overflow nor lose its sign.
template <int kBase>
const char* ReadDigits(const char* p, int64_t& magnitude) {
  constexpr int64_t kCap = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (int digit; (digit = DigitValue<kBase>(*p)) >= 0; ++p) {
    magnitude = std::min(magnitude * kBase + digit, kCap);
  }
  return p;
}

int32_t Saturate(bool negative, int64_t magnitude) {
  const int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

template <int kBase>
ScannedNumber Scan(const char* text) {
  const char* p = text;
  while (IsCSpace(*p)) ++p;
  if (*p == '\0') return {ScanStatus::kEndOfInput, 0, p};
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // After "0x" the number has begun: no hex digit after it still reads 0.
  bool began = false;
  if (kBase == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    p += 2;
    began = true;
  }
  int64_t magnitude = 0;
  const char* end = ReadDigits<kBase>(p, magnitude);
  if (end == p && !began) return {ScanStatus::kNoNumber, 0, text};
  return {ScanStatus::kConverted, Saturate(negative, magnitude), end};
}

}  // namespace

ScannedNumber ScanDecimal(const char* text) { return Scan<10>(text); }

ScannedNumber ScanHex(const char* text) { return Scan<16>(text); }

int32_t DecimalValue(const char* text) {
  // Most texts that hold no number say so at their first byte.
  const char first = *text;
  if (!IsCSpace(first) && first != '-' && first != '+' && DigitValue<10>(first) < 0) return 0;
  const ScannedNumber scanned = ScanDecimal(text);
  return scanned.status == ScanStatus::kConverted ? scanned.value : 0;
}

}  // namespace fxt
