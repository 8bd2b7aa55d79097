// libFuzzer target: loads arbitrary bytes as a template, once without a
// report target and once reporting to a sink, and holds the two loads to the
// same result and the same model: printing must not change what a load
// finds. Every load resets all process-wide state, so a run depends on its
// input alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "load/run_load.h"
#include "tools/model_json.h"

namespace {

class SinkTarget : public fxt::ReportTarget {
 public:
  void Report(const fxt::Diagnostic& diagnostic) override {
    bytes += std::strlen(diagnostic.message);
  }
  size_t bytes = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string silent = fxt::ModelJson(fxt::RunLoad({data, size}, nullptr));
  SinkTarget sink;
  const std::string reported = fxt::ModelJson(fxt::RunLoad({data, size}, &sink));
  if (silent != reported) std::abort();
  return 0;
}
