#include "reader/report.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "reader/parse_context.h"

namespace fxt {
namespace {

// A formatted message is cut to this many bytes, terminator included.
constexpr int MESSAGE_CAPACITY = 100;

bool CarriesLineNumber(const char* format) { return std::strstr(format, "%d") != nullptr; }

void Emit(DiagnosticId id, SourcePosition position) {
  const ParseContext& ctx = parseContext;
  if (ctx.reportTarget == nullptr) return;
  const CatalogueEntry& entry = EntryOf(id);
  if (!CarriesLineNumber(entry.format)) {
    ctx.reportTarget->Report({id, entry.severity, std::nullopt, position, entry.format});
    return;
  }
  char message[MESSAGE_CAPACITY];
  std::snprintf(message, sizeof message, entry.format, ctx.lineNumber);
  ctx.reportTarget->Report({id, entry.severity, ctx.lineNumber, position, message});
}

void CountAs([[maybe_unused]] DiagnosticId id, Severity severity) {
  assert(EntryOf(id).severity == severity);
  if (severity == Severity::kWarning) {
    parseContext.warningFlag = 1;
  } else if (severity != Severity::kNote) {
    CountError();
  }
}

}  // namespace

void ReportMessage(DiagnosticId id) {
  assert(EntryOf(id).severity == Severity::kNote);
  Emit(id, {});
}

void ReportError(DiagnosticId id) { ReportErrorAt(id, parseContext.linePosition); }

void ReportWarning(DiagnosticId id) { ReportWarningAt(id, parseContext.linePosition); }

void ReportFatal(DiagnosticId id) {
  Emit(id, parseContext.linePosition);
  CountAs(id, Severity::kFatal);
}

void ReportErrorAt(DiagnosticId id, SourcePosition position) {
  Emit(id, position);
  CountAs(id, Severity::kError);
}

void ReportWarningAt(DiagnosticId id, SourcePosition position) {
  Emit(id, position);
  CountAs(id, Severity::kWarning);
}

void ReportErrorTimes(DiagnosticId id, int32_t times) {
  for (; times > 0; --times) {
    if (parseContext.reportTarget == nullptr && parseContext.errorCount == UINT8_MAX) return;
    ReportError(id);
  }
}

}  // namespace fxt
