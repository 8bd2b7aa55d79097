// Where in the chart a line of the template is drawn: the header, an
// attribute, a parameter or one of its stops. Diagnostics link there.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "chart/chart_source.h"
#include "model/fixture_template.h"

namespace fxt::chart {

struct Place {
  enum class Kind : uint8_t { kNone, kHeader, kAttribute, kParameter, kStop };
  Kind kind = Kind::kNone;
  int number = 0;  // the attribute's or the parameter's, from 1
  int stop = 0;    // the stop's, from 1, in its parameter

  bool operator==(const Place&) const = default;
};

class Places {
 public:
  // `fixture` is the template the load kept, or null.
  Places(const FixtureTemplate* fixture, const ChartSource& source);

  // kNone for a line outside the charted template, or in a block the model
  // does not hold.
  Place OfLine(int32_t line) const;

 private:
  const FixtureTemplate* fixture_;
  const std::vector<BlockLine>& blocks_;
  std::vector<std::pair<int32_t, int>> attributeLines_;  // (line, number), in line order
  std::vector<std::pair<int32_t, int>> parameterLines_;

  Place StopOf(int parameter, int32_t line) const;
};

}  // namespace fxt::chart
