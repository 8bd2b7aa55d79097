#include "import/stop_labels.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "import/channel_role.h"
#include "import/desk_text.h"
#include "model/name_index.h"

namespace fxt {
namespace {

using T = CapabilityType;

constexpr int GOBO_LABELS = 12;       // "Gobo 1" to "Gobo 12"
constexpr int GOBO_WHEEL_LABELS = 9;  // "Gobo 1.1" to "Gobo 1.9"
constexpr int PRISM_LABELS = 3;       // "Prism 1" to "Prism 3"

// What a capability is called when the fixture file says no more than its type.
constexpr std::pair<CapabilityType, std::string_view> kTypeTexts[] = {
    {T::kIntensity, "Intensity"},
    {T::kColorPreset, "Colour"},
    {T::kColorTemperature, "CTC"},
    {T::kPan, "Pan"},
    {T::kPanContinuous, "Pan spin"},
    {T::kTilt, "Tilt"},
    {T::kTiltContinuous, "Tilt spin"},
    {T::kPanTiltSpeed, "PT speed"},
    {T::kWheelShake, "Shake"},
    {T::kWheelSlotRotation, "Rotation"},
    {T::kWheelRotation, "Wheel"},
    {T::kEffectSpeed, "Fx speed"},
    {T::kEffectDuration, "Fx time"},
    {T::kEffectParameter, "Fx param"},
    {T::kSoundSensitivity, "Sound"},
    {T::kBeamAngle, "Beam"},
    {T::kBeamPosition, "Beam pos"},
    {T::kFocus, "Focus"},
    {T::kZoom, "Zoom"},
    {T::kIris, "Iris"},
    {T::kFrost, "Frost"},
    {T::kPrism, "Prism"},
    {T::kPrismRotation, "Prism rot"},
    {T::kBladeInsertion, "Blade"},
    {T::kBladeRotation, "Blade rot"},
    {T::kBladeSystemRotation, "Blades"},
    {T::kFog, "Fog"},
    {T::kFogOutput, "Fog out"},
    {T::kFogType, "Fog type"},
    {T::kRotation, "Rotation"},
    {T::kSpeed, "Speed"},
    {T::kTime, "Time"},
    {T::kMaintenance, "Control"},
    {T::kGeneric, "Generic"},
    {T::kStrobeSpeed, "Strobe"},
    {T::kStrobeDuration, "Flash"},
    {T::kNoFunction, "No func"},
};

// Labels by the exact property values that mean them.
constexpr std::pair<std::string_view, std::string_view> kShutterLabels[] = {
    {"Open", "Shtr Open"}, {"Closed", "Shtr Clsd"}, {"Strobe", "Strobe:"},    {"Pulse", "Pulse:"},
    {"RampUp", "PulseO:"}, {"RampDown", "PulseC:"}, {"RampUpDown", "Pulse:"},
};
constexpr std::pair<std::string_view, std::string_view> kColourLabels[] = {
    {"Red", "Red"},     {"Green", "Green"},    {"Blue", "Blue"},
    {"Amber", "Amber"}, {"White", "White"},    {"UV", "UV"},
    {"Cyan", "Cyan="},  {"Magenta", "Mgnta="}, {"Yellow", "Yellow="},
};

template <size_t N>
std::optional<std::string> Lookup(const std::pair<std::string_view, std::string_view> (&table)[N],
                                  std::string_view key) {
  for (const auto& [from, to] : table) {
    if (from == key) return std::string(to);
  }
  return std::nullopt;
}

bool IsStill(const std::string& speed) {
  return speed == "stop" || speed == "0%" || speed == "0rpm" || speed == "0Hz";
}

bool StandsStill(const RotationSpeed& speed) { return IsStill(speed.start) && IsStill(speed.end); }

// '>' for a clockwise rotation, '<' for a counter-clockwise one, read from
// the speed where the range begins (or ends, when it begins standing still).
char Direction(const RotationSpeed& speed) {
  const std::string& text = IsStill(speed.start) ? speed.end : speed.start;
  const bool counter = text.find("CCW") != std::string::npos || text.starts_with('-');
  return counter ? '<' : '>';
}

const Wheel* WheelOf(const Capability& capability, const LibraryFixture& fixture) {
  const auto wheel = fixture.wheels.find(capability.wheels.front());
  return wheel == fixture.wheels.end() ? nullptr : &wheel->second;
}

int WheelNumber(const Capability& capability, const WheelNumbers& wheels) {
  const auto number = wheels.number.find(capability.wheels.front());
  return number == wheels.number.end() ? 1 : number->second;
}

// The slot a step selects, when it selects one whole slot.
const WheelSlot* SelectedSlot(const Capability& capability, const Wheel& wheel, int& place) {
  if (!capability.slotNumber || capability.slotNumber->first != capability.slotNumber->second) {
    return nullptr;
  }
  const double number = capability.slotNumber->first;
  if (number != std::floor(number) || number < 1 ||
      number > static_cast<double>(wheel.slots.size())) {
    return nullptr;
  }
  place = static_cast<int>(number);
  return &wheel.slots[static_cast<size_t>(place - 1)];
}

int CountOfType(const Wheel& wheel, SlotType type) {
  int count = 0;
  for (const WheelSlot& slot : wheel.slots) count += slot.type == type;
  return count;
}

// The slot's number among the wheel's slots of its own type, from 1.
int OrdinalOfType(const Wheel& wheel, int place) {
  const SlotType type = wheel.slots[static_cast<size_t>(place - 1)].type;
  int ordinal = 0;
  for (int i = 0; i < place; ++i) ordinal += wheel.slots[static_cast<size_t>(i)].type == type;
  return ordinal;
}

std::optional<std::string> GoboLabel(int wheel, int wheels, int gobo) {
  if (wheels <= 1 && gobo <= GOBO_LABELS) return "Gobo " + std::to_string(gobo);
  if (wheels > 1 && wheel <= 2 && gobo <= GOBO_WHEEL_LABELS) {
    return "Gobo " + std::to_string(wheel) + "." + std::to_string(gobo);
  }
  return std::nullopt;
}

std::optional<std::string> SlotLabel(const Capability& capability, const LibraryFixture& fixture,
                                     const WheelNumbers& wheels) {
  const Wheel* wheel = WheelOf(capability, fixture);
  if (wheel == nullptr) return std::nullopt;
  const WheelKind kind = KindOf(*wheel);
  const int number = WheelNumber(capability, wheels);
  if (capability.slotNumber && capability.slotNumber->first != capability.slotNumber->second) {
    if (kind == WheelKind::kColour) return "ColWhl:";
    if (kind == WheelKind::kGobo) return number == 2 ? "Gobo2:" : "Gobo1:";
    return std::nullopt;
  }
  int place = 0;
  const WheelSlot* slot = SelectedSlot(capability, *wheel, place);
  if (slot == nullptr) return std::nullopt;
  if (const char* named = TableEntry(DeskText(slot->name), DisplayLabels)) return named;
  switch (slot->type) {
    case SlotType::kOpen:
      if (kind == WheelKind::kColour) return "White";
      if (kind == WheelKind::kPrism) return "No Prism";
      if (kind != WheelKind::kGobo) return std::nullopt;
      return wheels.goboWheels > 1 && number <= 2 ? "No Gobo" + std::to_string(number) : "No Gobo";
    case SlotType::kGobo:
      return GoboLabel(number, wheels.goboWheels, OrdinalOfType(*wheel, place));
    case SlotType::kPrism: {
      if (CountOfType(*wheel, SlotType::kPrism) == 1) return "Prism";
      const int prism = OrdinalOfType(*wheel, place);
      return prism <= PRISM_LABELS ? std::optional("Prism " + std::to_string(prism)) : std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<std::string> ShakeLabel(const Capability& capability, const LibraryFixture& fixture,
                                      const WheelNumbers& wheels) {
  const Wheel* wheel = WheelOf(capability, fixture);
  int place = 0;
  const WheelSlot* slot = wheel == nullptr ? nullptr : SelectedSlot(capability, *wheel, place);
  if (slot == nullptr || slot->type != SlotType::kGobo) return std::nullopt;
  const int gobo = OrdinalOfType(*wheel, place);
  if (WheelNumber(capability, wheels) == 2) {
    return "G2." + std::to_string(gobo) + "shk:";
  }
  return gobo < 10 ? "G" + std::to_string(gobo) + " Shk:" : "G" + std::to_string(gobo) + "Shk:";
}

std::optional<std::string> RotationLabel(const Capability& capability,
                                         const LibraryFixture& fixture,
                                         const WheelNumbers& wheels) {
  const WheelKind kind = WheelKindNamed(fixture, capability.wheels.front());
  if (StandsStill(capability.speed)) return std::nullopt;
  const std::string direction(1, Direction(capability.speed));
  const int number = WheelNumber(capability, wheels);
  if (capability.type == T::kWheelRotation) {
    if (capability.angled) return std::nullopt;
    if (kind == WheelKind::kColour) {
      return wheels.colourWheels > 1 ? "C" + std::to_string(number) + "Whl" + direction + ":"
                                     : "Cwhl" + direction + ":";
    }
    return kind == WheelKind::kGobo ? std::optional("GWhl" + direction + ":") : std::nullopt;
  }
  if (kind == WheelKind::kPrism) return "Prsm" + direction + ":";
  if (kind != WheelKind::kGobo) return std::nullopt;
  if (capability.angled) return number == 2 ? "Gb2Idx=" : "Gb1Idx=";
  return wheels.goboWheels > 1 ? "Gobo" + std::to_string(number) + direction + ":"
                               : "Gobo" + direction + ":";
}

std::optional<std::string> IrisLabel(const Capability& capability) {
  if (capability.proportional) return "Iris=";
  if (capability.openPercent == "open" || capability.openPercent == "100%") return "Iris Max";
  if (capability.openPercent == "closed" || capability.openPercent == "0%") return "Iris Min";
  return "Iris=";
}

// The table's label for what the capability does, if the table has one.
std::optional<std::string> MeaningLabel(const Capability& capability, const LibraryFixture& fixture,
                                        const WheelNumbers& wheels) {
  switch (capability.type) {
    case T::kShutterStrobe:
      if (capability.randomTiming && capability.detail == "Strobe") return "Rand:";
      return Lookup(kShutterLabels, capability.detail);
    case T::kStrobeSpeed:
      return "Strobe:";
    case T::kStrobeDuration:
      return "Flash:";
    case T::kColorIntensity:
      return Lookup(kColourLabels, capability.detail);
    case T::kColorPreset:
      return capability.proportional ? std::optional<std::string>("Colour:") : std::nullopt;
    case T::kColorTemperature:
      return "Ctc=";
    case T::kPan:
      return "Pan=";
    case T::kTilt:
      return "Ti@=";
    case T::kWheelSlot:
      return SlotLabel(capability, fixture, wheels);
    case T::kWheelShake:
      return ShakeLabel(capability, fixture, wheels);
    case T::kWheelRotation:
    case T::kWheelSlotRotation:
      return RotationLabel(capability, fixture, wheels);
    case T::kPrism:
      if (capability.speed.start.empty() || StandsStill(capability.speed)) return "Prism";
      return "Prsm" + std::string(1, Direction(capability.speed)) + ":";
    case T::kPrismRotation:
      if (capability.speed.start.empty() || StandsStill(capability.speed)) return std::nullopt;
      return "Prsm" + std::string(1, Direction(capability.speed)) + ":";
    case T::kEffectSpeed:
      return "FxSpd:";
    case T::kFocus:
      return "Focus=";
    case T::kIris:
      return IrisLabel(capability);
    default:
      return std::nullopt;
  }
}

std::string SlotText(const Capability& capability, const LibraryFixture& fixture) {
  const Wheel* wheel = WheelOf(capability, fixture);
  int place = 0;
  const WheelSlot* slot = wheel == nullptr ? nullptr : SelectedSlot(capability, *wheel, place);
  if (slot == nullptr) return {};
  if (!DeskText(slot->name).empty()) return DeskText(slot->name);
  const int ordinal = OrdinalOfType(*wheel, place);
  switch (slot->type) {
    case SlotType::kColor:
      return "Colour " + std::to_string(ordinal);
    case SlotType::kGobo:
      return "Gobo " + std::to_string(ordinal);
    case SlotType::kOpen:
      return "Open";
    case SlotType::kClosed:
      return "Closed";
    case SlotType::kIris:
      return "Iris";
    case SlotType::kFrost:
      return "Frost";
    case SlotType::kPrism:
      return "Prism";
    default:
      return "Animation";
  }
}

// A slot number as people write it: 2, 1.5.
std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// What the fixture itself calls the capability: its comment, the name of the
// slot it selects, or what its type and main property say.
std::string OwnText(const Capability& capability, const LibraryFixture& fixture) {
  if (std::string comment = DeskText(capability.comment); !comment.empty()) return comment;
  if (capability.type == T::kWheelSlot) {
    if (std::string slot = SlotText(capability, fixture); !slot.empty()) return slot;
    const auto [from, to] = *capability.slotNumber;
    return from == to ? "Slot " + Number(from) : "Slots";
  }
  if (std::string detail = DeskText(capability.detail); !detail.empty()) return detail;
  if (StandsStill(capability.speed)) return "Stop";
  for (const auto& [type, text] : kTypeTexts) {
    if (type == capability.type) return std::string(text);
  }
  return "Stop";
}

bool InTable(const std::string& label) { return IndexOf(DisplayLabels).Find(label) != -1; }

}  // namespace

StopLabel LabelOf(const Capability& capability, const LibraryFixture& fixture,
                  const WheelNumbers& wheels) {
  if (const std::optional<std::string> meant = MeaningLabel(capability, fixture, wheels);
      meant && InTable(*meant)) {
    return {*meant, true};
  }
  if (const char* named = TableEntry(DeskText(capability.comment), DisplayLabels)) {
    return {named, true};
  }
  std::string own = OwnText(capability, fixture);
  if (const char* named = TableEntry(own, DisplayLabels)) return {named, true};
  return {std::move(own), false};
}

}  // namespace fxt
