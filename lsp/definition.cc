#include "lsp/features.h"
#include "lsp/line_words.h"
#include "lsp/record_words.h"
#include "lsp/written_numbers.h"
#include "reader/number_scan.h"

namespace fxt::lsp {
namespace {

json LocationOfLine(const Snapshot& snapshot, int32_t line) {
  return {{"uri", snapshot.uri}, {"range", snapshot.LineRange(line, line)}};
}

}  // namespace

// From a channel of an attribute list, or a slot value of a stop line, to
// the attribute block it names.
json Definition(const Snapshot& snapshot, SourcePosition at) {
  const FixtureTemplate* fixture = snapshot.analysis.fixture.get();
  const Block block = BlockAt(snapshot.blocks, at.line);
  if (fixture == nullptr || block.kind != Block::Kind::kParameter) return nullptr;
  const std::string line = TemplateLine(snapshot.lines.Line(at.line - 1));
  const WrittenKeyword keyword = KeywordOf(line);
  if (keyword.keyword == nullptr) return nullptr;
  const int32_t index = at.column - 1;
  Span value = ValueOf(line);
  if (keyword.keyword->id == TOKEN_ATTRIB_LIST) {
    for (const Span& item : ItemsOf(line, value)) {
      if (!item.Holds(index)) continue;
      const std::string number =
          line.substr(static_cast<size_t>(item.begin), static_cast<size_t>(item.end - item.begin));
      const Attribute* attribute = AttributeOnChannel(*fixture, DecimalValue(number.c_str()));
      return attribute == nullptr ? json(nullptr) : LocationOfLine(snapshot, attribute->sourceLine);
    }
    return nullptr;
  }
  if (keyword.keyword->id != TOKEN_STOP) return nullptr;
  const std::optional<Span> slots = StopLinePartsOf(line, value).slots;
  if (!slots) return nullptr;
  size_t valueNumber = 0;
  for (const Span& slot : ItemsOf(line, *slots)) {
    const bool empty = line.find_first_not_of(" \t", static_cast<size_t>(slot.begin)) >=
                       static_cast<size_t>(slot.end);
    if (slot.Holds(index) && !empty) {
      const Attribute* attribute = AttributeOfSlot(*fixture, *block.parameter,
                                                   StopOn(*block.parameter, at.line), valueNumber);
      return attribute == nullptr ? json(nullptr) : LocationOfLine(snapshot, attribute->sourceLine);
    }
    if (!empty) ++valueNumber;
  }
  return nullptr;
}

}  // namespace fxt::lsp
