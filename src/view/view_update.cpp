#include "view/view_update.h"

#include <cmath>

#include "config/setup_file.h"
#include "view/sim_datarefs.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

// Tracker units to degrees: 16383, not 16384.
constexpr double kTrackerAngleScale = 180.0 / 16383.0;

// Replaces the offset of an axis whose box is on; an offset that is not finite is refused like a box off.
void TakeOffset(float& offset, bool enabled, float value) {
  if (enabled && std::isfinite(value)) offset = value;
}

float TrackerAngle(float raw) {
  return static_cast<float>(static_cast<double>(-raw) * kTrackerAngleScale);
}

const ViewLimits* BoundsInForce(const ViewState& view) {
  const ViewLimits& bounds = view.limits[view.selectedPreset];
  return LimitsInForce(bounds.enabled) ? &bounds : nullptr;
}

HeadPose Sum(const HeadPose& a, const HeadPose& b) {
  return HeadPose{a.x + b.x, a.y + b.y, a.z + b.z, a.pitch + b.pitch, a.heading + b.heading, a.roll + b.roll};
}

bool Outside(float value, float minimum, float maximum) {
  return value < minimum || value > maximum;
}

}  // namespace

bool NoteExternalSwitch(std::int32_t value) {
  ViewState& view = View();
  if (value == view.lastExternalEnabled) return false;
  view.lastExternalEnabled = value;
  view.sourceAvailable = value;
  return true;
}

void FinishReinitialisation() {
  View().reinitPending = false;
}

void TakeSourceOffsets(const HeadPose& raw, const TrackerAxes& axes, float multiplier) {
  HeadPose& offsets = View().trackerOffsets;
  if (Settings().enableExternalData != 0) {
    TakeOffset(offsets.x, axes[kAxisX], raw.x);
    TakeOffset(offsets.y, axes[kAxisY], raw.y);
    TakeOffset(offsets.z, axes[kAxisZ], raw.z);
    TakeOffset(offsets.pitch, axes[kAxisPitch], raw.pitch);
    TakeOffset(offsets.heading, axes[kAxisHeading], raw.heading);
    TakeOffset(offsets.roll, axes[kAxisRoll], raw.roll);
  } else {
    TakeOffset(offsets.x, axes[kAxisX], -(raw.x * multiplier));
    TakeOffset(offsets.y, axes[kAxisY], raw.y * multiplier);
    TakeOffset(offsets.z, axes[kAxisZ], raw.z * multiplier);
    TakeOffset(offsets.pitch, axes[kAxisPitch], TrackerAngle(raw.pitch));
    TakeOffset(offsets.heading, axes[kAxisHeading], TrackerAngle(raw.heading));
    TakeOffset(offsets.roll, axes[kAxisRoll], TrackerAngle(raw.roll));
  }
}

void MoveByContinuousRates() {
  ViewState& view = View();
  const HeadPose& pose = view.workingPose;
  HeadPose& rates = view.continuousRates;
  if (const ViewLimits* bounds = BoundsInForce(view)) {
    if (Outside(pose.x, bounds->xMin, bounds->xMax)) rates.x = 0.0f;
    if (Outside(pose.y, bounds->yMin, bounds->yMax)) rates.y = 0.0f;
    if (Outside(pose.z, bounds->zMin, bounds->zMax)) rates.z = 0.0f;
  }
  HeadPose& preset = view.presets[view.selectedPreset].pose;
  preset = Sum(preset, rates);
}

void WriteWorkingPose() {
  const ViewState& view = View();
  WriteHeadPose(view.workingPose, BoundsInForce(view));
}

void WriteTrackedPose() {
  const ViewState& view = View();
  WriteHeadPose(Sum(view.workingPose, view.trackerOffsets), BoundsInForce(view));
}

void WriteEffectsPose(float (&forces)[kForceOffsets]) {
  const ViewState& view = View();
  ComputeForceEffects(forces);
  const SimDataRefs& refs = SimRefs();
  const HeadPose& pose = view.workingPose;
  const HeadPose& offsets = view.trackerOffsets;
  const float x = pose.x + offsets.x - forces[kGForceX];
  const float y = pose.y + offsets.y - forces[kGForceY];
  const float z = pose.z + offsets.z - forces[kGForceZ];
  // The vibration rides on top of a value already inside the bounds.
  if (const ViewLimits* bounds = BoundsInForce(view)) {
    if (StrictlyInside(x, bounds->xMin, bounds->xMax)) WriteHeadValue(refs.headX, x + forces[kVibrationX]);
    if (StrictlyInside(y, bounds->yMin, bounds->yMax)) WriteHeadValue(refs.headY, y + forces[kVibrationY]);
    if (StrictlyInside(z, bounds->zMin, bounds->zMax)) WriteHeadValue(refs.headZ, z + forces[kVibrationZ]);
  } else {
    WriteHeadValue(refs.headX, x + forces[kVibrationX]);
    WriteHeadValue(refs.headY, y + forces[kVibrationY]);
    WriteHeadValue(refs.headZ, z + forces[kVibrationZ]);
  }
  if (view.trackerActive) {
    WriteHeadValue(refs.headPsi, pose.heading + offsets.heading);
    WriteHeadValue(refs.headThe, pose.pitch + offsets.pitch);
    WriteHeadValue(refs.headRoll, pose.roll + offsets.roll);
  }
}

}  // namespace talvenor
