#include "import/desk_text.h"

#include <cstdint>

#include "model/name_index.h"

namespace fxt {
namespace {

// The next code point of valid UTF-8 (the JSON reader checked it), from `at`.
uint32_t NextCodePoint(std::string_view text, size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  uint32_t point = lead & (0x3Fu >> extra);
  for (int i = 0; i < extra && at < text.size(); ++i) {
    point = (point << 6) | (static_cast<unsigned char>(text[at++]) & 0x3Fu);
  }
  return point;
}

// What a character beyond Latin-1 is written as.
std::string_view PlainForm(uint32_t point) {
  switch (point) {
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2212:
      return "-";
    case 0x2018:
    case 0x2019:
    case 0x201C:
    case 0x201D:
      return "'";
    case 0x2026:
      return "...";
    default:
      return "?";
  }
}

std::string Latin1(std::string_view utf8, bool quoted) {
  std::string text;
  text.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const uint32_t point = NextCodePoint(utf8, at);
    if (point < 0x20 || (point >= 0x7F && point < 0xA0)) {
      text += ' ';
    } else if (quoted && point == '"') {
      text += '\'';
    } else if (quoted && point == '/') {
      text += '-';
    } else if (point == 0xFF) {
      text += 'y';
    } else if (point < 0x100) {
      text += static_cast<char>(point);
    } else {
      text += PlainForm(point);
    }
  }
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string DeskText(std::string_view utf8) { return Latin1(utf8, true); }

std::string RemarkText(std::string_view utf8) { return Latin1(utf8, false); }

std::string Shortened(std::string_view text, size_t limit) {
  std::string kept(text.substr(0, limit));
  while (!kept.empty() && kept.back() == ' ') kept.pop_back();
  return kept;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

const char* TableEntry(std::string_view text, NameTable table) {
  const int found = IndexOf(table, NameIndex::Case::kIgnored).Find(text);
  return found < 0 ? nullptr : table[static_cast<size_t>(found)];
}

}  // namespace fxt
