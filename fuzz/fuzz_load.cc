// libFuzzer target: loads arbitrary bytes as a template, once without a
// report target and once reporting to a sink, and holds the two loads to
// the same result. All process-wide state is reset around every input, so a
// run depends on its input alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "reader/input_file.h"
#include "reader/load_template.h"
#include "reader/parse_context.h"
#include "tools/model_json.h"

namespace {

class SinkTarget : public fxt::ReportTarget {
 public:
  void Report(const fxt::Diagnostic& diagnostic) override {
    bytes += std::strlen(diagnostic.message);
  }
  size_t bytes = 0;
};

struct Outcome {
  int result;
  uint8_t errorCount;
  uint8_t warningFlag;
};

Outcome Load(const std::vector<uint8_t>& input, fxt::ReportTarget* target) {
  fxt::ResetProcessState();
  fxt::SetInput(input);
  const int result = fxt::LoadTemplate(target, 1);
  return {result, fxt::parseContext.errorCount, fxt::parseContext.warningFlag};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> input = fxt::MakeInputBuffer({data, size});
  const Outcome silent = Load(input, nullptr);
  const std::string json =
      fxt::ModelJson({silent.result, silent.errorCount, silent.warningFlag, fxt::FixtureInSlot(1)});
  SinkTarget sink;
  const Outcome reported = Load(input, &sink);
  if (silent.result != reported.result || silent.errorCount != reported.errorCount ||
      silent.warningFlag != reported.warningFlag) {
    std::abort();  // printing must not change what a load finds
  }
  fxt::ResetProcessState();
  return json.empty() ? 1 : 0;
}
