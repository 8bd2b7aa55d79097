// fxtlint: checks a whole library of templates in one run, each exactly as
// parse checks it, and reports in a form that editors and CI read.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/input_file.h"
#include "tools/lint.h"

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_FINDINGS = 1;
constexpr int EXIT_BAD_PATH = 2;
constexpr int EXIT_USAGE = 3;

constexpr const char* kUsage =
    "usage: fxtlint [options] PATH...\n"
    "Checks every template named, and every *.fxt file below each directory named.\n"
    "\n"
    "  -f, --format FORMAT  gcc (default): FILE:LINE: error|warning: TEXT\n"
    "                       json: one JSON document for the whole run\n"
    "                       quiet: nothing printed, the exit status alone\n"
    "      --werror         count warnings as errors\n"
    "  -h, --help           print this help\n"
    "      --version        print the version\n"
    "\n"
    "Exit status: 0 no errors, 1 errors found, 2 a path that cannot be checked,\n"
    "3 bad usage.\n";

enum class Format { kGcc, kJson, kQuiet };

struct Options {
  Format format = Format::kGcc;
  bool werror = false;
  std::vector<std::string> paths;
};

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "gcc") return Format::kGcc;
  if (name == "json") return Format::kJson;
  if (name == "quiet") return Format::kQuiet;
  return std::nullopt;
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "fxtlint: %s\n%s", problem.c_str(), kUsage);
  return EXIT_USAGE;
}

// Reads the command line; a result other than -1 is the exit status to end
// with at once.
int ParseOptions(int argc, char** argv, Options& options) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      options.paths.emplace_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return EXIT_CLEAN;
    } else if (arg == "--version") {
      std::printf("fxtlint %s\n", FXT_VERSION);
      return EXIT_CLEAN;
    } else if (arg == "--werror") {
      options.werror = true;
    } else if (arg == "-f" || arg == "--format" || arg.starts_with("--format=")) {
      std::string_view name;
      if (arg.starts_with("--format=")) {
        name = arg.substr(std::strlen("--format="));
      } else if (i + 1 < argc) {
        name = argv[++i];
      } else {
        return UsageError(std::string(arg) + " needs a format");
      }
      const std::optional<Format> format = ParseFormat(name);
      if (!format) return UsageError("unknown format " + std::string(name));
      options.format = *format;
    } else {
      return UsageError("unknown option " + std::string(arg));
    }
  }
  if (options.paths.empty()) return UsageError("no path given");
  return -1;
}

const char* ReasonFor(fxt::InputFileStatus status) {
  return status == fxt::InputFileStatus::kMissing ? "file doesn't exist" : "cannot be read";
}

struct Run {
  std::vector<fxt::FileReport> reports;
  std::vector<fxt::PathProblem> problems;
};

Run CheckAll(const Options& options) {
  Run run;
  for (const std::string& path : fxt::CollectTemplates(options.paths, run.problems)) {
    const fxt::InputFile input = fxt::ReadInputFile(path.c_str());
    if (input.status != fxt::InputFileStatus::kRead) {
      run.problems.push_back({path, ReasonFor(input.status)});
      continue;
    }
    run.reports.push_back(fxt::CheckTemplate(path, input.bytes));
    if (options.format == Format::kGcc) {
      std::fputs(fxt::GccLines(run.reports.back()).c_str(), stdout);
    }
  }
  return run;
}

int Finish(const Options& options, const Run& run) {
  int withErrors = 0;
  int withWarningsOnly = 0;
  for (const fxt::FileReport& report : run.reports) {
    if (report.HasErrors() || (options.werror && report.HasWarnings())) {
      ++withErrors;
    } else if (report.HasWarnings()) {
      ++withWarningsOnly;
    }
  }
  if (options.format != Format::kQuiet) {
    for (const fxt::PathProblem& problem : run.problems) {
      std::fprintf(stderr, "fxtlint: %s: %s\n", problem.path.c_str(), problem.reason.c_str());
    }
    std::fprintf(stderr, "fxtlint: %zu files, %d with errors, %d with warnings only\n",
                 run.reports.size(), withErrors, withWarningsOnly);
  }
  if (!run.problems.empty()) return EXIT_BAD_PATH;
  return withErrors > 0 ? EXIT_FINDINGS : EXIT_CLEAN;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = ParseOptions(argc, argv, options); status != -1) return status;
  const Run run = CheckAll(options);
  if (options.format == Format::kJson) {
    std::fputs(fxt::LintJson(run.reports, run.problems).c_str(), stdout);
  }
  return Finish(options, run);
}
