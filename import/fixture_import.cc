#include "import/fixture_import.h"

#include <set>

#include "import/desk_text.h"
#include "import/fixture_reader.h"
#include "import/mode_channels.h"
#include "import/mode_import.h"
#include "import/template_text.h"
#include "model/name_tables.h"

namespace fxt {
namespace {

std::string LettersAndDigits(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) kept += c;
    if (c >= 'a' && c <= 'z') kept += static_cast<char>(c - 'a' + 'A');
  }
  return kept;
}

// A name for a file: letters, digits, '.', '_' and '-'; anything else '-'.
std::string FileWord(std::string_view text) {
  std::string word;
  for (const char c : text) {
    const bool kept = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      c == '.' || c == '_' || c == '-';
    word += kept ? c : '-';
  }
  return word;
}

std::string Stem(std::string_view fileName) {
  const size_t slash = fileName.rfind('/');
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  if (fileName.ends_with(".json")) fileName.remove_suffix(5);
  return std::string(fileName);
}

bool Chosen(const LibraryMode& mode, const std::optional<std::string>& asked) {
  return !asked || mode.name == *asked || mode.shortName == *asked;
}

}  // namespace

std::string ManufacturerForTemplate(const std::string& name, const std::string& key) {
  for (const char* entry : ManufacturerNames) {
    const std::string letters = LettersAndDigits(entry);
    if (letters == LettersAndDigits(name) || letters == LettersAndDigits(key)) return entry;
  }
  std::string written = Shortened(DeskText(name), NAME_KEPT);
  // The desk refuses an empty manufacturer; a maker of no name is a generic one.
  return written.empty() ? "GENERIC" : written;
}

FixtureImport ImportFixture(std::string_view json, const ImportRequest& request) {
  FixtureImport result;
  FixtureRead read = ReadFixtureFile(json);
  if (!read.fixture) {
    result.problem = std::move(read.problem);
    return result;
  }
  const LibraryFixture& fixture = *read.fixture;
  // Every mode is resolved, asked for or not: a file that names a channel it
  // does not have is refused whole.
  const ChannelIndex index(fixture);
  std::vector<ResolvedMode> resolved;
  for (const LibraryMode& mode : fixture.modes) {
    resolved.push_back(index.Resolve(mode));
    if (!resolved.back().problem.empty()) {
      result.problem = resolved.back().problem;
      return result;
    }
  }
  const std::string libraryName = request.manufacturerName.value_or(request.manufacturerKey);
  const ImportSource source{&fixture, request.fileName,
                            ManufacturerForTemplate(libraryName, request.manufacturerKey),
                            libraryName};
  std::set<std::string> fileNames;
  for (size_t i = 0; i < fixture.modes.size(); ++i) {
    const LibraryMode& mode = fixture.modes[i];
    if (!Chosen(mode, request.mode)) continue;
    TemplatePlan plan = ImportMode(source, mode, resolved[i]);
    std::string stem = Stem(request.fileName) + "-" + FileWord(mode.shortName);
    std::string fileName = stem + ".fxt";
    for (int n = 2; !fileNames.insert(fileName).second; ++n) {
      fileName = stem + "-" + std::to_string(n) + ".fxt";
    }
    result.templates.push_back(
        {mode.name, std::move(fileName), TemplateText(plan), std::move(plan.losses)});
  }
  if (result.templates.empty()) {
    for (const LibraryMode& mode : fixture.modes) result.modeNames.push_back(mode.name);
  }
  return result;
}

}  // namespace fxt
