// The template language's page lists the fixed name tables in full: the
// lists on the page are the tables, entry by entry, in order.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/name_tables.h"

namespace fxt {
namespace {

// The roff escapes that the name lists use, as a reader sees them.
std::string Unescaped(std::string_view roff) {
  std::string text;
  for (size_t i = 0; i < roff.size(); ++i) {
    if (roff[i] == '\\' && i + 1 < roff.size() && (roff[i + 1] == '-' || roff[i + 1] == 'e')) {
      text += roff[i + 1] == '-' ? '-' : '\\';
      ++i;
    } else {
      text += roff[i];
    }
  }
  return text;
}

// The quoted names of a section of the page, in order.
std::vector<std::string> NamesInSection(const std::string& heading) {
  std::ifstream file(std::string(FXT_SOURCE_DIR) + "/man/fxt.5");
  std::stringstream page;
  page << file.rdbuf();
  const std::string text = page.str();
  const size_t start = text.find(".SS " + heading + "\n");
  const std::string_view section =
      std::string_view(text).substr(start, text.find("\n.S", start + 1) - start);
  constexpr std::string_view kQuote = "\\(dq";
  std::vector<std::string> names;
  for (size_t open = section.find(kQuote); open != std::string_view::npos;) {
    const size_t begin = open + kQuote.size();
    const size_t close = section.find(kQuote, begin);
    names.push_back(Unescaped(section.substr(begin, close - begin)));
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
