#include "grammar/stop.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <string_view>

#include "grammar/grammar_support.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
#include "grammar/stop_slot.h"
#include "reader/number_scan.h"
#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {
namespace {

// A stop line can name at most this many attributes.
constexpr int32_t STOP_LIST_LIMIT = 20;
constexpr uint8_t NO_MOUSE_SLOT = 255;
constexpr int32_t DISPLAY_VALUE_LIMIT = 999;
constexpr int32_t DMX_VALUE_MAX = 255;

int32_t ModeOfLetter(char letter) {
  switch (letter) {
    case 'n':
      return STOP_MODE_NONE;
    case 'b':
      return STOP_MODE_B;
    case 'w':
      return STOP_MODE_W;
    case '1':
      return STOP_MODE_1;
    case '2':
      return STOP_MODE_2;
    case '3':
      return STOP_MODE_3;
    default:
      return -1;
  }
}

// One stop line, read step by step. Every problem is an error that ends the
// line. A line builds a stop only while no error has been reported in the
// load; otherwise it is only checked, and the building steps are skipped.
// The slot list is read in one pass, as far as its ')' or its first problem;
// the entries it finds wait in the line until the stop is made.
class StopLine {
 public:
  void Parse() {
    if (!CheckGuards()) return;
    ScanSlots();
    if (close_ == std::string_view::npos) {
      Fail(DiagnosticId::kMissingParenthesis);
      return;
    }
    building_ = StoringValues();
    if (building_ && !MakeStop()) return;
    if (building_) CommitEntries();
    if (slotProblem_ != NO_PROBLEM) {
      ReportError(slotProblem_);
      return;
    }
    if (!ReadMode()) return;
    CheckMouse();
  }

 private:
  static constexpr DiagnosticId NO_PROBLEM = DiagnosticId::kCount;

  const std::string_view value_ = parseContext.valueText;
  // The template cannot change while a line is read.
  FixtureTemplate& fixture_ = LoadedTemplate();
  size_t close_ = std::string_view::npos;  // position of the slot list's ')'
  DiagnosticId slotProblem_ = NO_PROBLEM;  // the first problem of the slot list
  bool building_ = false;
  Stop* stop_ = nullptr;
  // The entries of the line, added to the stop in one go. Their room is not
  // cleared first: each entry is written before it is read, and clearing it
  // on every stop line cost as much as reading a short line's slots. Room of
  // bytes holds entries from the moment it exists.
  alignas(StopEntry) std::byte pendingRoom_[sizeof(StopEntry) * (STOP_LIST_LIMIT + 1)];
  size_t pendingCount_ = 0;
  uint8_t mouseSlot_ = NO_MOUSE_SLOT;

  StopEntry* Pending() { return std::launder(reinterpret_cast<StopEntry*>(pendingRoom_)); }

  char At(size_t position) const { return position < value_.size() ? value_[position] : '\0'; }
  // The value from `position` on; empty, at its end, when it is that short.
  std::string_view From(size_t position) const {
    return value_.substr(std::min(position, value_.size()));
  }

  bool Fail(DiagnosticId id) {
    ReportError(id);
    return false;
  }

  bool CheckGuards() {
    const int32_t listed = parseContext.attribListCount;
    if (listed == 0 || listed >= STOP_LIST_LIMIT) {
      return Fail(DiagnosticId::kNoAttributesYet);
    }
    if (At(0) != '(') return Fail(DiagnosticId::kStopSyntax);
    return true;
  }

  // A parameter holds at most 255 stops: one more is an error of its line.
  bool MakeStop() {
    Parameter& parameter = *fixture_.ParameterAt(parseContext.parameterNumber);
    stop_ = parameter.AddStop();
    if (stop_ != nullptr) {
      stop_->sourceLine = parseContext.linePosition.line;
      return true;
    }
    if (parameter.stopCount >= MAX_STOPS) {
      return Fail(DiagnosticId::kTooManyStops);
    }
    EndLoad(DiagnosticId::kOutOfMemory);
    return false;
  }

  // The scan of the slots: its counts, and what the values are stored
  // against, fixed while the line is read. It is a local of the scan and
  // holds no bytes, so that the entries written cannot be taken to change it.
  // A value holds at most 128 characters: its slots stay far below the 8-bit
  // limit.
  struct SlotTally {
    bool storing = StoringValues();
    int32_t listed = parseContext.attribListCount;
    int32_t slots = 0;
    int32_t values = 0;
    bool mouseMarked = false;
    int32_t mouseSlot = NO_MOUSE_SLOT;
    size_t entries = 0;
    const Attribute* firstAttribute = nullptr;
    std::span<Attribute* const> furtherAttributes;
  };

  void ScanSlots() {
    SlotTally tally;
    tally.firstAttribute = fixture_.AttributeAt(1);
    tally.furtherAttributes = fixture_.FurtherAttributes();
    ScanSlots(tally);
    pendingCount_ = tally.entries;
    mouseSlot_ = static_cast<uint8_t>(tally.mouseSlot);
  }

  // Reads the slots up to the ')' that closes the list. After the first
  // problem only the ')' is looked for.
  void ScanSlots(SlotTally& tally) {
    const SlotList list(value_);
    SlotReading slot;
    for (size_t start = 1;;) {
      list.Read(start, tally.mouseMarked, slot);
      switch (slot.end) {
        case SlotEnd::kUnended:
          return;
        case SlotEnd::kIllegal:
          return Problem(DiagnosticId::kSlotIllegalCharacter, slot.at);
        case SlotEnd::kSecondMouseMark:
          return Problem(DiagnosticId::kTooManyMouseMarks, slot.at);
        case SlotEnd::kEnded:
          break;
      }
      if (!EndSlot(tally, slot, start)) return FindClose(slot.at);
      if (value_[slot.at] == ')') {
        close_ = slot.at;
        return;
      }
      start = slot.at + 1;
    }
  }

  void Problem(DiagnosticId id, size_t at) {
    slotProblem_ = id;
    FindClose(at);
  }

  void FindClose(size_t from) {
    const size_t close = value_.find(')', from);
    close_ = close;
  }

  // A slot ended by its ',' or ')'; an empty one holds no value. The slot
  // that holds the line's 'm' is its mouse slot.
  bool EndSlot(SlotTally& tally, const SlotReading& slot, size_t start) {
    ++tally.slots;
    if (slot.at == start) return true;
    if (slot.mouseMark) {
      tally.mouseMarked = true;
      tally.mouseSlot = tally.slots;
    }
    const uint8_t channel = parseContext.attribListNumbers[static_cast<size_t>(tally.values)];
    if (!slot.low.read || !slot.high.read || channel == 0) {
      slotProblem_ = DiagnosticId::kSlotSyntax;
      return false;
    }
    if (tally.storing && !AddEntry(tally, channel, slot)) return false;
    if (tally.values > tally.listed) {
      slotProblem_ = DiagnosticId::kTooManySlotValues;
      return false;
    }
    return true;
  }

  // An 8-bit attribute takes DMX values 0 to 255, stored on the 16-bit
  // scale; a 16-bit attribute keeps the low 16 bits of each value.
  bool AddEntry(SlotTally& tally, uint8_t channel, const SlotReading& slot) {
    const int32_t low = slot.low.value;
    const int32_t high = slot.high.value;
    const uint8_t owner = ChannelOwner(channel);
    const Attribute& attribute = NodeAt(*tally.firstAttribute, tally.furtherAttributes, owner);
    const uint8_t flag = slot.rMark ? 1 : 0;
    if (attribute.HasNoFineChannel()) {
      if (low > DMX_VALUE_MAX || high > DMX_VALUE_MAX) {
        slotProblem_ = DiagnosticId::kValueOutOfRange;
        return false;
      }
      Pending()[tally.entries++] =
          Entry8(owner, static_cast<uint8_t>(low), static_cast<uint8_t>(high), flag);
    } else {
      Pending()[tally.entries++] =
          Entry16(owner, static_cast<uint16_t>(low), static_cast<uint16_t>(high), flag);
    }
    ++tally.values;
    return true;
  }

  // Like the entries added one by one, those that find no memory are lost.
  void CommitEntries() {
    if (pendingCount_ == 0) return;
    (void)stop_->AppendEntries(std::span<const StopEntry>(Pending(), pendingCount_));
  }

  bool ReadMode() {
    if (At(close_ + 1) != ',') return Fail(DiagnosticId::kModeSyntax);
    const char letter = At(close_ + 2);
    if (letter == 'd') return building_ ? ReadDisplayForm() : true;
    const int32_t mode = ModeOfLetter(letter);
    if (mode < 0) return Fail(DiagnosticId::kInvalidMode);
    if (building_) stop_->mode = mode;
    // The label's quote stands after the letter and exactly one separator.
    if (parseContext.valueQuote != close_ + 4) return Fail(DiagnosticId::kLabelSyntax);
    if (building_) stop_->SetLabel(parseContext.quotedText);
    return true;
  }

  // ",from,to," and the label's opening quote, as ",%d,%d,%c" reads them.
  bool ReadDisplayForm() {
    stop_->mode = STOP_MODE_DISPLAY;
    const std::string_view form = From(close_ + 3);
    ScannedNumber from{ScanStatus::kNoNumber, 0, form.data()};
    ScannedNumber to = from;
    if (form.starts_with(',')) from = ScanDecimal(form.substr(1));
    const std::string_view afterFrom = TextAfter(form, from);
    if (from.status == ScanStatus::kConverted && afterFrom.starts_with(',')) {
      to = ScanDecimal(afterFrom.substr(1));
    }
    const bool read = to.status == ScanStatus::kConverted && TextAfter(form, to).starts_with(",\"");
    if (!read) return Fail(DiagnosticId::kLabelSyntax);
    const auto inRange = [](int32_t v) {
      return v >= -DISPLAY_VALUE_LIMIT && v <= DISPLAY_VALUE_LIMIT;
    };
    if (!inRange(from.value) || !inRange(to.value)) {
      return Fail(DiagnosticId::kDisplayValueOutOfRange);
    }
    stop_->displayFrom = static_cast<int16_t>(from.value);
    stop_->displayTo = static_cast<int16_t>(to.value);
    stop_->SetLabel(parseContext.quotedText);
    return true;
  }

  // Every mode but 'n' needs a mouse slot, and 'n' forbids one.
  void CheckMouse() {
    const char letter = At(close_ + 2);
    if (mouseSlot_ == NO_MOUSE_SLOT) {
      if (letter != 'n') ReportError(DiagnosticId::kModeNeedsMouse);
      return;
    }
    if (letter == 'n') {
      ReportError(DiagnosticId::kModeForbidsMouse);
      return;
    }
    if (building_) stop_->SelectEntry(static_cast<uint8_t>(mouseSlot_ - 1));
  }
};

}  // namespace

const Transition* StateParameterStop(Signal signal) {
  if (signal == SIG_ENTRY) {
    // Default-initialised: the buffers that the line fills are not cleared.
    StopLine line;
    line.Parse();
  }
  return kToParameterBody;
}

}  // namespace fxt
