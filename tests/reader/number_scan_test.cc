#include "reader/number_scan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace fxt {
namespace {

// Within the 32-bit range the conversions read exactly as the C library's.
const char* const kTexts[] = {
    "",      " ",     "\v\f",       "0",  "7",    "  42x", "+5",   "-7",    "+",
    "-",     "x1",    "-x1",        "0x", "0xg",  "0x1f",  "0X1F", "-0x10", "+0x5",
    "5x",    "ax1",   "1f",         "ff", "12ab", "0x 5",  "1.5",  "-1.5",  "a",
    "00012", " 0x10", "2147483647", ",3", "\t9",  "\r\n8", "=1",
};

TEST(NumberScan, DecimalReadsAsScanfPercentD) {
  for (const char* text : kTexts) {
    int expected = 0;
    const int count = std::sscanf(text, "%d", &expected);
    const ScannedNumber got = ScanDecimal(text);
    EXPECT_EQ(static_cast<int>(got.status), count) << '"' << text << '"';
    if (count == 1) {
      EXPECT_EQ(got.value, expected) << '"' << text << '"';
    }
  }
}

TEST(NumberScan, HexReadsAsScanfPercentX) {
  for (const char* text : kTexts) {
    unsigned expected = 0;
    const int count = std::sscanf(text, "%x", &expected);
    const ScannedNumber got = ScanHex(text);
    EXPECT_EQ(static_cast<int>(got.status), count) << '"' << text << '"';
    const bool inRange = std::llabs(std::strtoll(text, nullptr, 16)) <= INT_MAX;
    if (count == 1 && inRange) {
      EXPECT_EQ(got.value, static_cast<int>(expected)) << '"' << text << '"';
    }
  }
}

TEST(NumberScan, DecimalValueReadsAsAtoi) {
  for (const char* text : kTexts) EXPECT_EQ(DecimalValue(text), std::atoi(text)) << text;
}

TEST(NumberScan, EndIsTheFirstCharacterNotTaken) {
  const char* text = " -12,5";
  EXPECT_EQ(ScanDecimal(text).end, text + 4);
  const char* hex = "0x1fz";
  EXPECT_EQ(ScanHex(hex).end, hex + 4);
}

TEST(NumberScan, ValuesPastTheLimitsSaturate) {
  struct Case {
    const char* text;
    int32_t decimal;
    int32_t hex;
  } cases[] = {
      {"2147483648", INT32_MAX, INT32_MAX},  {"99999999999999999999", INT32_MAX, INT32_MAX},
      {"-2147483648", INT32_MIN, INT32_MIN}, {"-99999999999999999999", INT32_MIN, INT32_MIN},
      {"0xffffffff", 0, INT32_MAX},          {"-0x80000000", 0, INT32_MIN},
      {"ffffffffffffffff", 0, INT32_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScanDecimal(c.text).value, c.decimal) << c.text;
    EXPECT_EQ(ScanHex(c.text).value, c.hex) << c.text;
    EXPECT_EQ(DecimalValue(c.text), c.decimal) << c.text;
  }
}

}  // namespace
}  // namespace fxt
