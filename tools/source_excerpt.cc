#include "tools/source_excerpt.h"

#include <algorithm>
#include <cstdio>

#include "reader/utf8.h"
#include "tools/display_path.h"

namespace fxt {
namespace {

// Around the place, a line shows at most this many bytes of the file.
constexpr size_t SHOWN_BEFORE = 60;
constexpr size_t SHOWN_AFTER = 100;
constexpr std::string_view kCut = "...";
constexpr size_t GUTTER = 5;

// One character of the line as the terminal gets it, and the columns it
// takes there.
struct Shown {
  std::string text;
  size_t width;
};

Shown ShowCharacter(std::string_view rest, bool utf8, size_t& length) {
  length = utf8 ? std::max<size_t>(Utf8SequenceLength(rest), 1) : 1;
  const uint32_t codePoint =
      utf8 ? Utf8CodePoint(rest, length) : static_cast<uint32_t>(static_cast<uint8_t>(rest[0]));
  if (codePoint == '\t') return {"\t", 1};
  if (IsEscapedOnTerminal(codePoint)) {
    std::string escaped;
    for (size_t i = 0; i < length; ++i) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<uint8_t>(rest[i]));
      escaped += hex;
    }
    return {escaped, escaped.size()};
  }
  if (utf8 || codePoint < 0x80) return {std::string(rest.substr(0, length)), 1};
  // A Latin-1 byte, written as UTF-8.
  return {std::string{static_cast<char>(0xC0 | (codePoint >> 6)),
                      static_cast<char>(0x80 | (codePoint & 0x3F))},
          1};
}

}  // namespace

Colours Colours::On() {
  return {"\033[1m", "\033[1;31m", "\033[1;35m", "\033[1;36m", "\033[1;32m", "\033[m"};
}

std::string SourceExcerpt(std::string_view line, int32_t lineNumber, int32_t column,
                          int32_t endColumn, const Colours& colours) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  const size_t place = std::min(static_cast<size_t>(std::max(column, 1) - 1), line.size());
  const size_t end = std::clamp(static_cast<size_t>(std::max(endColumn, 1) - 1), place + 1,
                                std::max(line.size(), place + 1));
  // The window of the line that is shown begins and ends on whole UTF-8
  // characters; whether it is UTF-8 is asked of the window alone, so that
  // a long line costs no more than a short one.
  const auto startOfCharacter = [&](size_t at) {
    for (int back = 0;
         back < 3 && at > 0 && at < line.size() && (static_cast<uint8_t>(line[at]) & 0xC0) == 0x80;
         ++back) {
      --at;
    }
    return at;
  };
  const size_t first = startOfCharacter(place > SHOWN_BEFORE ? place - SHOWN_BEFORE : 0);
  const size_t last = startOfCharacter(std::min(line.size(), place + SHOWN_AFTER));
  const bool utf8 = IsValidUtf8(line.substr(first, last - first));

  // The line number in a gutter of five columns at least, as compilers do.
  std::string number = std::to_string(lineNumber);
  if (number.size() < GUTTER) number.insert(0, GUTTER - number.size(), ' ');
  std::string text = number + " | ";
  std::string marks = std::string(number.size(), ' ') + " | ";
  if (first > 0) {
    text += kCut;
    marks += std::string(kCut.size(), ' ');
  }
  marks += colours.caret;
  for (size_t i = first; i < last;) {
    size_t length = 0;
    const Shown shown = ShowCharacter(line.substr(i), utf8, length);
    text += shown.text;
    if (i < place) {
      marks += shown.text == "\t" ? "\t" : std::string(shown.width, ' ');
    } else if (i < end) {
      marks += (i == place ? "^" : "~") + std::string(shown.width - 1, '~');
    }
    i += length;
  }
  if (place >= last) marks += "^";
  if (last < line.size()) text += kCut;
  marks += colours.reset;
  return text + "\n" + marks + "\n";
}

}  // namespace fxt
