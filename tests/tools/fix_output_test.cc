// Applying fixes, writing a file back and showing the change: what fxtlint's
// --fix and --diff are made of.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../test_support.h"
#include "tools/fixing.h"
#include "tools/replace_file.h"
#include "format/unified_diff.h"

namespace fxt {
namespace {

TEST(UnifiedDiff, HunksWithThreeLinesOfContextJoinedWhenClose) {
  std::string before;
  for (int i = 1; i <= 20; ++i) before += "line " + std::to_string(i) + "\n";
  std::string after = before;
  after.replace(after.find("line 2\n"), 6, "LINE 2");
  after.replace(after.find("line 6\n"), 6, "LINE 6");
  after.replace(after.find("line 17\n"), 7, "LINE 17");
  EXPECT_EQ(UnifiedDiff("t.fxt", before, after),
            "--- t.fxt\n+++ t.fxt\n"
            "@@ -1,9 +1,9 @@\n line 1\n-line 2\n+LINE 2\n line 3\n line 4\n line 5\n"
            "-line 6\n+LINE 6\n line 7\n line 8\n line 9\n"
            "@@ -14,7 +14,7 @@\n line 14\n line 15\n line 16\n-line 17\n+LINE 17\n"
            " line 18\n line 19\n line 20\n");
  EXPECT_EQ(UnifiedDiff("t.fxt", before, before), "");
}

TEST(UnifiedDiff, LinesAddedAtTheEndOfAFileWithoutALastLineEnd) {
  EXPECT_EQ(UnifiedDiff("t.fxt", "a\nb", "a\nb\nend\n"),
            "--- t.fxt\n+++ t.fxt\n@@ -1,2 +1,3 @@\n a\n-b\n\\ No newline at end of file\n"
            "+b\n+end\n");
  EXPECT_EQ(UnifiedDiff("t.fxt", "a\n", "a\nend\n"),
            "--- t.fxt\n+++ t.fxt\n@@ -1 +1,2 @@\n a\n+end\n");
}

TEST(FixText, AppliesInPassesAndTheEndLineLast) {
  const std::string header = "fixture\nname = \"A\"\nversion = 1.0\nmanufacturer = \"B\"\n";
  // The misspelt end line is mended; no second end line is added.
  const FixedText fixed =
      FixText(header + "attribute\n  name = \"INTENSITY\"\n  chanel = 1\nedn\n", LintOptions{});
  EXPECT_EQ(fixed.text, header + "attribute\n  name = \"INTENSITY\"\n  channel = 1\nend\n");
  EXPECT_EQ(fixed.applied, 2U);
  // A template whose fixes the run does not report keeps them.
  LintOptions ignoring;
  std::string unknown;
  ASSERT_TRUE(ignoring.codes.Ignore("FL103", unknown));
  EXPECT_EQ(FixText(header + "  chanel = 1\n", ignoring).applied, 0U);
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(path_) << "old\n";
    ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  }

  testing::TemporaryFolder temporary_;
  const std::string& folder_ = temporary_.path();
  const std::string path_ = folder_ + "/t.fxt";
};

TEST_F(ReplaceFileTest, WritesTheWholeFileAndKeepsItsMode) {
  EXPECT_EQ(ReplaceFile(path_, "new\n", "old\n"), "");
  EXPECT_EQ(ReadAll(path_), "new\n");
  struct stat status {};
  ASSERT_EQ(stat(path_.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640U);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(ReplaceFileTest, RefusesAFileThatChangedSinceItWasRead) {
  const std::string refused = ReplaceFile(path_, "new\n", "what was read\n");
  EXPECT_NE(refused.find("changed since it was read"), std::string::npos);
  EXPECT_EQ(ReadAll(path_), "old\n");
}

TEST_F(ReplaceFileTest, ALinkKeepsPointingAtTheFixedFile) {
  const std::string link = folder_ + "/link.fxt";
  ASSERT_EQ(symlink(path_.c_str(), link.c_str()), 0);
  EXPECT_EQ(ReplaceFile(link, "new\n", "old\n"), "");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(path_), "new\n");
}

}  // namespace
}  // namespace fxt
