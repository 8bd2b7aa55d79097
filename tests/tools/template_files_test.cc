#include "tools/template_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fxt {
namespace {

// A tree of five templates: one at the top, two in each of two folders.
std::filesystem::path TreeOfFive() {
  std::string pattern = ::testing::TempDir() + "/walk-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return {};
  const std::filesystem::path folder = pattern;
  for (const char* name : {"a/1.fxt", "a/2.fxt", "b/3.fxt", "b/4.fxt", "c.fxt"}) {
    std::filesystem::create_directories((folder / name).parent_path());
    std::ofstream(folder / name) << "fixture\n";
  }
  return folder;
}

TEST(CollectTemplates, TheWalkStopsAtTheMostFilesAsked) {
  const std::filesystem::path folder = TreeOfFive();
  ASSERT_FALSE(folder.empty());
  for (const size_t most : {size_t{0}, size_t{1}, size_t{3}, size_t{5}, size_t{9}}) {
    std::vector<PathProblem> problems;
    const std::vector<std::string> found = CollectTemplates({folder.string()}, problems, most);
    EXPECT_EQ(found.size(), std::min<size_t>(most, 5)) << most;
    EXPECT_TRUE(problems.empty()) << most;
  }
  std::filesystem::remove_all(folder);
}

TEST(CollectTemplates, TheWalkStopsWhenAskedBeforeAFolder) {
  const std::filesystem::path folder = TreeOfFive();
  ASSERT_FALSE(folder.empty());
  for (const int folders : {0, 1, 2, 3, 4}) {
    int asked = 0;
    std::vector<PathProblem> problems;
    const std::vector<std::string> found =
        CollectTemplates({folder.string()}, problems, SIZE_MAX, [&] { return asked++ < folders; });
    // Three folders to read; a walk stopped early reports nothing of its tree.
    EXPECT_EQ(found.size(), folders >= 3 ? 5u : 0u) << folders;
    EXPECT_EQ(asked, std::min(folders + 1, 3)) << folders;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace fxt
