// fxtlint's command line: one table of options, from which both the option
// parser and --help are made, so that the help cannot drift from what is
// read. The settings of a project's fxtlint.toml fill in what the command
// line leaves open.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/project_config.h"
#include "lint/check.h"
#include "tools/lint_formats.h"

namespace fxt {

enum class When { kAuto, kAlways, kNever };

struct CommandLine {
  FormatKind format = FormatKind::kGcc;
  bool formatGiven = false;
  // What the command line sets itself wins over fxtlint.toml.
  std::vector<std::string> select;  // comma-separated lists, each checked
  std::vector<std::string> ignore;
  bool werror = false;
  std::optional<size_t> maxDiagnostics;
  bool testerOnly = false;
  std::string stdinName = "<stdin>";
  bool stdinNamed = false;
  bool fix = false;
  bool diff = false;
  bool statistics = false;
  bool noConfig = false;
  When colour = When::kAuto;
  When showSource = When::kAuto;
  std::vector<std::string> paths;
};

// What the command line asks for.
enum class Action { kCheck, kHelp, kVersion, kListRules, kExplain, kUsageError };

struct ReadCommandLine {
  Action action = Action::kCheck;
  CommandLine options;
  std::string argument;  // the code to explain, or the usage error
};

ReadCommandLine ParseCommandLine(int argc, char** argv);

// The text of --help, made from the table of options and of formats.
std::string HelpText();

// The options of a run on the files below a settings file (or none): each
// setting of the file unless the command line gave it.
LintOptions OptionsFor(const CommandLine& commandLine, const ProjectConfig* config);

}  // namespace fxt
