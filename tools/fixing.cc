#include "tools/fixing.h"

#include <algorithm>
#include <map>
#include <vector>

#include "load/run_load.h"

namespace fxt {
namespace {

// More passes than any template needs: a fix that brought back what it
// mended would otherwise run for ever.
constexpr int MOST_PASSES = 10;
// The fixes that one pass holds at most, so that memory stays bounded
// however many a file offers; the next pass takes the rest.
constexpr size_t MOST_FIXES_A_PASS = 100000;

class FixCollector : public LintSink {
 public:
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    if (diagnostic.fix != nullptr && !diagnostic.fix->edits.empty() &&
        fixes.size() < MOST_FIXES_A_PASS) {
      fixes.push_back(*diagnostic.fix);
    }
  }
  std::vector<Fix> fixes;
};

// The edits taken so far, by the offset where each begins.
class TakenRanges {
 public:
  bool Overlaps(const TextEdit& edit) const {
    auto after = taken_.upper_bound(edit.begin);
    if (after != taken_.end() && after->first < edit.end) return true;
    if (after == taken_.begin()) return false;
    const auto before = std::prev(after);
    // A range that holds the offset, or an insertion at the same place.
    return before->second > edit.begin || (before->first == edit.begin);
  }
  void Take(const TextEdit& edit) { taken_.emplace(edit.begin, edit.end); }

 private:
  std::multimap<size_t, size_t> taken_;
};

// The fixes of one pass that can go together: each whole or not at all,
// the first in the file first; one that waits for the others goes only
// when nothing else does.
std::vector<TextEdit> ChooseEdits(std::vector<Fix>& fixes, size_t& chosen) {
  std::stable_sort(fixes.begin(), fixes.end(), [](const Fix& a, const Fix& b) {
    return a.edits.front().begin < b.edits.front().begin;
  });
  const bool othersLeft =
      std::ranges::any_of(fixes, [](const Fix& fix) { return !fix.waitsForOthers; });
  TakenRanges taken;
  std::vector<TextEdit> edits;
  for (const Fix& fix : fixes) {
    if (fix.waitsForOthers && othersLeft) continue;
    if (std::ranges::any_of(fix.edits,
                            [&](const TextEdit& edit) { return taken.Overlaps(edit); })) {
      continue;
    }
    for (const TextEdit& edit : fix.edits) {
      taken.Take(edit);
      edits.push_back(edit);
    }
    ++chosen;
  }
  return edits;
}

}  // namespace

FixedText FixText(std::string_view text, const LintOptions& options) {
  FixedText fixed{std::string(text)};
  LintOptions all = options;
  all.maxDiagnostics = 0;
  for (int pass = 0; pass < MOST_PASSES; ++pass) {
    FixCollector collector;
    CheckTemplate("", BytesOf(fixed.text), all, collector);
    size_t chosen = 0;
    const std::vector<TextEdit> edits = ChooseEdits(collector.fixes, chosen);
    if (edits.empty()) break;
    std::optional<std::string> next = ApplyEdits(fixed.text, edits);
    if (!next) break;
    fixed.text = std::move(*next);
    fixed.applied += chosen;
  }
  return fixed;
}

}  // namespace fxt
