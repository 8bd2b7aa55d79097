#include "import/channel_role.h"

#include <algorithm>
#include <iterator>

namespace fxt {
namespace {

using R = ChannelRole;
using T = CapabilityType;

// One row per role: attribute and parameter letters, then their names.
constexpr RoleNames kRoleNames[] = {
    {R::kIntensity, 'i', 'b', {"INTENSITY"}, {}},
    {R::kPan, 'f', 'f', {"PAN"}, {"-PAN-"}},
    {R::kTilt, 'f', 'f', {"TILT"}, {"-TILT-"}},
    {R::kColourWheel,
     'c',
     'c',
     {"COLOUR", "COLOUR 1", "COLOUR 2"},
     {"-COLOUR-", "-COLOUR1-", "-COLOUR2-"}},
    {R::kCyan, 'c', 'c', {"CYAN"}, {"-CYAN-"}},
    {R::kMagenta, 'c', 'c', {"MAGENTA"}, {"-MAGNTA-"}},
    {R::kYellow, 'c', 'c', {"YELLOW"}, {"-YELLOW-"}},
    {R::kColourMix, 'c', 'c', {}, {}},
    {R::kColourTemperature, 'c', 'c', {}, {"-CTC-"}},
    {R::kGoboWheel, 'b', 'b', {"GOBO", "GOBO 1", "GOBO 2"}, {"-GOBO-", "-GOBO 1-", "-GOBO 2-"}},
    {R::kGoboRotation, 'b', 'b', {"GOBO ROT"}, {"-GOBOROT-", "-GB1 ROT-", "-GB2 ROT-"}},
    {R::kPrism, 'b', 'b', {"PRISM"}, {"-PRISM-"}},
    {R::kPrismRotation, 'b', 'b', {}, {"-PRISM<>-"}},
    {R::kShutter, 'b', 'b', {"SHUTTER"}, {"-SHUTTER-"}},
    {R::kStrobe, 'b', 'b', {"STROBE"}, {"-STROBE-"}},
    {R::kIris, 'b', 'b', {"IRIS"}, {"-IRIS-"}},
    {R::kZoom, 'b', 'b', {"ZOOM"}, {"-ZOOM-"}},
    {R::kFocus, 'b', 'b', {"FOCUS"}, {"-FOCUS-"}},
    {R::kFrost, 'b', 'b', {"FROST"}, {"-FROST-"}},
    {R::kPanTiltSpeed, 'b', 'b', {"PTSPEED"}, {"-PTSPEED-"}},
    {R::kEffectSpeed, 'b', 'b', {"FXSPEED"}, {"-FXSPEED-"}},
    {R::kSpeed, 'b', 'b', {"SPEED"}, {"-SPEED-"}},
    {R::kControl, 'b', 'n', {"CONTROL"}, {"-CONTROL-"}},
    {R::kBlades, 'b', 'b', {"SHAPE", "SHAPER1", "SHAPER2"}, {"-SHAPER-", "-SHAPER1-", "-SHAPER2-"}},
    {R::kEffect, 'b', 'b', {}, {}},
    {R::kOther, 'b', 'n', {}, {}},
};

constexpr bool RowsInRoleOrder() {
  for (size_t i = 0; i < std::size(kRoleNames); ++i) {
    if (kRoleNames[i].role != static_cast<ChannelRole>(i)) return false;
  }
  return true;
}
static_assert(RowsInRoleOrder(), "kRoleNames holds one row per role, in the order of the roles");

// Capability types whose role needs no wheel, one row each.
constexpr std::pair<CapabilityType, ChannelRole> kTypeRoles[] = {
    {T::kIntensity, R::kIntensity},
    {T::kColorPreset, R::kColourMix},
    {T::kColorTemperature, R::kColourTemperature},
    {T::kPan, R::kPan},
    {T::kPanContinuous, R::kPan},
    {T::kTilt, R::kTilt},
    {T::kTiltContinuous, R::kTilt},
    {T::kPanTiltSpeed, R::kPanTiltSpeed},
    {T::kShutterStrobe, R::kShutter},
    {T::kStrobeSpeed, R::kStrobe},
    {T::kStrobeDuration, R::kStrobe},
    {T::kIris, R::kIris},
    {T::kIrisEffect, R::kIris},
    {T::kZoom, R::kZoom},
    {T::kBeamAngle, R::kZoom},
    {T::kFocus, R::kFocus},
    {T::kFrost, R::kFrost},
    {T::kFrostEffect, R::kFrost},
    {T::kPrism, R::kPrism},
    {T::kPrismRotation, R::kPrismRotation},
    {T::kEffectSpeed, R::kEffectSpeed},
    {T::kSpeed, R::kSpeed},
    {T::kMaintenance, R::kControl},
    {T::kBladeInsertion, R::kBlades},
    {T::kBladeRotation, R::kBlades},
    {T::kBladeSystemRotation, R::kBlades},
    {T::kEffect, R::kEffect},
    {T::kEffectDuration, R::kEffect},
    {T::kEffectParameter, R::kEffect},
    {T::kSoundSensitivity, R::kEffect},
};

ChannelRole ColourIntensityRole(const Capability& capability) {
  if (capability.detail == "Cyan") return R::kCyan;
  if (capability.detail == "Magenta") return R::kMagenta;
  if (capability.detail == "Yellow") return R::kYellow;
  return R::kColourMix;
}

ChannelRole WheelRole(const Capability& capability, const LibraryFixture& fixture) {
  const WheelKind kind = WheelKindNamed(fixture, capability.wheels.front());
  if (capability.type == T::kWheelSlotRotation) {
    return kind == WheelKind::kGobo    ? R::kGoboRotation
           : kind == WheelKind::kPrism ? R::kPrismRotation
                                       : R::kOther;
  }
  switch (kind) {
    case WheelKind::kColour:
      return R::kColourWheel;
    case WheelKind::kGobo:
      return R::kGoboWheel;
    case WheelKind::kPrism:
      return R::kPrism;
    default:
      return R::kOther;
  }
}

}  // namespace

const RoleNames& NamesOf(ChannelRole role) { return kRoleNames[static_cast<size_t>(role)]; }

WheelKind KindOf(const Wheel& wheel) {
  const auto has = [&](std::initializer_list<SlotType> types) {
    return std::any_of(wheel.slots.begin(), wheel.slots.end(), [&](const WheelSlot& slot) {
      return std::find(types.begin(), types.end(), slot.type) != types.end();
    });
  };
  if (has({SlotType::kColor})) return WheelKind::kColour;
  if (has({SlotType::kGobo, SlotType::kAnimationGoboStart})) return WheelKind::kGobo;
  if (has({SlotType::kPrism})) return WheelKind::kPrism;
  return WheelKind::kOther;
}

WheelKind WheelKindNamed(const LibraryFixture& fixture, const std::string& name) {
  const auto wheel = fixture.wheels.find(name);
  return wheel == fixture.wheels.end() ? WheelKind::kOther : KindOf(wheel->second);
}

ChannelRole RoleOf(const LibraryChannel& channel, const LibraryFixture& fixture) {
  for (const Capability& capability : channel.capabilities) {
    switch (capability.type) {
      case T::kNoFunction:
        continue;
      case T::kColorIntensity:
        return ColourIntensityRole(capability);
      case T::kWheelSlot:
      case T::kWheelShake:
      case T::kWheelRotation:
      case T::kWheelSlotRotation:
        return WheelRole(capability, fixture);
      default:
        for (const auto& [type, role] : kTypeRoles) {
          if (type == capability.type) return role;
        }
        return R::kOther;
    }
  }
  return R::kOther;
}

}  // namespace fxt
