#include "grammar/stop.h"

#include <array>
#include <span>
#include <string>

#include "grammar/grammar_support.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
#include "reader/number_scan.h"
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

bool IsSlotValueChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == 'x' || c == ':';
}

// The text of one slot, as its characters are collected: 'm' and 'r' leave a
// blank, so a marked slot is never empty. Notes its first ':' after the
// first character, which splits it into a low and a high part.
class SlotText {
 public:
  static constexpr size_t NO_COLON = 0;

  bool empty() const { return length_ == 0; }
  void Append(char c) {
    if (c == ':' && colon_ == NO_COLON && length_ >= 1) colon_ = length_;
    text_[length_++] = c;
    text_[length_] = '\0';
  }
  void Clear() {
    length_ = 0;
    colon_ = NO_COLON;
  }
  // With no colon, both parts are the whole text, read once.
  bool Split() const { return colon_ != NO_COLON; }
  ScannedNumber Low() const { return ReadPart(0, Split() ? colon_ : length_); }
  ScannedNumber High() const { return ReadPart(colon_ + 1, length_); }

 private:
  std::array<char, LINE_CAPACITY> text_;  // NUL-terminated from the first Append on
  size_t length_ = 0;
  size_t colon_ = NO_COLON;

  // A part, read where it stands in the slot text: hexadecimal when its
  // second character is 'x'. A number ends at the ':' that ends a low part
  // as it would at the end of the part's own text.
  ScannedNumber ReadPart(size_t begin, size_t end) const {
    const bool hex = end - begin >= 2 && text_[begin + 1] == 'x';
    const char* part = text_.data() + begin;
    return hex ? ScanHex(part) : ScanDecimal(part);
  }
};

// One stop line, read step by step. Every problem is an error that ends the
// line. A line builds a stop only while no error has been reported in the
// load; otherwise it is only checked, and the building steps are skipped.
class StopLine {
 public:
  void Parse() {
    if (!CheckGuards()) return;
    building_ = StoringValues();
    if (building_ && !MakeStop()) return;
    const bool scanned = ScanSlots();
    CommitEntries();
    if (!scanned) return;
    if (!ReadMode()) return;
    CheckMouse();
  }

 private:
  const std::string_view value_ = parseContext.valueText;
  size_t close_ = 0;  // position of the slot list's ')'
  bool building_ = false;
  Stop* stop_ = nullptr;
  SlotText slotText_;
  // The entries of the line so far, added to the stop in one go.
  std::array<StopEntry, STOP_LIST_LIMIT + 1> pending_;
  size_t pendingCount_ = 0;
  uint8_t slotCount_ = 0;
  uint8_t valueCount_ = 0;
  uint8_t mouseMarks_ = 0;
  uint8_t mouseSlot_ = NO_MOUSE_SLOT;
  bool rMark_ = false;

  char At(size_t position) const { return position < value_.size() ? value_[position] : '\0'; }

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
    close_ = value_.find(')', 1);
    if (close_ == std::string::npos) return Fail(DiagnosticId::kMissingParenthesis);
    return true;
  }

  // A parameter holds at most 255 stops: one more is an error of its line.
  bool MakeStop() {
    Parameter& parameter = *LoadedTemplate().ParameterAt(parseContext.parameterNumber);
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

  // 'm' marks the mouse slot and 'r' the value's flag; each leaves a blank
  // in the slot text, so a marked slot is never empty.
  bool ScanSlots() {
    for (size_t i = 1; i <= close_; ++i) {
      const char c = value_[i];
      if (IsSlotValueChar(c)) {
        slotText_.Append(c);
      } else if (c == 'm') {
        if (++mouseMarks_ == 2) return Fail(DiagnosticId::kTooManyMouseMarks);
        slotText_.Append(' ');
      } else if (c == 'r') {
        rMark_ = true;
        slotText_.Append(' ');
      } else if (c == ',' || c == ')') {
        if (!EndSlot()) return false;
      } else {
        return Fail(DiagnosticId::kSlotIllegalCharacter);
      }
    }
    return true;
  }

  bool EndSlot() {
    ++slotCount_;
    if (slotText_.empty()) return true;
    const ScannedNumber low = slotText_.Low();
    const ScannedNumber high = slotText_.Split() ? slotText_.High() : low;
    if (mouseMarks_ == 1 && mouseSlot_ == NO_MOUSE_SLOT) mouseSlot_ = slotCount_;
    slotText_.Clear();
    const uint8_t channel = parseContext.attribListNumbers[valueCount_];
    if (low.status != ScanStatus::kConverted || high.status != ScanStatus::kConverted ||
        channel == 0) {
      return Fail(DiagnosticId::kSlotSyntax);
    }
    if (building_ && !AddEntry(channel, low.value, high.value)) return false;
    rMark_ = false;
    if (valueCount_ > parseContext.attribListCount) {
      return Fail(DiagnosticId::kTooManySlotValues);
    }
    return true;
  }

  // An 8-bit attribute takes DMX values 0 to 255, stored on the 16-bit
  // scale; a 16-bit attribute keeps the low 16 bits of each value.
  bool AddEntry(uint8_t channel, int32_t low, int32_t high) {
    const uint8_t owner = ChannelOwner(channel);
    const Attribute& attribute = *LoadedTemplate().AttributeAt(owner);
    const uint8_t flag = rMark_ ? 1 : 0;
    if (attribute.HasNoFineChannel()) {
      if (low > DMX_VALUE_MAX || high > DMX_VALUE_MAX) {
        return Fail(DiagnosticId::kValueOutOfRange);
      }
      Pend(Entry8(owner, static_cast<uint8_t>(low), static_cast<uint8_t>(high), flag));
    } else {
      Pend(Entry16(owner, static_cast<uint16_t>(low), static_cast<uint16_t>(high), flag));
    }
    ++valueCount_;
    return true;
  }

  void Pend(const StopEntry& entry) {
    if (pendingCount_ == pending_.size()) CommitEntries();
    pending_[pendingCount_++] = entry;
  }

  // Like the entries added one by one, those that find no memory are lost.
  void CommitEntries() {
    if (pendingCount_ == 0) return;
    (void)stop_->AppendEntries(std::span<const StopEntry>(pending_.data(), pendingCount_));
    pendingCount_ = 0;
  }

  bool ReadMode() {
    if (At(close_ + 1) != ',') return Fail(DiagnosticId::kModeSyntax);
    const char letter = At(close_ + 2);
    if (letter == 'd') return building_ ? ReadDisplayForm() : true;
    const int32_t mode = ModeOfLetter(letter);
    if (mode < 0) return Fail(DiagnosticId::kInvalidMode);
    if (building_) stop_->mode = mode;
    // The label's quote stands after the letter and exactly one separator.
    if (value_.find('"') != close_ + 4) return Fail(DiagnosticId::kLabelSyntax);
    if (building_) stop_->SetLabel(parseContext.quotedText);
    return true;
  }

  // ",from,to," and the label's opening quote, as ",%d,%d,%c" reads them.
  bool ReadDisplayForm() {
    stop_->mode = STOP_MODE_DISPLAY;
    const char* p = value_.data() + close_ + 3;
    ScannedNumber from{ScanStatus::kNoNumber, 0, p};
    ScannedNumber to{ScanStatus::kNoNumber, 0, p};
    if (*p == ',') from = ScanDecimal(p + 1);
    if (from.status == ScanStatus::kConverted && *from.end == ',') to = ScanDecimal(from.end + 1);
    const bool read = to.status == ScanStatus::kConverted && to.end[0] == ',' && to.end[1] == '"';
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
