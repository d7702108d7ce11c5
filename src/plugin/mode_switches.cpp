#include "plugin/mode_switches.h"

#include <cmath>

#include "XPLMDataAccess.h"
#include "XPWidgets.h"
#include "config/aircraft_files.h"
#include "plugin/plugin.h"
#include "tracker/head_pose_source.h"
#include "ui/control_panel.h"
#include "ui/panels.h"
#include "view/view_update.h"

namespace talvenor {
namespace {

constexpr char kExternalFound[] = "External Data found";
constexpr char kExternalNotFound[] = "External Data not found or disabled";
constexpr char kTrackerNotFound[] = "TrackIR not found or it is disabled";

bool ExternalDataMode() {
  return Settings().enableExternalData != 0;
}

// The control panel's source widgets; until the panel is built their handles are null and nothing happens.
void ShowWidget(XPWidgetID widget, bool shown) {
  if (widget == nullptr) return;
  if (shown) {
    XPShowWidget(widget);
  } else {
    XPHideWidget(widget);
  }
}

void ShowAxisBoxes(bool shown) {
  for (XPWidgetID box : PanelState().control.axisBoxes) ShowWidget(box, shown);
}

void ShowMultiplier(bool shown) {
  ShowWidget(PanelState().control.multiplierCaption, shown);
  ShowWidget(PanelState().control.multiplierField, shown);
}

void ShowStatus(bool shown) {
  ShowWidget(PanelState().control.statusCaption, shown);
}

void SetStatusText(const char* text) {
  XPWidgetID caption = PanelState().control.statusCaption;
  if (caption != nullptr) XPSetWidgetDescriptor(caption, text);
}

// A probe that found the source usable (and, for the tracker, left it running).
void SourceStarted() {
  ViewState& view = View();
  view.sourceAvailable = 1;
  view.trackerActive = true;
  EnableMenuItem(kItemTrackerEnable, false);
  EnableMenuItem(kItemTrackerDisable, true);
  State().trackerToggleState = 1;
  ShowAxisBoxes(true);
  ShowStatus(false);
  if (ExternalDataMode()) {
    ShowMultiplier(false);
    SetStatusText(kExternalFound);
    ShowStatus(true);
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
  ShowAxisBoxes(false);
  ShowMultiplier(false);
  ShowStatus(true);  // with the text it already has
}

// Tracking off, shared by SwitchTrackerOff and DisableViewControl: a source that was found stays offered.
void TrackerStopped() {
  ViewState& view = View();
  view.trackerActive = false;
  StopHeadPoseSource();
  State().trackerToggleState = 0;
  EnableMenuItem(kItemTrackerDisable, false);
  EnableMenuItem(kItemTrackerEnable, view.sourceAvailable != 0);
  ShowAxisBoxes(false);
  ShowMultiplier(false);
  ShowStatus(true);
  if (ExternalDataMode()) {
    SetStatusText(view.sourceAvailable != 0 ? kExternalFound : kExternalNotFound);
  } else if (view.sourceAvailable == 0) {
    SetStatusText(kTrackerNotFound);
  }
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
  Panels& panels = PanelState();
  if (!panels.controlPanelCreated) {
    BuildControlPanel(kControlPanelLeft, kControlPanelTop, kControlPanelWidth, kControlPanelHeight);
    panels.controlPanelCreated = true;
    XPHideWidget(panels.control.window);
    panels.controlPanelVisible = false;
  }
  // The effects panel is built here too, hidden, once it has a builder.
  if (ProbeHeadPoseSource() == 1) {
    SourceStarted();
  } else {
    SourceFailed();
  }
  LoadPresets();
  LoadLimits();
  LoadEffects();
  XPLMSetDatai(SimRefs().viewType, kViewType3dCockpit);
}

void DisableViewControl(int viewType) {
  ViewState& view = View();
  view.pluginEnabled = false;
  HideAllWindows();  // and clears the three visible flags
  EnableMenuItem(kItemEnable, true);
  EnableMenuItem(kItemDisable, false);
  TrackerStopped();
  XPLMSetDatai(SimRefs().viewType, viewType);
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
