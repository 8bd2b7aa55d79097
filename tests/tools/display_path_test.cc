#include "tools/display_path.h"

#include <gtest/gtest.h>

#include <string>

namespace fxt {
namespace {

TEST(DisplayPath, Utf8SequencesAreValidOnlyInTheirShortestForm) {
  const struct {
    std::string bytes;
    size_t length;
  } cases[] = {
      {"a", 1},
      {"\xC3\xA9", 2},          // é
      {"\xE2\x82\xAC", 3},      // €
      {"\xF0\x9F\x8E\xAD", 4},  // a four-byte emoji
      {"\xC0\xAF", 0},          // overlong '/'
      {"\xE0\x80\xAF", 0},      // overlong again
      {"\xED\xA0\x80", 0},      // a surrogate
      {"\xF4\x90\x80\x80", 0},  // past U+10FFFF
      {"\xC3", 0},              // cut short
      {"\xE2\x82", 0},
      {"\x80", 0},  // a continuation byte alone
      {"\xFF", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8SequenceLength(c.bytes), c.length) << c.bytes;
}

TEST(DisplayPath, ControlCharactersAreShownAsEscapes) {
  EXPECT_EQ(DisplayPath("plain/path.fxt"), "plain/path.fxt");
  EXPECT_EQ(DisplayPath("new\nline\x1b[31m.fxt"), "new\\x0Aline\\x1B[31m.fxt");
  EXPECT_EQ(DisplayPath("del\x7f"), "del\\x7F");
  EXPECT_EQ(DisplayPath("c1\xC2\x9B"
                        "x"),
            "c1\\xC2\\x9Bx");  // U+009B, the 8-bit CSI
  EXPECT_EQ(DisplayPath("lone\x9B"), "lone\\x9B");
  EXPECT_EQ(DisplayPath("caf\xC3\xA9 latin\xE9"), "caf\xC3\xA9 latin\xE9");
  // U+202E, U+2066 and U+061C; U+2070 and U+0600 are no controls.
  EXPECT_EQ(DisplayPath("a\xE2\x80\xAEtxt.exe"), "a\\xE2\\x80\\xAEtxt.exe");
  EXPECT_EQ(DisplayPath("\xE2\x81\xA6\xD8\x9C"), "\\xE2\\x81\\xA6\\xD8\\x9C");
  EXPECT_EQ(DisplayPath("\xE2\x81\xB0\xD8\x80"), "\xE2\x81\xB0\xD8\x80");
}

TEST(DisplayPath, Utf8PathsKeepValidTextAndEscapeTheRest) {
  EXPECT_EQ(Utf8Path("utf8\xC3\xA9.fxt"), "utf8\xC3\xA9.fxt");
  EXPECT_EQ(Utf8Path("latin\xE9.fxt"), "latin\\xE9.fxt");
  EXPECT_EQ(Utf8Path("cut\xE2\x82"), "cut\\xE2\\x82");
  EXPECT_EQ(Utf8Path("tab\there"), "tab\there");  // JSON escapes it in its own way
  // The name written out and the bytes it names show differently.
  EXPECT_EQ(Utf8Path("bad\\xFF.fxt"), "bad\\x5CxFF.fxt");
  EXPECT_EQ(Utf8Path("bad\xFF.fxt"), "bad\\xFF.fxt");
}

}  // namespace
}  // namespace fxt
