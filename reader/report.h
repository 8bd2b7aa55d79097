// Diagnostics: how a load reports what it finds, and to whom. Every report
// names its entry of the catalogue.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "reader/catalogue.h"

namespace fxt {

// A place in the file: the 1-based line, counted by '\n' bytes, and the
// 1-based byte column. 0 and 0 for no place.
struct SourcePosition {
  int32_t line = 0;
  int32_t column = 0;

  bool operator==(const SourcePosition&) const = default;
  // Earlier in the file.
  bool operator<(const SourcePosition& other) const {
    return line != other.line ? line < other.line : column < other.column;
  }
};

// A stretch of one line: from `start` up to, and not including, the column
// of `end`.
struct SourceRange {
  SourcePosition start;
  SourcePosition end;

  bool operator==(const SourceRange&) const = default;
};

// One message as the load reports it. `message` is the exact text that the
// tester prints and `testerLine` the line number it carries, if any: the
// tester counts each 99-character piece of a longer line as a line.
// `position` is where the problem stands in the file. `message` is valid
// only during the call to Report: a target that keeps it must copy it.
struct Diagnostic {
  DiagnosticId id;
  Severity severity;
  std::optional<int32_t> testerLine;
  SourcePosition position;
  std::string_view message;  // NUL-terminated as well

  const CatalogueEntry& entry() const { return EntryOf(id); }
  // The short text that editors show.
  std::string_view text() const { return entry().summary; }
};

// Free room at the end of a target's output, from `next` up to `end`.
struct MessageRoom {
  char* next = nullptr;
  char* end = nullptr;
};

class ReportTarget {
 public:
  virtual ~ReportTarget() = default;
  virtual void Report(const Diagnostic& diagnostic) = 0;
  // A target that does nothing with a message but print a line end and its
  // text may lend the room of its output: the load then writes such a
  // message straight into it, when it fits, and moves `next` past it, in
  // place of calling Report. Null for a target that lends none. The room
  // stays the target's own: it may move it at any call of Report.
  virtual MessageRoom* RoomForMessages() { return nullptr; }
};

// Passes one of the load's own messages, without effect on the counts, to
// the report target.
void ReportMessage(DiagnosticId id);
// Reports an error and counts it. A text with a line number is formatted
// with the current line's; the diagnostic stands on the current line.
void ReportError(DiagnosticId id);
// The same for a warning: sets warningFlag instead of counting.
void ReportWarning(DiagnosticId id);
// The same for a fatal error: counted as an error; the caller ends the load.
void ReportFatal(DiagnosticId id);
// ReportError or ReportWarning, with the diagnostic placed at `position`
// rather than on the current line.
void ReportErrorAt(DiagnosticId id, SourcePosition position);
void ReportWarningAt(DiagnosticId id, SourcePosition position);
// ReportError `times` times over. Without a report target the errors are
// only counted, all at once.
void ReportErrorTimes(DiagnosticId id, int32_t times);

}  // namespace fxt
