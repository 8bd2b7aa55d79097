#include "reader/number_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

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

// A text read up to its NUL.
struct NulEndedText {
  static char At(const char* p) { return *p; }
};

// A text read up to the end of its view, which reads as the NUL would: no
// byte past it is touched.
struct ViewText {
  const char* end;
  char At(const char* p) const { return p < end ? *p : '\0'; }
};

// Accumulates digits of the base from `p`, stopping the magnitude past the
// 32-bit range so that it can neither overflow nor lose its sign.
template <int kBase, typename Text>
const char* ReadDigits(const Text& text, const char* p, int64_t& magnitude) {
  constexpr int64_t kCap = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (int digit; (digit = DigitValue<kBase>(text.At(p))) >= 0; ++p) {
    magnitude = std::min(magnitude * kBase + digit, kCap);
  }
  return p;
}

int32_t Saturate(bool negative, int64_t magnitude) {
  const int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

template <int kBase, typename Text>
ScannedNumber Scan(const Text& text, const char* start) {
  const char* p = start;
  while (IsCSpace(text.At(p))) ++p;
  if (text.At(p) == '\0') return {ScanStatus::kEndOfInput, 0, p};
  const bool negative = text.At(p) == '-';
  if (negative || text.At(p) == '+') ++p;
  // After "0x" the number has begun: no hex digit after it still reads 0.
  bool began = false;
  if (kBase == 16 && text.At(p) == '0' && (text.At(p + 1) == 'x' || text.At(p + 1) == 'X')) {
    p += 2;
    began = true;
  }
  int64_t magnitude = 0;
  const char* end = ReadDigits<kBase>(text, p, magnitude);
  if (end == p && !began) return {ScanStatus::kNoNumber, 0, start};
  return {ScanStatus::kConverted, Saturate(negative, magnitude), end};
}

template <typename Text>
int32_t LeadingDecimal(const Text& text, const char* start) {
  // Most texts that hold no number say so at their first byte.
  const char first = text.At(start);
  if (!IsCSpace(first) && first != '-' && first != '+' && DigitValue<10>(first) < 0) return 0;
  const ScannedNumber scanned = Scan<10>(text, start);
  return scanned.status == ScanStatus::kConverted ? scanned.value : 0;
}

ViewText TextOf(std::string_view view) { return {view.data() + view.size()}; }

}  // namespace

ScannedNumber ScanDecimal(const char* text) { return Scan<10>(NulEndedText{}, text); }

ScannedNumber ScanHex(const char* text) { return Scan<16>(NulEndedText{}, text); }

int32_t DecimalValue(const char* text) { return LeadingDecimal(NulEndedText{}, text); }

ScannedNumber ScanDecimal(std::string_view text) { return Scan<10>(TextOf(text), text.data()); }

ScannedNumber ScanHex(std::string_view text) { return Scan<16>(TextOf(text), text.data()); }

int32_t DecimalValue(std::string_view text) { return LeadingDecimal(TextOf(text), text.data()); }

}  // namespace fxt
