#include <algorithm>

#include "lsp/features.h"
#include "tools/display_path.h"

namespace fxt::lsp {

json Snapshot::Position(SourcePosition position) const {
  const int32_t line = std::max(position.line - 1, 0);
  return {{"line", line},
          {"character", lines.CharacterOf(line, std::max(position.column - 1, 0), encoding)}};
}

json Snapshot::RangeToLineEnd(SourcePosition position) const {
  const int32_t line = std::max(position.line - 1, 0);
  const int32_t end = std::max(lines.LengthOf(line), position.column - 1);
  return {{"start", Position(position)}, {"end", Position({position.line, end + 1})}};
}

json Snapshot::LineRange(int32_t firstLine, int32_t lastLine) const {
  lastLine = std::max(lastLine, firstLine);
  return {{"start", Position({firstLine, 1})},
          {"end", Position({lastLine, lines.LengthOf(lastLine - 1) + 1})}};
}


SourcePosition Snapshot::FromProtocol(const json& position) const {
  const auto line = position.value("line", 0);
  const auto character = position.value("character", 0);
  return {line + 1, lines.IndexOf(line, character, encoding) + 1};
}

}  // namespace fxt::lsp
