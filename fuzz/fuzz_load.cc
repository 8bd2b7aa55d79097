// libFuzzer target: loads arbitrary bytes as a template three times:
// without a report target, reporting to a sink, and reporting to a sink with
// an observer. It holds the loads to the same result and the same model:
// printing must not change what a load finds, nor must watching it. A load
// reads its lines in place where it can, and a watched one normalises every
// line, so the two readings must agree, message for message. Every load
// resets all process-wide state, so a run depends on its input alone. The
// tools' reading of each line, which places what the reader keeps among the
// written bytes, must keep what the reader keeps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "lint/written_line.h"
#include "load/run_load.h"
#include "reader/line_reader.h"
#include "tools/model_json.h"

namespace {

class SinkTarget : public fxt::ReportTarget {
 public:
  void Report(const fxt::Diagnostic& diagnostic) override {
    messages.append(diagnostic.message).push_back('\n');
  }
  std::string messages;
};

class Watcher : public fxt::LoadObserver {};

// Every piece of every line, up to the first 0xFF byte, as the tools and
// the reader read it.
void CompareLineReadings(std::string_view text) {
  text = text.substr(0, text.find('\xFF'));
  std::string normalised;
  while (!text.empty()) {
    const size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
    do {
      const size_t taken = fxt::NormaliseLinePiece(line, normalised);
      if (fxt::WrittenLine(line).Text() != normalised) std::abort();
      line.remove_prefix(taken);
    } while (!line.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string silent = fxt::ModelJson(fxt::RunLoad({data, size}, nullptr));
  SinkTarget sink;
  const fxt::LoadOutcome outcome = fxt::RunLoad({data, size}, &sink);
  if (fxt::ModelJson(outcome) != silent) std::abort();
  SinkTarget watchedSink;
  Watcher watcher;
  const fxt::LoadOutcome watched = fxt::RunLoad({data, size}, &watchedSink, &watcher);
  if (fxt::ModelJson(watched) != silent || watchedSink.messages != sink.messages ||
      watched.result != outcome.result) {
    std::abort();
  }
  CompareLineReadings({reinterpret_cast<const char*>(data), size});
  return 0;
}
