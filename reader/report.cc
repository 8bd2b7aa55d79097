#include "reader/report.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

#include "reader/parse_context.h"

namespace fxt {
namespace {

// A formatted message is cut to this many bytes, terminator included.
constexpr int MESSAGE_CAPACITY = 100;

bool CarriesLineNumber(const char* format) { return std::strstr(format, "%d") != nullptr; }

// Formats and hands over one diagnostic. Kept out of line, so that a report
// nobody hears costs only its count.
[[gnu::noinline]] void Deliver(DiagnosticId id, SourcePosition position) {
  const ParseContext& ctx = parseContext;
  const CatalogueEntry& entry = EntryOf(id);
  if (!CarriesLineNumber(entry.format)) {
    ctx.reportTarget->Report({id, entry.severity, std::nullopt, position, entry.format});
    return;
  }
  char message[MESSAGE_CAPACITY];
  std::snprintf(message, sizeof message, entry.format, ctx.lineNumber);
  ctx.reportTarget->Report({id, entry.severity, ctx.lineNumber, position, message});
}

void Emit(DiagnosticId id, SourcePosition position) {
  if (parseContext.reportTarget != nullptr) Deliver(id, position);
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
  ParseContext& ctx = parseContext;
  if (times <= 0) return;
  // Unheard, the errors only count.
  if (ctx.reportTarget == nullptr) {
    assert(EntryOf(id).severity == Severity::kError);
    ctx.errorCount = static_cast<uint8_t>(std::min<int32_t>(UINT8_MAX, ctx.errorCount + times));
    return;
  }
  for (; times > 0; --times) ReportError(id);
}

}  // namespace fxt
