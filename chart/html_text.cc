#include "chart/html_text.h"

#include <array>
#include <charconv>

namespace fxt::chart {
namespace {

// The escape of a character that text cannot hold as it is; null when it
// stands as it is. Text never goes into an attribute's value, so quotes
// stand as they are.
const char* EscapeOf(uint8_t character) {
  switch (character) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return nullptr;
  }
}

// C0 and C1 controls and DEL: XML forbids most of them, and none can be
// seen.
bool IsControl(uint8_t character) {
  return character < 0x20 || (character >= 0x7F && character < 0xA0);
}

void AppendShownControl(std::string& page, uint8_t character) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  page += "\\x";
  page += kDigits[character >> 4];
  page += kDigits[character & 0x0F];
}

}  // namespace

Html& Html::operator<<(int64_t number) {
  std::array<char, 24> digits{};
  char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
  page_.append(digits.data(), end);
  return *this;
}

Html& Html::Text(std::string_view bytes) {
  for (const char c : bytes) {
    const auto character = static_cast<uint8_t>(c);
    if (const char* escape = EscapeOf(character)) {
      page_ += escape;
    } else if (IsControl(character)) {
      AppendShownControl(page_, character);
    } else if (character < 0x80) {
      page_ += c;
    } else {
      page_ += static_cast<char>(0xC0 | (character >> 6));
      page_ += static_cast<char>(0x80 | (character & 0x3F));
    }
  }
  return *this;
}

Html& Html::Utf8(std::string_view text) {
  for (const char c : text) {
    const char* escape = EscapeOf(static_cast<uint8_t>(c));
    if (escape != nullptr) {
      page_ += escape;
    } else {
      page_ += c;
    }
  }
  return *this;
}

}  // namespace fxt::chart
