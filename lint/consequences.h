// Which of the tester's diagnostics follow from an earlier error. After its
// first error the tester checks later lines against values it no longer
// stores, and so may call a sound line wrong. A tolerant load of the same
// bytes stores them: a diagnostic that it does not give too is a
// consequence of the first error, not a mistake of its own line.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "load/load_observer.h"
#include "model/fixture_template.h"
#include "reader/report.h"

namespace fxt {

class Consequences {
 public:
  // Loads `bytes` tolerantly and keeps what that load reports from its first
  // error on, and the model it built; `observer`, if given, follows the
  // load. Not while another load runs: a load resets the process's load
  // state.
  explicit Consequences(std::span<const uint8_t> bytes, LoadObserver* observer = nullptr);

  // The template that the tolerant load built, if any; once.
  std::unique_ptr<FixtureTemplate> TakeModel() { return std::move(model_); }

  // Whether the tester's diagnostic, reported after its first error, is
  // one that the tolerant load did not give. Each diagnostic of the
  // tolerant load answers for one of the tester's.
  bool Follows(DiagnosticId id, SourcePosition position);

 private:
  struct Given {
    SourcePosition position;
    DiagnosticId id;
    uint32_t times;

    bool operator<(const Given& other) const;
  };
  // Past this many, the file is judged no further: its diagnostics are all
  // shown as the tester gives them.
  static constexpr size_t MOST_KEPT = size_t{1} << 16;

  std::vector<Given> given_;  // sorted by place and code
  std::unique_ptr<FixtureTemplate> model_;
  bool judged_ = true;

  friend class ToleratedReports;
};

}  // namespace fxt
