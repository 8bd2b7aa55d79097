// fxtdump: loads a template exactly as parse does and prints the model that
// the load built, as JSON. Diagnostics are not printed; stdout carries only
// the JSON, and problems with the command line or the file go to stderr.
#include <getopt.h>

#include <cstdio>
#include <new>
#include <string>

#include "load/run_load.h"
#include "reader/input_file.h"
#include "tools/display_path.h"
#include "tools/model_json.h"
#include "tools/standard_output.h"

namespace {

constexpr int EXIT_BAD_INPUT = 2;

constexpr const char* kUsage =
    "usage: fxtdump [options] FILE.fxt\n"
    "Loads a template exactly as parse does and prints the model that the load\n"
    "built, as one JSON object; - reads the template from standard input.\n"
    "\n"
    "      --tolerant  store the values after an error too, as fxtchart draws them\n"
    "  -h, --help      print this help\n"
    "      --version   print the version\n"
    "\n"
    "Exit status: 0 the template was read, 2 it could not be read or bad usage.\n";

// A path as messages show it; "-" is standard input.
std::string NameOf(const std::string& path) {
  return path == "-" ? "<stdin>" : fxt::DisplayPath(path);
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "fxtdump: %s; try 'fxtdump --help'\n", problem.c_str());
  return EXIT_BAD_INPUT;
}

enum LongOnly { kVersion = 256, kTolerant };

struct Options {
  std::string path;
  fxt::LoadMode mode = fxt::LoadMode::kTester;
};

// Reads the command line into the one path to dump and the load's mode; a
// result other than -1 is the exit status to end with at once.
int ParseOptions(int argc, char** argv, Options& options) {
  static const option kLongOptions[] = {
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersion},
      {"tolerant", no_argument, nullptr, kTolerant},
      {nullptr, 0, nullptr, 0},
  };
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, "h", kLongOptions, nullptr)) != -1) {
    switch (option) {
      case 'h':
        fxt::WriteOut(kUsage);
        return 0;
      case kVersion:
        fxt::PrintOut("fxtdump %s\n", FXT_VERSION);
        return 0;
      case kTolerant:
        options.mode = fxt::LoadMode::kTolerant;
        break;
      default:
        return UsageError(std::string("unknown option ") + argv[optind - 1]);
    }
  }
  if (optind == argc) return UsageError("no file given");
  if (argc - optind > 1) return UsageError("one file at a time");
  options.path = argv[optind];
  return -1;
}

int Dump(const Options& options) {
  const std::string& path = options.path;
  const fxt::InputFile input =
      path == "-" ? fxt::ReadStandardInput() : fxt::ReadInputFile(path.c_str());
  if (input.status != fxt::InputFileStatus::kRead) {
    std::fprintf(stderr, "fxtdump: %s: %s\n", NameOf(path).c_str(), input.reason.c_str());
    return EXIT_BAD_INPUT;
  }
  const std::string json =
      fxt::ModelJson(fxt::RunLoad(input.bytes, nullptr, nullptr, options.mode));
  fxt::WriteOut(json);
  fxt::WriteOut("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  int status = ParseOptions(argc, argv, options);
  if (status == -1) {
    try {
      status = Dump(options);
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "fxtdump: %s: out of memory\n", NameOf(options.path).c_str());
      status = EXIT_BAD_INPUT;
    }
  }
  return fxt::CloseStandardOutput("fxtdump", status);
}
