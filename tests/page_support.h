// Reading the project's man pages as their readers see them.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace fxt::testing {

// The roff source of a page of man/, such as "fxt.5".
inline std::string PageSource(const std::string& name) {
  std::ifstream file(std::string(FXT_SOURCE_DIR) + "/man/" + name);
  std::stringstream page;
  page << file.rdbuf();
  return page.str();
}

// A subsection of the page, from its ".SS heading" line to the next
// section or subsection; empty when the page has none.
inline std::string_view Subsection(std::string_view page, std::string_view heading) {
  const size_t start = page.find(".SS " + std::string(heading) + "\n");
  if (start == std::string_view::npos) return {};
  return page.substr(start, page.find("\n.S", start + 1) - start);
}

// The text of roff as a reader sees it: the escapes the pages use for
// characters, and no font changes.
inline std::string Unescaped(std::string_view roff) {
  constexpr std::pair<std::string_view, std::string_view> kEscapes[] = {
      {"\\-", "-"}, {"\\e", "\\"}, {"\\(dq", "\""}, {"\\(aq", "'"}, {"\\&", ""},
      {"\\fB", ""}, {"\\fI", ""},  {"\\fR", ""},    {"\\fP", ""},
  };
  std::string text;
  for (size_t i = 0; i < roff.size();) {
    bool escaped = false;
    for (const auto& [escape, character] : kEscapes) {
      if (roff.substr(i, escape.size()) == escape) {
        text += character;
        i += escape.size();
        escaped = true;
        break;
      }
    }
    if (!escaped) text += roff[i++];
  }
  return text;
}

}  // namespace fxt::testing
