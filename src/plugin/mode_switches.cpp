#include "plugin/mode_switches.h"

#include <cmath>

#include "XPLMDataAccess.h"
#include "config/aircraft_files.h"
#include "plugin/plugin.h"
#include "plugin/view_selection.h"
#include "tracker/head_pose_source.h"
#include "ui/control_panel.h"
#include "ui/panels.h"
#include "view/view_update.h"

namespace talvenor {
namespace {

bool ExternalDataMode() {
  return Settings().enableExternalData != 0;
}

// A probe that found the source usable (and, for the tracker, left it running).
void SourceStarted() {
  ViewState& view = View();
  view.sourceAvailable = 1;
  view.trackerActive = true;
  EnableMenuItem(kItemTrackerEnable, false);
  EnableMenuItem(kItemTrackerDisable, true);
  State().trackerToggleState = 1;
  ShowTrackerAxisBoxes(true);
  ShowSourceStatus(false);
  if (ExternalDataMode()) {
    ShowMultiplier(false);
    ShowSourceStatus(true, kExternalFoundText);
  } else {
    ShowMultiplier(true);
  }
}

void SourceFailed() {
  ViewState& view = View();
  view.sourceAvailable = 0;
  view.trackerActive = false;
  StopHeadPoseSource();
  EnableMenuItem(kItemTrackerEnable, false);
  EnableMenuItem(kItemTrackerDisable, false);
  State().trackerToggleState = 0;
  ShowTrackerAxisBoxes(false);
  ShowMultiplier(false);
  ShowSourceStatus(true);  // with the text it already has
}

// Tracking off, shared by SwitchTrackerOff and DisableViewControl: a source that was found stays offered.
void TrackerStopped() {
  ViewState& view = View();
  view.trackerActive = false;
  StopHeadPoseSource();
  State().trackerToggleState = 0;
  EnableMenuItem(kItemTrackerDisable, false);
  EnableMenuItem(kItemTrackerEnable, view.sourceAvailable != 0);
  ShowTrackerAxisBoxes(false);
  ShowMultiplier(false);
  const char* status = nullptr;  // a source that was found keeps the tracker's caption as it is
  if (ExternalDataMode()) {
    status = view.sourceAvailable != 0 ? kExternalFoundText : kExternalNotFoundText;
  } else if (view.sourceAvailable == 0) {
    status = kTrackerNotFoundText;
  }
  ShowSourceStatus(true, status);
}

}  // namespace

void EnableViewControl() {
  ViewState& view = View();
  // Another plugin may have left a roll that is not a number; it must not come back at switch-off.
  const float roll = XPLMGetDataf(SimRefs().headRoll);
  view.savedRoll = std::isfinite(roll) ? roll : 0.0f;
  view.pluginEnabled = true;
  EnableMenuItem(kItemEnable, false);
  EnableMenuItem(kItemDisable, true);
  BuildControlPanelHidden();
  // The effects panel is built here too, hidden, once it has a builder.
  if (ProbeHeadPoseSource() == 1) {
    SourceStarted();
  } else {
    SourceFailed();
  }
  LoadPresets();
  LoadLimits();
  LoadEffects();
  SelectViewType(kViewType3dCockpit);
}

void DisableViewControl(int viewType) {
  ViewState& view = View();
  view.pluginEnabled = false;
  HideAllWindows();  // and clears the three visible flags
  EnableMenuItem(kItemEnable, true);
  EnableMenuItem(kItemDisable, false);
  TrackerStopped();
  SelectViewType(viewType);
  XPLMSetDataf(SimRefs().headRoll, view.savedRoll);
}

void SwitchTrackerOn() {
  if (ProbeHeadPoseSource() == 1) {
    SourceStarted();
  } else {
    SourceFailed();
  }
}

void SwitchTrackerOff() {
  TrackerStopped();
}

void ToggleViewControl() {
  if (!View().pluginEnabled) {
    EnableViewControl();
  } else {
    DisableViewControl(kViewTypeForward2dPanel);
  }
}

void ToggleTracker() {
  std::int32_t& state = State().trackerToggleState;
  state = state == 0 ? 1 : 0;
  if (state == 1) {
    SwitchTrackerOn();
  } else {
    SwitchTrackerOff();
  }
}

void SelectPreset(int preset) {
  if (preset < 0 || preset >= kPresetSlots) return;
  ViewState& view = View();
  view.selectedPreset = preset;
  LoadWorkingPose(preset);
  ApplyView(0);
  ShowPresetLimits(preset);
}

}  // namespace talvenor
