#include "reader/number_scan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

// Each scan as it reads a NUL-terminated text and as it reads a view.
struct Scanner {
  const char* format;
  ScannedNumber (*text)(const char*);
  ScannedNumber (*view)(std::string_view);
};
const Scanner kScanners[] = {{"%d", ScanDecimal, ScanDecimal}, {"%x", ScanHex, ScanHex}};

// Whatever follows a view in memory, it reads as the same text ending in its
// NUL, with `end` at the same place.
TEST(NumberScan, AViewReadsAsItsNulTerminatedCopy) {
  for (const char* text : kTexts) {
    for (const std::string follower : {"", "7", " 5", "-", "x", "f"}) {
      const std::string bytes = std::string(text) + follower;
      const std::string_view view(bytes.data(), std::string_view(text).size());
      const std::string where = '"' + std::string(text) + "\" before \"" + follower + '"';
      for (const Scanner& scanner : kScanners) {
        const ScannedNumber expected = scanner.text(text);
        const ScannedNumber got = scanner.view(view);
        EXPECT_EQ(got.status, expected.status) << scanner.format << ' ' << where;
        EXPECT_EQ(got.value, expected.value) << scanner.format << ' ' << where;
        EXPECT_EQ(got.end - view.data(), expected.end - text) << scanner.format << ' ' << where;
      }
      EXPECT_EQ(DecimalValue(view), DecimalValue(text)) << where;
    }
  }
}

TEST(NumberScan, TheEndOfAViewIsTheEndOfItsText) {
  struct Case {
    const char* bytes;
    size_t viewed;  // how many of the bytes the view holds
    bool hex;
    ScanStatus status;
    int32_t value;
    size_t end;
  } cases[] = {
      {"123", 2, false, ScanStatus::kConverted, 12, 2},
      {"1f", 1, true, ScanStatus::kConverted, 1, 1},
      {" 5", 0, false, ScanStatus::kEndOfInput, 0, 0},
      {" 5", 1, false, ScanStatus::kEndOfInput, 0, 1},
      {"\t\n5", 2, true, ScanStatus::kEndOfInput, 0, 2},
      {"0x1f", 2, true, ScanStatus::kConverted, 0, 2},
      {"0x1f", 1, true, ScanStatus::kConverted, 0, 1},
      {"0x1f", 3, true, ScanStatus::kConverted, 1, 3},
      {"-5", 1, false, ScanStatus::kNoNumber, 0, 0},
      {"+5", 1, true, ScanStatus::kNoNumber, 0, 0},
      {"-12", 2, false, ScanStatus::kConverted, -1, 2},
  };
  for (const Case& c : cases) {
    const std::string_view view(c.bytes, c.viewed);
    const ScannedNumber got = c.hex ? ScanHex(view) : ScanDecimal(view);
    EXPECT_EQ(got.status, c.status) << c.bytes << ' ' << c.viewed;
    EXPECT_EQ(got.value, c.value) << c.bytes << ' ' << c.viewed;
    EXPECT_EQ(got.end, c.bytes + c.end) << c.bytes << ' ' << c.viewed;
  }
  EXPECT_EQ(DecimalValue(std::string_view("123", 2)), 12);
  EXPECT_EQ(DecimalValue(std::string_view("-5", 1)), 0);
  EXPECT_EQ(DecimalValue(std::string_view(" 5", 1)), 0);
  EXPECT_EQ(ScanDecimal(std::string_view()).status, ScanStatus::kEndOfInput);
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
