#include "chart/places.h"

#include <algorithm>

namespace fxt::chart {
namespace {

// The number of the record that the block's line opened, or 0.
int NumberAt(const std::vector<std::pair<int32_t, int>>& lines, int32_t line) {
  const auto found = std::lower_bound(lines.begin(), lines.end(), std::make_pair(line, 0));
  return found != lines.end() && found->first == line ? found->second : 0;
}

}  // namespace

Places::Places(const FixtureTemplate* fixture, const ChartSource& source)
    : fixture_(fixture), blocks_(source.blocks) {
  if (fixture == nullptr) return;
  for (int n = 1; n <= fixture->attributeCount; ++n) {
    attributeLines_.emplace_back(fixture->AttributeAt(n)->sourceLine, n);
  }
  for (int n = 1; n <= fixture->parameterCount; ++n) {
    parameterLines_.emplace_back(fixture->ParameterAt(n)->sourceLine, n);
  }
  std::sort(attributeLines_.begin(), attributeLines_.end());
  std::sort(parameterLines_.begin(), parameterLines_.end());
}

Place Places::OfLine(int32_t line) const {
  const auto after =
      std::upper_bound(blocks_.begin(), blocks_.end(), line,
                       [](int32_t at, const BlockLine& block) { return at < block.line; });
  if (fixture_ == nullptr || after == blocks_.begin()) return {};
  const BlockLine& block = *std::prev(after);
  switch (block.kind) {
    case BlockKind::kHeader:
      return {Place::Kind::kHeader};
    case BlockKind::kAttribute: {
      const int number = NumberAt(attributeLines_, block.line);
      return number == 0 ? Place{} : Place{Place::Kind::kAttribute, number};
    }
    case BlockKind::kParameter: {
      const int number = NumberAt(parameterLines_, block.line);
      return number == 0 ? Place{} : StopOf(number, line);
    }
    case BlockKind::kEnd:
      return line == block.line ? Place{Place::Kind::kHeader} : Place{};
  }
  return {};
}

// The stop whose line it is, or else the parameter.
Place Places::StopOf(int parameter, int32_t line) const {
  const Parameter& record = *fixture_->ParameterAt(parameter);
  for (int n = 1; n <= record.stopCount; ++n) {
    if (record.StopAt(n)->sourceLine == line) return {Place::Kind::kStop, parameter, n};
  }
  return {Place::Kind::kParameter, parameter};
}

}  // namespace fxt::chart
