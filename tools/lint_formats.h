// fxtlint's report formats. Each writes to standard output as the run goes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "edit/text_edit.h"
#include "lint/check.h"
#include "lint/lint_diagnostic.h"
#include "tools/template_files.h"

namespace fxt {

// The bytes of the file being reported, for the places of its fixes and
// the source lines that a terminal shows.
class ReportedText {
 public:
  void Reset(std::span<const uint8_t> bytes) {
    cursor_ = LineCursor({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  }
  TextPosition PositionOf(size_t offset) { return cursor_.PositionOf(offset); }
  std::string_view Line(int32_t line) { return cursor_.Line(line); }

 private:
  LineCursor cursor_;
};

// A report format: how a run's files, diagnostics and problems are written.
class LintFormat : public LintSink {
 public:
  virtual void BeginRun() {}
  virtual void BeginFile(const std::string& /*path*/) {}
  // The bytes of the file begun, valid until it ends.
  void Source(std::span<const uint8_t> bytes) { source_.Reset(bytes); }
  virtual void EndFile(const FileSummary& /*summary*/) {}
  virtual void Problem(const PathProblem& /*problem*/) {}
  virtual void EndRun() {}

 protected:
  ReportedText source_;
};

// What a file's report says of the diagnostics past --max-diagnostics:
// "1 more diagnostic not shown".
std::string OmittedText(size_t omitted);

enum class FormatKind { kGcc, kJson, kSarif, kQuiet };

// How the gcc format shows itself on a terminal.
struct TerminalStyle {
  bool colour = false;
  bool showSource = false;  // the line under each diagnostic, with a caret
};

// The formats as -f names them, in the order --help lists them.
struct FormatName {
  std::string_view name;
  FormatKind kind;
  std::string_view help;
};
inline constexpr FormatName kFormatNames[] = {
    {"gcc", FormatKind::kGcc,
     "one line per diagnostic,\n"
     "FILE:LINE:COLUMN: error|warning: TEXT [CODE], and each\n"
     "note under it as FILE:LINE:COLUMN: note: TEXT"},
    {"json", FormatKind::kJson, "one JSON document for the whole run"},
    {"sarif", FormatKind::kSarif, "SARIF 2.1.0, which code-scanning dashboards read"},
    {"quiet", FormatKind::kQuiet, "nothing printed: the exit status alone"},
};

std::optional<FormatKind> FormatNamed(std::string_view name);
std::unique_ptr<LintFormat> MakeFormat(FormatKind kind, const TerminalStyle& style = {});

// SARIF 2.1.0, the format that code-scanning dashboards read.
std::unique_ptr<LintFormat> MakeSarifFormat();

}  // namespace fxt
