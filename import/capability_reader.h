// Reading one capability of a channel from a fixture file.
#pragma once

#include <string>

#include "import/json_checks.h"
#include "import/library_fixture.h"

namespace fxt {

// What a capability's reading needs to know of its channel.
struct CapabilityFrame {
  uint64_t highest = 255;   // the channel's largest DMX value
  bool single = false;      // the channel's only capability: no DMX range of its own
  std::string channelName;  // the wheel a wheel capability names when it names none
};

bool ReadCapability(JsonChecks& checks, const Json& value, const std::string& path,
                    const CapabilityFrame& frame, Capability& capability);

}  // namespace fxt
