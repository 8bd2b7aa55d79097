// The lint rules: what fxtlint finds beyond the tester, in templates that the
// desk accepts but reads otherwise than their writer meant. The rules follow
// a silent load of the template, line by line, and keep only what the
// current template needs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "lint/lint_diagnostic.h"
#include "lint/template_tracker.h"
#include "load/load_observer.h"
#include "model/stop.h"

namespace fxt {

struct Stop;

// What a rule found: where, in its own words, with its notes and, when there
// is one safe mend, its fix.
struct Finding {
  DiagnosticId id;
  SourcePosition position;
  std::string text;
  std::vector<Note> notes;
  std::optional<Fix> fix;
};

class FindingSink {
 public:
  virtual ~FindingSink() = default;
  virtual void Found(Finding finding) = 0;
};

class RuleChecker : public LoadObserver, private TrackerListener {
 public:
  // `bytes` are the bytes that the load reads. `utf8Characters`: a file that
  // is valid UTF-8 is looked at for characters above U+00FF (the language
  // server finds those in its document's characters itself).
  RuleChecker(std::span<const uint8_t> bytes, FindingSink& sink, bool utf8Characters = true);

  // The rules on the file's first bytes; call before the load.
  void Start();
  void BeforeLine(const LineEvent& line, StateFn state) override;
  void AfterLine(const LineEvent& line, StateFn state) override;
  void End(const LoadEnd& end) override;
  // What it knows of the lines read so far, for the notes on the tester's
  // diagnostics of the same load.
  const TemplateTracker& Tracker() const { return tracker_; }

 private:
  // An attribute's claim on a DMX channel, coarse or fine.
  struct Claim {
    SourcePosition line;  // the line that made it
    bool written;         // by a channel= or finechan= line, not by default
  };

  std::span<const uint8_t> bytes_;
  FindingSink& sink_;
  bool utf8Characters_;
  TemplateTracker tracker_{this};
  std::array<std::optional<Claim>, 256> coarse_{};
  std::array<std::optional<Claim>, 256> fine_{};
  // The current parameter's stops: the last fixed one (no mouse), and the
  // first line that gave each set of values.
  struct FixedStop {
    std::vector<StopEntry> entries;  // a copy: the message is made only when it is needed
    SourcePosition line;
  };
  std::optional<FixedStop> lastFixedStop_;
  std::unordered_map<std::string, SourcePosition> stopValues_;
  std::string stopKey_;  // the key of the stop being checked
  // Copies of one stop in a row are one mistake, reported once when the
  // run ends: at its first copy, with the line of its last.
  struct RepeatRun {
    std::string key;
    std::string values;       // as the message shows them
    SourcePosition original;  // the earlier stop that they repeat
    SourcePosition first;     // the first copy
    SourcePosition last;      // the last copy so far
    size_t copies = 0;
    uint64_t lastStop = 0;  // the stop number of the last copy
  };
  std::optional<RepeatRun> repeatRun_;
  uint64_t stopsChecked_ = 0;
  uint64_t findings_ = 0;                  // reported so far
  std::optional<std::string> soundLabel_;  // the last stop label that the tables found sound

  void Report(DiagnosticId id, SourcePosition position, std::string text,
              std::vector<Note> notes = {}, std::optional<Fix> fix = std::nullopt);

  void TemplateOpened() override;
  void ParameterOpened() override;
  void AttributeClosed(const TrackedAttribute& attribute) override;
  void CheckCoarseChannel(const TrackedAttribute& attribute);
  void CheckFineChannel(const TrackedAttribute& attribute);

  void CheckWideCharacters();
  void CheckLineLength(const LineEvent& line);
  void CheckUnknownKeyword(const LineEvent& line);
  bool CheckMissingEquals(const LineEvent& line, std::string_view word);
  void CheckTableName(const LineEvent& line, Block block);
  void CheckNameCase(const LineEvent& line, Block block);
  void CheckNameBlanks(const LineEvent& line, Block block);
  void CheckQuoting(const LineEvent& line, Block block);
  void CheckAttributeList(const LineEvent& line);
  void CheckNameLength(const LineEvent& line, Block block);
  void CheckVersion(const LineEvent& line);
  void CheckTextAfterNumber(const LineEvent& line, Block block);
  void CheckStop(const LineEvent& line);
  void CheckStopRanges(const LineEvent& line, const Stop& stop);
  void CheckStopOrder(const LineEvent& line, const Stop& stop);
  void CheckStopRepeated(const LineEvent& line, const Stop& stop);
  void ReportRepeatRun();
  std::optional<Fix> EndLineFix() const;
};

}  // namespace fxt
