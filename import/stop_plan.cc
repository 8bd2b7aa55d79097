#include "import/stop_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "import/desk_text.h"
#include "import/mode_import.h"

namespace fxt {
namespace {

bool IsDirection(const Capability& capability) {
  return (capability.type == CapabilityType::kPan || capability.type == CapabilityType::kTilt) &&
         capability.degrees.has_value();
}

// The middle of the angles that the channel's pan or tilt capabilities give,
// so that the display values lie around 0 as the desk shows them.
double CentreOfAngles(const LibraryChannel& channel) {
  double lowest = std::numeric_limits<double>::infinity();
  double highest = -lowest;
  for (const Capability& capability : channel.capabilities) {
    if (!IsDirection(capability)) continue;
    const auto [from, to] = *capability.degrees;
    lowest = std::min({lowest, from, to});
    highest = std::max({highest, from, to});
  }
  // One angle alone tells nothing of where the middle is.
  return std::isfinite(lowest) && lowest < highest ? (lowest + highest) / 2 : 0;
}

void SetMode(const Capability& capability, double centre, const StopContext& context,
             PlannedStop& stop) {
  stop.mode = capability.proportional ? 'w' : 'n';
  if (!IsDirection(capability)) return;
  const double from = std::round(capability.degrees->first - centre);
  const double to = std::round(capability.degrees->second - centre);
  if (std::max(std::abs(from), std::abs(to)) > LARGEST_DISPLAY_VALUE) {
    context.losses->push_back(
        context.channelText + ": the angles of the stop " + Quoted(stop.label) +
        " go beyond the display's -999 to 999: " + "it is a range the mouse moves, without them");
    stop.mode = 'w';
    return;
  }
  stop.mode = 'd';
  stop.displayFrom = static_cast<int>(from);
  stop.displayTo = static_cast<int>(to);
}

std::string KeptLabel(const Capability& capability, const StopContext& context) {
  StopLabel label = LabelOf(capability, *context.fixture, *context.wheels);
  if (label.text.size() <= LABEL_KEPT) return label.text;
  // "Warm White" fits as "WarmWhite": every letter is kept.
  std::string kept = label.text;
  std::erase(kept, ' ');
  const bool whole = kept.size() <= LABEL_KEPT;
  if (!whole) kept = Shortened(label.text, LABEL_KEPT);
  if (const char* entry = TableEntry(kept, DisplayLabels)) kept = entry;
  if (whole) return kept;
  context.losses->push_back(context.channelText + ": the label " + Quoted(label.text) +
                            " is kept as " + Quoted(kept) + ": a label holds " +
                            std::to_string(LABEL_KEPT) + " characters");
  return kept;
}

}  // namespace

std::vector<PlannedStop> PlanStops(const LibraryChannel& channel, int bytes,
                                   const StopContext& context) {
  std::vector<PlannedStop> stops;
  const double centre = CentreOfAngles(channel);
  size_t dropped = 0;
  for (const Capability& capability : channel.capabilities) {
    if (capability.type == CapabilityType::kNoFunction) continue;
    if (stops.size() == MOST_STOPS) {
      ++dropped;
      continue;
    }
    PlannedStop stop;
    stop.low = Scaled(capability.low, channel.resolution, bytes, false);
    stop.high = Scaled(capability.high, channel.resolution, bytes, true);
    stop.label = KeptLabel(capability, context);
    SetMode(capability, centre, context, stop);
    stops.push_back(std::move(stop));
  }
  if (dropped > 0) {
    context.losses->push_back(context.channelText + ": " + std::to_string(dropped) +
                              " capabilities after the first " + std::to_string(MOST_STOPS) +
                              " are skipped: a parameter holds " + std::to_string(MOST_STOPS) +
                              " stops");
  }
  return stops;
}

}  // namespace fxt
