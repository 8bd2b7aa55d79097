// The layout of a fixture file: its matrix of pixels and its modes.
#include <unordered_set>

#include "import/desk_text.h"
#include "import/json_path.h"
#include "import/reader_parts.h"

namespace fxt {
namespace {

// A matrix is a fixture's own pixels: more than this is no fixture.
constexpr uint64_t MOST_PIXELS = 65536;

// A pixel of a matrix given by its size is named by its place: "3" along a
// line, "(3, 2)" in a plane, "(3, 2, 1)" in a space.
std::string CountedPixelKey(int x, int y, int z, const uint64_t (&counts)[3]) {
  if (counts[1] == 1 && counts[2] == 1) return std::to_string(x);
  if (counts[2] == 1) return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z) + ")";
}

bool ReadPixelCount(JsonChecks& checks, const Json& value, const std::string& path,
                    Matrix& matrix) {
  if (!value.is_array() || value.size() != 3) {
    return checks.Fail(path, "the pixel count is three numbers, [x, y, z]");
  }
  uint64_t counts[3] = {};
  uint64_t total = 1;
  for (size_t i = 0; i < 3; ++i) {
    if (!checks.Unsigned(value[i], IndexPath(path, i), counts[i])) return false;
    if (counts[i] == 0) return checks.Fail(IndexPath(path, i), "a matrix is at least 1 pixel wide");
    total = counts[i] > MOST_PIXELS ? MOST_PIXELS + 1 : total * counts[i];
    if (total > MOST_PIXELS) {
      return checks.Fail(path, "more than " + std::to_string(MOST_PIXELS) + " pixels");
    }
  }
  // Each count is at most MOST_PIXELS, so it fits an int.
  const auto count = [&](size_t axis) { return static_cast<int>(counts[axis]); };
  for (int z = 1; z <= count(2); ++z) {
    for (int y = 1; y <= count(1); ++y) {
      for (int x = 1; x <= count(0); ++x) {
        matrix.pixels.push_back({CountedPixelKey(x, y, z, counts), x, y, z});
      }
    }
  }
  return true;
}

bool ReadPixelKeys(JsonChecks& checks, const Json& value, const std::string& path, Matrix& matrix) {
  std::unordered_set<std::string> seen;
  if (!checks.IsArray(value, path, 1)) return false;
  for (size_t z = 0; z < value.size(); ++z) {
    const std::string zPath = IndexPath(path, z);
    if (!checks.IsArray(value[z], zPath, 1)) return false;
    for (size_t y = 0; y < value[z].size(); ++y) {
      const std::string yPath = IndexPath(zPath, y);
      if (!checks.IsArray(value[z][y], yPath, 1)) return false;
      for (size_t x = 0; x < value[z][y].size(); ++x) {
        const Json& cell = value[z][y][x];
        const std::string at = IndexPath(yPath, x);
        if (cell.is_null()) continue;
        std::string key;
        if (!checks.Text(cell, at, key)) return false;
        if (key.find('$') != std::string::npos) return checks.Fail(at, "a pixel key holds no '$'");
        if (!seen.insert(key).second) return checks.Fail(at, Quoted(key) + " names two pixels");
        if (matrix.pixels.size() == MOST_PIXELS) {
          return checks.Fail(path, "more than " + std::to_string(MOST_PIXELS) + " pixels");
        }
        matrix.pixels.push_back(
            {key, static_cast<int>(x + 1), static_cast<int>(y + 1), static_cast<int>(z + 1)});
      }
    }
  }
  return true;
}

// A group is "all", a list of pixel keys, or constraints on the pixels'
// places and names; a template needs only its key.
bool ReadPixelGroups(JsonChecks& checks, const Json& value, const std::string& path,
                     Matrix& matrix) {
  if (!checks.IsObject(value, path)) return false;
  std::unordered_set<std::string> pixels;
  for (const Pixel& pixel : matrix.pixels) pixels.insert(pixel.key);
  for (const auto& [key, members] : value.items()) {
    const std::string at = MemberPath(path, key);
    if (pixels.contains(key)) return checks.Fail(at, Quoted(key) + " is a pixel key already");
    if (members.is_array()) {
      for (size_t i = 0; i < members.size(); ++i) {
        std::string pixel;
        if (!checks.Text(members[i], IndexPath(at, i), pixel)) return false;
        if (!pixels.contains(pixel)) {
          return checks.Fail(IndexPath(at, i), Quoted(pixel) + " is no pixel of the matrix");
        }
      }
    } else if (!members.is_object() && members != "all") {
      return checks.Fail(at, "a pixel group is \"all\", a list of pixel keys or constraints");
    }
    matrix.groups.push_back(key);
  }
  return true;
}

bool ReadInsert(JsonChecks& checks, const Json& value, const std::string& path, ModeEntry& entry) {
  entry.kind = ModeEntry::Kind::kMatrixInsert;
  std::string insert;
  std::string order;
  if (!checks.RequiredText(value, "insert", path, insert) ||
      !checks.OneOf(insert, MemberPath(path, "insert"), {"matrixChannels"}) ||
      !checks.RequiredText(value, "channelOrder", path, order) ||
      !checks.OneOf(order, MemberPath(path, "channelOrder"), {"perPixel", "perChannel"})) {
    return false;
  }
  entry.perPixel = order == "perPixel";
  const Json* repeat = JsonChecks::Find(value, "repeatFor");
  if (repeat == nullptr) return checks.Fail(path, "\"repeatFor\" is missing");
  const std::string repeatPath = MemberPath(path, "repeatFor");
  if (repeat->is_array()) {
    if (!checks.OptionalTexts(value, "repeatFor", path, entry.repeatKeys)) return false;
  } else if (!checks.Text(*repeat, repeatPath, entry.repeatFor) ||
             !checks.OneOf(entry.repeatFor, repeatPath,
                           {"eachPixelABC", "eachPixelXYZ", "eachPixelXZY", "eachPixelYXZ",
                            "eachPixelYZX", "eachPixelZXY", "eachPixelZYX", "eachPixelGroup"})) {
    return false;
  }
  const Json* templates = JsonChecks::Find(value, "templateChannels");
  if (templates == nullptr) return checks.Fail(path, "\"templateChannels\" is missing");
  const std::string templatesPath = MemberPath(path, "templateChannels");
  if (!checks.IsArray(*templates, templatesPath, 1)) return false;
  for (size_t i = 0; i < templates->size(); ++i) {
    std::string key;
    if ((*templates)[i].is_null()) {
      entry.templateChannels.emplace_back();
      continue;
    }
    if (!checks.Text((*templates)[i], IndexPath(templatesPath, i), key)) return false;
    if (key.find("$pixelKey") == std::string::npos) {
      return checks.Fail(IndexPath(templatesPath, i), "a template channel key holds $pixelKey");
    }
    entry.templateChannels.emplace_back(key);
  }
  return true;
}

bool ReadModeEntry(JsonChecks& checks, const Json& value, const std::string& path,
                   ModeEntry& entry) {
  entry.path = path;
  if (value.is_null()) {
    entry.kind = ModeEntry::Kind::kUnused;
    return true;
  }
  if (value.is_object()) return ReadInsert(checks, value, path, entry);
  if (!checks.Text(value, path, entry.key)) return false;
  return entry.key.find('$') == std::string::npos ||
         checks.Fail(path, "a mode names resolved channel keys, without '$'");
}

bool ReadModeName(JsonChecks& checks, const Json& mode, std::string_view key,
                  const std::string& path, std::string& name) {
  if (!checks.OptionalText(mode, key, path, name)) return false;
  return (name.find("mode") == std::string::npos && name.find("Mode") == std::string::npos) ||
         checks.Fail(MemberPath(path, key), "a mode's name leaves out the word \"mode\"");
}

bool ReadMode(JsonChecks& checks, const Json& value, const std::string& path, LibraryMode& mode) {
  mode.path = path;
  if (!checks.IsObject(value, path)) return false;
  if (JsonChecks::Find(value, "name") == nullptr) return checks.Fail(path, "\"name\" is missing");
  if (!ReadModeName(checks, value, "name", path, mode.name) ||
      !ReadModeName(checks, value, "shortName", path, mode.shortName)) {
    return false;
  }
  if (mode.shortName.empty()) mode.shortName = mode.name;
  const Json* channels = JsonChecks::Find(value, "channels");
  if (channels == nullptr) return checks.Fail(path, "\"channels\" is missing");
  const std::string at = MemberPath(path, "channels");
  if (!checks.IsArray(*channels, at, 1)) return false;
  mode.entries.resize(channels->size());
  for (size_t i = 0; i < channels->size(); ++i) {
    if (!ReadModeEntry(checks, (*channels)[i], IndexPath(at, i), mode.entries[i])) return false;
  }
  return true;
}

}  // namespace

bool ReadMatrix(JsonChecks& checks, const Json& value, std::optional<Matrix>& matrix) {
  const std::string path = MemberPath(kJsonRoot, "matrix");
  if (!checks.IsObject(value, path)) return false;
  const Json* count = JsonChecks::Find(value, "pixelCount");
  const Json* keys = JsonChecks::Find(value, "pixelKeys");
  if ((count == nullptr) == (keys == nullptr)) {
    return checks.Fail(path, "a matrix has either \"pixelCount\" or \"pixelKeys\"");
  }
  matrix.emplace();
  const bool pixelsRead =
      count != nullptr ? ReadPixelCount(checks, *count, MemberPath(path, "pixelCount"), *matrix)
                       : ReadPixelKeys(checks, *keys, MemberPath(path, "pixelKeys"), *matrix);
  if (!pixelsRead) return false;
  const Json* groups = JsonChecks::Find(value, "pixelGroups");
  return groups == nullptr ||
         ReadPixelGroups(checks, *groups, MemberPath(path, "pixelGroups"), *matrix);
}

bool ReadModes(JsonChecks& checks, const Json& value, std::vector<LibraryMode>& modes) {
  const std::string path = MemberPath(kJsonRoot, "modes");
  if (!checks.IsArray(value, path, 1)) return false;
  modes.resize(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (!ReadMode(checks, value[i], IndexPath(path, i), modes[i])) return false;
  }
  return true;
}

}  // namespace fxt
