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
#include <vector>

#include "lint/lint_diagnostic.h"
#include "lint/template_tracker.h"
#include "load/load_observer.h"

namespace fxt {

class FindingSink {
 public:
  virtual ~FindingSink() = default;
  virtual void Finding(DiagnosticId id, SourcePosition position, const std::string& text,
                       const std::vector<Note>& notes) = 0;
};

class RuleChecker : public LoadObserver, private TrackerListener {
 public:
  // `bytes` are the bytes that the load reads.
  RuleChecker(std::span<const uint8_t> bytes, FindingSink& sink);

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
  TemplateTracker tracker_{this};
  std::array<std::optional<Claim>, 256> coarse_{};
  std::array<std::optional<Claim>, 256> fine_{};

  void Report(DiagnosticId id, SourcePosition position, const std::string& text,
              const std::vector<Note>& notes = {});

  void TemplateOpened() override;
  void AttributeClosed(const TrackedAttribute& attribute) override;
  void CheckCoarseChannel(const TrackedAttribute& attribute);
  void CheckFineChannel(const TrackedAttribute& attribute);

  void CheckLineLength(const LineEvent& line);
  void CheckUnknownKeyword(const LineEvent& line);
  void CheckNameCase(const LineEvent& line, Block block);
  void CheckQuoting(const LineEvent& line, Block block);
  void CheckAttributeList(const LineEvent& line);
};

}  // namespace fxt
