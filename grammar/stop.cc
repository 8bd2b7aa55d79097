#include "grammar/stop.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "grammar/grammar_support.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
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

// What a character of the slot list is to the stop line.
enum class SlotChar : uint8_t {
  kIllegal,
  kValue,  // '0' to '9', 'a' to 'f', 'x' and ':': part of a slot value
  kMouse,  // 'm'
  kR,      // 'r'
  kEnd,    // ',' or ')': ends a slot
};

constexpr std::array<SlotChar, 256> kSlotChars = [] {
  std::array<SlotChar, 256> chars{};
  for (const char c : std::string_view("0123456789abcdefx:")) {
    chars[static_cast<uint8_t>(c)] = SlotChar::kValue;
  }
  chars['m'] = SlotChar::kMouse;
  chars['r'] = SlotChar::kR;
  chars[','] = chars[')'] = SlotChar::kEnd;
  return chars;
}();

// Each byte's value as a digit of base 16; 16 for no digit.
constexpr std::array<uint8_t, 256> kHexDigits = [] {
  std::array<uint8_t, 256> digits{};
  digits.fill(16);
  for (int c = '0'; c <= '9'; ++c) digits[static_cast<size_t>(c)] = static_cast<uint8_t>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c)
    digits[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 'a' + 10);
  for (int c = 'A'; c <= 'F'; ++c)
    digits[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 'A' + 10);
  return digits;
}();

// One part of a slot value (the low or the high end), read where it stands
// in the value as "%d", or as "%x" when its second character is 'x'. An 'm'
// or an 'r' counts as the blank it stands for: skipped before the number,
// ending it after. Nothing of a slot list can be a sign, and a number ends
// at the ':', ',' or ')' that ends its part.
struct SlotPart {
  bool read;
  int32_t value;
};

template <uint32_t kBase>
SlotPart ReadDigits(const char* p, bool began) {
  constexpr int64_t kCap = int64_t{INT32_MAX} + 1;
  int64_t magnitude = 0;
  for (uint32_t digit; (digit = kHexDigits[static_cast<uint8_t>(*p)]) < kBase; ++p) {
    began = true;
    magnitude = std::min(magnitude * kBase + digit, kCap);
  }
  return {began, static_cast<int32_t>(std::min<int64_t>(magnitude, INT32_MAX))};
}

SlotPart ReadPart(const char* part, size_t length) {
  const bool hex = length >= 2 && part[1] == 'x';
  const char* p = part;
  while (*p == 'm' || *p == 'r') ++p;
  if (!hex) return ReadDigits<10>(p, false);
  // After "0x" the number has begun: no hex digit after it still reads 0.
  if (p[0] == '0' && p[1] == 'x') return ReadDigits<16>(p + 2, true);
  return ReadDigits<16>(p, false);
}

// A slot as the scan goes through it: where it starts, its first ':' after
// its first character, and the decimal digits of its parts as they come. It
// stays plain while each part is marks ('m', 'r') and then decimal digits
// alone: then the digits read are its parts' numbers.
struct SlotScan {
  size_t start = 1;
  size_t colon = 0;  // 0 for none
  bool plain = true;
  size_t part = 0;  // 0 the low part, 1 the high one
  std::array<int64_t, 2> magnitude{};
  std::array<bool, 2> digits{};

  bool Digit(char c) {
    const auto digit = static_cast<uint8_t>(c - '0');
    if (digit > 9) return false;
    magnitude[part] = std::min(magnitude[part] * 10 + digit, int64_t{INT32_MAX} + 1);
    digits[part] = true;
    return true;
  }
  // 'a' to 'f', 'x' or ':'.
  void Letter(char c, size_t at) {
    if (c == ':' && colon == 0 && at > start) {
      colon = at;
      part = 1;
    } else {
      plain = false;
    }
  }
  void Mark() {
    if (digits[part]) plain = false;
  }
  SlotPart Part(size_t which) const {
    return {digits[which], static_cast<int32_t>(std::min<int64_t>(magnitude[which], INT32_MAX))};
  }
};

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
  // The entries of the line, added to the stop in one go.
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

  // Reads the slots up to the ')' that closes the list. 'm' marks the
  // mouse slot and 'r' the value's flag; each stands in a slot as a blank
  // would, so a marked slot is never empty. After the first problem only the
  // ')' is looked for. A slot's decimal digits are read on the way; a slot
  // that is more than marks and decimal digits is read again where it stands.
  void ScanSlots() {
    SlotScan slot;
    for (size_t i = 1; i < value_.size(); ++i) {
      const char c = value_[i];
      if (slot.Digit(c)) continue;
      switch (kSlotChars[static_cast<uint8_t>(c)]) {
        case SlotChar::kValue:
          slot.Letter(c, i);
          continue;
        case SlotChar::kMouse:
          slot.Mark();
          if (++mouseMarks_ == 2) return Problem(DiagnosticId::kTooManyMouseMarks, i);
          continue;
        case SlotChar::kR:
          slot.Mark();
          rMark_ = true;
          continue;
        case SlotChar::kEnd:
          if (!EndSlot(slot, i)) return FindClose(i);
          if (c == ')') {
            close_ = i;
            return;
          }
          slot = SlotScan{i + 1};
          continue;
        case SlotChar::kIllegal:
          return Problem(DiagnosticId::kSlotIllegalCharacter, i);
      }
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

  // The slot value value_[slot.start, end): split at its colon into a low
  // and a high part, or both the whole of it.
  bool EndSlot(const SlotScan& slot, size_t end) {
    ++slotCount_;
    if (slot.start == end) return true;
    const size_t colon = slot.colon;
    SlotPart low = slot.Part(0);
    SlotPart high = colon != 0 ? slot.Part(1) : low;
    if (!slot.plain) {
      low = ReadPart(value_.data() + slot.start, (colon != 0 ? colon : end) - slot.start);
      high = colon != 0 ? ReadPart(value_.data() + colon + 1, end - colon - 1) : low;
    }
    if (mouseMarks_ == 1 && mouseSlot_ == NO_MOUSE_SLOT) mouseSlot_ = slotCount_;
    const uint8_t channel = parseContext.attribListNumbers[valueCount_];
    if (!low.read || !high.read || channel == 0) {
      slotProblem_ = DiagnosticId::kSlotSyntax;
      return false;
    }
    if (StoringValues() && !AddEntry(channel, low.value, high.value)) return false;
    rMark_ = false;
    if (valueCount_ > parseContext.attribListCount) {
      slotProblem_ = DiagnosticId::kTooManySlotValues;
      return false;
    }
    return true;
  }

  // An 8-bit attribute takes DMX values 0 to 255, stored on the 16-bit
  // scale; a 16-bit attribute keeps the low 16 bits of each value.
  bool AddEntry(uint8_t channel, int32_t low, int32_t high) {
    const uint8_t owner = ChannelOwner(channel);
    const Attribute& attribute = *fixture_.AttributeAt(owner);
    const uint8_t flag = rMark_ ? 1 : 0;
    if (attribute.HasNoFineChannel()) {
      if (low > DMX_VALUE_MAX || high > DMX_VALUE_MAX) {
        slotProblem_ = DiagnosticId::kValueOutOfRange;
        return false;
      }
      pending_[pendingCount_++] =
          Entry8(owner, static_cast<uint8_t>(low), static_cast<uint8_t>(high), flag);
    } else {
      pending_[pendingCount_++] =
          Entry16(owner, static_cast<uint16_t>(low), static_cast<uint16_t>(high), flag);
    }
    ++valueCount_;
    return true;
  }

  // Like the entries added one by one, those that find no memory are lost.
  void CommitEntries() {
    if (pendingCount_ == 0) return;
    (void)stop_->AppendEntries(std::span<const StopEntry>(pending_.data(), pendingCount_));
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
