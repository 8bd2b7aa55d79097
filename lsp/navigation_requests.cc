// The requests for hints, references and renaming, from their parameters
// to the features of the document they name.
#include "lsp/features.h"
#include "lsp/params.h"
#include "lsp/server.h"

namespace fxt::lsp {

json Server::InlayHintsIn(const json& params) {
  const TextChange::Span range = RangeOf(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return InlayHints(snapshot, snapshot.FromClient(range.start).line,
                      snapshot.FromClient(range.end).line);
  });
}

json Server::ReferencesAt(const json& params) {
  const ClientPosition position = PositionOf(params);
  const bool includeDeclaration = IncludesDeclaration(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return References(snapshot, snapshot.FromClient(position), includeDeclaration);
  });
}

json Server::PrepareRenameAt(const json& params) {
  const ClientPosition position = PositionOf(params);
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    return PrepareRename(snapshot, snapshot.FromClient(position));
  });
}

json Server::RenameAt(const json& params) {
  const ClientPosition position = PositionOf(params);
  const std::string newName(NewNameOf(params));
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    return Rename(snapshot, snapshot.FromClient(position), newName);
  });
}

}  // namespace fxt::lsp
