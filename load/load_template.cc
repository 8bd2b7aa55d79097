#include "load/load_template.h"

#include <string_view>

#include "grammar/grammar_dispatch.h"
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
  ctx.normaliseEveryLine = loadObserver != nullptr;
  ctx.lineNumber = 0;
  ctx.templateEnded = 0;
  ctx.errorCount = 0;
  ctx.warningFlag = 0;
  ctx.stopFlag = 0;
  ctx.reportTarget = reportTarget;
  ctx.messageRoom = reportTarget != nullptr ? reportTarget->RoomForMessages() : nullptr;
  ctx.slotIndex = static_cast<uint8_t>(slotIndex);
  ctx.nameSeen = 0;
  ctx.versionSeen = 0;
  ctx.manufacturerSeen = 0;
  ctx.attributeNumber = 0;
  ctx.intensitySeen = 0;
  ctx.intensityAttribute = NO_INTENSITY_ATTRIBUTE;
  ctx.parameterNumber = 0;
  AttributesChanged();
  ParametersChanged();
}

// The tools read a line's value with the NUL that follows it in lineBuffer
// counted in.
std::string_view ValueWithItsNul() {
  const ParseContext& ctx = parseContext;
  if (!ctx.valueGiven) return {};
  return {ctx.valueText.data(), ctx.valueText.size() + 1};
}

LineEvent CurrentLine(const Keyword* keyword) {
  const ParseContext& ctx = parseContext;
  return {ctx.lineNumber,    ctx.linePosition, ctx.rawLine, {ctx.lineBuffer, ctx.lineLength},
          ValueWithItsNul(), ctx.quotedText,   keyword};
}

// Where the machine waits, in the dense table; kept with the machine.
int restingIndex = NOT_RESTING;

// Handles one logical line; false when the load must end after it.
bool HandleLine() {
  ParseContext& ctx = parseContext;
  if (ctx.lineLength == 0) return true;
  const Keyword* keyword = MatchBufferedKeyword(KeywordWindow());
  if (keyword == nullptr) {
    ReportWarning(DiagnosticId::kNoKeyword);
    return ctx.errorCount <= ERROR_LIMIT || ctx.mode == LoadMode::kTolerant;
  }
  kGrammarDispatch.Dispatch(machine, restingIndex, static_cast<uint8_t>(keyword->id));
  return ctx.stopFlag != 1;
}

// The same, told to the observer before and after. The line's texts stay as
// they were: the states read them, never write.
bool HandleObservedLine() {
  const ParseContext& ctx = parseContext;
  const Keyword* keyword = ctx.lineLength == 0 ? nullptr : MatchBufferedKeyword(ctx.lineBuffer);
  const LineEvent line = CurrentLine(keyword);
  loadObserver->BeforeLine(line, machine.state);
  const bool goOn = HandleLine();
  loadObserver->AfterLine(line, machine.state);
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
  restingIndex = kGrammarDispatch.RestingIndex(machine);
  ReportMessage(DiagnosticId::kReadingTemplate);
  EmptySlot(parseContext.slotIndex);

  bool stopped = false;
  while (ReadTemplateLine()) {
    if (!(loadObserver == nullptr ? HandleLine() : HandleObservedLine())) {
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
