// The label of the stop that a capability becomes: a label of the desk's
// table that means the same where there is one, else the fixture's own text.
#pragma once

#include <string>
#include <unordered_map>

#include "import/library_fixture.h"

namespace fxt {

// The wheels of a mode, numbered from 1 within their kind in the order of
// the channels that use them, so that two gobo wheels are told apart.
struct WheelNumbers {
  std::unordered_map<std::string, int> number;
  int goboWheels = 0;
  int colourWheels = 0;
};

struct StopLabel {
  std::string text;  // Latin-1; the caller keeps it to the label length
  bool fromTable = false;
};

StopLabel LabelOf(const Capability& capability, const LibraryFixture& fixture,
                  const WheelNumbers& wheels);

}  // namespace fxt
