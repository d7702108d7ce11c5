// The six head axes and the three per-aircraft record layouts (28 bytes each, little-endian on disk).
#pragma once

#include <cstddef>
#include <cstdint>

namespace talvenor {

// One value per head axis, in the order of the on-disk record.
struct HeadPose {
  float x = 0;        // metres, sim/graphics/view/pilots_head_x (cockpit coordinates)
  float y = 0;        // metres, pilots_head_y
  float z = 0;        // metres, pilots_head_z
  float pitch = 0;    // degrees, pilots_head_the
  float heading = 0;  // degrees, pilots_head_psi
  float roll = 0;     // degrees, field_of_view_roll_deg
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

// One stored view of the per-aircraft preset file.
struct ViewPreset {
  std::int32_t stored = 0;  // nonzero: the slot holds a view (0/1 as the plugin writes it)
  HeadPose pose{};          // metres and degrees: the view
};

// The translation bounds of one preset slot; the angles are never bounded.
struct ViewLimits {
  std::int32_t enabled = 0;  // nonzero: in force (with the panel's limits box on)
  float xMin = 0;            // metres, the panel's "X1"
  float xMax = 0;            // metres, "X2"
  float yMin = 0;            // metres, "Y1"
  float yMax = 0;            // metres, "Y2"
  float zMin = 0;            // metres, "Z1"
  float zMax = 0;            // metres, "Z2"
};

// The force effects' switch and divisors.
struct EffectsSettings {
  std::int32_t effectsOn = 0;      // nonzero: force effects on
  std::int32_t scalerX = 0;        // divisor of the lateral g-force (g_side), " Scaler X"
  std::int32_t scalerY = 0;        // divisor of the normal g-force minus 1 (g_nrml), " Scaler Y"
  std::int32_t scalerZ = 0;        // divisor of the axial g-force (g_axil), " Scaler Z"
  std::int32_t groundScalerX = 0;  // on-ground divisor of x; below (it - 1) x 100 metres the g-force fades
  std::int32_t groundScalerY = 0;  // the same for y
  std::int32_t groundScalerZ = 0;  // the same for z
};

static_assert(sizeof(ViewPreset) == 28 && sizeof(ViewLimits) == 28 && sizeof(EffectsSettings) == 28,
              "the per-aircraft files are raw images of these records");
static_assert(offsetof(ViewPreset, pose) == 4 && offsetof(HeadPose, x) == 0 && offsetof(HeadPose, y) == 4 &&
                  offsetof(HeadPose, z) == 8 && offsetof(HeadPose, pitch) == 12 &&
                  offsetof(HeadPose, heading) == 16 && offsetof(HeadPose, roll) == 20,
              "a preset's pose is stored x, y, z, pitch, heading, roll after its flag");

inline constexpr int kPresetSlots = 8;

}  // namespace talvenor
