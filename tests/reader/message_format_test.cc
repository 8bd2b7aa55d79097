#include "reader/message_format.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <string>

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
