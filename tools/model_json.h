// The fixture model as JSON, as fxtdump prints it.
#pragma once

#include <string>

#include "load/run_load.h"

namespace fxt {

std::string ModelJson(const LoadOutcome& outcome);

}  // namespace fxt
