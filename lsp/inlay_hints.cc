// Hints beside the numbers of a template that stand for something named or
// scaled elsewhere: the attribute an attribute list names, the DMX value a
// stop stores, the channels an attribute takes, a home value in percent.
#include <cstdio>
#include <optional>
#include <string>

#include "lsp/features.h"
#include "lsp/record_words.h"
#include "lsp/written_numbers.h"
#include "reader/number_scan.h"

namespace fxt::lsp {
namespace {

// The protocol's inlay hint kinds.
constexpr int HINT_TYPE = 1;
constexpr int HINT_PARAMETER = 2;

// A hint just before the character at index `end` of the line; the label
// is UTF-8.
json Hint(const Snapshot& snapshot, int32_t line, int32_t end, const std::string& label, int kind) {
  return {{"position", snapshot.Position({line, end + 1})},
          {"label", label},
          {"kind", kind},
          {"paddingLeft", true}};
}

// A number as the grammar reads it: hexadecimal when its second character
// is 'x', decimal otherwise; where its reading ended.
ScannedNumber ReadNumber(const std::string& text) {
  return text.size() >= 2 && text[1] == 'x' ? ScanHex(text.c_str()) : ScanDecimal(text.c_str());
}

// A value as the reader leaves it: blanks gone, letters lowered, and the
// character index each of its characters came from.
struct Normalised {
  std::string text;
  std::vector<int32_t> from;
};

Normalised NormalisedOf(std::string_view line, Span span, bool marksAsBlanks) {
  Normalised normalised;
  for (int32_t i = span.begin; i < span.end; ++i) {
    char c = line[static_cast<size_t>(i)];
    if (c == ' ' || c == '\t') continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (marksAsBlanks && (c == 'm' || c == 'r')) c = ' ';
    normalised.text += c;
    normalised.from.push_back(i);
  }
  return normalised;
}

std::string DmxSpan(const Attribute& attribute) {
  const int coarse = DmxChannelOf(attribute);
  if (attribute.HasNoFineChannel()) return "DMX " + std::to_string(coarse) + " (8-bit)";
  const int fine = attribute.fineChannel + 1;
  const std::string channels = fine == coarse + 1
                                   ? std::to_string(coarse) + "\u2013" + std::to_string(fine)
                                   : std::to_string(coarse) + " + " + std::to_string(fine);
  return "DMX " + channels + " (16-bit)";
}

std::string Percent(double value, double full) {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", value * 100.0 / full);
  std::string percent = text;
  if (percent.ends_with(".0")) percent.resize(percent.size() - 2);
  return percent + "%";
}

class HintWriter {
 public:
  HintWriter(const Snapshot& snapshot, int32_t firstLine, int32_t lastLine)
      : snapshot_(snapshot),
        fixture_(*snapshot.analysis.fixture),
        first_(firstLine),
        last_(lastLine) {}

  json Write() {
    for (const Block& block : snapshot_.blocks) {
      if (block.lastLine < first_ || block.firstLine > last_) continue;
      if (block.kind == Block::Kind::kAttribute) AttributeHints(block);
      if (block.kind == Block::Kind::kParameter) ParameterHints(block);
    }
    return std::move(hints_);
  }

 private:
  const Snapshot& snapshot_;
  const FixtureTemplate& fixture_;
  int32_t first_;
  int32_t last_;
  json hints_ = json::array();

  bool InRange(int32_t line) const { return line >= first_ && line <= last_; }

  void Add(int32_t line, int32_t end, const std::string& label, int kind) {
    if (InRange(line)) hints_.push_back(Hint(snapshot_, line, end, label, kind));
  }

  void AttributeHints(const Block& block) {
    const Attribute& attribute = *block.attribute;
    for (const TokenId keyword : {TOKEN_CHANNEL, TOKEN_FINE_CHANNEL}) {
      for (const KeywordLine& line : LinesWithKeyword(snapshot_, block, keyword)) {
        const Span value = ValueOf(line.text);
        if (value.begin < value.end && DmxChannelOf(attribute) > 0) {
          Add(line.line, value.end, DmxSpan(attribute), HINT_TYPE);
        }
      }
    }
    for (const KeywordLine& line : LinesWithKeyword(snapshot_, block, TOKEN_HOME_VALUE)) {
      const Span value = ValueOf(line.text);
      const Normalised written = NormalisedOf(line.text, value, false);
      const ScannedNumber home = ReadNumber(written.text);
      const int32_t full = attribute.HasNoFineChannel() ? 255 : 65535;
      if (home.status != ScanStatus::kConverted || home.value < 0 || home.value > full) continue;
      Add(line.line, value.end, Percent(home.value, full), HINT_TYPE);
    }
  }

  void ParameterHints(const Block& block) {
    for (const WrittenNumber& entry : ListedChannels(snapshot_, block)) {
      const Attribute* attribute = AttributeOnChannel(fixture_, entry.value);
      if (attribute != nullptr && entry.value > 0) {
        Add(entry.line, entry.span.end, "\u27f5 " + Latin1ToUtf8(NameOf(*attribute)),
            HINT_PARAMETER);
      }
    }
    for (const KeywordLine& line : LinesWithKeyword(snapshot_, block, TOKEN_STOP)) {
      if (InRange(line.line)) StopHints(*block.parameter, line);
    }
  }

  // After each slot value's number, the value the stop stores where it is
  // not the one written: an 8-bit attribute's values are scaled by 256, a
  // 16-bit one's keep their low 16 bits.
  void StopHints(const Parameter& parameter, const KeywordLine& line) {
    const Stop* stop = StopOn(parameter, line.line);
    const std::optional<Span> slots = StopLinePartsOf(line.text, ValueOf(line.text)).slots;
    if (stop == nullptr || !slots) return;
    size_t valueNumber = 0;
    for (const Span& slot : ItemsOf(line.text, *slots)) {
      const Normalised written = NormalisedOf(line.text, slot, true);
      if (written.text.empty()) continue;
      if (valueNumber >= stop->entryCount) return;
      const StopEntry& entry = stop->entries[valueNumber++];
      const size_t colon = written.text.find(':', 1);
      PartHint(line.line, written, 0, colon, entry.low);
      if (colon != std::string::npos)
        PartHint(line.line, written, colon + 1, std::string::npos, entry.high);
    }
  }

  void PartHint(int32_t line, const Normalised& written, size_t begin, size_t end,
                uint16_t stored) {
    const std::string part =
        written.text.substr(begin, end == std::string::npos ? end : end - begin);
    const ScannedNumber number = ReadNumber(part);
    if (number.status != ScanStatus::kConverted || number.value == stored) return;
    const auto taken = static_cast<size_t>(number.end - part.c_str());
    if (taken == 0) return;
    Add(line, written.from[begin + taken - 1] + 1, "\u2192 " + std::to_string(stored), HINT_TYPE);
  }
};

}  // namespace

json InlayHints(const Snapshot& snapshot, int32_t firstLine, int32_t lastLine) {
  if (snapshot.analysis.fixture == nullptr) return json::array();
  return HintWriter(snapshot, firstLine, lastLine).Write();
}

}  // namespace fxt::lsp
