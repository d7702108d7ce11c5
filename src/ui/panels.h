// The widget windows as the rest of the plugin sees them: the values the control panel holds, and the
// displays kept current. While a window has not been built its widget handles are null; the host ignores
// calls on null widgets and reads give 0, so every box reads off and the multiplier reads 0.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"
#include "ui/action_table.h"
#include "view/head_pose.h"

namespace talvenor {

inline constexpr int kNudgePads = 14;

// The control panel's push buttons, in the order they are made.
enum PanelButton {
  kButtonPad1 = 0,                               // to kButtonPad1 + 13: the nudge pads
  kButtonPresetLoad = kButtonPad1 + kNudgePads,  // the preset row's "Load", "Save", "Clear" and " Clr Roll"
  kButtonPresetSave,
  kButtonPresetClear,
  kButtonClearRoll,
  kButtonPreset1,                                     // to kButtonPreset1 + 7: "1".."8"
  kButtonLimitsLoad = kButtonPreset1 + kPresetSlots,  // the limits row's "Load", "Save" and "Clear"
  kButtonLimitsSave,
  kButtonLimitsClear,
  kButtonCapture1,  // to kButtonCapture1 + 5: Y2, Z1, X1, X2, Y1, Z2
  kPanelButtons = kButtonCapture1 + 6
};

constexpr PanelButton operator+(PanelButton first, int n) {
  return static_cast<PanelButton>(static_cast<int>(first) + n);
}
inline constexpr int kMultiplierTextLength = 80;  // characters of the multiplier field that are read

struct ControlPanelWidgets {
  XPWidgetID window = nullptr;
  XPWidgetID presetBoxes[kPresetSlots] = {};  // on: the slot is stored
  XPWidgetID presetNumberField = nullptr;     // "Preset No.", 1..8
  XPWidgetID axisBoxes[6] = {};            // on: the tracker moves the axis (x, y, z, pitch, heading, roll)
  XPWidgetID multiplierCaption = nullptr;  // "TrackIR X/Y/Z Multiplier"
  XPWidgetID multiplierField = nullptr;    // the tracker's translation multiplier, metres per tracker unit
  // The multiplier field's text as last converted, and what it gave.
  char multiplierText[kMultiplierTextLength + 1] = {};
  float multiplierValue = 0;
  bool multiplierRead = false;
  XPWidgetID statusCaption = nullptr;      // the source's status text
  XPWidgetID continuousBox = nullptr;      // "Cont/Step": on, the pads set rates per cycle
  XPWidgetID limitsEnableBox = nullptr;    // the selected slot's limits switch
  XPWidgetID forceEffectsBox = nullptr;    // the force effects' switch
  XPWidgetID presetsIndicator = nullptr;   // "PRESETS CHANGED" or empty
  XPWidgetID limitsIndicator = nullptr;    // "LIMITS CHANGED" or empty
  XPWidgetID pilotOffsetFields[6] = {};    // x, y, z, pitch, heading, roll
  std::uint64_t pilotOffsetShown[6] = {};  // as DataDisplayWidgets::headShown, for pilotOffsetFields
  // What each indicator last showed: 0 nothing yet, 1 empty, 2 its text.
  std::uint8_t presetsIndicatorShown = 0;
  std::uint8_t limitsIndicatorShown = 0;
  XPWidgetID limitFields[6] = {};          // X1, X2, Y1, Y2, Z1, Z2
  XPWidgetID sizeField = nullptr;          // "Size": the pads' step
  XPWidgetID buttons[kPanelButtons] = {};  // the buttons the panel's handler tells apart
};

struct EffectsPanelWidgets {
  XPWidgetID window = nullptr;
  XPWidgetID effectsOnBox = nullptr;  // the force effects' switch
  XPWidgetID valueFields[6] = {};     // the three scalers, then the three ground scalers
  XPWidgetID applyButton = nullptr;   // " Apply", " Load" and " Save"
  XPWidgetID loadButton = nullptr;
  XPWidgetID saveButton = nullptr;
};

// Indexed by axis, not by row: the builder puts each row's field in the slot of the axis it shows.
struct DataDisplayWidgets {
  XPWidgetID window = nullptr;
  XPWidgetID headFields[6] = {};       // x, y, z, pitch, heading, roll as read back
  XPWidgetID sourceFields[6] = {};     // the raw source pose: x, y, z, pitch, heading, roll
  XPWidgetID forceFields[3] = {};      // g-force offsets x, y, z
  XPWidgetID incrementFields[6] = {};  // current increments: x, y, z, heading, pitch, roll
  // What each field above last showed, as the float's bits plus 1 (0: nothing yet), slot for slot.
  std::uint64_t headShown[6] = {};
  std::uint64_t sourceShown[6] = {};
  std::uint64_t forceShown[3] = {};
  std::uint64_t incrementShown[6] = {};
};

// What the windows set going beyond themselves, connected at plugin start by the host integration: an action
// of the table (a click), and the source state, which the plugin menu follows as well as the source widgets;
// and the status text the host integration chose for the source mode.
struct PanelLinks {
  void (*runAction)(ActionId id) = nullptr;
  void (*refreshSource)() = nullptr;
  const char* sourceNotFoundText = "";  // the status caption for a source not found, by source mode
};

struct Panels {
  PanelLinks links;                  // null until connected: a click then does nothing beyond the window
  ControlPanelWidgets control;       // null handles until built
  EffectsPanelWidgets effects;       // null handles until built
  DataDisplayWidgets data;           // null handles until built
  bool controlPanelCreated = false;  // built (windows are built once)
  bool controlPanelVisible = false;  // shown, as the plugin last set it
  bool effectsPanelCreated = false;  // as the control panel's
  bool effectsPanelVisible = false;
  bool dataDisplayCreated = false;
  bool dataDisplayVisible = false;
  float stepSize = 0;  // metres (degrees / 50 for pitch and heading): the "Size" field as last read
};

// The windows' record, kept in the plugin's state; only this subsystem writes it.
Panels& PanelState();

// Plugin start: where the windows' clicks and source refreshes go.
void ConnectPanels(const PanelLinks& links);
// Through the links: ID runs as a press; the source state and then the source widgets follow the source.
void RequestAction(ActionId id);
void RequestSourceRefresh();

// The widget helpers of both windows. A null widget (a window not built) is never handed to the host: a box
// reads off, a field reads 0, and nothing is shown.
bool BoxOn(XPWidgetID box);  // a check box is on when its button state is nonzero
void SetBox(XPWidgetID box, bool on);
void ShowFloat(XPWidgetID field, float value);  // "%f"
// The number in a field, reading at most 255 characters of it; 0 when it is none.
float FieldNumber(XPWidgetID field);

// Panel-held values, read at the moment they are needed.
bool TrackerAxisEnabled(int axis);  // x, y, z, pitch, heading, roll
float TrackerTranslationMultiplier();
bool ContinuousMode();
bool LimitsEnableBox();
bool ForceEffectsBox();

// Displays the engine keeps current (all formatted with "%f" / "%d" into fixed buffers).
void ShowPresetBoxesFirstOnly();
// The eight preset boxes follow the stored flags of the slots.
void ShowPresetBoxes();
void ShowPresetNumber(int number);
void ShowChangeIndicators(bool presetsChanged, bool limitsChanged);
void ShowPilotOffsets(const HeadPose& pose);
void ShowSourcePose(const HeadPose& raw);
// The user typed into FIELD: if it is one the engine keeps current, the next refresh shows its value again.
void ForgetShownText(XPWidgetID field);
void ShowDataDisplay(const HeadPose& head, const float (&forces)[3], const float (&increments)[6]);
void SetForceEffectsBoxes(bool on);  // the control panel's and the effects panel's boxes

// Preset 1 := the simulator's current head pose, selected and applied, and the preset boxes and number show
// it alone.
void ResetPresetsToCurrentView();
// Every preset emptied and its box cleared, then preset 1 made as ResetPresetsToCurrentView makes it.
void ClearPresets();
// Read the aircraft's file and bring the panels, the selected preset and the view up to date.
void LoadPresets();
void LoadLimits();
void LoadEffects();

// Makes a stored preset (0..7) the live view, writes it without bounds and shows its limits on the control
// panel; an index out of range does nothing.
void SelectPreset(int preset);

// The limits "Enable" box and the six limit fields show the bounds of a slot (0..7).
void ShowPresetLimits(int preset);
// The six bounds of a slot := 0 (its enabled flag stays), then shown.
void ClearPresetLimits(int preset);
// ClearPresetLimits for every slot; the fields end up showing slot 8. Does not mark the limits changed.
void ClearAllLimits();
// The source widgets of the control panel follow the source state (the state itself follows it in
// FollowSourceState; RefreshSource does both).
void RefreshSourceWidgets();
// A window built once and then only shown and hidden: its flags here, the handle BUILD keeps, and BUILD,
// which makes it shown. A window that exists already is left as it is.
struct BuiltWindow {
  bool& created;
  bool& visible;
  const XPWidgetID& window;
  void (*build)();
};
// Shows the window, building it on first use.
void OpenWindow(const BuiltWindow& window);
// Opens a hidden window, hides a shown one.
void ToggleWindow(const BuiltWindow& window);
void BuildWindowHidden(const BuiltWindow& window);
// The close box hides a built window; 1, as the message was the window's own.
int CloseWindow(const BuiltWindow& window);
// Hides the three windows and clears their visible flags; nothing is destroyed.
void HideAllWindows();
// Destroys the windows that were built and clears their flags (plugin stop).
void DestroyBuiltWindows();

// The control panel's source widgets, one by one, for the tracker switches.
inline constexpr char kTrackerNotFoundText[] = "TrackIR not found or it is disabled";
inline constexpr char kExternalFoundText[] = "External Data found";
inline constexpr char kExternalNotFoundText[] = "External Data not found or disabled";
void ShowTrackerAxisBoxes(bool shown);
void ShowMultiplier(bool shown);  // its caption and its field
// A null text leaves the caption's text as it is.
void ShowSourceStatus(bool shown, const char* text = nullptr);

}  // namespace talvenor
