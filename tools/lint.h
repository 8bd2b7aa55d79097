// Checking one template for fxtlint: its diagnostics go to a report format
// one by one, as the load finds them, so that memory does not grow with
// their number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "reader/report.h"
#include "tools/template_files.h"

namespace fxt {

struct LintOptions {
  bool werror = false;
  size_t maxDiagnostics = 1000;  // per file; 0 for no limit
};

// One diagnostic as fxtlint reports it.
struct LintDiagnostic {
  const CatalogueEntry& entry;
  Severity severity;  // kError or kWarning: a fatal error is an error
  bool promoted;      // a warning that --werror reports as an error
  std::optional<int32_t> testerLine;
  SourcePosition position;
  std::string_view text;     // the short text
  std::string_view message;  // the tester's exact text
};

// What checking one file found.
struct FileSummary {
  std::string path;
  int result;          // as the load returned it
  size_t omitted = 0;  // diagnostics past the limit, counted but not shown
  bool outOfMemory = false;

  bool HasErrors() const { return result > 0; }
  bool HasWarnings() const { return result == -1; }
};

// A report format: how a run's files, diagnostics and problems are written.
class LintFormat {
 public:
  virtual ~LintFormat() = default;
  virtual void BeginRun() {}
  virtual void BeginFile(const std::string& /*path*/) {}
  virtual void Diagnostic(const LintDiagnostic& diagnostic) = 0;
  virtual void EndFile(const FileSummary& /*summary*/) {}
  virtual void Problem(const PathProblem& /*problem*/) {}
  virtual void EndRun() {}
};

// Checks one template held in memory, exactly as parse checks it, and
// reports each diagnostic to `format` as it is found, up to the limit.
FileSummary CheckTemplate(const std::string& path, std::span<const uint8_t> bytes,
                          const LintOptions& options, LintFormat& format);

}  // namespace fxt
