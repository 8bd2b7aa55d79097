#include "lint/consequences.h"

#include <algorithm>
#include <tuple>

#include "load/run_load.h"

namespace fxt {

bool Consequences::Given::operator<(const Given& other) const {
  return std::tie(position, id) < std::tie(other.position, other.id);
}

// Keeps the tolerant load's diagnostics from its first error on; before it,
// both loads read and store alike. A run of one diagnostic repeated is kept
// as one entry.
class ToleratedReports : public ReportTarget {
 public:
  explicit ToleratedReports(Consequences& consequences) : consequences_(consequences) {}

  void Report(const Diagnostic& diagnostic) override {
    if (diagnostic.severity == Severity::kNote) return;
    afterError_ = afterError_ || diagnostic.severity != Severity::kWarning;
    if (!afterError_ || !consequences_.judged_) return;
    std::vector<Consequences::Given>& given = consequences_.given_;
    if (!given.empty() && given.back().position == diagnostic.position &&
        given.back().id == diagnostic.id) {
      ++given.back().times;
    } else if (given.size() < Consequences::MOST_KEPT) {
      given.push_back({diagnostic.position, diagnostic.id, 1});
    } else {
      consequences_.judged_ = false;
      given.clear();
    }
  }

 private:
  Consequences& consequences_;
  bool afterError_ = false;
};

Consequences::Consequences(std::span<const uint8_t> bytes, LoadObserver* observer) {
  ToleratedReports reports(*this);
  model_ = RunLoad(bytes, &reports, observer, LoadMode::kTolerant).fixture;
  std::stable_sort(given_.begin(), given_.end());
  // Equal entries that were not adjacent become one.
  std::vector<Given> merged;
  for (const Given& entry : given_) {
    if (!merged.empty() && !(merged.back() < entry)) {
      merged.back().times += entry.times;
    } else {
      merged.push_back(entry);
    }
  }
  given_ = std::move(merged);
}

bool Consequences::Follows(DiagnosticId id, SourcePosition position) {
  if (!judged_) return false;
  const Given key{position, id, 0};
  const auto found = std::lower_bound(given_.begin(), given_.end(), key);
  if (found == given_.end() || key < *found || found->times == 0) return true;
  --found->times;
  return false;
}

}  // namespace fxt
