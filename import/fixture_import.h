// A fixture file of the open fixture library as templates, one per mode.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fxt {

struct ImportedTemplate {
  std::string modeName;
  std::string fileName;  // FIXTURE-MODE.fxt, from the names of both
  std::string text;
  std::vector<std::string> losses;  // what the template cannot say of the mode
};

struct FixtureImport {
  std::vector<ImportedTemplate> templates;
  std::string problem;                 // why the file is refused: "JSONPATH: what"
  std::vector<std::string> modeNames;  // when the mode asked for is not there
};

struct ImportRequest {
  std::string fileName;                         // the fixture file's own name, FIXTURE.json
  std::string manufacturerKey;                  // its folder's name
  std::optional<std::string> manufacturerName;  // the library's name for it
  std::optional<std::string> mode;              // a mode's name or short name; none for every mode
};

FixtureImport ImportFixture(std::string_view json, const ImportRequest& request);

// The manufacturer as the header writes it: the desk's own name where its
// table has the maker (its letters and digits compared, so "clay-paky" is
// "CLAY PAKY"), else the library's name.
std::string ManufacturerForTemplate(const std::string& name, const std::string& key);

}  // namespace fxt
