// The capability types of the open fixture library's format, by the names
// its files give them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace fxt {

enum class CapabilityType : uint8_t {
  kNoFunction,
  kShutterStrobe,
  kStrobeSpeed,
  kStrobeDuration,
  kIntensity,
  kColorIntensity,
  kColorPreset,
  kColorTemperature,
  kPan,
  kPanContinuous,
  kTilt,
  kTiltContinuous,
  kPanTiltSpeed,
  kWheelSlot,
  kWheelShake,
  kWheelSlotRotation,
  kWheelRotation,
  kEffect,
  kEffectSpeed,
  kEffectDuration,
  kEffectParameter,
  kSoundSensitivity,
  kBeamAngle,
  kBeamPosition,
  kFocus,
  kZoom,
  kIris,
  kIrisEffect,
  kFrost,
  kFrostEffect,
  kPrism,
  kPrismRotation,
  kBladeInsertion,
  kBladeRotation,
  kBladeSystemRotation,
  kFog,
  kFogOutput,
  kFogType,
  kRotation,
  kSpeed,
  kTime,
  kMaintenance,
  kGeneric,
};

struct CapabilityTypeName {
  std::string_view name;
  CapabilityType type;
};

inline constexpr CapabilityTypeName kCapabilityTypeNames[] = {
    {"NoFunction", CapabilityType::kNoFunction},
    {"ShutterStrobe", CapabilityType::kShutterStrobe},
    {"StrobeSpeed", CapabilityType::kStrobeSpeed},
    {"StrobeDuration", CapabilityType::kStrobeDuration},
    {"Intensity", CapabilityType::kIntensity},
    {"ColorIntensity", CapabilityType::kColorIntensity},
    {"ColorPreset", CapabilityType::kColorPreset},
    {"ColorTemperature", CapabilityType::kColorTemperature},
    {"Pan", CapabilityType::kPan},
    {"PanContinuous", CapabilityType::kPanContinuous},
    {"Tilt", CapabilityType::kTilt},
    {"TiltContinuous", CapabilityType::kTiltContinuous},
    {"PanTiltSpeed", CapabilityType::kPanTiltSpeed},
    {"WheelSlot", CapabilityType::kWheelSlot},
    {"WheelShake", CapabilityType::kWheelShake},
    {"WheelSlotRotation", CapabilityType::kWheelSlotRotation},
    {"WheelRotation", CapabilityType::kWheelRotation},
    {"Effect", CapabilityType::kEffect},
    {"EffectSpeed", CapabilityType::kEffectSpeed},
    {"EffectDuration", CapabilityType::kEffectDuration},
    {"EffectParameter", CapabilityType::kEffectParameter},
    {"SoundSensitivity", CapabilityType::kSoundSensitivity},
    {"BeamAngle", CapabilityType::kBeamAngle},
    {"BeamPosition", CapabilityType::kBeamPosition},
    {"Focus", CapabilityType::kFocus},
    {"Zoom", CapabilityType::kZoom},
    {"Iris", CapabilityType::kIris},
    {"IrisEffect", CapabilityType::kIrisEffect},
    {"Frost", CapabilityType::kFrost},
    {"FrostEffect", CapabilityType::kFrostEffect},
    {"Prism", CapabilityType::kPrism},
    {"PrismRotation", CapabilityType::kPrismRotation},
    {"BladeInsertion", CapabilityType::kBladeInsertion},
    {"BladeRotation", CapabilityType::kBladeRotation},
    {"BladeSystemRotation", CapabilityType::kBladeSystemRotation},
    {"Fog", CapabilityType::kFog},
    {"FogOutput", CapabilityType::kFogOutput},
    {"FogType", CapabilityType::kFogType},
    {"Rotation", CapabilityType::kRotation},
    {"Speed", CapabilityType::kSpeed},
    {"Time", CapabilityType::kTime},
    {"Maintenance", CapabilityType::kMaintenance},
    {"Generic", CapabilityType::kGeneric},
};

inline std::optional<CapabilityType> CapabilityTypeNamed(std::string_view name) {
  for (const CapabilityTypeName& entry : kCapabilityTypeNames) {
    if (entry.name == name) return entry.type;
  }
  return std::nullopt;
}

}  // namespace fxt
