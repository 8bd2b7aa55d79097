#include "lsp/features.h"
#include "lsp/record_words.h"

namespace fxt::lsp {
namespace {

// The protocol's symbol kinds.
constexpr int KIND_CLASS = 5;
constexpr int KIND_PROPERTY = 7;
constexpr int KIND_FIELD = 8;
constexpr int KIND_ENUM_MEMBER = 22;

json Symbol(const Snapshot& snapshot, const std::string& name, const std::string& detail, int kind,
            int32_t firstLine, int32_t lastLine) {
  return {{"name", Latin1ToUtf8(name)},
          {"detail", Latin1ToUtf8(detail)},
          {"kind", kind},
          {"range", snapshot.LineRange(firstLine, lastLine)},
          {"selectionRange", snapshot.LineRange(firstLine, firstLine)},
          {"children", json::array()}};
}

json StopSymbols(const Snapshot& snapshot, const Parameter& parameter) {
  json stops = json::array();
  const Stop* stop = &parameter.firstStop;
  for (int n = 1; n <= parameter.stopCount && stop != nullptr; ++n, stop = stop->next.get()) {
    stops.push_back(Symbol(snapshot, NameOf(*stop), "stop " + std::to_string(n), KIND_ENUM_MEMBER,
                           stop->sourceLine, stop->sourceLine));
  }
  return stops;
}

}  // namespace

// The template, its attributes and its parameters, and each parameter's
// stops, as the load kept them.
json DocumentSymbols(const Snapshot& snapshot) {
  json symbols = json::array();
  const FixtureTemplate* fixture = snapshot.analysis.fixture.get();
  if (fixture == nullptr || snapshot.blocks.empty()) return symbols;
  const int32_t last = snapshot.blocks.back().lastLine;
  json root = Symbol(snapshot, fixture->modelName.empty() ? "(no name)" : fixture->modelName,
                     fixture->manufacturer.IsSet() ? fixture->manufacturer.get() : "", KIND_CLASS,
                     fixture->sourceLine, last);
  for (const Block& block : snapshot.blocks) {
    if (block.kind == Block::Kind::kAttribute) {
      const Attribute& attribute = *block.attribute;
      root["children"].push_back(Symbol(snapshot,
                                        NameOf(attribute) + "  ch " + ChannelsOf(attribute),
                                        "attribute " + std::to_string(block.number), KIND_FIELD,
                                        block.firstLine, block.lastLine));
    } else if (block.kind == Block::Kind::kParameter) {
      const Parameter& parameter = *block.parameter;
      json symbol =
          Symbol(snapshot, NameOf(parameter) + "  displayer " + std::to_string(parameter.displayer),
                 "parameter " + std::to_string(block.number), KIND_PROPERTY, block.firstLine,
                 block.lastLine);
      symbol["children"] = StopSymbols(snapshot, parameter);
      root["children"].push_back(symbol);
    }
  }
  symbols.push_back(root);
  return symbols;
}

}  // namespace fxt::lsp
