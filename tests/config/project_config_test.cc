#include "config/project_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../test_support.h"

namespace fxt {
namespace {

class ProjectConfigTest : public ::testing::Test {
 protected:
  ConfigRead Read(const std::string& text) {
    const std::string path = folder_ + "/fxtlint.toml";
    std::ofstream(path) << text;
    return ReadProjectConfig(path);
  }

  testing::TemporaryFolder temporary_;
  const std::string& folder_ = temporary_.path();
};

TEST_F(ProjectConfigTest, TheNearestFileAboveAFolder) {
  std::filesystem::create_directories(folder_ + "/a/b/c");
  std::ofstream(folder_ + "/a/fxtlint.toml") << "";
  ConfigFinder finder;
  EXPECT_EQ(finder.For(folder_ + "/a/b/c"), folder_ + "/a/fxtlint.toml");
  EXPECT_EQ(finder.For(folder_ + "/a"), folder_ + "/a/fxtlint.toml");
  EXPECT_EQ(finder.For(folder_), std::nullopt);
}

TEST_F(ProjectConfigTest, ReadsEveryKey) {
  if (!CanReadProjectConfig()) GTEST_SKIP() << "built without toml++";
  const ConfigRead read = Read(
      "select = [\"FL\", \"FT3\"]\nignore = \"FL104,FT304\"\nwerror = true\n"
      "max-diagnostics = 7\n[format]\nindent = 4\n");
  ASSERT_TRUE(read.config.has_value()) << read.problem->Text();
  EXPECT_EQ(read.config->select, (std::vector<std::string>{"FL", "FT3"}));
  EXPECT_EQ(read.config->ignore, (std::vector<std::string>{"FL104,FT304"}));
  EXPECT_EQ(read.config->werror, true);
  EXPECT_EQ(read.config->maxDiagnostics, 7U);
  EXPECT_EQ(read.config->formatIndent, 4);
  EXPECT_EQ(Read("").config->formatIndent, DEFAULT_INDENT);
}

TEST_F(ProjectConfigTest, AMistakeIsReportedWithItsLine) {
  if (!CanReadProjectConfig()) GTEST_SKIP() << "built without toml++";
  struct Case {
    const char* text;
    int32_t line, column;
    const char* says;
  } cases[] = {
      {"werror = true\nslect = [\"FL\"]\n", 2, 1, "unknown key 'slect'"},
      {"werror = \"yes\"\n", 1, 10, "werror takes true or false"},
      {"max-diagnostics = -1\n", 1, 19, "a whole number, 0 or more"},
      {"select = [\"FL\", 3]\n", 1, 17, "select takes a list of codes"},
      {"ignore = [\"FX9\"]\n", 1, 11, "FX9 is no code"},
      {"[format]\nindent = 99\n", 2, 10, "0 to 8"},
      {"[format]\nwidth = 2\n", 2, 1, "unknown key 'width' in [format]"},
      {"select = [\n", 1, 12, "end-of-file"},
  };
  for (const Case& c : cases) {
    const ConfigRead read = Read(c.text);
    ASSERT_TRUE(read.problem.has_value()) << c.text;
    EXPECT_EQ(read.problem->line, c.line) << c.text;
    EXPECT_EQ(read.problem->column, c.column) << c.text;
    EXPECT_NE(read.problem->message.find(c.says), std::string::npos) << read.problem->message;
  }
}

// A build without toml++ refuses the file rather than check without its
// settings, and says how to go on.
TEST_F(ProjectConfigTest, ABuildWithoutTomlRefusesTheFile) {
  if (CanReadProjectConfig()) GTEST_SKIP() << "built with toml++";
  const ConfigRead read = Read("werror = true\n");
  ASSERT_TRUE(read.problem.has_value());
  EXPECT_NE(read.problem->message.find("--no-config"), std::string::npos);
}

TEST_F(ProjectConfigTest, AFileThatCannotBeReadIsAProblem) {
  std::filesystem::create_directories(folder_ + "/fxtlint.toml");
  const ConfigRead read = ReadProjectConfig(folder_ + "/fxtlint.toml");
  ASSERT_TRUE(read.problem.has_value());
  EXPECT_EQ(read.problem->line, 0);
}

}  // namespace
}  // namespace fxt
