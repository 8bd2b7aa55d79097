// fxtchart: draws a template as one self-contained HTML page: its DMX
// footprint and the stops of its parameters, with fxtlint's diagnostics.
#include <getopt.h>

#include <cstdio>
#include <new>
#include <string>

#include "chart/chart_source.h"
#include "chart/page.h"
#include "reader/input_file.h"
#include "tools/display_path.h"
#include "tools/replace_file.h"
#include "tools/standard_output.h"

namespace {

constexpr int EXIT_TROUBLE = 2;

constexpr const char* kUsage =
    "usage: fxtchart [options] FILE.fxt\n"
    "Draws the template as one HTML page that needs nothing else: its DMX\n"
    "footprint, the stops of each parameter on their value axes, and the\n"
    "diagnostics of fxtlint, each beside a text table of the same values.\n"
    "- reads the template from standard input.\n"
    "\n"
    "  -o, --output FILE  write the page to FILE (default: standard output)\n"
    "  -h, --help         print this help\n"
    "      --version      print the version\n"
    "\n"
    "Exit status: 0 the page was written, whatever the template holds;\n"
    "2 the template could not be read, the page could not be written, or bad usage.\n";

struct Options {
  std::string path;
  std::string output;  // "" for standard output
};

// A path as the page and the messages show it; "-" is standard input.
std::string NameOf(const std::string& path) {
  return path == "-" ? "<stdin>" : fxt::Utf8Path(fxt::DisplayPath(path));
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "fxtchart: %s; try 'fxtchart --help'\n", problem.c_str());
  return EXIT_TROUBLE;
}

enum LongOnly { kVersion = 256 };

// Reads the command line; a result other than -1 is the exit status to end
// with at once.
int ParseOptions(int argc, char** argv, Options& options) {
  static const option kLongOptions[] = {
      {"output", required_argument, nullptr, 'o'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, kVersion},
      {nullptr, 0, nullptr, 0},
  };
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, ":o:h", kLongOptions, nullptr)) != -1) {
    switch (option) {
      case 'o':
        options.output = optarg;
        break;
      case 'h':
        fxt::WriteOut(kUsage);
        return 0;
      case kVersion:
        fxt::PrintOut("fxtchart %s\n", FXT_VERSION);
        return 0;
      case ':':
        return UsageError(std::string("option ") + argv[optind - 1] + " needs a file name");
      default:
        return UsageError(std::string("unknown option ") + argv[optind - 1]);
    }
  }
  if (optind == argc) return UsageError("no file given");
  if (argc - optind > 1) return UsageError("one file at a time");
  options.path = argv[optind];
  return -1;
}

int Chart(const Options& options) {
  const fxt::InputFile input =
      options.path == "-" ? fxt::ReadStandardInput() : fxt::ReadInputFile(options.path.c_str());
  if (input.status != fxt::InputFileStatus::kRead) {
    std::fprintf(stderr, "fxtchart: %s: %s\n", NameOf(options.path).c_str(), input.reason.c_str());
    return EXIT_TROUBLE;
  }
  const std::string page =
      fxt::chart::ChartPage(fxt::chart::ReadForChart(NameOf(options.path), input.bytes));
  if (options.output.empty() || options.output == "-") {
    fxt::WriteOut(page);
    return 0;
  }
  const std::string problem = fxt::WriteWholeFile(options.output, page);
  if (!problem.empty()) {
    std::fprintf(stderr, "fxtchart: %s: %s\n", NameOf(options.output).c_str(), problem.c_str());
    return EXIT_TROUBLE;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  int status = ParseOptions(argc, argv, options);
  if (status == -1) {
    try {
      status = Chart(options);
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "fxtchart: %s: out of memory\n", NameOf(options.path).c_str());
      status = EXIT_TROUBLE;
    }
  }
  return fxt::CloseStandardOutput("fxtchart", status);
}
