// parse: checks one fixture template file and prints every problem it finds.
#include <cstdio>
#include <new>
#include <string_view>

#include "load/run_load.h"
#include "reader/input_file.h"
#include "tools/printing_target.h"
#include "tools/standard_output.h"

namespace {

constexpr int EXIT_BAD_INPUT = 2;

void PrintBanner() {
  fxt::PrintOut("\nTessaly \n");
  fxt::PrintOut("Orvex Fixture File Tester\n");
  fxt::PrintOut("Version 0.3\n\n");
}

// Reads the template named by the first argument; later arguments are
// ignored. Prints the refusal when there is none or it cannot be read.
bool ReadArgument(int argc, char** argv, fxt::InputFile& input) {
  if (argc < 2) {
    fxt::PrintOut("\n\n\n\n\nNo file specified - Invoke as : parse filename.fxt  \n");
    return false;
  }
  input = fxt::ReadInputFile(argv[1]);
  switch (input.status) {
    case fxt::InputFileStatus::kMissing:
      fxt::PrintOut("\n\n\n\n\n\tError\tFile %s doesn't exist\n", argv[1]);
      return false;
    case fxt::InputFileStatus::kUnreadable:
      fxt::PrintOut("\n\n\n\n\n\tError\tError opening file %s\n", argv[1]);
      return false;
    case fxt::InputFileStatus::kRead:
      return true;
  }
  return false;
}

constexpr const char* kUsage =
    "usage: parse FILE.fxt\n"
    "Checks one fixture template file and prints every problem it finds, then a verdict.\n"
    "To check a file named --help or --version, name it ./--help.\n"
    "\n"
    "  --help     print this help\n"
    "  --version  print the version\n";

// --help and --version stand alone as the first argument; anything else
// there is a file name, as it always was.
bool AnswerOption(int argc, char** argv) {
  if (argc < 2) return false;
  const std::string_view argument = argv[1];
  if (argument == "--help") {
    fxt::WriteOut(kUsage);
    return true;
  }
  if (argument == "--version") {
    fxt::PrintOut("parse %s\n", FXT_VERSION);
    return true;
  }
  return false;
}

int Check(int argc, char** argv) {
  if (AnswerOption(argc, argv)) return 0;
  PrintBanner();
  fxt::InputFile input;
  if (!ReadArgument(argc, argv, input)) return EXIT_BAD_INPUT;
  fxt::PrintingReportTarget printer;
  if (fxt::RunLoad(input.bytes, &printer).result == 0) {
    // The verdict's text holds a backslash before "Warrning" that no C
    // compiler ever printed: "\W" is no escape sequence and reads as "W".
    fxt::PrintOut("...No ErrorsWarrning detected\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  fxt::BufferOutput();
  try {
    status = Check(argc, argv);
  } catch (const std::bad_alloc&) {
    fxt::FlushOut();
    std::fprintf(stderr, "parse: %s: out of memory\n", argc > 1 ? argv[1] : "");
    status = EXIT_BAD_INPUT;
  }
  return fxt::CloseStandardOutput("parse", status);
}
