#include "view/view_update.h"

#include <cmath>

#include "XPLMDataAccess.h"
#include "config/log.h"
#include "config/setup_file.h"
#include "plugin/external_data.h"
#include "plugin/mode_switches.h"
#include "plugin/plugin.h"
#include "plugin/sim_datarefs.h"
#include "tracker/head_pose_source.h"
#include "ui/panels.h"
#include "view/force_effects.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

// Tracker units to degrees: 16383, not 16384.
constexpr double kTrackerAngleScale = 180.0 / 16383.0;

// Read through the handle its registration returned: no lookup by name on the per-frame path.
void WatchExternalSwitch(ViewState& view) {
  const std::int32_t value = XPLMGetDatai(State().external.registered[0]);
  if (value == view.lastExternalEnabled) return;
  view.lastExternalEnabled = value;
  view.sourceAvailable = value;
  RefreshSource();
  LogMessage(value != 0 ? "External Data Source has set the External Enabled Dataref"
                        : "External Data Source has reset the External Enabled Dataref");
  LogMessage("\n");
}

// An aircraft was loaded: start again from the simulator's head pose with the new aircraft's files.
void Reinitialise(ViewState& view) {
  const SetupSettings& setup = Settings();
  ResetPresetsToCurrentView();
  ClearAllLimits();
  DisableViewControl(kViewTypeForward2dPanel);
  EnableViewControl();
  view.reinitPending = false;
  if (setup.trackIrDisableOnAutoStart != 0) SwitchTrackerOff();
  if (setup.autoStart != 0) {
    SetForceEffectsBoxes(setup.effectsDisableOnAutoStart == 0);
    view.effects.effectsOn = ForceEffectsBox() ? 1 : 0;
  }
}

// Replaces the offset of an axis whose box is on; an offset that is not finite is refused like a box off.
void TakeOffset(float& offset, int axis, float value) {
  if (TrackerAxisEnabled(axis) && std::isfinite(value)) offset = value;
}

float TrackerAngle(float raw) {
  return static_cast<float>(static_cast<double>(-raw) * kTrackerAngleScale);
}

void ReadSourceOffsets(ViewState& view, float multiplier) {
  HeadPose raw;
  if (ReadHeadPose(&raw.x, &raw.y, &raw.z, &raw.pitch, &raw.heading, &raw.roll) != 0) return;
  if (PanelState().dataDisplayCreated) ShowSourcePose(raw);
  HeadPose& offsets = view.trackerOffsets;
  if (Settings().enableExternalData != 0) {
    TakeOffset(offsets.x, kAxisX, raw.x);
    TakeOffset(offsets.y, kAxisY, raw.y);
    TakeOffset(offsets.z, kAxisZ, raw.z);
    TakeOffset(offsets.pitch, kAxisPitch, raw.pitch);
    TakeOffset(offsets.heading, kAxisHeading, raw.heading);
    TakeOffset(offsets.roll, kAxisRoll, raw.roll);
  } else {
    TakeOffset(offsets.x, kAxisX, -(raw.x * multiplier));
    TakeOffset(offsets.y, kAxisY, raw.y * multiplier);
    TakeOffset(offsets.z, kAxisZ, raw.z * multiplier);
    TakeOffset(offsets.pitch, kAxisPitch, TrackerAngle(raw.pitch));
    TakeOffset(offsets.heading, kAxisHeading, TrackerAngle(raw.heading));
    TakeOffset(offsets.roll, kAxisRoll, TrackerAngle(raw.roll));
  }
}

int ReadViewType() {
  return XPLMGetDatai(SimRefs().viewType);
}

// Leaving the 3-D cockpit hands the view back to the simulator in the view the user chose.
bool KeepViewControl(int viewType) {
  if (viewType == kViewType3dCockpit) return true;
  DisableViewControl(viewType);
  return false;
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

void ContinuousWrite(ViewState& view) {
  const HeadPose& pose = view.workingPose;
  HeadPose& rates = view.continuousRates;
  if (const ViewLimits* bounds = BoundsInForce(view)) {
    if (Outside(pose.x, bounds->xMin, bounds->xMax)) rates.x = 0.0f;
    if (Outside(pose.y, bounds->yMin, bounds->yMax)) rates.y = 0.0f;
    if (Outside(pose.z, bounds->zMin, bounds->zMax)) rates.z = 0.0f;
  }
  // The preset moves now; the working pose keeps this frame's values, so the datarefs follow a frame later.
  HeadPose& preset = view.presets[view.selectedPreset].pose;
  preset = Sum(preset, rates);
  if (KeepViewControl(ReadViewType())) WriteHeadPose(pose, BoundsInForce(view));
}

void TrackingWrite(const ViewState& view) {
  const int viewType = ReadViewType();
  if (view.effects.effectsOn != 0) {
    KeepViewControl(viewType);  // the effects write follows
    return;
  }
  if (KeepViewControl(viewType))
    WriteHeadPose(Sum(view.workingPose, view.trackerOffsets), BoundsInForce(view));
}

void EffectsWrite(const ViewState& view, float (&forces)[kForceOffsets]) {
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

void RefreshDataDisplay(const ViewState& view, const float (&forces)[kForceOffsets]) {
  const HeadPose head = ReadSimHeadPose();
  const float gForces[3] = {forces[kGForceX], forces[kGForceY], forces[kGForceZ]};
  float increments[kIncrementAxes];
  for (int axis = 0; axis < kIncrementAxes; ++axis) increments[axis] = view.currentIncrements[axis];
  ShowDataDisplay(head, gForces, increments);
}

}  // namespace

float ViewUpdateCallback(float, float, int, void*) {
  ViewState& view = View();
  float forces[kForceOffsets] = {};

  if (Settings().enableExternalData != 0) WatchExternalSwitch(view);
  if (view.reinitPending) Reinitialise(view);

  const float multiplier = TrackerTranslationMultiplier();
  if (view.trackerActive && view.sourceAvailable != 0) ReadSourceOffsets(view, multiplier);

  if (view.pluginEnabled) {
    ShowChangeIndicators(view.presetsChanged, view.limitsChanged);
    LoadWorkingPose(view.selectedPreset);
    WriteWaitingRoll();  // whatever this frame writes comes after it

    if (ContinuousMode()) {
      ContinuousWrite(view);
    } else if (view.trackerActive) {
      TrackingWrite(view);
    }

    if (view.effects.effectsOn != 0) EffectsWrite(view, forces);

    ShowPilotOffsets(view.workingPose);
    KeepViewControl(ReadViewType());
  }

  if (PanelState().dataDisplayCreated) RefreshDataDisplay(view, forces);
  return kViewUpdateInterval;
}

}  // namespace talvenor
