// Number conversions that read exactly as the C library's atoi and scanf
// "%d" and "%x" do, except that a value past the signed 32-bit limits stops
// at the limit instead of overflowing.
#pragma once

#include <cstdint>

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

}  // namespace fxt
