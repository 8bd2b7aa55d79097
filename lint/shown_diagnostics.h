// One file's diagnostics on their way to the sink. They are shown in line
// order, then by column, then in the order they were found, and at most the
// limit of them: only the first ones in that order are held until the file
// is done, so memory holds no more than what is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lint/lint_diagnostic.h"

namespace fxt {

struct HeldDiagnostic {
  DiagnosticId id;
  Severity severity;  // as shown: kError or kWarning
  bool promoted;
  bool fromRule;
  std::optional<int32_t> testerLine;
  SourcePosition position;  // where it was placed: where its line begins
  SourceRange range;
  std::string ruleText;  // a rule's own words; the tester's say what their entry says
  std::vector<Note> notes;
  uint64_t order;          // when it was found, from 0
  std::optional<Fix> fix;  // the rule's, also when it joined the tester's diagnostic

  // Line, column, the tester's before the rules', then the order found.
  bool ShowsBefore(const HeldDiagnostic& other) const;
};

class ShownDiagnostics {
 public:
  // A limit of 0 shows all. Out of line order, each diagnostic is passed on
  // at once, as found: what the tester alone reports comes in its order.
  ShownDiagnostics(LintSink& sink, size_t limit, bool inLineOrder);

  // Whether a diagnostic that shows as `probe` does would be shown, as far
  // as is known now: one that would not needs no notes made.
  bool WouldShow(const HeldDiagnostic& probe) const;
  // Takes the diagnostic; false when it, or one it displaced, is past the
  // limit.
  bool Add(HeldDiagnostic diagnostic);
  // Lets go of the held diagnostics found as `orders` (sorted); returns
  // how many were held.
  size_t Drop(const std::vector<uint64_t>& orders);
  // Passes on what is held, in order, the `extra` notes added to the one
  // found as `order`.
  void Finish(uint64_t order, const std::vector<Note>& extra);

 private:
  LintSink& sink_;
  size_t limit_;
  bool inLineOrder_;
  size_t passed_ = 0;                 // out of line order: passed on so far
  std::vector<HeldDiagnostic> held_;  // in line order: a heap, the last shown on top

  bool Full() const;
  void PassOn(const HeldDiagnostic& diagnostic, const std::vector<Note>* extra = nullptr);
};

}  // namespace fxt
