#include "plugin/mode_switches.h"

#include "XPLMDataAccess.h"
#include "plugin/plugin.h"
#include "plugin/view_selection.h"
#include "tracker/head_pose_source.h"
#include "ui/control_panel.h"
#include "ui/effects_panel.h"
#include "ui/panels.h"

namespace talvenor {
namespace {

bool ExternalDataMode() {
  return Settings().enableExternalData != 0;
}

// The one writer of the tracker toggle's state.
void SetTrackerToggleState(std::int32_t state) {
  State().trackerToggleState = state;
}

// A probe that found the source usable (and, for the tracker, left it running).
void SourceStarted() {
  SetSourceAvailable(1);
  SetTrackerActive(true);
  EnableMenuItem(kItemTrackerEnable, false);
  EnableMenuItem(kItemTrackerDisable, true);
  SetTrackerToggleState(1);
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
  SetSourceAvailable(0);
  SetTrackerActive(false);
  StopHeadPoseSource();
  EnableMenuItem(kItemTrackerEnable, false);
  EnableMenuItem(kItemTrackerDisable, false);
  SetTrackerToggleState(0);
  ShowTrackerAxisBoxes(false);
  ShowMultiplier(false);
  ShowSourceStatus(true);  // with the text it already has
}

}  // namespace

// Tracking off, also as view control goes off: a source that was found stays offered.
void SwitchTrackerOff() {
  const ViewState& view = View();
  SetTrackerActive(false);
  StopHeadPoseSource();
  SetTrackerToggleState(0);
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

void EnableViewControl() {
  KeepRollForSwitchOff(XPLMGetDataf(SimRefs().headRoll));
  SetViewControlOn(true);
  EnableMenuItem(kItemEnable, false);
  EnableMenuItem(kItemDisable, true);
  BuildControlPanelHidden();
  BuildEffectsPanelHidden();
  SwitchTrackerOn();
  LoadPresets();
  LoadLimits();
  LoadEffects();
  SelectViewType(kViewType3dCockpit);
}

void DisableViewControl(int viewType) {
  SetViewControlOn(false);
  HideAllWindows();  // and clears the three visible flags
  EnableMenuItem(kItemEnable, true);
  EnableMenuItem(kItemDisable, false);
  SwitchTrackerOff();
  SelectViewType(viewType);
  WriteSavedRoll();
}

void PutBackRollWhileOn() {
  if (View().pluginEnabled) PutBackSavedRoll();
}

void SwitchTrackerOn() {
  if (ProbeHeadPoseSource() == 1) {
    SourceStarted();
  } else {
    SourceFailed();
  }
}

void ToggleViewControl() {
  if (!View().pluginEnabled) {
    EnableViewControl();
  } else {
    DisableViewControl(kViewTypeForward2dPanel);
  }
}

void ToggleTracker() {
  SetTrackerToggleState(State().trackerToggleState == 0 ? 1 : 0);
  if (State().trackerToggleState == 1) {
    SwitchTrackerOn();
  } else {
    SwitchTrackerOff();
  }
}

void PickTrackerOn() {
  SwitchTrackerOn();
  SetTrackerToggleState(1);  // also when the switch-on failed
}

void PickTrackerOff() {
  SwitchTrackerOff();
  SetTrackerToggleState(0);
}

void FollowSourceState() {
  if (!ExternalDataMode()) return;
  const ViewState& view = View();
  const bool available = view.sourceAvailable != 0;
  if ((view.pluginEnabled || PanelState().controlPanelCreated) && available) SetTrackerActive(true);
  EnableMenuItem(kItemTrackerEnable, false);
  EnableMenuItem(kItemTrackerDisable, available);
  SetTrackerToggleState(available ? 1 : 0);
}

void RefreshSource() {
  FollowSourceState();
  RefreshSourceWidgets();
}

}  // namespace talvenor
