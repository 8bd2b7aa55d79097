// fxtfmt: lays templates out in one layout, which never changes what the
// tester reports or the model it builds.
#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/project_settings.h"
#include "format/format_template.h"
#include "format/unified_diff.h"
#include "reader/input_file.h"
#include "tools/display_path.h"
#include "tools/replace_file.h"
#include "tools/standard_output.h"
#include "tools/template_files.h"
#include "tools/tool_run.h"

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_WOULD_CHANGE = 1;
constexpr int EXIT_BAD_PATH = 2;

constexpr const char* kUsage =
    "usage: fxtfmt [options] PATH...\n"
    "Lays out every template named, and every *.fxt file below each directory named,\n"
    "in one layout that changes nothing the tester reports; - reads a template from\n"
    "standard input and writes it laid out to standard output.\n"
    "\n"
    "      --check               name the files that would change; change nothing\n"
    "      --diff                show the changes as a unified diff; change nothing\n"
    "      --indent N            blanks before a block's lines (0 to 8, default 2, or\n"
    "                            [format] indent of the fxtlint.toml that applies)\n"
    "      --no-config           read no fxtlint.toml\n"
    "      --stdin-filename NAME the name of the template read from - (default <stdin>)\n"
    "  -h, --help                print this help\n"
    "      --version             print the version\n"
    "\n"
    "Exit status: 0 done, or with --check or --diff every file laid out already;\n"
    "1 a file would change (--check, --diff); 2 a path that cannot be read or\n"
    "written; 3 bad usage.\n";

enum class Mode { kRewrite, kCheck, kDiff };

struct Options {
  Mode mode = Mode::kRewrite;
  fxt::FormatOptions format;
  bool indentGiven = false;
  bool noConfig = false;
  std::optional<std::string> stdinName;
  std::vector<std::string> paths;
};

int UsageError(const std::string& problem) { return fxt::UsageError("fxtfmt", problem); }

bool ReadIndent(const char* text, int& indent) {
  size_t count = 0;
  if (!fxt::ReadCount(text, count) || count > fxt::MAX_INDENT) return false;
  indent = static_cast<int>(count);
  return true;
}

enum LongOnly {
  kCheck = 256,
  kDiff,
  kIndent,
  kNoConfig,
  kStdinFilename,
  kVersion,
};

// Reads the command line over the options given; a result other than -1 is
// the exit status to end with at once.
int ParseOptions(int argc, char** argv, Options& options) {
  static const option kLongOptions[] = {
      {"check", no_argument, nullptr, kCheck},
      {"diff", no_argument, nullptr, kDiff},
      {"indent", required_argument, nullptr, kIndent},
      {"no-config", no_argument, nullptr, kNoConfig},
      {"stdin-filename", required_argument, nullptr, kStdinFilename},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersion},
      {nullptr, 0, nullptr, 0},
  };
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, ":h", kLongOptions, nullptr)) != -1) {
    switch (option) {
      case kCheck:
        if (options.mode != Mode::kDiff) options.mode = Mode::kCheck;
        break;
      case kDiff:
        options.mode = Mode::kDiff;
        break;
      case kIndent:
        if (!ReadIndent(optarg, options.format.indent)) {
          return UsageError(std::string("--indent takes a number from 0 to ") +
                            std::to_string(fxt::MAX_INDENT) + ", not " + optarg);
        }
        options.indentGiven = true;
        break;
      case kNoConfig:
        options.noConfig = true;
        break;
      case kStdinFilename:
        options.stdinName = optarg;
        break;
      case 'h':
        fxt::WriteOut(kUsage);
        return EXIT_CLEAN;
      case kVersion:
        fxt::PrintOut("fxtfmt %s\n", FXT_VERSION);
        return EXIT_CLEAN;
      default:
        return fxt::OptionError("fxtfmt", option, argv);
    }
  }
  return fxt::TakePaths("fxtfmt", argc, argv, options.paths);
}

class Run {
 public:
  explicit Run(const Options& options) : options_(options) {}

  int Format() {
    std::vector<fxt::PathProblem> walkProblems;
    const std::vector<std::string> files = fxt::CollectTemplates(options_.paths, walkProblems);
    for (const fxt::PathProblem& problem : walkProblems) Problem(problem);
    if (!ReadSettings(files)) return EXIT_BAD_PATH;
    for (const std::string& path : files) FormatFile(path);
    if (!templateToStdout_) Summarise();
    if (problems_ > 0) return EXIT_BAD_PATH;
    return options_.mode != Mode::kRewrite && changed_ > 0 ? EXIT_WOULD_CHANGE : EXIT_CLEAN;
  }

 private:
  const Options& options_;
  fxt::ProjectSettings settings_;
  size_t files_ = 0;
  size_t changed_ = 0;
  size_t problems_ = 0;
  bool templateToStdout_ = false;

  // Standard output comes first in a log that holds both.
  static void SayOnStderr(const std::string& text) {
    fxt::FlushOut();
    std::fprintf(stderr, "fxtfmt: %s\n", text.c_str());
  }

  void Problem(const fxt::PathProblem& problem) {
    ++problems_;
    SayOnStderr(fxt::DisplayPath(problem.path) + ": " + problem.reason);
  }

  // Every settings file is read before the first template is laid out: one
  // that cannot be read stops the run.
  bool ReadSettings(const std::vector<std::string>& files) {
    if (options_.noConfig || options_.indentGiven) return true;
    std::vector<std::string> folders;
    folders.reserve(files.size());
    for (const std::string& path : files) {
      folders.push_back(fxt::SettingsFolderOf(path, options_.stdinName));
    }
    return settings_.Read(folders, [this](const fxt::ConfigProblem& problem) {
      ++problems_;
      SayOnStderr(fxt::DisplayPath(problem.Text()));
    });
  }

  // The command line's options, with the indent of the template's settings
  // where the command line gives none.
  fxt::FormatOptions FormatOptionsFor(const std::string& path) {
    fxt::FormatOptions format = options_.format;
    if (options_.noConfig || options_.indentGiven) return format;
    const fxt::ProjectConfig* settings =
        settings_.For(fxt::SettingsFolderOf(path, options_.stdinName));
    if (settings != nullptr) format.indent = settings->formatIndent;
    return format;
  }

  void FormatFile(const std::string& path) {
    const bool fromStdin = path == "-";
    const std::string name = fromStdin ? options_.stdinName.value_or("<stdin>") : path;
    try {
      const fxt::InputFile input =
          fromStdin ? fxt::ReadStandardInput() : fxt::ReadInputFile(path.c_str());
      if (input.status != fxt::InputFileStatus::kRead) {
        Problem({name, input.reason});
        return;
      }
      const std::string_view text(reinterpret_cast<const char*>(input.bytes.data()),
                                  input.bytes.size());
      Lay(path, name, text);
    } catch (const std::bad_alloc&) {
      Problem({name, "out of memory"});
    }
  }

  void Lay(const std::string& path, const std::string& name, std::string_view text) {
    ++files_;
    const std::optional<fxt::TextBytes> formatted = fxt::LaidOutText(text, FormatOptionsFor(path));
    const bool changes = formatted.has_value();
    const std::string_view laidOut =
        changes ? std::string_view(formatted->data(), formatted->size()) : text;
    switch (options_.mode) {
      case Mode::kCheck:
        if (changes) fxt::WriteOut(fxt::DisplayPath(name) + "\n");
        break;
      case Mode::kDiff:
        fxt::WriteOut(fxt::UnifiedDiff(fxt::DisplayPath(name), text, laidOut));
        break;
      case Mode::kRewrite:
        if (path == "-") {
          templateToStdout_ = true;
          fxt::WriteOut(laidOut);
        } else if (changes) {
          const std::string reason = fxt::ReplaceFile(path, laidOut, text);
          if (!reason.empty()) {
            Problem({name, reason});
            return;
          }
        }
        break;
    }
    if (changes) ++changed_;
  }

  void Summarise() const {
    const char* done = options_.mode == Mode::kRewrite ? " reformatted" : " would be reformatted";
    SayOnStderr(std::to_string(files_) + (files_ == 1 ? " file, " : " files, ") +
                std::to_string(changed_) + done);
  }
};

}  // namespace

int main(int argc, char** argv) {
  return fxt::RunTool("fxtfmt", [&] {
    Options options;
    const int status = ParseOptions(argc, argv, options);
    return status != -1 ? status : Run(options).Format();
  });
}
