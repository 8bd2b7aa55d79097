#include <algorithm>

#include "lsp/features.h"
#include "tools/display_path.h"

namespace fxt::lsp {
namespace {

json ClientPositionJson(ClientPosition position) {
  return {{"line", position.line}, {"character", position.character}};
}

}  // namespace

size_t Snapshot::OffsetOf(SourcePosition position) const {
  return lines.OffsetOf(position.line - 1, position.column - 1);
}

json Snapshot::Position(SourcePosition position) const {
  return ClientPositionJson(lines.ClientPositionOf(OffsetOf(position), encoding));
}

json Snapshot::Range(size_t begin, size_t end) const {
  return {{"start", ClientPositionJson(lines.ClientPositionOf(begin, encoding))},
          {"end", ClientPositionJson(lines.ClientPositionOf(std::max(begin, end), encoding))}};
}

json Snapshot::Range(SourceRange range) const {
  return Range(OffsetOf(range.start), OffsetOf(range.end));
}

json Snapshot::RangeToLineEnd(SourcePosition position) const {
  return Range(OffsetOf(position), lines.EndOf(position.line - 1));
}

json Snapshot::LineRange(int32_t firstLine, int32_t lastLine) const {
  return Range(lines.OffsetOf(firstLine - 1, 0), lines.EndOf(std::max(lastLine, firstLine) - 1));
}

SourcePosition Snapshot::FromClient(ClientPosition position) const {
  const LineIndex::TemplatePlace place = lines.TemplatePlaceOf(lines.OffsetOf(position, encoding));
  return {place.line + 1, place.index + 1};
}

}  // namespace fxt::lsp
