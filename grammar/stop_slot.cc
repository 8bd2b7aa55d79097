#include "grammar/stop_slot.h"

#include <algorithm>
#include <array>

namespace fxt {
namespace {

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

// An 'm' or an 'r' counts as the blank it stands for: skipped before the
// number, ending it after. Nothing of a slot list can be a sign, and a number
// ends at the ':', ',' or ')' that ends its part.
template <uint32_t kBase>
SlotPart ReadDigits(std::string_view digits, bool began) {
  constexpr int64_t kCap = int64_t{INT32_MAX} + 1;
  int64_t magnitude = 0;
  for (const char c : digits) {
    const uint32_t digit = kHexDigits[static_cast<uint8_t>(c)];
    if (digit >= kBase) break;
    began = true;
    magnitude = std::min(magnitude * kBase + digit, kCap);
  }
  return {began, static_cast<int32_t>(std::min<int64_t>(magnitude, INT32_MAX))};
}

SlotPart ReadPart(std::string_view part) {
  const bool hex = part.size() >= 2 && part[1] == 'x';
  size_t marks = 0;
  while (marks < part.size() && (part[marks] == 'm' || part[marks] == 'r')) ++marks;
  const std::string_view number = part.substr(marks);
  if (!hex) return ReadDigits<10>(number, false);
  // After "0x" the number has begun: no hex digit after it still reads 0.
  if (number.starts_with("0x")) return ReadDigits<16>(number.substr(2), true);
  return ReadDigits<16>(number, false);
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

// The slot value value[slot.start, end): split at its colon into a low and a
// high part, or both the whole of it. A slot that is more than marks and
// decimal digits is read again where it stands.
void ReadParts(std::string_view value, const SlotScan& slot, size_t end, SlotReading& reading) {
  if (slot.start == end) return;
  const size_t colon = slot.colon;
  reading.low = slot.Part(0);
  reading.high = colon != 0 ? slot.Part(1) : reading.low;
  if (!slot.plain) {
    const size_t lowEnd = colon != 0 ? colon : end;
    reading.low = ReadPart(value.substr(slot.start, lowEnd - slot.start));
    reading.high = colon != 0 ? ReadPart(value.substr(colon + 1, end - colon - 1)) : reading.low;
  }
}

}  // namespace

SlotReading ReadSlotInFull(std::string_view value, size_t start, bool mouseMarked) {
  SlotScan slot{start};
  SlotReading reading;
  const auto stop = [&](SlotEnd end, size_t at) {
    reading.end = end;
    reading.at = at;
    return reading;
  };
  for (size_t i = start; i < value.size(); ++i) {
    const char c = value[i];
    if (slot.Digit(c)) continue;
    switch (kSlotChars[static_cast<uint8_t>(c)]) {
      case SlotChar::kValue:
        slot.Letter(c, i);
        continue;
      case SlotChar::kMouse:
        slot.Mark();
        if (mouseMarked || reading.mouseMark) return stop(SlotEnd::kSecondMouseMark, i);
        reading.mouseMark = true;
        continue;
      case SlotChar::kR:
        slot.Mark();
        reading.rMark = true;
        continue;
      case SlotChar::kEnd:
        ReadParts(value, slot, i, reading);
        return stop(SlotEnd::kEnded, i);
      case SlotChar::kIllegal:
        return stop(SlotEnd::kIllegal, i);
    }
  }
  return stop(SlotEnd::kUnended, std::string_view::npos);
}

}  // namespace fxt
