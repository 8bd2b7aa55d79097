#include "reader/report.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <optional>
#include <span>

#include "reader/message_format.h"
#include "reader/parse_context.h"

namespace fxt {
namespace {

// Each entry's format, measured once, where it carries its line number,
// and split there when it is short enough.
struct MeasuredFormat {
  std::string_view text;
  size_t lineNumberPlace;
  std::optional<SplitFormat> split;
};

using MeasuredFormats = std::array<MeasuredFormat, CATALOGUE_SIZE>;

const MeasuredFormat& FormatOf(DiagnosticId id) {
  static const MeasuredFormats formats = [] {
    MeasuredFormats measured{};
    for (size_t i = 0; i < CATALOGUE_SIZE; ++i) {
      const std::string_view text = Catalogue[i].format;
      const size_t place = LineNumberPlace(text);
      measured[i] = {text, place, std::nullopt};
      if (place != NO_LINE_NUMBER) measured[i].split = SplitAtLineNumber(text, place);
    }
    return measured;
  }();
  return formats[static_cast<size_t>(id)];
}

LineDigits lineDigits;

// Writes the message of a split format straight into the room that the
// target lends, when it lends one that takes the formatting's fixed-size
// copies whole; false when it does not.
bool WriteIntoRoom(const SplitFormat& format) {
  MessageRoom* room = parseContext.messageRoom;
  if (room == nullptr || room->end - room->next <= std::ptrdiff_t{SplitFormat::MESSAGE_SPACE}) {
    return false;
  }
  lineDigits.Of(parseContext.lineNumber);
  *room->next = '\n';
  const std::span<char, SplitFormat::MESSAGE_SPACE> message(room->next + 1,
                                                            SplitFormat::MESSAGE_SPACE);
  room->next += 1 + FormatSplit(message, format, lineDigits);
  return true;
}

// Formats and hands over one diagnostic. Kept out of line, so that a report
// nobody hears costs only its count.
[[gnu::noinline]] void Deliver(DiagnosticId id, SourcePosition position) {
  const ParseContext& ctx = parseContext;
  const Severity severity = EntryOf(id).severity;
  const MeasuredFormat& format = FormatOf(id);
  if (format.split) {
    std::array<char, SplitFormat::MESSAGE_SPACE> message;  // filled by the formatting
    lineDigits.Of(ctx.lineNumber);
    const size_t length = FormatSplit(message, *format.split, lineDigits);
    ctx.reportTarget->Report({id, severity, ctx.lineNumber, position, {message.data(), length}});
    return;
  }
  if (format.lineNumberPlace == NO_LINE_NUMBER) {
    ctx.reportTarget->Report({id, severity, std::nullopt, position, format.text});
    return;
  }
  std::array<char, MESSAGE_CAPACITY> message;  // filled by the formatting
  const size_t length =
      FormatLineNumber(message, format.text, format.lineNumberPlace, ctx.lineNumber);
  ctx.reportTarget->Report({id, severity, ctx.lineNumber, position, {message.data(), length}});
}

// Most messages carry their line number, and most targets that print lend
// their room: those go straight there.
void Emit(DiagnosticId id, SourcePosition position) {
  if (parseContext.reportTarget == nullptr) return;
  const MeasuredFormat& format = FormatOf(id);
  if (format.split && WriteIntoRoom(*format.split)) return;
  Deliver(id, position);
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
