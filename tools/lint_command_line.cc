#include "tools/lint_command_line.h"

#include <getopt.h>

#include <string_view>

#include "tools/tool_run.h"

namespace fxt {
namespace {

enum OptionId {
  kFormat = 'f',
  kHelp = 'h',
  kWerror = 256,
  kSelect,
  kIgnore,
  kTesterOnly,
  kMaxDiagnostics,
  kStdinFilename,
  kFix,
  kDiff,
  kStatistics,
  kColour,
  kShowSource,
  kNoShowSource,
  kNoConfig,
  kExplain,
  kListRules,
  kVersion,
};

// One row per option: what it is called, what it takes, and its help,
// whose lines after the first go on under the first.
struct OptionEntry {
  std::string_view name;
  std::string_view argument;  // empty when it takes none
  std::string_view help;
  OptionId id;
  char letter;  // 0 when it has no short form
};

// clang-format off
constexpr OptionEntry kOptions[] = {
    {"format", "FORMAT", "the report's form: gcc, json, sarif or quiet (below)", kFormat, 'f'},
    {"werror", "", "count warnings as errors", kWerror, 0},
    {"select", "CODES", "report only these codes or code prefixes (FT3,FL105)", kSelect, 0},
    {"ignore", "CODES", "report none of these codes or code prefixes", kIgnore, 0},
    {"tester-only", "", "report exactly what parse reports: no rules, no notes", kTesterOnly, 0},
    {"max-diagnostics", "N", "show at most N diagnostics of a file (default 1000;\n0 shows all)",
     kMaxDiagnostics, 0},
    {"stdin-filename", "NAME", "the name of the template read from - (default <stdin>)",
     kStdinFilename, 0},
    {"fix", "", "apply the safe fixes to the files, then report what is\nleft", kFix, 0},
    {"diff", "", "print the safe fixes as a unified diff; change nothing", kDiff, 0},
    {"statistics", "", "print how many diagnostics of each code, not each one", kStatistics, 0},
    {"color", "WHEN",
     "colour the report: auto (on a terminal, unless NO_COLOR\nis set), always or never", kColour,
     0},
    {"show-source", "",
     "show each diagnostic's line with a caret under it\n(the default on a terminal)",
     kShowSource, 0},
    {"no-show-source", "", "never show the lines", kNoShowSource, 0},
    {"no-config", "", "read no fxtlint.toml", kNoConfig, 0},
    {"explain", "CODE", "print the documentation of a code", kExplain, 0},
    {"list-rules", "", "print every code, its severity and what it reports", kListRules, 0},
    {"help", "", "print this help", kHelp, 'h'},
    {"version", "", "print the version", kVersion, 0},
};
// clang-format on

constexpr size_t HELP_COLUMN = 28;
constexpr size_t FORMAT_HELP_COLUMN = 20;

std::string OptionColumn(const OptionEntry& entry) {
  std::string column = entry.letter != 0 ? std::string("  -") + entry.letter + ", " : "      ";
  column += "--" + std::string(entry.name);
  if (!entry.argument.empty()) column += " " + std::string(entry.argument);
  return column;
}

// The help's lines, the first beside `column`, the others under it.
std::string Described(std::string column, std::string_view help, size_t at = HELP_COLUMN) {
  column += column.size() < at ? std::string(at - column.size(), ' ') : " ";
  for (size_t end = help.find('\n'); end != std::string_view::npos; end = help.find('\n')) {
    column += std::string(help.substr(0, end)) + "\n" + std::string(at, ' ');
    help.remove_prefix(end + 1);
  }
  return column + std::string(help) + "\n";
}

std::optional<When> WhenNamed(std::string_view name) {
  if (name == "auto") return When::kAuto;
  if (name == "always") return When::kAlways;
  if (name == "never") return When::kNever;
  return std::nullopt;
}

ReadCommandLine UsageError(std::string problem) {
  return {Action::kUsageError, {}, std::move(problem)};
}

// Reads one option into `read`; false when it ends the reading.
bool ReadOption(int id, const char* value, ReadCommandLine& read) {
  CommandLine& options = read.options;
  switch (id) {
    case kFormat: {
      const std::optional<FormatKind> format = FormatNamed(value);
      if (!format) {
        read = UsageError(std::string("unknown format ") + value);
        return false;
      }
      options.format = *format;
      options.formatGiven = true;
      return true;
    }
    case kWerror:
      options.werror = true;
      return true;
    case kSelect:
    case kIgnore: {
      std::string unknown;
      CodeFilter check;
      if (!check.Select(value, unknown)) {
        read = UsageError(unknown.empty() ? std::string(id == kSelect ? "--select" : "--ignore") +
                                                " takes a list of codes, not '" + value + "'"
                                          : unknown + " is no code and begins none");
        return false;
      }
      (id == kSelect ? options.select : options.ignore).emplace_back(value);
      return true;
    }
    case kTesterOnly:
      options.testerOnly = true;
      return true;
    case kMaxDiagnostics: {
      size_t count = 0;
      if (!ReadCount(value, count)) {
        read = UsageError(std::string("--max-diagnostics takes a number, not ") + value);
        return false;
      }
      options.maxDiagnostics = count;
      return true;
    }
    case kStdinFilename:
      options.stdinName = value;
      options.stdinNamed = true;
      return true;
    case kFix:
      options.fix = true;
      return true;
    case kDiff:
      options.diff = true;
      return true;
    case kStatistics:
      options.statistics = true;
      return true;
    case kColour: {
      const std::optional<When> when = WhenNamed(value);
      if (!when) {
        read = UsageError(std::string("--color takes auto, always or never, not ") + value);
        return false;
      }
      options.colour = *when;
      return true;
    }
    case kShowSource:
    case kNoShowSource:
      options.showSource = id == kShowSource ? When::kAlways : When::kNever;
      return true;
    case kNoConfig:
      options.noConfig = true;
      return true;
    case kExplain:
      read.action = Action::kExplain;
      read.argument = value;
      return false;
    case kListRules:
      read.action = Action::kListRules;
      return false;
    case kHelp:
      read.action = Action::kHelp;
      return false;
    case kVersion:
      read.action = Action::kVersion;
      return false;
    default:
      return false;
  }
}

// Options that ask for two things at once.
std::optional<std::string> Conflict(const CommandLine& options) {
  if (options.statistics && options.formatGiven && options.format != FormatKind::kGcc) {
    return "--statistics prints a table of its own, in no --format";
  }
  if (options.statistics && options.diff) return "--statistics and --diff print different things";
  if (options.diff && options.formatGiven) return "--diff prints a diff, in no --format";
  return std::nullopt;
}

}  // namespace

ReadCommandLine ParseCommandLine(int argc, char** argv) {
  std::vector<option> longOptions;
  std::string shortOptions = ":";
  for (const OptionEntry& entry : kOptions) {
    const int hasArgument = entry.argument.empty() ? no_argument : required_argument;
    longOptions.push_back({entry.name.data(), hasArgument, nullptr, entry.id});
    if (entry.letter != 0) shortOptions += std::string(1, entry.letter) + (hasArgument ? ":" : "");
  }
  longOptions.push_back({nullptr, 0, nullptr, 0});
  ReadCommandLine read;
  opterr = 0;
  optind = 1;
  int option;
  while ((option = getopt_long(argc, argv, shortOptions.c_str(), longOptions.data(), nullptr)) !=
         -1) {
    if (option == ':') return UsageError(std::string(argv[optind - 1]) + " needs a value");
    if (option == '?') return UsageError(std::string("unknown option ") + argv[optind - 1]);
    if (!ReadOption(option, optarg, read)) return read;
  }
  for (int i = optind; i < argc; ++i) read.options.paths.emplace_back(argv[i]);
  if (read.options.paths.empty()) return UsageError("no path given");
  if (std::optional<std::string> conflict = Conflict(read.options)) {
    return UsageError(*conflict);
  }
  return read;
}

std::string HelpText() {
  std::string help =
      "usage: fxtlint [options] PATH...\n"
      "       fxtlint --explain CODE | --list-rules\n"
      "Checks every template named, and every *.fxt file below each directory named;\n"
      "- reads a template from standard input. The nearest fxtlint.toml above each\n"
      "template gives settings that the options below replace.\n\n";
  for (const OptionEntry& entry : kOptions) help += Described(OptionColumn(entry), entry.help);
  help += "\nFormats (-f):\n";
  for (const FormatName& format : kFormatNames) {
    const bool byDefault = format.kind == FormatKind::kGcc;
    help += Described("    " + std::string(format.name) + (byDefault ? " (default):" : ":"),
                      format.help, FORMAT_HELP_COLUMN);
  }
  help +=
      "\nExit status: 0 no errors, 1 errors found (with --diff: a file would change),\n"
      "2 a path or a settings file that cannot be read, 3 bad usage.\n";
  return help;
}

LintOptions OptionsFor(const CommandLine& commandLine, const ProjectConfig* config) {
  LintOptions options;
  options.testerOnly = commandLine.testerOnly;
  options.werror = commandLine.werror || (config != nullptr && config->werror.value_or(false));
  if (commandLine.maxDiagnostics) {
    options.maxDiagnostics = *commandLine.maxDiagnostics;
  } else if (config != nullptr && config->maxDiagnostics) {
    options.maxDiagnostics = *config->maxDiagnostics;
  }
  // The codes were checked as they were read.
  std::string unknown;
  const auto codes = [&](const std::vector<std::string>& given,
                         const std::optional<std::vector<std::string>>& configured) {
    if (!given.empty() || config == nullptr || !configured) return given;
    return *configured;
  };
  for (const std::string& list :
       codes(commandLine.select, config ? config->select : std::nullopt)) {
    options.codes.Select(list, unknown);
  }
  for (const std::string& list :
       codes(commandLine.ignore, config ? config->ignore : std::nullopt)) {
    options.codes.Ignore(list, unknown);
  }
  return options;
}

}  // namespace fxt
