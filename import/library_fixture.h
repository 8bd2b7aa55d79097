// A fixture of the open fixture library, as fxtimport reads it from its JSON
// file: only what a template can use, each value checked against the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "import/capability_type.h"

namespace fxt {

// The rotation or shake of a wheel, or a rotation of its own, as written:
// "fast CW", "12rpm", "-40%", "stop" ...
struct RotationSpeed {
  std::string start;
  std::string end;  // equal to start for a capability that is a step
};

// One range of a channel's DMX values and what it does.
struct Capability {
  uint64_t low = 0;  // the DMX range, at the channel's resolution
  uint64_t high = 0;
  CapabilityType type = CapabilityType::kNoFunction;
  bool proportional = false;  // its effect grows over the range; else a step
  std::string comment;
  // The property that tells one capability of its type from another:
  // shutterEffect, color, effectName or effectPreset, fogType, isShaking.
  std::string detail;
  // Pan and tilt angles in degrees, when the fixture gives them in degrees.
  std::optional<std::pair<double, double>> degrees;
  RotationSpeed speed;              // speed or speedStart/speedEnd
  bool angled = false;              // an angle instead of a speed (an index position)
  std::vector<std::string> wheels;  // named by `wheel`, else the channel's name
  std::optional<std::pair<double, double>> slotNumber;
  std::string openPercent;  // an iris capability's opening, as written
  bool randomTiming = false;
  bool soundControlled = false;
  // Switching channels: alias -> the channel key it stands for in this range.
  std::vector<std::pair<std::string, std::string>> switchChannels;
};

// A channel's default value: a DMX value at its resolution, or a percentage
// of its whole range.
struct DefaultValue {
  bool percent = false;
  double value = 0;
};

// The largest DMX value of `bytes` bytes: 255 for one, 65535 for two.
inline uint64_t LargestDmxValue(int bytes) {
  return bytes >= 8 ? UINT64_MAX : (uint64_t{1} << (8 * bytes)) - 1;
}

struct LibraryChannel {
  std::string key;   // may hold $pixelKey, for a template channel
  std::string name;  // its name, else its key
  std::vector<std::string> fineAliases;
  int resolution = 1;  // bytes of its DMX values: 1 for 0-255, 2 for 0-65535 ...
  std::optional<DefaultValue> defaultValue;
  std::vector<Capability> capabilities;
  bool isTemplate = false;
  std::string path;  // its place in the file, for messages
};

enum class SlotType : uint8_t {
  kOpen,
  kClosed,
  kColor,
  kGobo,
  kPrism,
  kIris,
  kFrost,
  kAnimationGoboStart,
  kAnimationGoboEnd
};

struct WheelSlot {
  SlotType type = SlotType::kOpen;
  std::string name;
};

struct Wheel {
  std::vector<WheelSlot> slots;
};

struct Pixel {
  std::string key;
  int x = 1;  // its place in the matrix, from 1
  int y = 1;
  int z = 1;
};

struct Matrix {
  std::vector<Pixel> pixels;        // in the order the file gives them
  std::vector<std::string> groups;  // pixel group keys, in the order of the file
};

// An entry of a mode's channel list.
struct ModeEntry {
  enum class Kind : uint8_t { kChannel, kUnused, kMatrixInsert };
  Kind kind = Kind::kChannel;
  std::string key;  // a channel key, fine channel alias or switching channel alias
  // A matrix insert block: the template channels repeated for pixels.
  std::string repeatFor;                // "eachPixelXYZ" ..., or empty with repeatKeys
  std::vector<std::string> repeatKeys;  // pixel or pixel group keys, in order
  bool perPixel = true;                 // channelOrder
  std::vector<std::optional<std::string>> templateChannels;
  std::string path;
};

struct LibraryMode {
  std::string name;
  std::string shortName;  // its name when the file gives none
  std::vector<ModeEntry> entries;
  std::string path;
};

struct LibraryFixture {
  std::string name;
  std::string shortName;
  std::vector<LibraryChannel> channels;  // available channels, then template channels
  std::unordered_map<std::string, Wheel> wheels;
  std::optional<Matrix> matrix;
  std::vector<LibraryMode> modes;
};

}  // namespace fxt
