// fxtdump: loads a template exactly as parse does and prints the model that
// the load built, as JSON. Diagnostics are not printed; stdout carries only
// the JSON, and problems with the command line or the file go to stderr.
#include <cstdio>
#include <optional>

#include "reader/input_file.h"
#include "reader/load_template.h"
#include "reader/parse_context.h"
#include "tools/model_json.h"

namespace {

constexpr int EXIT_BAD_INPUT = 2;
constexpr int FIXTURE_SLOT = 1;

}  // namespace

int main(int argc, char** argv) {
  const std::optional<fxt::InputFile> input =
      fxt::ReadTemplateArgument(argc, argv, stderr, "fxtdump");
  if (!input) return EXIT_BAD_INPUT;
  fxt::SetInput(input->bytes);
  const int result = fxt::LoadTemplate(nullptr, FIXTURE_SLOT);
  const fxt::ParseContext& ctx = fxt::parseContext;
  const std::string json =
      fxt::ModelJson({result, ctx.errorCount, ctx.warningFlag, fxt::FixtureInSlot(FIXTURE_SLOT)});
  std::printf("%s\n", json.c_str());
  return 0;
}
