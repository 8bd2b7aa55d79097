#include "reader/message_format.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/catalogue.h"

namespace fxt {
namespace {

// What snprintf makes of the format, into a buffer of the same size.
std::string Printed(const char* format, int32_t line) {
  std::array<char, MESSAGE_CAPACITY> buffer{};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::snprintf(buffer.data(), buffer.size(), format, line);
#pragma GCC diagnostic pop
  return buffer.data();
}

std::string Formatted(const char* format, int32_t line) {
  std::array<char, MESSAGE_CAPACITY> buffer{};
  buffer.fill('?');
  FormatLineNumber(buffer, format, LineNumberPlace(format), line);
  return buffer.data();
}

TEST(MessageFormat, EveryMessageReadsAsPrintfWouldPrintIt) {
  int formats = 0;
  for (const CatalogueEntry& entry : Catalogue) {
    if (LineNumberPlace(entry.format) == NO_LINE_NUMBER) continue;
    ++formats;
    for (const int32_t line : {0, 7, 1234567, INT32_MAX, -1}) {
      EXPECT_EQ(Formatted(entry.format, line), Printed(entry.format, line)) << entry.code;
    }
  }
  EXPECT_GT(formats, 40);
}

TEST(MessageFormat, ALineNumberIsRightWhetherItRepeatsOrChanges) {
  for (const int32_t line : {5, 5, 6, 5, 5, -3, -3, INT32_MIN, 0, 0}) {
    EXPECT_EQ(Formatted("ERROR - line %d: x", line), Printed("ERROR - line %d: x", line));
    EXPECT_EQ(Formatted("%d", line), Printed("%d", line));
  }
}

// Each line number as "%d" prints it, whether it follows the last one by one,
// repeats it, carries into a new digit or jumps anywhere.
TEST(MessageFormat, LineDigitsReadAsPrintfWouldPrintThem) {
  LineDigits digits;
  std::vector<int32_t> lines = {
      0,         1,          2,          2,  8, 9,  10, 11,        98, 99, 100,           101,
      999,       1000,       5,          -1, 0, -7, -6, INT32_MIN, 0,  1,  INT32_MAX - 1, INT32_MAX,
      999999999, 1000000000, 1000000001, 3};
  for (int32_t line = 1; line <= 100000; ++line) lines.push_back(line);
  for (const int32_t line : lines) {
    const std::string_view written = digits.Of(line);
    ASSERT_EQ(written, Printed("%d", line)) << line;
    ASSERT_EQ(digits.size(), written.size());
    ASSERT_EQ(std::string_view(digits.Padded(), written.size()), written);
  }
}

// A split format gives the same message as the format itself, for every
// entry of the catalogue short enough to be split, and most are.
TEST(MessageFormat, SplitFormatsReadAsPrintfWouldPrintThem) {
  int split = 0;
  int withLineNumber = 0;
  LineDigits digits;
  for (const CatalogueEntry& entry : Catalogue) {
    const size_t place = LineNumberPlace(entry.format);
    if (place == NO_LINE_NUMBER) continue;
    ++withLineNumber;
    const std::optional<SplitFormat> format = SplitAtLineNumber(entry.format, place);
    if (!format) continue;
    ++split;
    for (const int32_t line : {0, 7, 8, 1234567, INT32_MAX, -1, INT32_MIN}) {
      std::array<char, SplitFormat::MESSAGE_SPACE> message;
      message.fill('?');
      digits.Of(line);
      const size_t length = FormatSplit(message, *format, digits);
      EXPECT_EQ(std::string_view(message.data(), length), Printed(entry.format, line))
          << entry.code;
      EXPECT_EQ(message[length], '\0') << entry.code;
    }
  }
  EXPECT_EQ(split, withLineNumber);
}

// A text that a long number could bring to the cut is never split: it takes
// the formatting that cuts it.
TEST(MessageFormat, LongFormatsAreNotSplit) {
  const std::string longHead = std::string(SplitFormat::HEAD + 1, 'a') + "%d";
  const std::string longTail = "%d" + std::string(SplitFormat::TAIL, 'b');
  const std::string nearTheCut = std::string(30, 'a') + "%d" + std::string(60, 'b');
  const std::string justShort = std::string(30, 'a') + "%d" + std::string(58, 'b');
  for (const std::string& format : {longHead, longTail, nearTheCut}) {
    EXPECT_FALSE(SplitAtLineNumber(format, LineNumberPlace(format))) << format;
  }
  EXPECT_TRUE(SplitAtLineNumber(justShort, LineNumberPlace(justShort)));
}

TEST(MessageFormat, ALongMessageIsCutToTheBuffer) {
  const std::string longBefore = std::string(95, 'a') + "%d tail";
  const std::string longAfter = "line %d: " + std::string(120, 'b');
  for (const std::string& format : {longBefore, longAfter}) {
    EXPECT_EQ(Formatted(format.c_str(), 123456), Printed(format.c_str(), 123456));
    EXPECT_EQ(Formatted(format.c_str(), 123456).size(), MESSAGE_CAPACITY - 1);
  }
  EXPECT_EQ(LineNumberPlace("WARNING - Template Version Number missing."), NO_LINE_NUMBER);
}

}  // namespace
}  // namespace fxt
