#include "tools/source_excerpt.h"

#include <gtest/gtest.h>

#include <string>

namespace fxt {
namespace {

TEST(SourceExcerpt, ACaretUnderTheColumnAndTildesUnderTheRest) {
  struct Case {
    const char* name;
    std::string line;
    int32_t column, endColumn;
    std::string shown;
  } cases[] = {
      {"a word", "  chanel = 2", 3, 9, "    7 |   chanel = 2\n      |   ^~~~~~\n"},
      {"a tab stays a tab", "\tchanel = 2", 2, 3, "    7 | \tchanel = 2\n      | \t^\n"},
      {"past the end", "end", 4, 5, "    7 | end\n      |    ^\n"},
      {"a carriage return is no character", "end\r", 1, 4, "    7 | end\n      | ^~~\n"},
      {"a control character escaped",
       "a\x1b"
       "b",
       3, 4, "    7 | a\\x1Bb\n      |      ^\n"},
      {"a right-to-left override escaped",
       "a\xe2\x80\xae"
       "b",
       5, 6, "    7 | a\\xE2\\x80\\xAEb\n      |              ^\n"},
      {"Latin-1 as UTF-8", "caf\xe9 x", 6, 7, "    7 | caf\xc3\xa9 x\n      |      ^\n"},
      {"UTF-8 as it is", "\xe2\x80\x9cX\xe2\x80\x9d", 1, 4,
       "    7 | \xe2\x80\x9cX\xe2\x80\x9d\n      | ^\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SourceExcerpt(c.line, 7, c.column, c.endColumn, Colours::Off()), c.shown) << c.name;
  }
}

TEST(SourceExcerpt, ALongLineIsCutAroundThePlace) {
  const std::string line = std::string(300, 'a') + "X" + std::string(300, 'b');
  const std::string shown = SourceExcerpt(line, 1, 301, 302, Colours::Off());
  EXPECT_EQ(shown, "    1 | ..." + std::string(60, 'a') + "X" + std::string(99, 'b') +
                       "...\n      |    " + std::string(60, ' ') + "^\n");
}

TEST(SourceExcerpt, TheMarksInTheCaretsColour) {
  EXPECT_EQ(SourceExcerpt("end", 3, 1, 4, Colours::On()),
            "    3 | end\n      | \033[1;32m^~~\033[m\n");
}

}  // namespace
}  // namespace fxt
