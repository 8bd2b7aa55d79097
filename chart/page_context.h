// What every part of a chart page shares: the template, its footprint and
// stop lanes, and which diagnostic concerns which place, both ways.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "chart/chart_source.h"
#include "chart/footprint.h"
#include "chart/html_text.h"
#include "chart/places.h"
#include "chart/stop_lanes.h"

namespace fxt::chart {

class PageContext {
 public:
  explicit PageContext(const ChartSource& source);

  const ChartSource& source;
  const FixtureTemplate* fixture;  // null when the file held no template
  Places places;
  Footprint footprint;
  std::vector<StopLanes> parameters;    // one per parameter, in order
  std::vector<Place> diagnosticPlaces;  // one per diagnostic

  // The id of the place's element in the chart; "" for no place.
  std::string AnchorOf(const Place& place) const;
  std::string AnchorOfLine(int32_t line) const { return AnchorOf(places.OfLine(line)); }
  // Links to the diagnostics that concern the place: " FT304 FL106".
  void WriteDiagnosticLinks(Html& html, const Place& place) const;
  // The stops of the parameter that a diagnostic or one of its notes links
  // to, by number: each needs an id.
  std::vector<int> LinkedStops(int parameter) const;
  bool HasDiagnostics(const Place& place) const {
    const std::vector<size_t>* diagnostics = DiagnosticsOf(place);
    return diagnostics != nullptr && !diagnostics->empty();
  }

 private:
  std::map<std::pair<int, int>, std::vector<size_t>> byStop_;  // (parameter, stop) to diagnostics
  std::vector<std::vector<size_t>> byAttribute_;
  std::vector<std::vector<size_t>> byParameter_;
  std::vector<size_t> byHeader_;
  std::set<std::pair<int, int>> linkedStops_;  // (parameter, stop)

  const std::vector<size_t>* DiagnosticsOf(const Place& place) const;
};

// The parts of the page, in the order it shows them.
void WriteStyle(Html& html);
void WritePatterns(Html& html);
void WriteFootprint(Html& html, const PageContext& page);
void WriteAttributeTable(Html& html, const PageContext& page);
void WriteStopLegend(Html& html);
void WriteParameterTable(Html& html, const PageContext& page);
void WriteParameter(Html& html, const PageContext& page, int number);
void WriteStopTable(Html& html, const PageContext& page, int number);

// The attribute's name, escaped, or "attribute N" when it has none.
void WriteAttributeName(Html& html, const FixtureTemplate& fixture, int number);
// The parameter's name, escaped, or "parameter N" when it has none.
void WriteParameterName(Html& html, const Parameter& parameter, int number);

}  // namespace fxt::chart
