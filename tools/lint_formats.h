// fxtlint's report formats. Each writes to standard output as the run goes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "lint/check.h"
#include "lint/lint_diagnostic.h"
#include "tools/template_files.h"

namespace fxt {

// A report format: how a run's files, diagnostics and problems are written.
class LintFormat : public LintSink {
 public:
  virtual void BeginRun() {}
  virtual void BeginFile(const std::string& /*path*/) {}
  virtual void EndFile(const FileSummary& /*summary*/) {}
  virtual void Problem(const PathProblem& /*problem*/) {}
  virtual void EndRun() {}
};

// What a file's report says of the diagnostics past --max-diagnostics:
// "1 more diagnostic not shown".
std::string OmittedText(size_t omitted);

enum class FormatKind { kGcc, kJson, kSarif, kQuiet };

std::optional<FormatKind> FormatNamed(std::string_view name);
std::unique_ptr<LintFormat> MakeFormat(FormatKind kind);

// SARIF 2.1.0, the format that code-scanning dashboards read.
std::unique_ptr<LintFormat> MakeSarifFormat();

}  // namespace fxt
