// A project's settings for the tools: the file fxtlint.toml, found in the
// folder of a checked template or in a folder above it. fxtlint reads the
// codes to report, --werror and --max-diagnostics from it; the formatter its
// [format] table. It is read with toml++, where this build has it; a build
// without it refuses the file rather than pass over it. A tool finds and
// reads the file of a template so:
//
//   ConfigFinder finder;  // one for a run: it remembers each folder's answer
//   if (const auto path = finder.For(AbsoluteFolderOf(templatePath))) {
//     const ConfigRead read = ReadProjectConfig(*path);
//     if (read.problem) ...report read.problem->Text()...
//     else indent = read.config->formatIndent;
//   }
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fxt {

inline constexpr std::string_view CONFIG_FILE_NAME = "fxtlint.toml";
inline constexpr int32_t DEFAULT_INDENT = 2;

struct ProjectConfig {
  std::string path;
  // Each a list of codes or code prefixes, as --select and --ignore take.
  std::optional<std::vector<std::string>> select;
  std::optional<std::vector<std::string>> ignore;
  std::optional<bool> werror;
  std::optional<size_t> maxDiagnostics;
  int32_t formatIndent = DEFAULT_INDENT;  // [format] indent, 0 to 8
};

// What is wrong with a settings file, and where: line and column from 1,
// or 0 for the file as a whole.
struct ConfigProblem {
  std::string path;
  int32_t line = 0;
  int32_t column = 0;
  std::string message;

  // "PATH:LINE:COLUMN: MESSAGE", or "PATH: MESSAGE".
  std::string Text() const;
};

struct ConfigRead {
  std::optional<ProjectConfig> config;   // when it was read
  std::optional<ConfigProblem> problem;  // when it was not
};

// Whether this build reads settings files at all.
bool CanReadProjectConfig();

// Reads and checks the settings file at `path`.
ConfigRead ReadProjectConfig(const std::string& path);

// Finds the settings file that applies to the files of folders: the nearest
// fxtlint.toml in the folder or a folder above it. Remembers each folder's
// answer, so that a library of templates is searched once.
class ConfigFinder {
 public:
  // The path of the file, if any, for a folder given as an absolute path.
  std::optional<std::string> For(const std::string& folder);

 private:
  std::map<std::string, std::optional<std::string>> found_;
};

// The folder of a template's path, made absolute against the working folder.
std::string AbsoluteFolderOf(const std::string& path);

}  // namespace fxt
