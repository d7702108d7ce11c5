#include "plugin/actions.h"

#include "config/aircraft_files.h"
#include "plugin/mode_switches.h"
#include "plugin/view_selection.h"
#include "ui/control_panel.h"
#include "ui/data_display.h"
#include "ui/effects_panel.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

static_assert(kCommandActions[kCmdPreset1 + 7] == kActPresetCommand1 + 7 &&
              kCommandActions[kCmdAxisIncrementReset] == kActIncrementsReset);
static_assert(kHotkeyActions[kSlotViewControlToggle] == kActViewControlToggle &&
              kHotkeyActions[kSlotVibrationToggle] == kActVibrationToggle);

// A stored preset becomes the live view, written without bounds; an empty one changes nothing.
bool RecallPreset(int preset) {
  if (View().presets[preset].stored == 0) return false;
  SelectPreset(preset);
  return true;
}

}  // namespace

void RunAction(ActionId id) {
  const Action& action = kActions[id];
  switch (action.does) {
    case Does::kNothingYet:
    case Does::kMoveAxis:
      break;
    case Does::kToggleViewControl:
      ToggleViewControl();
      break;
    case Does::kViewControlOn:
      EnableViewControl();
      break;
    case Does::kViewControlOff:
      DisableViewControl(kViewTypeForward2dPanel);
      break;
    case Does::kToggleTracker:
      ToggleTracker();
      break;
    case Does::kTrackerOn:
      PickTrackerOn();
      break;
    case Does::kTrackerOff:
      PickTrackerOff();
      break;
    case Does::kToggleEffects:
      ToggleForceEffects();
      break;
    case Does::kToggleVibration:
      ToggleEngineVibration();
      break;
    case Does::kToggleControlPanel:
      ToggleControlPanel();
      break;
    case Does::kOpenControlPanel:
      OpenControlPanel();
      break;
    case Does::kToggleDataDisplay:
      ToggleDataDisplay();
      break;
    case Does::kOpenDataDisplay:
      OpenDataDisplay();
      break;
    case Does::kToggleEffectsPanel:
      ToggleEffectsPanel();
      break;
    case Does::kOpenEffectsPanel:
      OpenEffectsPanel();
      break;
    case Does::kToggleLimits:
      TogglePresetLimits();
      break;
    case Does::kLoadPresets:
      LoadPresets();
      break;
    case Does::kSavePresets:
      WritePresetFile(kPresetFileName);
      break;
    case Does::kClearPresets:
      ClearPresets();
      break;
    case Does::kLoadEffects:
      LoadEffects();
      break;
    case Does::kSaveEffects:
      ApplyEffectsFields();  // what is saved is what the fields show
      WriteEffectsFile(kEffectsFileName);
      break;
    case Does::kLoadLimits:
      LoadLimits();
      break;
    case Does::kSaveLimits:
      WriteLimitsFile(kLimitsFileName);
      break;
    case Does::kClearLimits:
      ClearAllLimits();
      break;
    case Does::kClearLimitsEdited:
      ClearAllLimits();
      SetLimitsChanged(true);
      break;
    case Does::kRecallPreset:
      RecallPreset(action.preset);
      break;
    case Does::kPresetCommand: {
      const int target = MovePresetCursor(action.preset, action.sign);
      if (RecallPreset(target)) ShowPresetNumber(target + 1);
      break;
    }
    case Does::kPanelPreset:
      PresetButtonPressed(action.preset);
      break;
    case Does::kStopMotion:
      StopContinuousRates();
      break;
    case Does::kClearRoll:
      ClearRoll();
      break;
    case Does::kCaptureBound:
      CaptureLimit(2 * action.axis + (action.sign > 0 ? 1 : 0));
      break;
    case Does::kIncrementsUp:
      ChangeIncrements(1);
      break;
    case Does::kIncrementsDown:
      ChangeIncrements(-1);
      break;
    case Does::kIncrementsReset:
      ResetIncrements();
      break;
  }
}

void HoldAction(ActionId id) {
  const Action& action = kActions[id];
  if (action.does == Does::kMoveAxis) StepAxis(action.axis, action.sign);
}

}  // namespace talvenor
