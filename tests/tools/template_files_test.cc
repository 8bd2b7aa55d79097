#include "tools/template_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fxt {
namespace {

TEST(CollectTemplates, TheWalkStopsAtTheMostFilesAsked) {
  std::string pattern = ::testing::TempDir() + "/walk-XXXXXX";
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path folder = pattern;
  for (const char* name : {"a/1.fxt", "a/2.fxt", "b/3.fxt", "b/4.fxt", "c.fxt"}) {
    std::filesystem::create_directories((folder / name).parent_path());
    std::ofstream(folder / name) << "fixture\n";
  }
  for (const size_t most : {size_t{0}, size_t{1}, size_t{3}, size_t{5}, size_t{9}}) {
    std::vector<PathProblem> problems;
    const std::vector<std::string> found = CollectTemplates({folder.string()}, problems, most);
    EXPECT_EQ(found.size(), std::min<size_t>(most, 5)) << most;
    EXPECT_TRUE(problems.empty()) << most;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace fxt
