#include "lint/value_notes.h"

#include <string>

namespace fxt {
namespace {

std::string LineWord(SourcePosition position) { return "line " + std::to_string(position.line); }

Note ChannelNote(int32_t channel) {
  if (channel == 0) {
    return {
        "channel 0 is the intensity attribute's alone, and it must be declared "
        "(name = \"INTENSITY\" or type = i) above its channel= line",
        std::nullopt};
  }
  return {"channel " + std::to_string(channel) + " is not in 1 to 64", std::nullopt};
}

Note HomeValueNote(const TemplateTracker& tracker) {
  const TrackedAttribute* attribute = tracker.CurrentAttribute();
  const int32_t value =
      attribute != nullptr && attribute->homeValue ? attribute->homeValue->value : 0;
  return {"homeval " + std::to_string(value) +
              " is above 255 for an 8-bit attribute; a finechan= line makes it a 16-bit one",
          std::nullopt};
}

Note LimitNote(const LineEvent& line, int32_t value) {
  const bool minimum = line.keyword != nullptr && line.keyword->id == TOKEN_MIN_VALUE;
  return {std::string(minimum ? "minval " : "maxval ") + std::to_string(value) +
              (minimum ? " is not in 0 to 255" : " is not in 0 to 256"),
          std::nullopt};
}

}  // namespace

std::vector<Note> ValueNotes(DiagnosticId id, const LineEvent& line,
                             const TemplateTracker& tracker) {
  switch (id) {
    case DiagnosticId::kInvalidChannel:
      return {ChannelNote(ValueOf(line))};
    case DiagnosticId::kDuplicateChannel: {
      const int32_t channel = ValueOf(line);
      const std::optional<SourcePosition>& claim = tracker.ChannelClaim(channel);
      if (!claim) return {};
      return {{"channel " + std::to_string(channel) +
                   " was taken by the attribute whose channel= "
                   "line is " +
                   LineWord(*claim),
               claim}};
    }
    case DiagnosticId::kDuplicateIntensity: {
      const std::optional<SourcePosition>& declared = tracker.IntensityLine();
      if (!declared) return {};
      return {{"the intensity attribute was declared on " + LineWord(*declared), declared}};
    }
    case DiagnosticId::kHomeValueOutOfRange:
      return {HomeValueNote(tracker)};
    case DiagnosticId::kLimitOutOfRange:
      return {LimitNote(line, ValueOf(line))};
    case DiagnosticId::kDisplayerAlreadyUsed: {
      const auto displayer = static_cast<uint8_t>(ValueOf(line));
      const std::optional<SourcePosition>& user = tracker.DisplayerLine(displayer);
      if (!user) return {};
      return {{"displayer " + std::to_string(displayer) + " is used by the parameter on " +
                   LineWord(*user),
               user}};
    }
    default:
      return {};
  }
}

}  // namespace fxt
