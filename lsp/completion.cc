#include <string>

#include "fsm/state_machine.h"
#include "grammar/attribute.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
#include "lsp/features.h"
#include "lsp/keyword_docs.h"
#include "lsp/line_words.h"
#include "model/name_tables.h"

namespace fxt::lsp {
namespace {

// The protocol's completion item kinds.
constexpr int ITEM_KEYWORD = 14;
constexpr int ITEM_VALUE = 12;

Block::Kind BlockKindOf(StateFn state) {
  if (state == StateFixtureBody) return Block::Kind::kHeader;
  if (state == StateAttributeBody) return Block::Kind::kAttribute;
  if (state == StateParameterBody) return Block::Kind::kParameter;
  return Block::Kind::kNone;
}

// The keywords that the grammar takes in a state: its table's rows.
json KeywordItems(StateFn state) {
  json items = json::array();
  if (state == nullptr) return items;
  const Block::Kind block = BlockKindOf(state);
  for (const Transition* row = state(SIG_ENTRY); row->event != 0; ++row) {
    if (row->event == TRANSITION_ANY) continue;
    const Keyword& keyword = KeywordTable[row->event];
    std::string word = keyword.text;
    const bool takesValue = word.ends_with('=');
    if (takesValue) word.pop_back();
    items.push_back({{"label", word},
                     {"kind", ITEM_KEYWORD},
                     {"detail", std::string(KeywordDoc(keyword.id, block))},
                     {"insertText", takesValue ? word + " = " : word}});
  }
  if (state == StateParameterBody) {
    // A stop line is written "stop = (...)", though its keyword is "stop".
    for (json& item : items) {
      if (item["label"] == "stop") item["insertText"] = "stop = (";
    }
  }
  return items;
}

json NameItems(NameTable table, const std::string& detail, const json& range) {
  json items = json::array();
  for (const char* name : table) {
    items.push_back({{"label", name},
                     {"kind", ITEM_VALUE},
                     {"detail", detail},
                     {"textEdit", {{"range", range}, {"newText", name}}}});
  }
  return items;
}

// The fixed names that a quoted value takes where the cursor stands.
json QuotedNameItems(const Snapshot& snapshot, TokenId keyword, Block::Kind block,
                     SourcePosition at, size_t quote) {
  const json range = {{"start", snapshot.Position({at.line, static_cast<int32_t>(quote) + 2})},
                      {"end", snapshot.Position(at)}};
  if (keyword == TOKEN_MANUFACTURER) return NameItems(ManufacturerNames, "manufacturer", range);
  if (keyword == TOKEN_STOP) return NameItems(DisplayLabels, "display label", range);
  if (keyword == TOKEN_NAME && block == Block::Kind::kAttribute) {
    return NameItems(AttributeTypeNames, "attribute name", range);
  }
  if (keyword == TOKEN_NAME && block == Block::Kind::kParameter) {
    return NameItems(ParameterTypeNames, "parameter name", range);
  }
  return json::array();
}

}  // namespace

// At the start of a line, the keywords that may follow in its block; inside
// the quotes of a name or a stop's label, the fixed names that it may take.
json Completion(const Snapshot& snapshot, SourcePosition at) {
  const std::string line = TemplateLine(snapshot.lines.Line(at.line - 1));
  const std::string before =
      line.substr(0, std::min(line.size(), static_cast<size_t>(std::max(at.column - 1, 0))));
  const StateFn state = snapshot.analysis.StateBeforeLine(at.line);
  const size_t equals = before.find('=');
  if (equals == std::string::npos) {
    if (before.find_first_not_of(" \t") != std::string::npos &&
        before.find_first_of("(\"/") != std::string::npos) {
      return json::array();
    }
    return KeywordItems(state);
  }
  const size_t quote = before.rfind('"');
  const size_t quotes = static_cast<size_t>(std::count(before.begin(), before.end(), '"'));
  if (quote == std::string::npos || quote < equals || quotes % 2 == 0) return json::array();
  const WrittenKeyword keyword = KeywordOf(line);
  if (keyword.keyword == nullptr) return json::array();
  return QuotedNameItems(snapshot, keyword.keyword->id, BlockKindOf(state), at, quote);
}

}  // namespace fxt::lsp
