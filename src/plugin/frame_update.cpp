#include "plugin/frame_update.h"

#include "XPLMDataAccess.h"
#include "config/log.h"
#include "plugin/mode_switches.h"
#include "plugin/plugin.h"
#include "tracker/head_pose_source.h"
#include "view/view_update.h"

namespace talvenor {
namespace {

// Read through the handle its registration returned: no lookup by name on the per-frame path.
void WatchExternalSwitch() {
  const std::int32_t value = XPLMGetDatai(External().registered[0]);
  if (!NoteExternalSwitch(value)) return;
  RefreshSource();
  LogMessage(value != 0 ? "External Data Source has set the External Enabled Dataref"
                        : "External Data Source has reset the External Enabled Dataref");
  LogMessage("\n");
}

// An aircraft was loaded: start again from the simulator's head pose with the new aircraft's files.
void Reinitialise() {
  const SetupSettings& setup = Settings();
  ResetPresetsToCurrentView();
  ClearAllLimits();
  DisableViewControl(kViewTypeForward2dPanel);
  EnableViewControl();
  FinishReinitialisation();
  if (setup.trackIrDisableOnAutoStart != 0) SwitchTrackerOff();
  if (setup.autoStart != 0) {
    SetForceEffectsBoxes(setup.effectsDisableOnAutoStart == 0);
    SetEffectsOn(ForceEffectsBox());
  }
}

TrackerAxes ReadTrackerAxes() {
  TrackerAxes axes{};
  for (int axis = 0; axis < kHeadAxes; ++axis)
    axes[static_cast<std::size_t>(axis)] = TrackerAxisEnabled(axis);
  return axes;
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

void RefreshDataDisplay(const ViewState& view, const float (&forces)[kForceOffsets]) {
  const HeadPose head = ReadSimHeadPose();
  const float gForces[3] = {forces[kGForceX], forces[kGForceY], forces[kGForceZ]};
  float increments[kIncrementAxes];
  for (int axis = 0; axis < kIncrementAxes; ++axis) increments[axis] = view.currentIncrements[axis];
  ShowDataDisplay(head, gForces, increments);
}

}  // namespace

float ViewUpdateCallback(float, float, int, void*) {
  const ViewState& view = View();
  float forces[kForceOffsets] = {};

  if (Settings().enableExternalData != 0) WatchExternalSwitch();
  if (view.reinitPending) Reinitialise();

  const float multiplier = TrackerTranslationMultiplier();
  if (view.trackerActive && view.sourceAvailable != 0) {
    HeadPose raw;
    if (ReadHeadPose(&raw.x, &raw.y, &raw.z, &raw.pitch, &raw.heading, &raw.roll) == 0) {
      if (PanelState().dataDisplayCreated) ShowSourcePose(raw);
      TakeSourceOffsets(raw, ReadTrackerAxes(), multiplier);
    }
  }

  if (view.pluginEnabled) {
    ShowChangeIndicators(view.presetsChanged, view.limitsChanged);
    LoadWorkingPose(view.selectedPreset);
    WriteWaitingRoll();  // whatever this frame writes comes after it

    if (ContinuousMode()) {
      MoveByContinuousRates();
      if (KeepViewControl(ReadViewType())) WriteWorkingPose();
    } else if (view.trackerActive) {
      const int viewType = ReadViewType();
      if (view.effects.effectsOn != 0) {
        KeepViewControl(viewType);  // the effects write follows
      } else if (KeepViewControl(viewType)) {
        WriteTrackedPose();
      }
    }

    if (view.effects.effectsOn != 0) WriteEffectsPose(forces);

    ShowPilotOffsets(view.workingPose);
    KeepViewControl(ReadViewType());
  }

  if (PanelState().dataDisplayCreated) RefreshDataDisplay(view, forces);
  return kViewUpdateInterval;
}

}  // namespace talvenor
