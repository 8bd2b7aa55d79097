// fxtimport: turns fixture files of the open fixture library into templates,
// one per mode, each loading clean in parse.
#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "import/desk_text.h"
#include "import/fixture_import.h"
#include "import/fixture_reader.h"
#include "reader/input_file.h"
#include "tools/display_path.h"
#include "tools/standard_output.h"

namespace {

constexpr int EXIT_REFUSED = 1;
constexpr int EXIT_BAD_PATH = 2;
constexpr int EXIT_USAGE = 3;

constexpr const char* kUsage =
    "usage: fxtimport [--mode NAME | --all] [-o DIR] FIXTURE.json...\n"
    "Writes a template for a mode of each fixture file of the open fixture library.\n"
    "\n"
    "  -m, --mode NAME    the mode of this name or short name\n"
    "  -a, --all          every mode, each to a file of its own (needs -o)\n"
    "  -o, --output DIR   write FIXTURE-MODE.fxt files into DIR and print their paths;\n"
    "                     without it the one template goes to standard output\n"
    "  -h, --help         print this help\n"
    "      --version      print the version\n"
    "\n"
    "A fixture of one mode needs neither --mode nor --all. What a template cannot\n"
    "say of a mode is a remark in it and a line on standard error.\n"
    "Exit status: 0 templates written, 1 a fixture file refused, 2 a file that\n"
    "cannot be read or written, 3 bad usage.\n";

struct Options {
  std::optional<std::string> mode;
  bool all = false;
  std::string outputDir;
  std::vector<std::string> files;
};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "fxtimport: %s; try 'fxtimport --help'\n", problem.c_str());
  return EXIT_USAGE;
}

enum LongOnly { kVersion = 256 };

// Reads the command line; a result other than -1 is the exit status to end
// with at once.
int ParseOptions(int argc, char** argv, Options& options) {
  static const option kLongOptions[] = {
      {"mode", required_argument, nullptr, 'm'},   {"all", no_argument, nullptr, 'a'},
      {"output", required_argument, nullptr, 'o'}, {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersion}, {nullptr, 0, nullptr, 0},
  };
  opterr = 0;
  int choice = 0;
  while ((choice = getopt_long(argc, argv, "+m:ao:h", kLongOptions, nullptr)) != -1) {
    switch (choice) {
      case 'm':
        options.mode = optarg;
        break;
      case 'a':
        options.all = true;
        break;
      case 'o':
        options.outputDir = optarg;
        break;
      case 'h':
        fxt::WriteOut(kUsage);
        return 0;
      case kVersion:
        fxt::PrintOut("fxtimport %s\n", FXT_VERSION);
        return 0;
      default:
        return UsageError(optopt != 0 ? std::string("unknown option -") + static_cast<char>(optopt)
                                      : std::string("unknown option ") + argv[optind - 1]);
    }
  }
  for (int i = optind; i < argc; ++i) options.files.emplace_back(argv[i]);
  if (options.files.empty()) return UsageError("no fixture file named");
  if (options.mode && options.all) return UsageError("--mode and --all exclude each other");
  if (options.outputDir.empty() && (options.all || options.files.size() > 1)) {
    return UsageError("several templates need a folder for their files: -o DIR");
  }
  return -1;
}

std::string ReadText(const std::string& path, bool& read) {
  const fxt::InputFile input = fxt::ReadInputFile(path.c_str());
  read = input.status == fxt::InputFileStatus::kRead;
  if (!read) {
    std::fprintf(stderr, "fxtimport: %s: %s\n", fxt::DisplayPath(path).c_str(),
                 input.reason.c_str());
  }
  return {input.bytes.begin(), input.bytes.end()};
}

// What the file's place in the library says: its folder is the
// manufacturer's key, and the library's manufacturers.json lies two folders up.
fxt::ImportRequest RequestFor(const std::string& path, const Options& options) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  const fs::path folder = absolute.parent_path();
  fxt::ImportRequest request;
  request.fileName = fs::path(path).filename().string();
  request.manufacturerKey = folder.filename().string();
  request.mode = options.mode;
  const fs::path manufacturers = folder.parent_path() / "manufacturers.json";
  if (fs::is_regular_file(manufacturers, error)) {
    bool read = false;
    const std::string json = ReadText(manufacturers.string(), read);
    if (read) request.manufacturerName = fxt::ManufacturerNamed(json, request.manufacturerKey);
  }
  return request;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int savedErrno = errno;
  if (file != nullptr && std::fclose(file) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "fxtimport: %s: %s\n", fxt::DisplayPath(path).c_str(),
                 std::strerror(errno != 0 ? errno : savedErrno));
  }
  return written;
}

using fxt::Quoted;

std::string QuotedList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + Quoted(name);
  return list;
}

// The reason a file gave no template: refused, or no mode chosen.
int NoTemplate(const std::string& path, const fxt::FixtureImport& imported,
               const Options& options) {
  const std::string shown = fxt::DisplayPath(path);
  if (!imported.problem.empty()) {
    std::fprintf(stderr, "fxtimport: %s: %s\n", shown.c_str(), imported.problem.c_str());
    return EXIT_REFUSED;
  }
  std::fprintf(stderr, "fxtimport: %s: no mode is named %s; its modes: %s\n", shown.c_str(),
               Quoted(options.mode.value_or("")).c_str(), QuotedList(imported.modeNames).c_str());
  return EXIT_REFUSED;
}

int ImportFile(const std::string& path, const Options& options) {
  bool read = false;
  const std::string json = ReadText(path, read);
  if (!read) return EXIT_BAD_PATH;
  const fxt::FixtureImport imported = fxt::ImportFixture(json, RequestFor(path, options));
  if (imported.templates.empty()) return NoTemplate(path, imported, options);
  const std::string shown = fxt::DisplayPath(path);
  if (!options.all && !options.mode && imported.templates.size() > 1) {
    std::vector<std::string> modes;
    for (const fxt::ImportedTemplate& made : imported.templates) modes.push_back(made.modeName);
    std::fprintf(stderr,
                 "fxtimport: %s has %zu modes (%s): choose one with --mode NAME, or --all\n",
                 shown.c_str(), imported.templates.size(), QuotedList(modes).c_str());
    return EXIT_REFUSED;
  }
  int status = 0;
  for (const fxt::ImportedTemplate& made : imported.templates) {
    for (const std::string& loss : made.losses) {
      std::fprintf(stderr, "fxtimport: %s: mode %s: %s\n", shown.c_str(),
                   Quoted(made.modeName).c_str(), fxt::Latin1ToUtf8(loss).c_str());
    }
    if (options.outputDir.empty()) {
      fxt::WriteOut(made.text);
      continue;
    }
    const std::string target = (std::filesystem::path(options.outputDir) / made.fileName).string();
    if (!WriteFile(target, made.text)) {
      status = EXIT_BAD_PATH;
      continue;
    }
    fxt::PrintOut("%s\n", fxt::DisplayPath(target).c_str());
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const int early = ParseOptions(argc, argv, options);
  if (early != -1) return fxt::CloseStandardOutput("fxtimport", early);
  int status = 0;
  for (const std::string& file : options.files) {
    try {
      status = std::max(status, ImportFile(file, options));
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "fxtimport: %s: out of memory\n", fxt::DisplayPath(file).c_str());
      status = EXIT_BAD_PATH;
    }
    fxt::FlushOut();
  }
  return fxt::CloseStandardOutput("fxtimport", status);
}
