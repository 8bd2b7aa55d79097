#include "tools/lint_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fxt {
namespace {

ReadCommandLine Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "fxtlint");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return ParseCommandLine(static_cast<int>(words.size()), argv.data());
}

TEST(CommandLine, RefusesWhatItCannotRead) {
  const std::vector<std::vector<std::string>> refused = {
      {"--max-diagnostics", " 5", "x.fxt"}, {"--max-diagnostics", "5x", "x.fxt"},
      {"--max-diagnostics", "-1", "x.fxt"}, {"--color=sometimes", "x.fxt"},
      {"--select", "XY", "x.fxt"},          {"--statistics", "-f", "json", "x.fxt"},
      {"--diff", "--statistics", "x.fxt"},  {"--werror"},
  };
  for (const std::vector<std::string>& words : refused) {
    EXPECT_EQ(Parse(words).action, Action::kUsageError) << words.front();
  }
}

TEST(CommandLine, ExplainAndListRulesNeedNoPath) {
  const ReadCommandLine explain = Parse({"--explain", "fl103"});
  EXPECT_EQ(explain.action, Action::kExplain);
  EXPECT_EQ(explain.argument, "fl103");
  EXPECT_EQ(Parse({"--list-rules"}).action, Action::kListRules);
}

TEST(CommandLine, TheCommandLineWinsOverTheSettingsFile) {
  ProjectConfig settings;
  settings.select = std::vector<std::string>{"FL"};
  settings.werror = true;
  settings.maxDiagnostics = 5;
  const ReadCommandLine read = Parse({"--select", "FT3", "--max-diagnostics", "9", "x.fxt"});
  ASSERT_EQ(read.action, Action::kCheck);
  const LintOptions options = OptionsFor(read.options, &settings);
  EXPECT_TRUE(options.werror);
  EXPECT_EQ(options.maxDiagnostics, 9U);
  EXPECT_TRUE(options.codes.Reports(EntryOf(DiagnosticId::kInvalidChannel)));   // FT304
  EXPECT_FALSE(options.codes.Reports(EntryOf(DiagnosticId::kUnknownKeyword)));  // FL103
  const LintOptions fromFile = OptionsFor(Parse({"x.fxt"}).options, &settings);
  EXPECT_FALSE(fromFile.codes.Reports(EntryOf(DiagnosticId::kInvalidChannel)));
  EXPECT_EQ(fromFile.maxDiagnostics, 5U);
}

}  // namespace
}  // namespace fxt
