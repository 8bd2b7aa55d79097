#include "lint/check.h"

#include <algorithm>
#include <new>
#include <vector>

#include "lint/rules.h"
#include "lint/suppressions.h"
#include "lint/template_tracker.h"
#include "lint/value_notes.h"
#include "load/run_load.h"

namespace fxt {
namespace {

// Every diagnostic of a file passes here: the codes asked for, the
// suppression comments, the counts and the limit. Its notes are made only
// for a diagnostic that is shown.
class Gate {
 public:
  Gate(const LintOptions& options, LintSink& sink, Suppressions& suppressions, FileSummary& summary)
      : options_(options), sink_(sink), suppressions_(suppressions), summary_(summary) {}

  template <typename MakeNotes>
  void Pass(const CatalogueEntry& entry, std::optional<int32_t> testerLine, SourcePosition position,
            std::string_view text, std::optional<std::string_view> message, MakeNotes makeNotes) {
    if (!options_.codes.Reports(entry)) return;
    if (!options_.testerOnly && suppressions_.Suppress(entry.code, position.line)) return;
    Severity severity = entry.severity == Severity::kFatal ? Severity::kError : entry.severity;
    ++(severity == Severity::kError ? summary_.errors : summary_.warnings);
    if (options_.maxDiagnostics != 0 && shown_ == options_.maxDiagnostics) {
      ++summary_.omitted;
      return;
    }
    ++shown_;
    const bool promoted = options_.werror && severity == Severity::kWarning;
    if (promoted) severity = Severity::kError;
    const std::vector<Note> notes = makeNotes();
    sink_.Diagnostic({entry, severity, promoted, testerLine, position, text, message, notes});
  }

 private:
  const LintOptions& options_;
  LintSink& sink_;
  Suppressions& suppressions_;
  FileSummary& summary_;
  size_t shown_ = 0;
};

// The tester's diagnostics, with notes from what the lines before them said:
// a tracker of its own follows the lines, unless the rules' one is given.
class TesterPass : public ReportTarget, public LoadObserver {
 public:
  TesterPass(Gate& gate, bool withNotes, const TemplateTracker* shared = nullptr)
      : gate_(gate),
        withNotes_(withNotes),
        tracker_(shared != nullptr ? *shared : own_),
        following_(shared == nullptr && withNotes) {}

  void BeforeLine(const LineEvent& line, StateFn state) override {
    line_ = line;
    if (following_) own_.BeforeLine(line, state);
  }
  void AfterLine(const LineEvent& line, StateFn state) override {
    if (following_) own_.AfterLine(line, state);
  }

  void Report(const Diagnostic& diagnostic) override {
    if (diagnostic.severity == Severity::kNote) return;
    gate_.Pass(diagnostic.entry(), diagnostic.testerLine, diagnostic.position, diagnostic.text(),
               diagnostic.message, [&] {
                 return withNotes_ ? ValueNotes(diagnostic.id, line_, tracker_)
                                   : std::vector<Note>{};
               });
  }

 private:
  Gate& gate_;
  bool withNotes_;
  TemplateTracker own_;
  const TemplateTracker& tracker_;
  bool following_;
  LineEvent line_{};
};

// The rules' findings come after the tester's diagnostics. A file with few
// findings keeps them until the load is over; one with more than memory
// should hold is checked a second time, its findings passed on as they come.
class RulePass : public FindingSink {
 public:
  enum class Mode { kHold, kPassOn };
  RulePass(Gate& gate, Mode mode) : gate_(gate), mode_(mode) {}

  void Finding(DiagnosticId id, SourcePosition position, const std::string& text,
               const std::vector<Note>& notes) override {
    if (mode_ == Mode::kPassOn) {
      gate_.Pass(EntryOf(id), std::nullopt, position, text, std::nullopt, [&] { return notes; });
    } else if (held_.size() < MOST_HELD) {
      held_.push_back({id, position, text, notes});
    } else {
      overflowed_ = true;
    }
  }

  bool Overflowed() const { return overflowed_; }
  void PassOnHeld() {
    for (const Held& finding : held_) {
      gate_.Pass(EntryOf(finding.id), std::nullopt, finding.position, finding.text, std::nullopt,
                 [&] { return finding.notes; });
    }
  }

 private:
  static constexpr size_t MOST_HELD = 256;
  struct Held {
    DiagnosticId id;
    SourcePosition position;
    std::string text;
    std::vector<Note> notes;
  };

  Gate& gate_;
  Mode mode_;
  std::vector<Held> held_;
  bool overflowed_ = false;
};

// Both passes' observers follow one load.
class BothObservers : public LoadObserver {
 public:
  BothObservers(LoadObserver& first, LoadObserver& second) : first_(first), second_(second) {}
  void BeforeLine(const LineEvent& line, StateFn state) override {
    first_.BeforeLine(line, state);
    second_.BeforeLine(line, state);
  }
  void AfterLine(const LineEvent& line, StateFn state) override {
    first_.AfterLine(line, state);
    second_.AfterLine(line, state);
  }
  void End(const LoadEnd& end) override {
    first_.End(end);
    second_.End(end);
  }

 private:
  LoadObserver& first_;
  LoadObserver& second_;
};

// Checks the rules on a load of their own, passing each finding on.
void CheckRulesAgain(std::span<const uint8_t> bytes, Gate& gate) {
  RulePass rules(gate, RulePass::Mode::kPassOn);
  RuleChecker checker(bytes, rules);
  checker.Start();
  RunLoad(bytes, nullptr, &checker);
}

std::string UnusedText(const Suppression& suppression, bool named) {
  if (suppression.glued) {
    return suppression.code + " suppresses nothing: a blank goes between ignore and the codes";
  }
  return "suppression of " + suppression.code +
         (named ? " suppresses nothing here" : ", which names no code");
}

// A suppression of codes that this run does not report is no unused one.
void ReportUnused(const Suppressions& suppressions, const CodeFilter& codes, Gate& gate) {
  for (const Suppression& suppression : suppressions.All()) {
    if (suppression.used) continue;
    bool named = false;
    bool reported = false;
    for (const CatalogueEntry& entry : Catalogue) {
      if (suppression.glued || !entry.code.starts_with(suppression.code)) continue;
      named = true;
      reported = reported || codes.Reports(entry);
    }
    if (named && !reported) continue;
    gate.Pass(EntryOf(DiagnosticId::kUnusedSuppression), std::nullopt, suppression.position,
              UnusedText(suppression, named), std::nullopt, [] { return std::vector<Note>{}; });
  }
}

}  // namespace

FileSummary CheckTemplate(const std::string& path, std::span<const uint8_t> bytes,
                          const LintOptions& options, LintSink& sink) {
  FileSummary summary{path};
  try {
    Suppressions suppressions(bytes);
    Gate gate(options, sink, suppressions, summary);
    if (options.testerOnly || !options.codes.ReportsAnyRule()) {
      TesterPass tester(gate, !options.testerOnly);
      summary.result = RunLoad(bytes, &tester, &tester).result;
    } else {
      RulePass rules(gate, RulePass::Mode::kHold);
      RuleChecker checker(bytes, rules);
      checker.Start();
      TesterPass tester(gate, true, &checker.Tracker());
      BothObservers both(tester, checker);
      summary.result = RunLoad(bytes, &tester, &both).result;
      if (rules.Overflowed()) {
        CheckRulesAgain(bytes, gate);
      } else {
        rules.PassOnHeld();
      }
    }
    if (!options.testerOnly) ReportUnused(suppressions, options.codes, gate);
  } catch (const std::bad_alloc&) {
    // What was reported stays reported.
    summary.outOfMemory = true;
  }
  return summary;
}

}  // namespace fxt
