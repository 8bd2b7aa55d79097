// What a channel of a fixture is for, as the desk's tables name it: the
// attribute's name and kind letter, and the parameter's name and kind letter.
#pragma once

#include <array>
#include <cstdint>

#include "import/library_fixture.h"

namespace fxt {

enum class ChannelRole : uint8_t {
  kIntensity,
  kPan,
  kTilt,
  kColourWheel,
  kCyan,
  kMagenta,
  kYellow,
  kColourMix,
  kColourTemperature,
  kGoboWheel,
  kGoboRotation,
  kPrism,
  kPrismRotation,
  kShutter,
  kStrobe,
  kIris,
  kZoom,
  kFocus,
  kFrost,
  kPanTiltSpeed,
  kEffectSpeed,
  kSpeed,
  kControl,
  kBlades,
  kEffect,
  kOther,
};

struct RoleNames {
  ChannelRole role;
  char attributeType;  // the attribute's type= letter
  char parameterType;  // the parameter's type= letter
  // The table's names: the first for the mode's only channel of the role;
  // the second and third, where there are, for the first two of several.
  std::array<const char*, 3> attributeNames;
  std::array<const char*, 3> parameterNames;
};

const RoleNames& NamesOf(ChannelRole role);

enum class WheelKind : uint8_t { kColour, kGobo, kPrism, kOther };

WheelKind KindOf(const Wheel& wheel);
// The kind of the wheel named, kOther when the fixture has no such wheel.
WheelKind WheelKindNamed(const LibraryFixture& fixture, const std::string& name);

// The role of the channel's first capability that does something.
ChannelRole RoleOf(const LibraryChannel& channel, const LibraryFixture& fixture);

}  // namespace fxt
