#include "reader/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

namespace fxt {
namespace {

bool IsCode(std::string_view code) {
  size_t letters = 0;
  while (letters < code.size() && std::isupper(static_cast<unsigned char>(code[letters]))) {
    ++letters;
  }
  if (letters == 0 || letters == code.size()) return false;
  for (size_t i = letters; i < code.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(code[i]))) return false;
  }
  return true;
}

// The tester's texts begin with the kind they are: a load's own messages
// with none.
std::string_view PrefixFor(Severity severity) {
  switch (severity) {
    case Severity::kNote:
      return "";
    case Severity::kWarning:
      return "WARNING - ";
    case Severity::kError:
      return "ERROR - ";
    case Severity::kFatal:
      return "FATAL ERROR - line %d: ";
  }
  return "?";
}

TEST(Catalogue, CodesAreUniqueLettersThenDigits) {
  std::set<std::string_view> codes;
  for (const CatalogueEntry& entry : Catalogue) {
    EXPECT_TRUE(IsCode(entry.code)) << entry.code;
    EXPECT_TRUE(codes.insert(entry.code).second) << entry.code << " twice";
    EXPECT_EQ(DiagnosticWithCode(entry.code), entry.id) << entry.code;
  }
  EXPECT_EQ(DiagnosticWithCode("FT000"), std::nullopt);
}

TEST(Catalogue, EachTextSaysItsSeverityAndHoldsOneLineNumberAtMost) {
  for (const CatalogueEntry& entry : Catalogue) {
    if (IsLintRule(entry)) {
      EXPECT_TRUE(entry.code.starts_with("FL")) << entry.code;
      continue;
    }
    EXPECT_TRUE(entry.code.starts_with("FT")) << entry.code;
    const std::string_view format = entry.format;
    EXPECT_TRUE(format.starts_with(PrefixFor(entry.severity))) << entry.code << ": " << format;
    const char* first = std::strchr(entry.format, '%');
    if (first != nullptr) {
      EXPECT_EQ(std::string_view(first, 2), "%d") << entry.code;
      EXPECT_EQ(std::strchr(first + 1, '%'), nullptr) << entry.code;
    }
    EXPECT_FALSE(entry.summary.empty()) << entry.code;
  }
}

TEST(Catalogue, TextsThatTheTesterSharesStillHaveCodesOfTheirOwn) {
  EXPECT_STREQ(EntryOf(DiagnosticId::kNoKeyword).format,
               EntryOf(DiagnosticId::kNotAParameterKeyword).format);
  EXPECT_NE(EntryOf(DiagnosticId::kNoKeyword).code,
            EntryOf(DiagnosticId::kNotAParameterKeyword).code);
}

}  // namespace
}  // namespace fxt
