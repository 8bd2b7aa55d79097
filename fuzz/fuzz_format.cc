// libFuzzer target: lays arbitrary bytes out as a template and holds the
// formatter to its promise: the laid-out text draws the same report, each
// message on the same line, and the same model, and laying it out again
// changes nothing. The whole-file check that keeps a text as it was must
// never be needed: every line's new layout is checked on its own first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "format/format_template.h"
#include "load/run_load.h"
#include "tools/model_json.h"

namespace {

class Transcript : public fxt::ReportTarget {
 public:
  void Report(const fxt::Diagnostic& diagnostic) override {
    text.append(diagnostic.message).append(" @").append(std::to_string(diagnostic.position.line));
    text += '\n';
  }
  std::string text;
};

std::string ReadingOf(std::string_view text) {
  Transcript transcript;
  const fxt::LoadOutcome outcome = fxt::RunLoad(fxt::BytesOf(text), &transcript);
  return transcript.text + fxt::ModelJson(outcome);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fxt::FormatOptions options;
  options.indent = static_cast<int>(size % (fxt::MAX_INDENT + 1));
  const fxt::Formatting formatting = fxt::FormatTemplate(text, options);
  if (formatting.keptAsItWas) std::abort();
  if (formatting.edits.empty()) return 0;
  if (ReadingOf(formatting.laidOut) != ReadingOf(text)) std::abort();
  if (fxt::FormattedText(formatting.laidOut, options) != formatting.laidOut) std::abort();
  return 0;
}
