#include "format/same_reading.h"

#include <cstdint>
#include <functional>
#include <string>

#include "load/run_load.h"
#include "tools/model_json.h"

namespace fxt {
namespace {

// Folds every message, its line number and the line it stands on into one
// number, so that a load that reports gigabytes is compared in constant
// memory.
class ReportDigest : public ReportTarget {
 public:
  void Report(const Diagnostic& diagnostic) override {
    Mix(std::hash<std::string_view>{}(diagnostic.message));
    Mix(static_cast<uint64_t>(diagnostic.testerLine.value_or(-1)));
    Mix(static_cast<uint64_t>(diagnostic.position.line));
  }
  uint64_t digest = 0;
  uint64_t count = 0;

 private:
  void Mix(uint64_t value) {
    // splitmix64's finaliser over the running digest and the value.
    uint64_t z = digest ^ (value + 0x9e3779b97f4a7c15ULL + (digest << 6) + (digest >> 2));
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    digest = z ^ (z >> 31);
    ++count;
  }
};

struct Reading {
  uint64_t digest;
  uint64_t count;
  std::string model;  // carries the load's result and counts as well

  bool operator==(const Reading&) const = default;
};

Reading ReadingOf(std::string_view text) {
  ReportDigest report;
  const LoadOutcome outcome = RunLoad(BytesOf(text), &report);
  return {report.digest, report.count, ModelJson(outcome)};
}

}  // namespace

bool SameReading(std::string_view before, std::string_view after) {
  return ReadingOf(before) == ReadingOf(after);
}

}  // namespace fxt
