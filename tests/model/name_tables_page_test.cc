// The template language's page lists the fixed name tables in full: the
// lists on the page are the tables, entry by entry, in order.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "model/name_tables.h"

namespace fxt {
namespace {

// The quoted names of a section of the page, as a reader sees them.
std::vector<std::string> NamesInSection(const std::string& heading) {
  std::ifstream file(std::string(FXT_SOURCE_DIR) + "/man/fxt.5");
  std::stringstream page;
  page << file.rdbuf();
  const std::string text = page.str();
  const size_t start = text.find(".SS " + heading + "\n");
  const size_t end = text.find("\n.S", start + 1);
  std::string section = text.substr(start, end - start);
  section = std::regex_replace(section, std::regex(R"(\\-)"), "-");
  section = std::regex_replace(section, std::regex(R"(\\e)"), "\\");
  std::vector<std::string> names;
  const std::regex quoted(R"(\\\(dq(.*?)\\\(dq)");
  for (std::sregex_iterator it(section.begin(), section.end(), quoted), none; it != none; ++it) {
    names.push_back((*it)[1]);
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
