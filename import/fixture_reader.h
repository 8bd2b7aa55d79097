// Reading a fixture file of the open fixture library: its JSON is checked
// against the format, and the first thing that does not follow it is the
// problem the file is refused with, named by its JSON path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "import/library_fixture.h"

namespace fxt {

struct FixtureRead {
  std::optional<LibraryFixture> fixture;  // none when the file is refused
  std::string problem;                    // "JSONPATH: what is wrong"
};

FixtureRead ReadFixtureFile(std::string_view json);

// The manufacturer's name for `key` in the library's manufacturers.json;
// none when the file does not hold the key or is no such file.
std::optional<std::string> ManufacturerNamed(std::string_view manufacturersJson,
                                             std::string_view key);

}  // namespace fxt
