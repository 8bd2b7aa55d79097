// Number conversions that read exactly as the C library's atoi and scanf
// "%d" and "%x" do, except that a value past the signed 32-bit limits stops
// at the limit instead of overflowing. Each reads either a NUL-terminated
// text or a view, whose end reads as the NUL would: nothing past it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fxt {

enum class ScanStatus : int8_t {
  kEndOfInput = -1,  // nothing but white space before the end of the text
  kNoNumber = 0,     // a character that cannot start the number
  kConverted = 1,
};

struct ScannedNumber {
  ScanStatus status;
  int32_t value;    // 0 unless converted
  const char* end;  // the first character not taken
};

// "%d": white space, an optional sign, decimal digits.
ScannedNumber ScanDecimal(const char* text);
// "%x": white space, an optional sign, an optional 0x or 0X, hex digits.
ScannedNumber ScanHex(const char* text);
// atoi: the value of the leading decimal number, 0 when there is none.
int32_t DecimalValue(const char* text);

// The same within a view; `end` may be the view's end.
ScannedNumber ScanDecimal(std::string_view text);
ScannedNumber ScanHex(std::string_view text);
int32_t DecimalValue(std::string_view text);

// What `text` holds after the characters that its scan took.
inline std::string_view TextAfter(std::string_view text, const ScannedNumber& scanned) {
  return text.substr(static_cast<size_t>(scanned.end - text.data()));
}

}  // namespace fxt
