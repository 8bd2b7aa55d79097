// The template language's page lists the fixed name tables in full: the
// lists on the page are the tables, entry by entry, in order.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "../page_support.h"
#include "model/name_tables.h"

namespace fxt {
namespace {

// The quoted names of a subsection of the page, in order.
std::vector<std::string> NamesInSection(const std::string& heading) {
  const std::string page = testing::PageSource("fxt.5");
  const std::string_view section = testing::Subsection(page, heading);
  constexpr std::string_view kQuote = "\\(dq";
  std::vector<std::string> names;
  for (size_t open = section.find(kQuote); open != std::string_view::npos;) {
    const size_t begin = open + kQuote.size();
    const size_t close = section.find(kQuote, begin);
    names.push_back(testing::Unescaped(section.substr(begin, close - begin)));
    open = section.find(kQuote, close + kQuote.size());
  }
  return names;
}

std::vector<std::string> Entries(NameTable table) { return {table.begin(), table.end()}; }

TEST(NameTablesPage, ListsEveryTableInFull) {
  EXPECT_EQ(NamesInSection("Attribute names"), Entries(AttributeTypeNames));
  EXPECT_EQ(NamesInSection("Parameter names"), Entries(ParameterTypeNames));
  EXPECT_EQ(NamesInSection("Manufacturers"), Entries(ManufacturerNames));
  EXPECT_EQ(NamesInSection("Stop labels"), Entries(DisplayLabels));
}

}  // namespace
}  // namespace fxt
