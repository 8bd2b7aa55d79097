// fxtlint: checks a whole library of templates in one run, each exactly as
// parse checks it, and reports in a form that editors and CI read; it
// applies the safe fixes, shows them as a diff, and explains every code.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/project_settings.h"
#include "format/unified_diff.h"
#include "lint/check.h"
#include "lint/rule_docs.h"
#include "load/run_load.h"
#include "reader/input_file.h"
#include "tools/display_path.h"
#include "tools/fixing.h"
#include "tools/lint_command_line.h"
#include "tools/lint_formats.h"
#include "tools/replace_file.h"
#include "tools/standard_output.h"
#include "tools/template_files.h"
#include "tools/tool_run.h"

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_FINDINGS = 1;
constexpr int EXIT_BAD_PATH = 2;

int UsageError(const std::string& problem) { return fxt::UsageError("fxtlint", problem); }

// Colour on a terminal that asks for none neither by NO_COLOR nor by TERM.
bool Decide(fxt::When when, bool colour) {
  if (when != fxt::When::kAuto) return when == fxt::When::kAlways;
  if (isatty(STDOUT_FILENO) == 0) return false;
  if (!colour) return true;
  const char* noColour = std::getenv("NO_COLOR");
  const char* term = std::getenv("TERM");
  return (noColour == nullptr || *noColour == '\0') &&
         (term == nullptr || std::string_view(term) != "dumb");
}

int Explain(std::string code) {
  for (char& c : code) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  const std::optional<fxt::DiagnosticId> id = fxt::DiagnosticWithCode(code);
  if (!id) return UsageError(code + " is no code");
  fxt::WriteOut(fxt::Explanation(fxt::EntryOf(*id)));
  return EXIT_CLEAN;
}

// Every code that fxtlint can report: the load's own messages are none.
int ListRules() {
  std::string list;
  for (const fxt::CatalogueEntry& entry : fxt::Catalogue) {
    if (entry.severity == fxt::Severity::kNote) continue;
    const std::string_view severity = fxt::SeverityWord(entry.severity);
    list += std::string(entry.code) + "  " + std::string(severity) +
            std::string(9 - severity.size(), ' ') + std::string(entry.summary) + "\n";
  }
  fxt::WriteOut(list);
  return EXIT_CLEAN;
}

class Run {
 public:
  explicit Run(const fxt::CommandLine& options) : options_(options) {}

  int Check() {
    std::vector<fxt::PathProblem> walkProblems;
    const std::vector<std::string> files = fxt::CollectTemplates(options_.paths, walkProblems);
    if (!ReadSettings(files)) return EXIT_BAD_PATH;
    const bool reports = !options_.diff && !options_.statistics;
    const fxt::TerminalStyle style{Decide(options_.colour, true),
                                   Decide(options_.showSource, false)};
    format_ = fxt::MakeFormat(reports ? options_.format : fxt::FormatKind::kQuiet, style);
    format_->BeginRun();
    for (const fxt::PathProblem& problem : walkProblems) Problem(problem);
    for (const std::string& path : files) CheckFile(path);
    format_->EndRun();
    if (options_.statistics) PrintStatistics();
    Summarise();
    if (problems_ > 0) return EXIT_BAD_PATH;
    if (options_.diff) return changed_ > 0 ? EXIT_FINDINGS : EXIT_CLEAN;
    return withErrors_ > 0 ? EXIT_FINDINGS : EXIT_CLEAN;
  }

 private:
  const fxt::CommandLine& options_;
  std::unique_ptr<fxt::LintFormat> format_;
  fxt::ProjectSettings settings_;
  std::array<size_t, fxt::CATALOGUE_SIZE> perCode_{};
  size_t files_ = 0;
  size_t withErrors_ = 0;
  size_t withWarningsOnly_ = 0;
  size_t problems_ = 0;
  size_t changed_ = 0;  // files that the fixes change

  bool Quiet() const { return options_.format == fxt::FormatKind::kQuiet; }

  // Standard output comes first in a log that holds both.
  void SayOnStderr(const std::string& text) {
    if (Quiet()) return;
    fxt::FlushOut();
    std::fprintf(stderr, "fxtlint: %s\n", text.c_str());
  }

  void Problem(const fxt::PathProblem& problem) {
    ++problems_;
    format_->Problem(problem);
    SayOnStderr(fxt::DisplayPath(problem.path) + ": " + problem.reason);
  }

  std::string FolderOf(const std::string& path) const {
    return fxt::SettingsFolderOf(
        path, options_.stdinNamed ? std::optional(options_.stdinName) : std::nullopt);
  }

  // Every settings file is read before the first template is checked: one
  // that cannot be read stops the run, whatever the format.
  bool ReadSettings(const std::vector<std::string>& files) {
    if (options_.noConfig) return true;
    std::vector<std::string> folders;
    folders.reserve(files.size());
    for (const std::string& path : files) folders.push_back(FolderOf(path));
    return settings_.Read(folders, [](const fxt::ConfigProblem& problem) {
      fxt::FlushOut();
      std::fprintf(stderr, "fxtlint: %s\n", fxt::DisplayPath(problem.Text()).c_str());
    });
  }

  fxt::LintOptions OptionsFor(const std::string& path) {
    return fxt::OptionsFor(options_, options_.noConfig ? nullptr : settings_.For(FolderOf(path)));
  }

  void CheckFile(const std::string& path) {
    const bool fromStdin = path == "-";
    const std::string name = fromStdin ? options_.stdinName : path;
    fxt::InputFile input;
    try {
      input = fromStdin ? fxt::ReadStandardInput() : fxt::ReadInputFile(path.c_str());
    } catch (const std::bad_alloc&) {
      Problem({name, "out of memory"});
      return;
    }
    if (input.status != fxt::InputFileStatus::kRead) {
      Problem({name, input.reason});
      return;
    }
    const fxt::LintOptions lint = OptionsFor(path);
    if (options_.fix || options_.diff) {
      if (!Fix(path, name, input.bytes, lint)) return;
    }
    if (options_.diff) return;
    Report(name, input.bytes, lint);
  }

  // Fixes the file, or shows how; false when it is not to be reported.
  bool Fix(const std::string& path, const std::string& name, fxt::FileBytes& bytes,
           const fxt::LintOptions& lint) {
    const std::string_view original(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    fxt::FixedText fixed = fxt::FixText(original, lint);
    if (fixed.applied == 0) return true;
    ++changed_;
    if (options_.diff) {
      fxt::WriteOut(fxt::UnifiedDiff(fxt::DisplayPath(name), original, fixed.text));
      return false;
    }
    if (path == "-") {
      Problem({name, "--fix cannot write a template read from standard input; try --diff"});
      return true;
    }
    if (const std::string failed = fxt::ReplaceFile(path, fixed.text, original); !failed.empty()) {
      Problem({name, "not fixed: " + failed});
      return true;
    }
    SayOnStderr(fxt::DisplayPath(name) + ": " + fxt::Counted(fixed.applied, "fix", "fixes") +
                " applied");
    bytes.assign(fixed.text.begin(), fixed.text.end());
    return true;
  }

  void Report(const std::string& name, std::span<const uint8_t> bytes,
              const fxt::LintOptions& lint) {
    format_->BeginFile(name);
    format_->Source(bytes);
    const fxt::FileSummary summary = fxt::CheckTemplate(name, bytes, lint, *format_);
    format_->EndFile(summary);
    ++files_;
    for (size_t i = 0; i < perCode_.size(); ++i) perCode_[i] += summary.perCode[i];
    if (summary.outOfMemory) Problem({name, "out of memory"});
    if (summary.omitted > 0 && !options_.statistics) {
      SayOnStderr(fxt::DisplayPath(name) + ": " + fxt::OmittedText(summary.omitted) +
                  " (--max-diagnostics " + std::to_string(lint.maxDiagnostics) + ")");
    }
    if (summary.Fails(lint.werror)) {
      ++withErrors_;
    } else if (summary.warnings > 0) {
      ++withWarningsOnly_;
    }
  }

  // The codes reported, the most frequent first.
  void PrintStatistics() {
    std::vector<size_t> codes;
    for (size_t i = 0; i < perCode_.size(); ++i) {
      if (perCode_[i] > 0) codes.push_back(i);
    }
    std::stable_sort(codes.begin(), codes.end(),
                     [&](size_t a, size_t b) { return perCode_[a] > perCode_[b]; });
    std::string table;
    for (const size_t code : codes) {
      const fxt::CatalogueEntry& entry = fxt::Catalogue[code];
      const std::string count = std::to_string(perCode_[code]);
      const std::string_view severity = fxt::SeverityWord(
          entry.severity == fxt::Severity::kFatal ? fxt::Severity::kError : entry.severity);
      table += std::string(count.size() < 7 ? 7 - count.size() : 0, ' ') + count + "  " +
               std::string(entry.code) + "  " + std::string(severity) +
               std::string(9 - severity.size(), ' ') + std::string(entry.summary) + "\n";
    }
    fxt::WriteOut(table);
  }

  void Summarise() {
    if (options_.diff) {
      SayOnStderr(fxt::Counted(changed_, "file") + " would be changed by the fixes");
      return;
    }
    SayOnStderr(fxt::Counted(files_, "file") + ", " + std::to_string(withErrors_) +
                " with errors, " + std::to_string(withWarningsOnly_) + " with warnings only");
  }
};

}  // namespace

int main(int argc, char** argv) {
  return fxt::RunTool("fxtlint", [&] {
    const fxt::ReadCommandLine read = fxt::ParseCommandLine(argc, argv);
    switch (read.action) {
      case fxt::Action::kUsageError:
        return UsageError(read.argument);
      case fxt::Action::kHelp:
        fxt::WriteOut(fxt::HelpText());
        return EXIT_CLEAN;
      case fxt::Action::kVersion:
        fxt::PrintOut("fxtlint %s\n", FXT_VERSION);
        return EXIT_CLEAN;
      case fxt::Action::kListRules:
        return ListRules();
      case fxt::Action::kExplain:
        return Explain(read.argument);
      case fxt::Action::kCheck:
        break;
    }
    return Run(read.options).Check();
  });
}
