#include "tools/lint.h"

#include <new>

#include "load/run_load.h"

namespace fxt {
namespace {

class FormatTarget : public ReportTarget {
 public:
  FormatTarget(const LintOptions& options, LintFormat& format, FileSummary& summary)
      : options_(options), format_(format), summary_(summary) {}

  void Report(const Diagnostic& diagnostic) override {
    if (diagnostic.severity == Severity::kNote) return;
    if (options_.maxDiagnostics != 0 && shown_ == options_.maxDiagnostics) {
      ++summary_.omitted;
      return;
    }
    ++shown_;
    Severity severity = diagnostic.severity;
    const bool promoted = options_.werror && severity == Severity::kWarning;
    if (promoted || severity == Severity::kFatal) severity = Severity::kError;
    format_.Diagnostic({diagnostic.entry(), severity, promoted, diagnostic.testerLine,
                        diagnostic.position, diagnostic.text(), diagnostic.message});
  }

 private:
  const LintOptions& options_;
  LintFormat& format_;
  FileSummary& summary_;
  size_t shown_ = 0;
};

}  // namespace

FileSummary CheckTemplate(const std::string& path, std::span<const uint8_t> bytes,
                          const LintOptions& options, LintFormat& format) {
  FileSummary summary{path, 0};
  format.BeginFile(path);
  try {
    FormatTarget target(options, format, summary);
    summary.result = RunLoad(bytes, &target).result;
  } catch (const std::bad_alloc&) {
    // What was reported stays reported; the file is closed as it stands.
    summary.outOfMemory = true;
  }
  format.EndFile(summary);
  return summary;
}

}  // namespace fxt
