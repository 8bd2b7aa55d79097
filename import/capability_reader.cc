#include "import/capability_reader.h"

#include <charconv>

#include "import/json_path.h"

namespace fxt {
namespace {

// "12.5deg" in degrees; none for any other text.
std::optional<double> Degrees(std::string_view text) {
  if (!text.ends_with("deg")) return std::nullopt;
  text.remove_suffix(3);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool ReadRange(JsonChecks& checks, const Json& capability, const std::string& path,
               const CapabilityFrame& frame, Capability& out) {
  const Json* range = JsonChecks::Find(capability, "dmxRange");
  if (frame.single) {
    if (range != nullptr) {
      return checks.Fail(MemberPath(path, "dmxRange"),
                         "a channel's only capability covers every value: it takes no dmxRange");
    }
    out.low = 0;
    out.high = frame.highest;
    return true;
  }
  const std::string rangePath = MemberPath(path, "dmxRange");
  if (range == nullptr) return checks.Fail(path, "\"dmxRange\" is missing");
  if (!range->is_array() || range->size() != 2) {
    return checks.Fail(rangePath, "a DMX range is two numbers, [start, end]");
  }
  if (!checks.Unsigned((*range)[0], IndexPath(rangePath, 0), out.low) ||
      !checks.Unsigned((*range)[1], IndexPath(rangePath, 1), out.high)) {
    return false;
  }
  if (out.high > frame.highest) {
    return checks.Fail(IndexPath(rangePath, 1), std::to_string(out.high) +
                                                    " is above the channel's largest value, " +
                                                    std::to_string(frame.highest));
  }
  if (out.low > out.high) return checks.Fail(rangePath, "the range ends before it starts");
  return true;
}

// A property given as a start and an end needs both; the capability is
// proportional when they differ.
bool ReadStartEndPairs(JsonChecks& checks, const Json& capability, const std::string& path,
                       Capability& out) {
  for (const auto& [key, value] : capability.items()) {
    const std::string_view name = key;
    for (const auto& [own, other] :
         {std::pair<std::string_view, std::string_view>{"Start", "End"}, {"End", "Start"}}) {
      if (!name.ends_with(own) || name.size() == own.size()) continue;
      const std::string partner =
          std::string(name.substr(0, name.size() - own.size())) + std::string(other);
      const Json* match = JsonChecks::Find(capability, partner);
      if (match == nullptr) {
        return checks.Fail(MemberPath(path, key), "\"" + partner + "\" is missing beside it");
      }
      if (*match != value) out.proportional = true;
    }
  }
  return true;
}

// A property given once or as a start and an end, as texts.
bool ReadTextPair(JsonChecks& checks, const Json& capability, const std::string& path,
                  std::string_view key, std::string& start, std::string& end) {
  const std::string startKey = std::string(key) + "Start";
  const std::string endKey = std::string(key) + "End";
  if (JsonChecks::Find(capability, startKey) != nullptr) {
    return checks.OptionalText(capability, startKey, path, start) &&
           checks.OptionalText(capability, endKey, path, end);
  }
  if (!checks.OptionalText(capability, key, path, start)) return false;
  end = start;
  return true;
}

bool ReadNumberPair(JsonChecks& checks, const Json& capability, const std::string& path,
                    std::string_view key, std::optional<std::pair<double, double>>& pair) {
  const std::string startKey = std::string(key) + "Start";
  const Json* start = JsonChecks::Find(capability, startKey);
  const Json* single = JsonChecks::Find(capability, key);
  double first = 0;
  double last = 0;
  if (start != nullptr) {
    // Both ends are there: ReadStartEndPairs saw to it.
    const std::string endKey = std::string(key) + "End";
    if (!checks.Number(*start, MemberPath(path, startKey), first) ||
        !checks.Number(*JsonChecks::Find(capability, endKey), MemberPath(path, endKey), last)) {
      return false;
    }
  } else if (single != nullptr) {
    if (!checks.Number(*single, MemberPath(path, key), first)) return false;
    last = first;
  } else {
    return true;
  }
  if (first < 0 || last < 0)
    return checks.Fail(MemberPath(path, key), "a slot number is 0 or more");
  pair = {first, last};
  return true;
}

bool ReadType(JsonChecks& checks, const Json& capability, const std::string& path,
              Capability& out) {
  std::string type;
  if (!checks.RequiredText(capability, "type", path, type)) return false;
  const std::optional<CapabilityType> known = CapabilityTypeNamed(type);
  if (!known) {
    return checks.Fail(MemberPath(path, "type"), "\"" + type + "\" is no capability type");
  }
  out.type = *known;
  return true;
}

// The property that names what the capability does, where its type has one.
bool ReadDetail(JsonChecks& checks, const Json& capability, const std::string& path,
                Capability& out) {
  switch (out.type) {
    case CapabilityType::kShutterStrobe:
      return checks.RequiredText(capability, "shutterEffect", path, out.detail);
    case CapabilityType::kColorIntensity:
      return checks.RequiredText(capability, "color", path, out.detail);
    case CapabilityType::kEffect:
      if (JsonChecks::Find(capability, "effectName") == nullptr) {
        return checks.RequiredText(capability, "effectPreset", path, out.detail);
      }
      return checks.RequiredText(capability, "effectName", path, out.detail);
    case CapabilityType::kIrisEffect:
    case CapabilityType::kFrostEffect:
      return checks.RequiredText(capability, "effectName", path, out.detail);
    case CapabilityType::kFog:
    case CapabilityType::kFogType:
      return checks.OptionalText(capability, "fogType", path, out.detail);
    case CapabilityType::kWheelShake:
      return checks.OptionalText(capability, "isShaking", path, out.detail);
    default:
      return true;
  }
}

bool ReadAngles(JsonChecks& checks, const Json& capability, const std::string& path,
                Capability& out) {
  std::string start;
  std::string end;
  if (!ReadTextPair(checks, capability, path, "angle", start, end)) return false;
  out.angled = !start.empty();
  if (out.type != CapabilityType::kPan && out.type != CapabilityType::kTilt) return true;
  const std::optional<double> from = Degrees(start);
  const std::optional<double> to = Degrees(end);
  if (from && to) out.degrees = std::pair{*from, *to};
  return true;
}

bool ReadSwitching(JsonChecks& checks, const Json& capability, const std::string& path,
                   Capability& out) {
  const Json* switching = JsonChecks::Find(capability, "switchChannels");
  if (switching == nullptr) return true;
  const std::string switchPath = MemberPath(path, "switchChannels");
  if (!checks.IsObject(*switching, switchPath)) return false;
  if (switching->empty()) return checks.Fail(switchPath, "the object names no switching channel");
  for (const auto& [alias, key] : switching->items()) {
    std::string target;
    if (!checks.Text(key, MemberPath(switchPath, alias), target)) return false;
    out.switchChannels.emplace_back(alias, target);
  }
  return true;
}

}  // namespace

bool ReadCapability(JsonChecks& checks, const Json& value, const std::string& path,
                    const CapabilityFrame& frame, Capability& capability) {
  std::string openPercentEnd;
  if (!checks.IsObject(value, path) || !ReadType(checks, value, path, capability) ||
      !ReadRange(checks, value, path, frame, capability) ||
      !ReadStartEndPairs(checks, value, path, capability) ||
      !checks.OptionalText(value, "comment", path, capability.comment) ||
      !ReadDetail(checks, value, path, capability) ||
      !ReadAngles(checks, value, path, capability) ||
      !ReadTextPair(checks, value, path, "speed", capability.speed.start, capability.speed.end) ||
      !ReadNumberPair(checks, value, path, "slotNumber", capability.slotNumber) ||
      !checks.OptionalTexts(value, "wheel", path, capability.wheels) ||
      !ReadTextPair(checks, value, path, "openPercent", capability.openPercent, openPercentEnd) ||
      !checks.OptionalBool(value, "randomTiming", path, capability.randomTiming) ||
      !checks.OptionalBool(value, "soundControlled", path, capability.soundControlled) ||
      !ReadSwitching(checks, value, path, capability)) {
    return false;
  }
  // An intensity that names no brightness goes from off to full.
  const bool dims = capability.type == CapabilityType::kIntensity ||
                    capability.type == CapabilityType::kColorIntensity;
  if (dims && JsonChecks::Find(value, "brightness") == nullptr &&
      JsonChecks::Find(value, "brightnessStart") == nullptr) {
    capability.proportional = true;
  }
  if (capability.wheels.empty()) capability.wheels.push_back(frame.channelName);
  if (capability.type == CapabilityType::kWheelSlot && !capability.slotNumber) {
    return checks.Fail(path, "a WheelSlot capability needs \"slotNumber\"");
  }
  return true;
}

}  // namespace fxt
