// fxtdump: loads a template exactly as parse does and prints the model that
// the load built, as JSON. Diagnostics are not printed; stdout carries only
// the JSON, and problems with the command line or the file go to stderr.
#include <cstdio>
#include <optional>

#include "load/run_load.h"
#include "reader/input_file.h"
#include "tools/model_json.h"

namespace {

constexpr int EXIT_BAD_INPUT = 2;

}  // namespace

int main(int argc, char** argv) {
  const std::optional<fxt::InputFile> input =
      fxt::ReadTemplateArgument(argc, argv, stderr, "fxtdump");
  if (!input) return EXIT_BAD_INPUT;
  const std::string json = fxt::ModelJson(fxt::RunLoad(input->bytes, nullptr));
  std::printf("%s\n", json.c_str());
  return 0;
}
