#include "load/load_template.h"

#include "grammar/header.h"
#include "reader/keywords.h"
#include "reader/line_reader.h"
#include "reader/parse_context.h"

namespace fxt {

StateMachine machine(StateStart);

namespace {

void ResetForLoad(ReportTarget* reportTarget, int slotIndex) {
  ParseContext& ctx = parseContext;
  ctx.lineNumber = 0;
  ctx.templateEnded = 0;
  ctx.errorCount = 0;
  ctx.warningFlag = 0;
  ctx.stopFlag = 0;
  ctx.reportTarget = reportTarget;
  ctx.slotIndex = static_cast<uint8_t>(slotIndex);
  ctx.nameSeen = 0;
  ctx.versionSeen = 0;
  ctx.manufacturerSeen = 0;
  ctx.attributeNumber = 0;
  ctx.intensitySeen = 0;
  ctx.intensityAttribute = NO_INTENSITY_ATTRIBUTE;
  ctx.parameterNumber = 0;
}

// Handles one logical line; false when the load must end after it.
bool HandleLine() {
  ParseContext& ctx = parseContext;
  if (ctx.lineBuffer[0] == '\0') return true;
  const Keyword* keyword = MatchKeyword(ctx.lineBuffer);
  if (keyword == nullptr) {
    ReportWarning(DiagnosticId::kNoKeyword);
    return ctx.errorCount <= ERROR_LIMIT;
  }
  machine.Dispatch(static_cast<uint8_t>(keyword->id), 0);
  return ctx.stopFlag != 1;
}

}  // namespace

int LoadTemplate(ReportTarget* reportTarget, int slotIndex) {
  ResetForLoad(reportTarget, slotIndex);
  machine.Reset(StateStart);
  ReportMessage(DiagnosticId::kReadingTemplate);
  EmptySlot(parseContext.slotIndex);

  while (ReadTemplateLine() && HandleLine()) {
  }

  const ParseContext& ctx = parseContext;
  ReportMessage(ctx.errorCount != 0 ? DiagnosticId::kTemplateNotLoaded
                                    : DiagnosticId::kTemplateLoaded);
  if (ctx.warningFlag && ctx.errorCount == 0) return -1;
  return ctx.errorCount;
}

void ResetProcessState() {
  parseContext = ParseContext{};
  machine = StateMachine(StateStart);
  EmptyAllSlots();
}

}  // namespace fxt
