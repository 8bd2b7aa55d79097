// One slot of a stop line's list: the text from just after the '(' or ','
// that opens it up to the ',' or ')' that ends it. A slot holds a value, as
// "low" or "low:high", with an 'm' marking the mouse slot and an 'r' the
// value's flag; each mark stands in the slot as a blank would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fxt {

// One part of a slot value (the low or the high end).
struct SlotPart {
  bool read = false;
  int32_t value = 0;

  bool operator==(const SlotPart&) const = default;
};

// Where the reading of a slot stopped.
enum class SlotEnd : uint8_t {
  kEnded,            // at the ',' or ')' that ends it
  kIllegal,          // at a character that no slot may hold
  kSecondMouseMark,  // at the line's second 'm'
  kUnended,          // the value ended first
};

struct SlotReading {
  SlotEnd end = SlotEnd::kUnended;
  size_t at = std::string_view::npos;  // the character it stopped at
  SlotPart low;                        // only for a slot ended and not empty
  SlotPart high;
  bool mouseMark = false;  // it holds an 'm'
  bool rMark = false;      // it holds an 'r'

  bool operator==(const SlotReading&) const = default;
};

// Reads the slot that starts at `start` of the stop line's value; each part
// is read where it stands as "%d", or as "%x" when its second character is
// 'x', saturating at the 32-bit limits. `mouseMarked` says whether an earlier
// slot of the line held an 'm'.
SlotReading ReadSlotInFull(std::string_view value, size_t start, bool mouseMarked);

// The slots of one line's value, each read where it starts.
class SlotList {
 public:
  explicit SlotList(std::string_view value)
      : value_(value), quick_(!value.empty() && !PartOfSlot(value.back())) {}

  // The quick reading of the common slot where it applies, the full one
  // elsewhere.
  void Read(size_t start, bool mouseMarked, SlotReading& slot) const {
    if (!ReadPlain(start, mouseMarked, slot)) slot = ReadSlotInFull(value_, start, mouseMarked);
  }

  // The quick reading of the common slot: marks, one to nine decimal digits,
  // and optionally a ':' with marks and one to nine decimal digits again.
  // Nine digits stay below the 32-bit limit, so they need no saturation.
  // False, with `slot` left half read, for any other slot.
  bool ReadPlain(size_t start, bool mouseMarked, SlotReading& slot) const {
    constexpr size_t kMostDigits = 9;
    if (!quick_ || start >= value_.size()) return false;
    const char* const first = value_.data();
    const char* p = first + start;
    slot = SlotReading{};
    const auto readPart = [&](SlotPart& part) {
      for (; static_cast<uint8_t>(*p - '0') > 9; ++p) {
        if (*p == 'r') {
          slot.rMark = true;
        } else if (*p != 'm' || mouseMarked || slot.mouseMark) {
          return false;
        } else {
          slot.mouseMark = true;
        }
      }
      const char* const digits = p;
      uint32_t number = 0;
      for (uint32_t digit; (digit = static_cast<uint8_t>(*p - '0')) <= 9; ++p) {
        number = number * 10 + digit;
      }
      const auto count = static_cast<size_t>(p - digits);
      part = {true, static_cast<int32_t>(number)};
      return count != 0 && count <= kMostDigits;
    };
    if (!readPart(slot.low)) return false;
    slot.high = slot.low;
    if (*p == ':') {
      ++p;
      if (!readPart(slot.high)) return false;
    }
    if (*p != ',' && *p != ')') return false;
    slot.end = SlotEnd::kEnded;
    slot.at = static_cast<size_t>(p - first);
    return true;
  }

 private:
  // Digits, ':' and the marks.
  static bool PartOfSlot(char c) {
    return static_cast<uint8_t>(c - '0') <= 10 || c == 'm' || c == 'r';
  }

  std::string_view value_;
  // The quick reading stops at the value's last character without counting
  // its length: it may run only when that character can be no part of a
  // slot, as the closing quote of a stop line's label is not. Then it never
  // reads past the value's end.
  bool quick_;
};

}  // namespace fxt
