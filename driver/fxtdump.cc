// fxtdump: loads a template exactly as parse does and prints the model that
// the load built, as JSON. Diagnostics are not printed; stdout carries only
// the JSON, and problems with the command line or the file go to stderr.
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

int Dump(const char* path) {
  const fxt::InputFile input = fxt::ReadInputFile(path);
  if (input.status != fxt::InputFileStatus::kRead) {
    std::fprintf(stderr, "fxtdump: %s: %s\n", fxt::DisplayPath(path).c_str(), input.reason.c_str());
    return EXIT_BAD_INPUT;
  }
  const std::string json = fxt::ModelJson(fxt::RunLoad(input.bytes, nullptr));
  fxt::WriteOut(json);
  fxt::WriteOut("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fxtdump FILE.fxt\n");
    return EXIT_BAD_INPUT;
  }
  int status = 0;
  try {
    status = Dump(argv[1]);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fxtdump: %s: out of memory\n", fxt::DisplayPath(argv[1]).c_str());
    status = EXIT_BAD_INPUT;
  }
  return fxt::CloseStandardOutput("fxtdump", status);
}
