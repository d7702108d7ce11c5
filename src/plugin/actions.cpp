#include "plugin/actions.h"

#include <iterator>

#include "config/aircraft_files.h"
#include "config/setup_file.h"
#include "plugin/commands.h"
#include "plugin/mode_switches.h"
#include "plugin/view_selection.h"
#include "ui/control_panel.h"
#include "ui/data_display.h"
#include "ui/effects_panel.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

// A stored preset becomes the live view, written without bounds; an empty one changes nothing.
bool RecallPreset(int preset) {
  if (View().presets[preset].stored == 0) return false;
  SelectPreset(preset);
  return true;
}

// Most kinds take nothing from their row.
template <auto Operation>
void Plain(const Action&) {
  Operation();
}

struct Runner {
  Does id;
  void (*run)(const Action& action);
};

constexpr Runner kRunners[] = {
    {Does::kNothingYet, [](const Action&) {}},
    {Does::kToggleViewControl, Plain<ToggleViewControl>},
    {Does::kViewControlOn, Plain<EnableViewControl>},
    {Does::kViewControlOff, [](const Action&) { DisableViewControl(kViewTypeForward2dPanel); }},
    {Does::kToggleTracker, Plain<ToggleTracker>},
    {Does::kTrackerOn, Plain<PickTrackerOn>},
    {Does::kTrackerOff, Plain<PickTrackerOff>},
    {Does::kToggleEffects, Plain<ToggleForceEffects>},
    {Does::kToggleVibration, Plain<ToggleEngineVibration>},
    {Does::kToggleControlPanel, Plain<ToggleControlPanel>},
    {Does::kOpenControlPanel, Plain<OpenControlPanel>},
    {Does::kToggleEffectsPanel, Plain<ToggleEffectsPanel>},
    {Does::kOpenEffectsPanel, Plain<OpenEffectsPanel>},
    {Does::kToggleDataDisplay, Plain<ToggleDataDisplay>},
    {Does::kOpenDataDisplay, Plain<OpenDataDisplay>},
    {Does::kToggleLimits, Plain<TogglePresetLimits>},
    {Does::kLoadPresets, Plain<LoadPresets>},
    {Does::kSavePresets, [](const Action&) { WritePresetFile(kPresetFileName); }},
    {Does::kClearPresets, Plain<ClearPresets>},
    {Does::kLoadEffects, Plain<LoadEffects>},
    {Does::kSaveEffects,
     [](const Action&) {
       ApplyEffectsFields();  // what is saved is what the fields show
       WriteEffectsFile(kEffectsFileName);
     }},
    {Does::kLoadLimits, Plain<LoadLimits>},
    {Does::kSaveLimits, [](const Action&) { WriteLimitsFile(kLimitsFileName); }},
    {Does::kClearLimits, Plain<ClearAllLimits>},
    {Does::kClearLimitsEdited,
     [](const Action&) {
       ClearAllLimits();
       SetLimitsChanged(true);
     }},
    {Does::kRecallPreset, [](const Action& action) { RecallPreset(action.preset); }},
    {Does::kPresetCommand,
     [](const Action& action) {
       const int target = MovePresetCursor(action.preset, action.sign);
       if (RecallPreset(target)) ShowPresetNumber(target + 1);
     }},
    {Does::kPanelPreset, [](const Action& action) { PresetButtonPressed(action.preset); }},
    {Does::kMoveAxis, [](const Action&) {}},  // a press alone does not move
    {Does::kStopMotion, Plain<StopContinuousRates>},
    {Does::kClearRoll, Plain<ClearRoll>},
    {Does::kCaptureBound,
     [](const Action& action) { CaptureLimit(2 * action.axis + (action.sign > 0 ? 1 : 0)); }},
    {Does::kIncrementsUp, [](const Action&) { ChangeIncrements(1); }},
    {Does::kIncrementsDown, [](const Action&) { ChangeIncrements(-1); }},
    {Does::kIncrementsReset, Plain<ResetIncrements>},
};
static_assert(std::size(kRunners) == static_cast<std::size_t>(Does::kCount) && RowsInPlace(kRunners));

}  // namespace

void RunAction(ActionId id) {
  const Action& action = kActions[id];
  kRunners[static_cast<std::size_t>(action.does)].run(action);
}

void HoldAction(ActionId id) {
  const Action& action = kActions[id];
  if (action.does == Does::kMoveAxis) StepAxis(action.axis, action.sign);
}

}  // namespace talvenor
