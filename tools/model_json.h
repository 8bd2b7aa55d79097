// The fixture model as JSON, as fxtdump prints it.
#pragma once

#include <string>

#include "model/fixture_template.h"

namespace fxt {

struct LoadOutcome {
  int result;  // as LoadTemplate returned it
  int errorCount;
  int warningFlag;
  const FixtureTemplate* fixture;  // null when the slot is empty
};

std::string ModelJson(const LoadOutcome& outcome);

}  // namespace fxt
