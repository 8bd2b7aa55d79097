// Diagnostics: how a load reports what it finds, and to whom.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace fxt {

enum class Severity : uint8_t {
  kNote,     // the load's own messages: no effect on the counts
  kWarning,  // sets warningFlag
  kError,    // adds one to errorCount
  kFatal,    // an error that ends the load
};

// One message as the load reports it. `message` is the exact text that the
// tester prints; `line` is the line number that the text carries, if any;
// `text` is what the message says, without its "ERROR - line N: " kind of
// prefix and without trailing blanks. `message` and `text` are valid only
// during the call to Report: a target that keeps them must copy them.
struct Diagnostic {
  Severity severity;
  std::optional<int32_t> line;
  const char* message;
  std::string_view text;
};

class ReportTarget {
 public:
  virtual ~ReportTarget() = default;
  virtual void Report(const Diagnostic& diagnostic) = 0;
};

// Passes a message without effect on the counts to the report target.
void ReportMessage(const char* text);
// Formats `format`, whose one placeholder is the line number, with the
// current line number; reports it and counts an error.
void ReportError(const char* format);
// The same as ReportError, but sets warningFlag instead of counting.
void ReportWarning(const char* format);
// The same as ReportError for a fatal error: counted as an error, and the
// caller ends the load.
void ReportFatal(const char* format);
// ReportError `times` times over. Unprinted reports past the point where the
// error count has stopped at 255 could change nothing, and are skipped.
void ReportErrorTimes(const char* format, int32_t times);
// Messages without a line number that count as an error or a warning.
void ReportUnnumberedError(const char* text);
void ReportUnnumberedWarning(const char* text);

}  // namespace fxt
