// The stops of the parameter that drives one attribute: one for each
// capability of its channel that does something.
#pragma once

#include <string>
#include <vector>

#include "import/library_fixture.h"
#include "import/stop_labels.h"
#include "import/template_plan.h"

namespace fxt {

// A parameter holds at most 255 stops.
inline constexpr size_t MOST_STOPS = 255;
// A direction stop shows values from -999 to 999.
inline constexpr int LARGEST_DISPLAY_VALUE = 999;

struct StopContext {
  const LibraryFixture* fixture = nullptr;
  const WheelNumbers* wheels = nullptr;
  std::string channelText;  // how remarks name the channel: channel 5 ("Shutter")
  std::vector<std::string>* losses = nullptr;  // what the stops cannot say
};

// `bytes` is the attribute's resolution: 1, or 2 with a fine channel.
std::vector<PlannedStop> PlanStops(const LibraryChannel& channel, int bytes,
                                   const StopContext& context);

}  // namespace fxt
