// fxtlint: checks a whole library of templates in one run, each exactly as
// parse checks it, and reports in a form that editors and CI read.
#include <getopt.h>

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "lint/check.h"
#include "reader/input_file.h"
#include "tools/display_path.h"
#include "tools/lint_formats.h"
#include "tools/standard_output.h"
#include "tools/template_files.h"
#include "tools/tool_run.h"

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_FINDINGS = 1;
constexpr int EXIT_BAD_PATH = 2;

constexpr const char* kUsage =
    "usage: fxtlint [options] PATH...\n"
    "Checks every template named, and every *.fxt file below each directory named;\n"
    "- reads a template from standard input.\n"
    "\n"
    "  -f, --format FORMAT       gcc (default): one line per diagnostic,\n"
    "                              FILE:LINE:COLUMN: error|warning: TEXT [CODE]\n"
    "                            json: one JSON document for the whole run\n"
    "                            sarif: SARIF 2.1.0, for code-scanning dashboards\n"
    "                            quiet: nothing printed, the exit status alone\n"
    "      --werror              count warnings as errors\n"
    "      --select CODES        report only these codes or code prefixes (FT3,FL105)\n"
    "      --ignore CODES        report none of these codes or code prefixes\n"
    "      --tester-only         report exactly what parse reports: no rules, no notes\n"
    "      --max-diagnostics N   show at most N diagnostics of a file (default 1000;\n"
    "                            0 shows all)\n"
    "      --stdin-filename NAME the name of the template read from - (default <stdin>)\n"
    "  -h, --help                print this help\n"
    "      --version             print the version\n"
    "\n"
    "Exit status: 0 no errors, 1 errors found, 2 a path that cannot be checked,\n"
    "3 bad usage.\n";

struct Options {
  fxt::FormatKind format = fxt::FormatKind::kGcc;
  fxt::LintOptions lint;
  std::string stdinName = "<stdin>";
  std::vector<std::string> paths;
};

int UsageError(const std::string& problem) { return fxt::UsageError("fxtlint", problem); }

enum LongOnly {
  kWerror = 256,
  kVersion,
  kMaxDiagnostics,
  kStdinFilename,
  kSelect,
  kIgnore,
  kTesterOnly,
};

// Reads the command line; a result other than -1 is the exit status to end
// with at once.
int ParseOptions(int argc, char** argv, Options& options) {
  static const option kLongOptions[] = {
      {"format", required_argument, nullptr, 'f'},
      {"help", no_argument, nullptr, 'h'},
      {"werror", no_argument, nullptr, kWerror},
      {"version", no_argument, nullptr, kVersion},
      {"max-diagnostics", required_argument, nullptr, kMaxDiagnostics},
      {"stdin-filename", required_argument, nullptr, kStdinFilename},
      {"select", required_argument, nullptr, kSelect},
      {"ignore", required_argument, nullptr, kIgnore},
      {"tester-only", no_argument, nullptr, kTesterOnly},
      {nullptr, 0, nullptr, 0},
  };
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, ":f:h", kLongOptions, nullptr)) != -1) {
    switch (option) {
      case 'f': {
        const std::optional<fxt::FormatKind> format = fxt::FormatNamed(optarg);
        if (!format) return UsageError(std::string("unknown format ") + optarg);
        options.format = *format;
        break;
      }
      case 'h':
        fxt::WriteOut(kUsage);
        return EXIT_CLEAN;
      case kVersion:
        fxt::PrintOut("fxtlint %s\n", FXT_VERSION);
        return EXIT_CLEAN;
      case kWerror:
        options.lint.werror = true;
        break;
      case kMaxDiagnostics:
        if (!fxt::ReadCount(optarg, options.lint.maxDiagnostics)) {
          return UsageError(std::string("--max-diagnostics takes a number, not ") + optarg);
        }
        break;
      case kStdinFilename:
        options.stdinName = optarg;
        break;
      case kSelect:
      case kIgnore: {
        std::string unknown;
        fxt::CodeFilter& codes = options.lint.codes;
        if (!(option == kSelect ? codes.Select(optarg, unknown) : codes.Ignore(optarg, unknown))) {
          if (unknown.empty()) {
            return UsageError(std::string(option == kSelect ? "--select" : "--ignore") +
                              " takes a list of codes, not '" + optarg + "'");
          }
          return UsageError(unknown + " is no code and begins none");
        }
        break;
      }
      case kTesterOnly:
        options.lint.testerOnly = true;
        break;
      default:
        return fxt::OptionError("fxtlint", option, argv);
    }
  }
  return fxt::TakePaths("fxtlint", argc, argv, options.paths);
}

class Run {
 public:
  explicit Run(const Options& options)
      : options_(options), format_(fxt::MakeFormat(options.format)) {}

  int Check() {
    format_->BeginRun();
    std::vector<fxt::PathProblem> walkProblems;
    const std::vector<std::string> files = fxt::CollectTemplates(options_.paths, walkProblems);
    for (const fxt::PathProblem& problem : walkProblems) Problem(problem);
    for (const std::string& path : files) CheckFile(path);
    format_->EndRun();
    Summarise();
    if (problems_ > 0) return EXIT_BAD_PATH;
    return withErrors_ > 0 ? EXIT_FINDINGS : EXIT_CLEAN;
  }

 private:
  const Options& options_;
  std::unique_ptr<fxt::LintFormat> format_;
  size_t files_ = 0;
  size_t withErrors_ = 0;
  size_t withWarningsOnly_ = 0;
  size_t problems_ = 0;

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
    format_->BeginFile(name);
    const fxt::FileSummary summary = fxt::CheckTemplate(name, input.bytes, options_.lint, *format_);
    format_->EndFile(summary);
    ++files_;
    if (summary.outOfMemory) Problem({name, "out of memory"});
    if (summary.omitted > 0) {
      SayOnStderr(fxt::DisplayPath(name) + ": " + fxt::OmittedText(summary.omitted) +
                  " (--max-diagnostics " + std::to_string(options_.lint.maxDiagnostics) + ")");
    }
    if (summary.Fails(options_.lint.werror)) {
      ++withErrors_;
    } else if (summary.warnings > 0) {
      ++withWarningsOnly_;
    }
  }

  void Summarise() {
    SayOnStderr(fxt::Counted(files_, "file") + ", " + std::to_string(withErrors_) +
                " with errors, " + std::to_string(withWarningsOnly_) + " with warnings only");
  }
};

}  // namespace

int main(int argc, char** argv) {
  return fxt::RunTool("fxtlint", [&] {
    Options options;
    const int status = ParseOptions(argc, argv, options);
    return status != -1 ? status : Run(options).Check();
  });
}
