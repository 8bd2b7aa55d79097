#include "chart/page_context.h"

namespace fxt::chart {

PageContext::PageContext(const ChartSource& chartSource)
    : source(chartSource), fixture(chartSource.load.fixture.get()), places(fixture, chartSource) {
  for (const ChartDiagnostic& diagnostic : source.diagnostics) {
    diagnosticPlaces.push_back(places.OfLine(diagnostic.position.line));
  }
  if (fixture == nullptr) return;
  footprint = FootprintOf(*fixture, source);
  for (const ChartDiagnostic& diagnostic : source.diagnostics) {
    for (const Note& note : diagnostic.notes) {
      if (!note.position) continue;
      const Place place = places.OfLine(note.position->line);
      if (place.kind == Place::Kind::kStop) linkedStops_.insert({place.number, place.stop});
    }
  }
  for (int n = 1; n <= fixture->parameterCount; ++n) {
    parameters.push_back(LanesOf(*fixture, *fixture->ParameterAt(n)));
  }
  byAttribute_.resize(fixture->attributeCount + 1u);
  byParameter_.resize(fixture->parameterCount + 1u);
  for (size_t i = 0; i < diagnosticPlaces.size(); ++i) {
    const Place& place = diagnosticPlaces[i];
    switch (place.kind) {
      case Place::Kind::kHeader:
        byHeader_.push_back(i);
        break;
      case Place::Kind::kAttribute:
        byAttribute_[static_cast<size_t>(place.number)].push_back(i);
        break;
      case Place::Kind::kParameter:
        byParameter_[static_cast<size_t>(place.number)].push_back(i);
        break;
      case Place::Kind::kStop:
        byStop_[{place.number, place.stop}].push_back(i);
        linkedStops_.insert({place.number, place.stop});
        break;
      case Place::Kind::kNone:
        break;
    }
  }
}

std::string PageContext::AnchorOf(const Place& place) const {
  switch (place.kind) {
    case Place::Kind::kHeader:
      return "header";
    case Place::Kind::kAttribute: {
      const FootprintAttribute& placed =
          footprint.attributes[static_cast<size_t>(place.number - 1)];
      return (placed.channel ? "attr-" : "attr-row-") + std::to_string(place.number);
    }
    case Place::Kind::kParameter:
      return "param-" + std::to_string(place.number);
    case Place::Kind::kStop: {
      const StopRun* run = parameters[static_cast<size_t>(place.number - 1)].RunOf(place.stop);
      return "stop-" + std::to_string(place.number) + "-" +
             std::to_string(run != nullptr ? run->first : place.stop);
    }
    case Place::Kind::kNone:
      break;
  }
  return "";
}

std::vector<int> PageContext::LinkedStops(int parameter) const {
  std::vector<int> stops;
  for (auto at = linkedStops_.lower_bound({parameter, 0});
       at != linkedStops_.end() && at->first == parameter; ++at) {
    stops.push_back(at->second);
  }
  return stops;
}

const std::vector<size_t>* PageContext::DiagnosticsOf(const Place& place) const {
  switch (place.kind) {
    case Place::Kind::kHeader:
      return &byHeader_;
    case Place::Kind::kAttribute:
      return &byAttribute_[static_cast<size_t>(place.number)];
    case Place::Kind::kParameter:
      return &byParameter_[static_cast<size_t>(place.number)];
    case Place::Kind::kStop: {
      const auto found = byStop_.find({place.number, place.stop});
      return found == byStop_.end() ? nullptr : &found->second;
    }
    case Place::Kind::kNone:
      break;
  }
  return nullptr;
}

void PageContext::WriteDiagnosticLinks(Html& html, const Place& place) const {
  const std::vector<size_t>* diagnostics = DiagnosticsOf(place);
  if (diagnostics == nullptr) return;
  for (const size_t i : *diagnostics) {
    const ChartDiagnostic& diagnostic = source.diagnostics[i];
    html << " <a class=\"" << (diagnostic.severity == Severity::kError ? "error" : "warning")
         << "\" href=\"#diag-" << i + 1 << "\">" << diagnostic.code << "</a>";
  }
}

void WriteAttributeName(Html& html, const FixtureTemplate& fixture, int number) {
  const Attribute* attribute =
      number >= 1 && number <= fixture.attributeCount ? fixture.AttributeAt(number) : nullptr;
  html.Text(AttributeName(attribute, number));
}

}  // namespace fxt::chart
