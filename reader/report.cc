#include "reader/report.h"

#include <cstdio>

#include "reader/parse_context.h"

namespace fxt {
namespace {

// A formatted message is cut to this many bytes, terminator included.
constexpr int MESSAGE_CAPACITY = 100;

void Emit(Severity severity, std::optional<int32_t> line, const char* text) {
  if (parseContext.reportTarget != nullptr) {
    parseContext.reportTarget->Report({severity, line, text});
  }
}

void EmitNumbered(Severity severity, const char* format) {
  if (parseContext.reportTarget == nullptr) return;
  char text[MESSAGE_CAPACITY];
  std::snprintf(text, sizeof text, format, parseContext.lineNumber);
  Emit(severity, parseContext.lineNumber, text);
}

}  // namespace

void PrintingReportTarget::Report(const Diagnostic& diagnostic) {
  std::printf("\n%s", diagnostic.message);
}

void ReportMessage(const char* text) { Emit(Severity::kNote, std::nullopt, text); }

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
  Emit(Severity::kError, std::nullopt, text);
  CountError();
}

void ReportUnnumberedWarning(const char* text) {
  Emit(Severity::kWarning, std::nullopt, text);
  parseContext.warningFlag = 1;
}

}  // namespace fxt
