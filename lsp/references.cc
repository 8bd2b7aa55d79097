// The references of an attribute: the entries of attribute lists that name
// its channel, in every parameter, and its own block.
#include "lsp/features.h"
#include "lsp/written_numbers.h"

namespace fxt::lsp {
namespace {

json Location(const Snapshot& snapshot, json range) {
  return {{"uri", snapshot.uri}, {"range", std::move(range)}};
}

}  // namespace

json References(const Snapshot& snapshot, SourcePosition at, bool includeDeclaration) {
  json locations = json::array();
  const Attribute* attribute = AttributeUnder(snapshot, at);
  if (attribute == nullptr) return locations;
  const Block* own = BlockOf(snapshot, attribute);
  if (includeDeclaration && own != nullptr) {
    locations.push_back(Location(snapshot, snapshot.LineRange(own->firstLine, own->lastLine)));
  }
  for (const WrittenNumber& entry : EntriesNaming(snapshot, *attribute)) {
    locations.push_back(Location(snapshot, SpanRange(snapshot, entry.line, entry.span)));
  }
  return locations;
}

}  // namespace fxt::lsp
