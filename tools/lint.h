// Checking many templates in one run, each exactly as parse checks it, and
// the forms in which fxtlint reports what it found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reader/report.h"

namespace fxt {

struct LintDiagnostic {
  Severity severity;
  std::optional<int32_t> line;
  std::string text;
  std::string message;

  bool IsError() const { return severity == Severity::kError || severity == Severity::kFatal; }
};

struct FileReport {
  std::string path;
  int result;  // as LoadTemplate returned it
  std::vector<LintDiagnostic> diagnostics;

  bool HasErrors() const { return result > 0; }
  bool HasWarnings() const { return result == -1; }
};

// A path that could not be checked, and why.
struct PathProblem {
  std::string path;
  std::string reason;
};

// Checks one template held in memory (ending with INPUT_END). Every piece of
// process-wide state is reset first, so the report never depends on what
// was checked before.
FileReport CheckTemplate(const std::string& path, const std::vector<uint8_t>& input);

// The files to check: each path named, and for a directory every *.fxt file
// below it, sorted. A directory without any is a problem.
std::vector<std::string> CollectTemplates(const std::vector<std::string>& paths,
                                          std::vector<PathProblem>& problems);

// One line per diagnostic: "FILE:LINE: error: TEXT", or "FILE: error: TEXT"
// for a message without a line number.
std::string GccLines(const FileReport& report);
// One JSON document for the whole run.
std::string LintJson(const std::vector<FileReport>& reports,
                     const std::vector<PathProblem>& problems);

}  // namespace fxt
