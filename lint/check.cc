#include "lint/check.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <vector>

#include "lint/consequences.h"
#include "lint/diagnostic_range.h"
#include "lint/line_finder.h"
#include "lint/rules.h"
#include "lint/shown_diagnostics.h"
#include "lint/suppressions.h"
#include "lint/template_tracker.h"
#include "lint/value_notes.h"
#include "load/run_load.h"

namespace fxt {
namespace {

constexpr uint64_t NO_ORDER = UINT64_MAX;

// A rule's finding that explains a diagnostic of the tester's at the same
// place: the two are one mistake, shown once, under the tester's code.
struct Explanation {
  DiagnosticId rule;
  DiagnosticId tester;
};

constexpr Explanation kExplanations[] = {
    {DiagnosticId::kUnknownKeyword, DiagnosticId::kNoKeyword},
    {DiagnosticId::kListNamesNoAttribute, DiagnosticId::kNoAttributeOnChannel},
    {DiagnosticId::kByteOrderMark, DiagnosticId::kNoKeyword},
    {DiagnosticId::kValueNotQuoted, DiagnosticId::kInvalidModelName},
    {DiagnosticId::kValueNotQuoted, DiagnosticId::kManufacturerNotSet},
    {DiagnosticId::kValueNotQuoted, DiagnosticId::kLabelSyntax},
    // The rest of an over-long line, which the tester reads as a line.
    {DiagnosticId::kLineTooLong, DiagnosticId::kNoKeyword},
    {DiagnosticId::kLineTooLong, DiagnosticId::kExpectedFixture},
    {DiagnosticId::kLineTooLong, DiagnosticId::kNotAHeaderKeyword},
    {DiagnosticId::kLineTooLong, DiagnosticId::kNotAnAttributeKeyword},
    {DiagnosticId::kLineTooLong, DiagnosticId::kNotAParameterKeyword},
};

bool Explains(DiagnosticId rule, DiagnosticId tester) {
  return std::ranges::any_of(kExplanations, [&](const Explanation& explanation) {
    return explanation.rule == rule && explanation.tester == tester;
  });
}

bool TakesPartInExplanations(DiagnosticId id) {
  return std::ranges::any_of(kExplanations, [id](const Explanation& explanation) {
    return explanation.rule == id || explanation.tester == id;
  });
}

// A diagnostic as it is found, before the gate decides on it.
struct Candidate {
  DiagnosticId id;
  bool fromRule;
  std::optional<int32_t> testerLine;
  SourcePosition position;
  SourceRange range;
  std::string_view text;
  const Fix* fix = nullptr;
};

HeldDiagnostic Hold(const Candidate& found, uint64_t order) {
  std::string ruleText = found.fromRule ? std::string(found.text) : std::string();
  std::optional<Fix> fix;
  if (found.fix != nullptr) fix = *found.fix;
  return {found.id,    Severity::kError,    false, found.fromRule, found.testerLine, found.position,
          found.range, std::move(ruleText), {},    order,          std::move(fix)};
}

// Every diagnostic of a file passes here: the codes asked for, the
// suppression comments, the explanations that join, the counts and the
// limit. Notes are made only for a diagnostic that may be shown.
class Gate {
 public:
  Gate(const LintOptions& options, Suppressions& suppressions, FileSummary& summary,
       ShownDiagnostics& shown)
      : options_(options), suppressions_(suppressions), summary_(summary), shown_(shown) {}

  // Where a diagnostic of the tester's stands to the load's first error.
  enum class Stage : uint8_t { kBefore, kCause, kAfter };

  template <typename MakeNotes>
  void Pass(const Candidate& found, MakeNotes makeNotes, Stage stage = Stage::kBefore) {
    const CatalogueEntry& entry = EntryOf(found.id);
    if (!options_.codes.Reports(entry)) return;
    if (!options_.testerOnly && suppressions_.Suppress(entry.code, found.position.line)) return;
    const uint64_t order = found_++;
    if (stage == Stage::kCause) cause_ = order;
    if (stage == Stage::kAfter && cause_ != NO_ORDER && !options_.testerOnly &&
        suspects_.size() < MOST_SUSPECTS) {
      suspects_.push_back({found.id, found.position, found.range.start, order});
    }
    if (!options_.testerOnly && TakesPartInExplanations(found.id)) {
      meeting_.push_back(Hold(found, order));
      meeting_.back().notes = makeNotes();
      return;
    }
    Admit(Hold(found, order), makeNotes);
  }

  // The tester's diagnostics after its first error, when that error is
  // reported, that a tolerant load of `bytes` does not give follow from
  // it: each becomes a note on the error, and is neither counted nor shown.
  // Only a file with such diagnostics is loaded a second time. One that
  // was held past the limit frees its place too late for another to take.
  void TakeOutConsequences(std::span<const uint8_t> bytes, Consequences* tolerated) {
    LineDone();
    if (suspects_.empty()) return;
    std::optional<Consequences> made;
    if (tolerated == nullptr) tolerated = &made.emplace(bytes);
    std::vector<uint64_t> orders;
    for (const Suspect& suspect : suspects_) {
      if (!tolerated->Follows(suspect.id, suspect.position)) continue;
      orders.push_back(suspect.order);
      const Severity severity = EntryOf(suspect.id).severity;
      --(severity == Severity::kWarning ? summary_.warnings : summary_.errors);
      --summary_.perCode[static_cast<size_t>(suspect.id)];
      NoteConsequence(suspect);
    }
    summary_.omitted -= orders.size() - shown_.Drop(orders);
  }

  // The end of a line: the rules' findings join the tester's diagnostics
  // they explain, as notes, and the line's diagnostics go on.
  void LineDone() {
    if (meeting_.empty()) return;
    for (HeldDiagnostic& finding : meeting_) {
      if (!finding.fromRule) continue;
      for (HeldDiagnostic& tester : meeting_) {
        if (tester.fromRule || tester.position != finding.position ||
            !Explains(finding.id, tester.id)) {
          continue;
        }
        tester.notes.push_back({finding.ruleText, std::nullopt, &EntryOf(finding.id)});
        if (!tester.fix) tester.fix = std::move(finding.fix);
        finding.order = NO_ORDER;
        break;
      }
    }
    for (HeldDiagnostic& diagnostic : meeting_) {
      if (diagnostic.order == NO_ORDER) continue;
      std::vector<Note> notes = std::move(diagnostic.notes);
      Admit(std::move(diagnostic), [&notes] { return std::move(notes); });
    }
    meeting_.clear();
  }

  void Finish() {
    LineDone();
    shown_.Finish(cause_, consequences_);
  }

 private:
  const LintOptions& options_;
  Suppressions& suppressions_;
  FileSummary& summary_;
  ShownDiagnostics& shown_;
  uint64_t found_ = 0;
  uint64_t cause_ = NO_ORDER;
  std::vector<HeldDiagnostic> meeting_;  // the current line's, that may join
  // The tester's diagnostics after the cause: each may follow from it.
  struct Suspect {
    DiagnosticId id;
    SourcePosition position;
    SourcePosition start;  // of its range
    uint64_t order;
  };
  static constexpr size_t MOST_SUSPECTS = size_t{1} << 16;
  std::vector<Suspect> suspects_;
  std::vector<Note> consequences_;  // the notes for the cause

  void NoteConsequence(const Suspect& suspect) {
    if (options_.maxDiagnostics != 0 && consequences_.size() >= options_.maxDiagnostics) return;
    const CatalogueEntry& entry = EntryOf(suspect.id);
    const std::string line = "line " + std::to_string(suspect.start.line);
    consequences_.push_back({line + "'s check, " + std::string(entry.summary) +
                                 ", follows from this error: after it the tester stored no more "
                                 "values, and checked " +
                                 line + " against what it had kept",
                             suspect.start, &entry});
  }

  template <typename MakeNotes>
  void Admit(HeldDiagnostic diagnostic, MakeNotes makeNotes) {
    const CatalogueEntry& entry = EntryOf(diagnostic.id);
    Severity severity = entry.severity == Severity::kFatal ? Severity::kError : entry.severity;
    ++(severity == Severity::kError ? summary_.errors : summary_.warnings);
    ++summary_.perCode[static_cast<size_t>(diagnostic.id)];
    diagnostic.promoted = options_.werror && severity == Severity::kWarning;
    diagnostic.severity = diagnostic.promoted ? Severity::kError : severity;
    if (!shown_.WouldShow(diagnostic)) {
      ++summary_.omitted;
      return;
    }
    diagnostic.notes = makeNotes();
    if (!shown_.Add(std::move(diagnostic))) ++summary_.omitted;
  }
};

// The ranges of a file's diagnostics. The tester may report one check many
// times on a line; its range is found once.
class Ranges {
 public:
  explicit Ranges(std::span<const uint8_t> bytes) : lines_(bytes) {}

  SourceRange Of(DiagnosticId id, SourcePosition at, const RangeContext& context) {
    if (id == lastId_ && at == lastAt_ && context.occurrence == lastOccurrence_) return last_;
    last_ = RangeOf(id, at, lines_.TextAt(at), context);
    lastId_ = id;
    lastAt_ = at;
    lastOccurrence_ = context.occurrence;
    return last_;
  }

 private:
  LineFinder lines_;
  DiagnosticId lastId_ = DiagnosticId::kCount;
  SourcePosition lastAt_;
  size_t lastOccurrence_ = 0;
  SourceRange last_;
};

// How many times each code was reported on the line being read.
class LineCounts {
 public:
  // The count of `id` at `at` so far, counting this one; 0 for a place
  // before the line being read.
  size_t Next(DiagnosticId id, SourcePosition at) {
    if (at < line_) return 0;
    if (line_ < at) StartLine(at);
    return counts_[static_cast<size_t>(id)]++;
  }
  void StartLine(SourcePosition at) {
    if (at == line_) return;
    line_ = at;
    counts_.fill(0);
  }

 private:
  SourcePosition line_;
  std::array<size_t, CATALOGUE_SIZE> counts_{};
};

// The tester's diagnostics, with their ranges and with notes from what the
// lines before them said: a tracker of its own follows the lines, unless
// the rules' one is given. After the load's first error, a check that a
// tolerant load does not repeat is a consequence of that error.
class TesterPass : public ReportTarget, public LoadObserver {
 public:
  TesterPass(Gate& gate, Ranges& ranges, bool withNotes, const TemplateTracker* shared)
      : gate_(gate),
        ranges_(ranges),
        withNotes_(withNotes),
        tracker_(shared != nullptr ? *shared : own_),
        following_(shared == nullptr) {}

  void BeforeLine(const LineEvent& line, StateFn state) override {
    line_ = line;
    counts_.StartLine(line.position);
    if (following_) own_.BeforeLine(line, state);
  }
  void AfterLine(const LineEvent& line, StateFn state) override {
    if (following_) own_.AfterLine(line, state);
  }

  void Report(const Diagnostic& diagnostic) override {
    if (diagnostic.severity == Severity::kNote) return;
    const bool afterError = errorSeen_;
    errorSeen_ = errorSeen_ || diagnostic.severity != Severity::kWarning;
    const size_t seen = counts_.Next(diagnostic.id, diagnostic.position);
    const RangeContext context{RangeCountsOccurrences(diagnostic.id) ? seen : 0, &tracker_};
    const Candidate found{diagnostic.id,
                          false,
                          diagnostic.testerLine,
                          diagnostic.position,
                          ranges_.Of(diagnostic.id, diagnostic.position, context),
                          diagnostic.text()};
    Gate::Stage stage = afterError ? Gate::Stage::kAfter : Gate::Stage::kBefore;
    if (!afterError && errorSeen_) stage = Gate::Stage::kCause;
    gate_.Pass(
        found,
        [&] {
          return withNotes_ ? ValueNotes(diagnostic.id, line_, tracker_) : std::vector<Note>{};
        },
        stage);
  }

 private:
  Gate& gate_;
  Ranges& ranges_;
  bool withNotes_;
  TemplateTracker own_;
  const TemplateTracker& tracker_;
  bool following_;
  LineEvent line_{};
  LineCounts counts_;
  bool errorSeen_ = false;
};

// The rules' findings, passed on as they come: the gate puts them in order.
class RulePass : public FindingSink {
 public:
  RulePass(Gate& gate, Ranges& ranges) : gate_(gate), ranges_(ranges) {}

  void Found(Finding finding) override {
    const DiagnosticId id = finding.id;
    const SourcePosition at = finding.position;
    const size_t seen = counts_.Next(id, at);
    const RangeContext context{RangeCountsOccurrences(id) ? seen : 0, nullptr};
    const Candidate found{id,
                          true,
                          std::nullopt,
                          at,
                          ranges_.Of(id, at, context),
                          finding.text,
                          finding.fix ? &*finding.fix : nullptr};
    gate_.Pass(found, [&] { return std::move(finding.notes); });
  }

 private:
  Gate& gate_;
  Ranges& ranges_;
  LineCounts counts_;
};

// The observers of the tester's load, the caller's last; the gate hears
// when a line is done.
class FileObservers : public LoadObserver {
 public:
  FileObservers(TesterPass& tester, RuleChecker* rules, Gate& gate, LoadObserver* caller)
      : tester_(tester), rules_(rules), gate_(gate), caller_(caller) {}
  void BeforeLine(const LineEvent& line, StateFn state) override {
    tester_.BeforeLine(line, state);
    if (rules_ != nullptr) rules_->BeforeLine(line, state);
    if (caller_ != nullptr) caller_->BeforeLine(line, state);
  }
  void AfterLine(const LineEvent& line, StateFn state) override {
    tester_.AfterLine(line, state);
    if (rules_ != nullptr) rules_->AfterLine(line, state);
    if (caller_ != nullptr) caller_->AfterLine(line, state);
    gate_.LineDone();
  }
  void End(const LoadEnd& end) override {
    tester_.End(end);
    if (rules_ != nullptr) rules_->End(end);
    if (caller_ != nullptr) caller_->End(end);
    gate_.LineDone();
  }

 private:
  TesterPass& tester_;
  RuleChecker* rules_;
  Gate& gate_;
  LoadObserver* caller_;
};

std::string UnusedText(const Suppression& suppression, bool named) {
  if (suppression.glued) {
    return suppression.code + " suppresses nothing: a blank goes between ignore and the codes";
  }
  return "suppression of " + suppression.code +
         (named ? " suppresses nothing here" : ", which names no code");
}

// A suppression of codes that this run does not report is no unused one.
void ReportUnused(const Suppressions& suppressions, const CodeFilter& codes, Gate& gate,
                  Ranges& ranges) {
  const DiagnosticId id = DiagnosticId::kUnusedSuppression;
  for (const Suppression& suppression : suppressions.All()) {
    if (suppression.used) continue;
    const SourcePosition at = suppression.position;
    if (suppression.code.empty()) {
      gate.Pass({id, true, std::nullopt, at, ranges.Of(id, at, {}),
                 "a suppression comment that names no code: write the codes to ignore after "
                 "'ignore'"},
                [] { return std::vector<Note>{}; });
      continue;
    }
    bool named = false;
    bool reported = false;
    for (const CatalogueEntry& entry : Catalogue) {
      if (suppression.glued || !entry.code.starts_with(suppression.code)) continue;
      named = true;
      reported = reported || codes.Reports(entry);
    }
    if (named && !reported) continue;
    gate.Pass({id, true, std::nullopt, at, ranges.Of(id, at, {}), UnusedText(suppression, named)},
              [] { return std::vector<Note>{}; });
  }
}

void CheckLoad(std::span<const uint8_t> bytes, const LintOptions& options, Gate& gate,
               Suppressions& suppressions, FileSummary& summary, Consequences* tolerated,
               SharedLoad* shared) {
  Ranges ranges(bytes);
  RulePass findings(gate, ranges);
  std::optional<RuleChecker> rules;
  if (!options.testerOnly && options.codes.ReportsAnyRule()) {
    rules.emplace(bytes, findings, options.wideCharacters);
    rules->Start();
  }
  TesterPass tester(gate, ranges, !options.testerOnly, rules ? &rules->Tracker() : nullptr);
  FileObservers observers(tester, rules ? &*rules : nullptr, gate,
                          shared != nullptr ? shared->observer : nullptr);
  LoadOutcome outcome = RunLoad(bytes, &tester, &observers);
  if (shared != nullptr) shared->model = std::move(outcome.fixture);
  summary.result = outcome.result;
  summary.errorCount = outcome.errorCount;
  summary.warningFlag = outcome.warningFlag;
  gate.TakeOutConsequences(bytes, tolerated);
  if (!options.testerOnly) ReportUnused(suppressions, options.codes, gate, ranges);
}

}  // namespace

FileSummary CheckTemplate(const std::string& path, std::span<const uint8_t> bytes,
                          const LintOptions& options, LintSink& sink, Consequences* tolerated,
                          SharedLoad* shared) {
  FileSummary summary{path};
  ShownDiagnostics shown(sink, options.maxDiagnostics, !options.testerOnly);
  try {
    Suppressions suppressions(bytes);
    Gate gate(options, suppressions, summary, shown);
    CheckLoad(bytes, options, gate, suppressions, summary, tolerated, shared);
    gate.Finish();
  } catch (const std::bad_alloc&) {
    summary.outOfMemory = true;
    // What was found so far is still shown, if memory allows.
    try {
      shown.Finish(NO_ORDER, {});
    } catch (const std::bad_alloc&) {
    }
  }
  return summary;
}

}  // namespace fxt
