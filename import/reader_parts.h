// The parts of a fixture file that fixture_reader.cc leaves to others.
#pragma once

#include <optional>

#include "import/json_checks.h"
#include "import/library_fixture.h"

namespace fxt {

bool ReadMatrix(JsonChecks& checks, const Json& value, std::optional<Matrix>& matrix);
bool ReadModes(JsonChecks& checks, const Json& value, std::vector<LibraryMode>& modes);

}  // namespace fxt
