#include "edit/text_edit.h"

#include <gtest/gtest.h>

#include <vector>

namespace fxt {
namespace {

TEST(ApplyEdits, AppliesEachEditToTheOriginalBytesWhateverTheirOrder) {
  const std::string text = "chanel 8\nname=X\n";
  const std::vector<TextEdit> edits = {
      {14, 15, "\"X\""},  // quote the name
      {0, 6, "channel"},  // the keyword
      {7, 7, "= "},       // the missing '='
  };
  EXPECT_EQ(ApplyEdits(text, edits), "channel = 8\nname=\"X\"\n");
}

TEST(ApplyEdits, InsertionsAtOneOffsetKeepTheirOrder) {
  const std::vector<TextEdit> edits = {{2, 2, "a"}, {2, 2, "b"}, {0, 0, ">"}};
  EXPECT_EQ(ApplyEdits("xyz", edits), ">xyabz");
}

TEST(ApplyEdits, RefusesASetWithoutOneMeaning) {
  struct Case {
    const char* name;
    std::vector<TextEdit> edits;
  } cases[] = {
      {"overlapping", {{0, 3, "a"}, {2, 4, "b"}}},
      {"an insertion inside a replacement", {{0, 3, "a"}, {1, 1, "b"}}},
      {"past the end", {{4, 6, "a"}}},
      {"reversed", {{3, 1, "a"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyEdits("abcde", c.edits), std::nullopt) << c.name;
}

TEST(ApplyEdits, EditsThatTouchButDoNotOverlapAreOneChange) {
  const std::vector<TextEdit> edits = {{0, 2, "A"}, {2, 4, "B"}, {4, 4, "!"}};
  EXPECT_EQ(ApplyEdits("abcd", edits), "AB!");
}

TEST(OffsetOf, CountsLinesByLineFeedAndStopsAtTheLineEnd) {
  const std::string text = "ab\r\ncd\nlast";
  struct Case {
    int32_t line, column;
    size_t offset;
  } cases[] = {
      {1, 1, 0}, {1, 3, 2},  {1, 9, 3},  // the '\r' belongs to line 1
      {2, 2, 5}, {3, 4, 10}, {3, 99, 11}, {7, 1, 11}, {1, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OffsetOf(text, c.line, c.column), c.offset) << c.line << ":" << c.column;
  }
}

// Asked in any order, the cursor walks back and forth to the answer.
TEST(LineCursor, PositionsOfOffsetsAndTheirLinesInAnyOrder) {
  const std::string text = "ab\r\ncd\n\nlast";
  LineCursor cursor(text);
  struct Case {
    size_t offset;
    TextPosition position;
  } cases[] = {{12, {4, 5}}, {0, {1, 1}}, {3, {1, 4}},  {8, {4, 1}},
               {4, {2, 1}},  {7, {3, 1}}, {99, {4, 5}}, {5, {2, 2}}};
  for (const Case& c : cases) EXPECT_EQ(cursor.PositionOf(c.offset), c.position) << c.offset;
  EXPECT_EQ(cursor.Line(4), "last");
  EXPECT_EQ(cursor.Line(1), "ab\r");
  EXPECT_EQ(cursor.Line(3), "");
  EXPECT_EQ(cursor.Line(5), "");
  EXPECT_EQ(cursor.Line(2), "cd");
  LineCursor ended("a\n");
  EXPECT_EQ(ended.PositionOf(2), (TextPosition{2, 1}));
  EXPECT_EQ(ended.Line(2), "");
}

}  // namespace
}  // namespace fxt
