#include "reader/report.h"

#include <cstdio>
#include <string_view>

#include "reader/parse_context.h"

namespace fxt {
namespace {

// A formatted message is cut to this many bytes, terminator included.
constexpr int MESSAGE_CAPACITY = 100;

constexpr std::string_view kPrefixes[] = {
    "FATAL ERROR - line %d: ", "ERROR - line %d: ", "WARNING - line %d: ", "ERROR - ", "WARNING - ",
};

// The one message whose line number stands inside it: the home value is
// checked when the block above the closing keyword's line ends.
constexpr std::string_view kHomeValueFormat = "ERROR - homeValue above line %d: out of range";
constexpr std::string_view kHomeValueText =
    "homeValue out of range (attribute block above this line)";

std::string_view TextOf(std::string_view format) {
  if (format == kHomeValueFormat) return kHomeValueText;
  for (const std::string_view prefix : kPrefixes) {
    if (format.starts_with(prefix)) {
      format.remove_prefix(prefix.size());
      break;
    }
  }
  while (!format.empty() && format.back() == ' ') format.remove_suffix(1);
  return format;
}

void Emit(Severity severity, std::optional<int32_t> line, const char* message,
          std::string_view format) {
  if (parseContext.reportTarget != nullptr) {
    parseContext.reportTarget->Report({severity, line, message, TextOf(format)});
  }
}

void EmitNumbered(Severity severity, const char* format) {
  if (parseContext.reportTarget == nullptr) return;
  char message[MESSAGE_CAPACITY];
  std::snprintf(message, sizeof message, format, parseContext.lineNumber);
  Emit(severity, parseContext.lineNumber, message, format);
}

}  // namespace

void ReportMessage(const char* text) { Emit(Severity::kNote, std::nullopt, text, text); }

void ReportError(const char* format) {
  EmitNumbered(Severity::kError, format);
  CountError();
}

void ReportErrorTimes(const char* format, int32_t times) {
  for (; times > 0; --times) {
    if (parseContext.reportTarget == nullptr && parseContext.errorCount == UINT8_MAX) return;
    ReportError(format);
  }
}

void ReportFatal(const char* format) {
  EmitNumbered(Severity::kFatal, format);
  CountError();
}

void ReportWarning(const char* format) {
  EmitNumbered(Severity::kWarning, format);
  parseContext.warningFlag = 1;
}

void ReportUnnumberedError(const char* text) {
  Emit(Severity::kError, std::nullopt, text, text);
  CountError();
}

void ReportUnnumberedWarning(const char* text) {
  Emit(Severity::kWarning, std::nullopt, text, text);
  parseContext.warningFlag = 1;
}

}  // namespace fxt
