#include "load/load_template.h"

#include "grammar/header.h"
#include "reader/keywords.h"
#include "reader/line_reader.h"
#include "reader/parse_context.h"

namespace fxt {

StateMachine machine(StateStart);
LoadObserver* loadObserver = nullptr;

namespace {

void ResetForLoad(ReportTarget* reportTarget, int slotIndex, LoadMode mode) {
  ParseContext& ctx = parseContext;
  ctx.mode = mode;
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
  AttributesChanged();
}

LineEvent CurrentLine(const Keyword* keyword) {
  const ParseContext& ctx = parseContext;
  return {ctx.lineNumber, ctx.linePosition, ctx.rawLine, {ctx.lineBuffer, ctx.lineLength},
          ctx.valueText,  ctx.quotedText,   keyword};
}

// Handles one logical line; false when the load must end after it.
bool HandleLine() {
  ParseContext& ctx = parseContext;
  const Keyword* keyword =
      ctx.lineBuffer[0] == '\0' ? nullptr : MatchBufferedKeyword(ctx.lineBuffer);
  LineEvent line{};
  if (loadObserver != nullptr) {
    line = CurrentLine(keyword);
    loadObserver->BeforeLine(line, machine.state);
  }
  bool goOn = true;
  if (keyword != nullptr) {
    machine.Dispatch(static_cast<uint8_t>(keyword->id), 0);
    goOn = ctx.stopFlag != 1;
  } else if (ctx.lineBuffer[0] != '\0') {
    ReportWarning(DiagnosticId::kNoKeyword);
    goOn = ctx.errorCount <= ERROR_LIMIT || ctx.mode == LoadMode::kTolerant;
  }
  // The line's texts stay as they were: the states read them, never write.
  if (loadObserver != nullptr) loadObserver->AfterLine(line, machine.state);
  return goOn;
}

LoadEnd HowTheLoadEnded(bool stopped) {
  const ParseContext& ctx = parseContext;
  LoadEndReason reason = LoadEndReason::kInputEnd;
  if (stopped) {
    reason = LoadEndReason::kStopped;
  } else if (ctx.templateEnded) {
    reason = LoadEndReason::kTemplateEnded;
  } else if (ctx.inputStop != ctx.inputEnd) {
    reason = LoadEndReason::kInputEndByte;
  }
  const auto read = static_cast<size_t>(ctx.inputCursor - ctx.inputStart);
  return {reason, CursorPosition(), read};
}

}  // namespace

int LoadTemplate(ReportTarget* reportTarget, int slotIndex, LoadMode mode) {
  ResetForLoad(reportTarget, slotIndex, mode);
  machine.Reset(StateStart);
  ReportMessage(DiagnosticId::kReadingTemplate);
  EmptySlot(parseContext.slotIndex);

  bool stopped = false;
  while (ReadTemplateLine()) {
    if (!HandleLine()) {
      stopped = true;
      break;
    }
  }
  if (loadObserver != nullptr) loadObserver->End(HowTheLoadEnded(stopped));

  const ParseContext& ctx = parseContext;
  ReportMessage(ctx.errorCount != 0 ? DiagnosticId::kTemplateNotLoaded
                                    : DiagnosticId::kTemplateLoaded);
  if (ctx.warningFlag && ctx.errorCount == 0) return -1;
  return ctx.errorCount;
}

void ResetProcessState() {
  parseContext = ParseContext{};
  machine = StateMachine(StateStart);
  loadObserver = nullptr;
  EmptyAllSlots();
}

}  // namespace fxt
