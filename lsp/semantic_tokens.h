// Semantic tokens: what each piece of a template is to the tester, for an
// editor to colour. A line's keyword, the names it gives (those a fixed name
// table holds apart from those it lacks), its numbers, its letters (kinds,
// stop modes, value marks) and its remark; a piece that an error's range
// covers carries the modifier "error".
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "lsp/features.h"

namespace fxt::lsp {

// The legend, as the server announces it at initialisation.
json SemanticTokensLegend();

// The tokens of a document, as the protocol packs them: five numbers each.
std::vector<uint32_t> SemanticTokenData(const Snapshot& snapshot);

// One result, kept so that the next request may ask for what changed.
struct TokenResult {
  std::string id;
  std::vector<uint32_t> data;
};

// The edits that turn `before` into `after`: one, of the numbers between
// their common start and their common end; none when they are equal.
json TokenEdits(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after);

}  // namespace fxt::lsp
