// The six head axes and the three per-aircraft record layouts (28 bytes each, little-endian on disk).
#pragma once

#include <cstdint>

namespace talvenor {

struct HeadPose {
  float x = 0, y = 0, z = 0, pitch = 0, heading = 0, roll = 0;
};

// The six axes in HeadPose order.
enum HeadAxis { kAxisX = 0, kAxisY, kAxisZ, kAxisPitch, kAxisHeading, kAxisRoll, kHeadAxes };

inline float& AxisOf(HeadPose& pose, HeadAxis axis) {
  switch (axis) {
    case kAxisX:
      return pose.x;
    case kAxisY:
      return pose.y;
    case kAxisZ:
      return pose.z;
    case kAxisPitch:
      return pose.pitch;
    case kAxisHeading:
      return pose.heading;
    default:
      return pose.roll;
  }
}

struct ViewPreset {
  std::int32_t stored = 0;
  float x = 0, y = 0, z = 0, pitch = 0, heading = 0, roll = 0;
};

struct ViewLimits {
  std::int32_t enabled = 0;
  float xMin = 0, xMax = 0, yMin = 0, yMax = 0, zMin = 0, zMax = 0;
};

struct EffectsSettings {
  std::int32_t effectsOn = 0;
  std::int32_t scalerX = 0, scalerY = 0, scalerZ = 0;
  std::int32_t groundScalerX = 0, groundScalerY = 0, groundScalerZ = 0;
};

static_assert(sizeof(ViewPreset) == 28 && sizeof(ViewLimits) == 28 && sizeof(EffectsSettings) == 28,
              "the per-aircraft files are raw images of these records");

inline constexpr int kPresetSlots = 8;

}  // namespace talvenor
