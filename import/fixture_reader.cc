#include "import/fixture_reader.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "import/capability_reader.h"
#include "import/desk_text.h"
#include "import/json_checks.h"
#include "import/json_path.h"
#include "import/key_order.h"
#include "import/reader_parts.h"

namespace fxt {
namespace {

constexpr int LARGEST_RESOLUTION = 8;  // bytes: the values must fit 64 bits

// "50%" or "12.5%", 0 to 100.
std::optional<double> Percentage(std::string_view text) {
  if (!text.ends_with('%')) return std::nullopt;
  text.remove_suffix(1);
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > 100) return std::nullopt;
  return value;
}

bool ReadResolution(JsonChecks& checks, const Json& value, const std::string& path,
                    LibraryChannel& channel) {
  channel.resolution = 1 + static_cast<int>(channel.fineAliases.size());
  if (channel.resolution > LARGEST_RESOLUTION) {
    return checks.Fail(MemberPath(path, "fineChannelAliases"),
                       "more fine channels than 64-bit values can hold");
  }
  std::string written;
  if (!checks.OptionalText(value, "dmxValueResolution", path, written) || written.empty()) {
    return checks.Problem().empty();
  }
  const std::string at = MemberPath(path, "dmxValueResolution");
  if (channel.fineAliases.empty()) {
    return checks.Fail(at, "only a channel with fine channels gives its resolution");
  }
  if (!checks.OneOf(written, at, {"8bit", "16bit", "24bit"})) return false;
  const int bytes = written[0] == '8' ? 1 : written[0] == '1' ? 2 : 3;
  if (bytes > channel.resolution) {
    return checks.Fail(at, "the channel has too few fine channels for " + written + " values");
  }
  channel.resolution = bytes;
  return true;
}

bool ReadDefault(JsonChecks& checks, const Json& value, const std::string& path,
                 LibraryChannel& channel) {
  const Json* written = JsonChecks::Find(value, "defaultValue");
  if (written == nullptr) return true;
  const std::string at = MemberPath(path, "defaultValue");
  if (written->is_string()) {
    const std::optional<double> percent = Percentage(written->get_ref<const std::string&>());
    if (!percent) return checks.Fail(at, "a DMX value or a percentage 0% to 100% is expected");
    channel.defaultValue = DefaultValue{true, *percent};
    return true;
  }
  uint64_t number = 0;
  if (!checks.Unsigned(*written, at, number)) return false;
  if (number > LargestDmxValue(channel.resolution)) {
    return checks.Fail(at, std::to_string(number) + " is above the channel's largest value, " +
                               std::to_string(LargestDmxValue(channel.resolution)));
  }
  channel.defaultValue = DefaultValue{false, static_cast<double>(number)};
  return true;
}

bool ReadFineAliases(JsonChecks& checks, const Json& value, const std::string& path,
                     LibraryChannel& channel) {
  const Json* aliases = JsonChecks::Find(value, "fineChannelAliases");
  if (aliases == nullptr) return true;
  const std::string at = MemberPath(path, "fineChannelAliases");
  if (!checks.IsArray(*aliases, at, 1)) return false;
  for (size_t i = 0; i < aliases->size(); ++i) {
    std::string alias;
    if (!checks.Text((*aliases)[i], IndexPath(at, i), alias)) return false;
    channel.fineAliases.push_back(alias);
  }
  return true;
}

// A channel whose capabilities switch other channels needs a default value,
// and every one of its capabilities says what it switches.
bool CheckSwitching(JsonChecks& checks, const std::string& path, const LibraryChannel& channel) {
  const auto switches = [](const Capability& c) { return !c.switchChannels.empty(); };
  const size_t count = static_cast<size_t>(
      std::count_if(channel.capabilities.begin(), channel.capabilities.end(), switches));
  if (count == 0) return true;
  if (count != channel.capabilities.size()) {
    return checks.Fail(MemberPath(path, "capabilities"),
                       "when one capability sets switchChannels, every one must");
  }
  if (!channel.defaultValue) {
    return checks.Fail(path, "a channel that switches channels needs a \"defaultValue\"");
  }
  return true;
}

bool ReadCapabilities(JsonChecks& checks, const Json& value, const std::string& path,
                      LibraryChannel& channel) {
  const Json* single = JsonChecks::Find(value, "capability");
  const Json* list = JsonChecks::Find(value, "capabilities");
  if ((single == nullptr) == (list == nullptr)) {
    return checks.Fail(path, "a channel has either \"capability\" or \"capabilities\"");
  }
  CapabilityFrame frame{LargestDmxValue(channel.resolution), single != nullptr, channel.name};
  if (single != nullptr) {
    Capability capability;
    if (!ReadCapability(checks, *single, MemberPath(path, "capability"), frame, capability)) {
      return false;
    }
    if (!capability.switchChannels.empty()) {
      return checks.Fail(MemberPath(path, "capability"),
                         "a channel's only capability switches nothing");
    }
    channel.capabilities.push_back(std::move(capability));
    return true;
  }
  const std::string at = MemberPath(path, "capabilities");
  if (!checks.IsArray(*list, at, 2)) return false;
  for (size_t i = 0; i < list->size(); ++i) {
    Capability capability;
    if (!ReadCapability(checks, (*list)[i], IndexPath(at, i), frame, capability)) return false;
    if (!channel.capabilities.empty() && capability.low <= channel.capabilities.back().high) {
      return checks.Fail(MemberPath(IndexPath(at, i), "dmxRange"),
                         "the range must begin after the range of the capability before it");
    }
    channel.capabilities.push_back(std::move(capability));
  }
  return true;
}

bool ReadChannel(JsonChecks& checks, const std::string& key, const Json& value,
                 const std::string& path, LibraryChannel& channel) {
  channel.key = key;
  channel.name = key;
  channel.path = path;
  return checks.IsObject(value, path) && checks.OptionalText(value, "name", path, channel.name) &&
         ReadFineAliases(checks, value, path, channel) &&
         ReadResolution(checks, value, path, channel) &&
         ReadDefault(checks, value, path, channel) &&
         ReadCapabilities(checks, value, path, channel) && CheckSwitching(checks, path, channel);
}

bool ReadChannels(JsonChecks& checks, const Json& root, std::string_view member, bool isTemplate,
                  std::vector<LibraryChannel>& channels) {
  const Json* object = JsonChecks::Find(root, member);
  if (object == nullptr) return true;
  const std::string path = MemberPath(kJsonRoot, member);
  if (!checks.IsObject(*object, path)) return false;
  if (object->empty()) return checks.Fail(path, "the object holds no channel");
  for (const auto& [key, value] : object->items()) {
    const std::string at = MemberPath(path, key);
    const bool variable = key.find("$pixelKey") != std::string::npos;
    if (isTemplate && !variable) return checks.Fail(at, "a template channel's key holds $pixelKey");
    if (!isTemplate && key.find('$') != std::string::npos) {
      return checks.Fail(at, "a channel's key holds no '$'");
    }
    LibraryChannel channel;
    channel.isTemplate = isTemplate;
    if (!ReadChannel(checks, key, value, at, channel)) return false;
    channels.push_back(std::move(channel));
  }
  return true;
}

bool ReadSlot(JsonChecks& checks, const Json& value, const std::string& path, WheelSlot& slot) {
  static constexpr std::pair<std::string_view, SlotType> kSlotTypes[] = {
      {"Open", SlotType::kOpen},
      {"Closed", SlotType::kClosed},
      {"Color", SlotType::kColor},
      {"Gobo", SlotType::kGobo},
      {"Prism", SlotType::kPrism},
      {"Iris", SlotType::kIris},
      {"Frost", SlotType::kFrost},
      {"AnimationGoboStart", SlotType::kAnimationGoboStart},
      {"AnimationGoboEnd", SlotType::kAnimationGoboEnd},
  };
  std::string type;
  if (!checks.IsObject(value, path) || !checks.RequiredText(value, "type", path, type) ||
      !checks.OptionalText(value, "name", path, slot.name)) {
    return false;
  }
  for (const auto& [name, slotType] : kSlotTypes) {
    if (name == type) {
      slot.type = slotType;
      return true;
    }
  }
  return checks.Fail(MemberPath(path, "type"), Quoted(type) + " is no wheel slot type");
}

bool ReadWheels(JsonChecks& checks, const Json& root, LibraryFixture& fixture) {
  const Json* wheels = JsonChecks::Find(root, "wheels");
  if (wheels == nullptr) return true;
  const std::string path = MemberPath(kJsonRoot, "wheels");
  if (!checks.IsObject(*wheels, path)) return false;
  for (const auto& [name, value] : wheels->items()) {
    const std::string at = MemberPath(path, name);
    const Json* slots = JsonChecks::Find(value, "slots");
    if (!checks.IsObject(value, at)) return false;
    if (slots == nullptr) return checks.Fail(at, "\"slots\" is missing");
    const std::string slotsPath = MemberPath(at, "slots");
    if (!checks.IsArray(*slots, slotsPath, 2)) return false;
    Wheel& wheel = fixture.wheels[name];
    for (size_t i = 0; i < slots->size(); ++i) {
      WheelSlot slot;
      if (!ReadSlot(checks, (*slots)[i], IndexPath(slotsPath, i), slot)) return false;
      wheel.slots.push_back(std::move(slot));
    }
  }
  return true;
}

// Every key that a mode may name stands for one thing only.
bool CheckKeysUnique(JsonChecks& checks, const LibraryFixture& fixture) {
  std::unordered_set<std::string> taken;
  for (const LibraryChannel& channel : fixture.channels) taken.insert(channel.key);
  const auto claim = [&](const std::string& key, const std::string& path) {
    return taken.insert(key).second ||
           checks.Fail(path, Quoted(key) + " is a channel key or alias already");
  };
  for (const LibraryChannel& channel : fixture.channels) {
    const std::string aliasesPath = MemberPath(channel.path, "fineChannelAliases");
    for (size_t i = 0; i < channel.fineAliases.size(); ++i) {
      if (!claim(channel.fineAliases[i], IndexPath(aliasesPath, i))) return false;
    }
  }
  std::unordered_set<std::string> aliases;
  for (const LibraryChannel& channel : fixture.channels) {
    for (const Capability& capability : channel.capabilities) {
      for (const auto& [alias, target] : capability.switchChannels) {
        if (aliases.insert(alias).second && !claim(alias, channel.path)) return false;
      }
    }
  }
  return true;
}

bool CheckWheelsNamed(JsonChecks& checks, const LibraryFixture& fixture) {
  for (const LibraryChannel& channel : fixture.channels) {
    if (channel.isTemplate) continue;
    for (const Capability& capability : channel.capabilities) {
      if (!capability.slotNumber) continue;
      for (const std::string& wheel : capability.wheels) {
        if (fixture.wheels.contains(wheel)) continue;
        return checks.Fail(channel.path, "the wheel " + Quoted(wheel) + " is not in $.wheels");
      }
    }
  }
  return true;
}

bool ReadRoot(JsonChecks& checks, const Json& root, LibraryFixture& fixture) {
  if (!checks.IsObject(root, kJsonRoot) ||
      !checks.RequiredText(root, "name", kJsonRoot, fixture.name) ||
      !checks.OptionalText(root, "shortName", kJsonRoot, fixture.shortName) ||
      !ReadChannels(checks, root, "availableChannels", false, fixture.channels) ||
      !ReadChannels(checks, root, "templateChannels", true, fixture.channels) ||
      !ReadWheels(checks, root, fixture)) {
    return false;
  }
  const Json* matrix = JsonChecks::Find(root, "matrix");
  const Json* templates = JsonChecks::Find(root, "templateChannels");
  if (matrix != nullptr && !ReadMatrix(checks, *matrix, fixture.matrix)) return false;
  if ((matrix == nullptr) != (templates == nullptr)) {
    return checks.Fail(kJsonRoot, "\"matrix\" and \"templateChannels\" come together");
  }
  if (fixture.channels.empty()) {
    return checks.Fail(kJsonRoot, "\"availableChannels\" or \"templateChannels\" is missing");
  }
  const Json* modes = JsonChecks::Find(root, "modes");
  if (modes == nullptr) return checks.Fail(kJsonRoot, "\"modes\" is missing");
  if (fixture.shortName.empty()) fixture.shortName = fixture.name;
  return ReadModes(checks, *modes, fixture.modes) && CheckKeysUnique(checks, fixture) &&
         CheckWheelsNamed(checks, fixture);
}

std::string SyntaxProblem(std::string_view json, size_t byte, const std::string& what) {
  size_t line = 1;
  size_t column = 1;
  for (size_t i = 0; i + 1 < byte && i < json.size(); ++i) {
    column = json[i] == '\n' ? 1 : column + 1;
    line += json[i] == '\n' ? 1 : 0;
  }
  // nlohmann's text begins "[json.exception.parse_error.101] parse error at line 1, ...: ".
  const size_t colon = what.rfind(": ");
  const std::string reason = colon == std::string::npos ? what : what.substr(colon + 2);
  return std::string(kJsonRoot) + ": not JSON: line " + std::to_string(line) + ", column " +
         std::to_string(column) + ": " + reason;
}

}  // namespace

FixtureRead ReadFixtureFile(std::string_view json) {
  Json root;
  try {
    root = Json::parse(json);
  } catch (const Json::parse_error& error) {
    return {std::nullopt, SyntaxProblem(json, error.byte, error.what())};
  }
  JsonChecks checks;
  LibraryFixture fixture;
  if (!ReadRoot(checks, root, fixture)) return {std::nullopt, checks.Problem()};
  if (fixture.matrix && !fixture.matrix->groups.empty()) {
    fixture.matrix->groups = KeysInFileOrder(json, {"matrix", "pixelGroups"});
  }
  return {std::move(fixture), {}};
}

std::optional<std::string> ManufacturerNamed(std::string_view manufacturersJson,
                                             std::string_view key) {
  const Json root = Json::parse(manufacturersJson, nullptr, false);
  const Json* entry = JsonChecks::Find(root, key);
  const Json* name = entry == nullptr ? nullptr : JsonChecks::Find(*entry, "name");
  if (name == nullptr || !name->is_string() || name->get_ref<const std::string&>().empty()) {
    return std::nullopt;
  }
  return name->get<std::string>();
}

}  // namespace fxt
