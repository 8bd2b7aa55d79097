#include "format/same_reading.h"

#include <string>

#include "load/run_load.h"
#include "tools/model_json.h"

namespace fxt {
namespace {

class Transcript : public ReportTarget {
 public:
  void Report(const Diagnostic& diagnostic) override {
    text += diagnostic.message;
    text += " @" + std::to_string(diagnostic.testerLine.value_or(0)) + ":" +
            std::to_string(diagnostic.position.line) + ":" +
            std::to_string(diagnostic.position.column) + "\n";
  }
  std::string text;
};

}  // namespace

std::string ReadingOf(std::string_view text) {
  Transcript transcript;
  const LoadOutcome outcome = RunLoad(BytesOf(text), &transcript);
  return transcript.text + ModelJson(outcome);
}

bool SameReading(std::string_view before, std::string_view after) {
  return ReadingOf(before) == ReadingOf(after);
}

}  // namespace fxt
