// The one way to run a load: every program, tool and test hands a template's
// bytes to RunLoad and reads what the load produced from its outcome.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "load/load_observer.h"
#include "model/fixture_template.h"
#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {

struct LoadOutcome {
  int result;  // 0 clean, -1 warnings only, else the error count
  uint8_t errorCount;
  uint8_t warningFlag;
  std::unique_ptr<FixtureTemplate> fixture;  // null when there was no fixture line
};

// Loads `bytes` as parse loads a file: the input ends at their end or at the
// first 0xFF byte. Diagnostics go to `target`, or nowhere when it is null.
// Every piece of process-wide state is reset first, so the outcome depends
// on the bytes alone.
// An observer, when given, follows every line. A tolerant load keeps
// storing after an error; only the tools ask for one.
LoadOutcome RunLoad(std::span<const uint8_t> bytes, ReportTarget* target,
                    LoadObserver* observer = nullptr, LoadMode mode = LoadMode::kTester);

// A text's bytes, for RunLoad.
inline std::span<const uint8_t> BytesOf(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace fxt
