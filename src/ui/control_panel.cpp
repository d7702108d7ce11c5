#include "ui/control_panel.h"

#include <cstring>

#include "config/identity.h"
#include "config/setup_file.h"
#include "ui/panels.h"
#include "ui/widget_builder.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

constexpr int kControlPanelLeft = 10;
constexpr int kControlPanelTop = 550;
constexpr int kControlPanelWidth = 430;
constexpr int kControlPanelHeight = 320;

// A push button of the panel and what a click on it does.
struct PanelControl {
  PanelButton id;
  const char* caption;
  Place place;
  ActionId action = kActionCount;  // kActionCount: left out
  bool setsEnabled = false;        // the two roll pads carry xpProperty_Enabled
};

constexpr PanelControl kPanelControls[kPanelButtons] = {
    {kButtonPad1, " Z", {50, 72, 40, 62}, kActZIn},
    {kButtonPad1 + 1, " X", {20, 42, 70, 92}, kActXLeft},
    {kButtonPad1 + 2, " ", {50, 72, 70, 92}, kActStopMotion},
    {kButtonPad1 + 3, " X", {80, 102, 70, 92}, kActXRight},
    {kButtonPad1 + 4, " Hdg", {20, 42, 100, 122}, kActHeadingLeft},
    {kButtonPad1 + 5, " Z", {50, 72, 100, 122}, kActZOut},
    {kButtonPad1 + 6, " Hdg", {80, 102, 100, 122}, kActHeadingRight},
    {kButtonPad1 + 7, " Y", {120, 142, 40, 62}, kActYUp},
    {kButtonPad1 + 8, " Ptc", {180, 202, 40, 62}, kActPitchUp},
    {kButtonPad1 + 9, " Rll", {120, 142, 70, 92}, kActRollLeft, true},
    {kButtonPad1 + 10, " ", {150, 172, 70, 92}, kActStopMotion},
    {kButtonPad1 + 11, " Rll", {180, 202, 70, 92}, kActRollRight, true},
    {kButtonPad1 + 12, " Y", {120, 142, 100, 122}, kActYDown},
    {kButtonPad1 + 13, " Ptc", {180, 202, 100, 122}, kActPitchDown},
    {kButtonPresetLoad, "Load", {105, 150, 160, 182}, kActLoadPresets},
    {kButtonPresetSave, "Save", {155, 200, 160, 182}, kActSavePresets},
    {kButtonPresetClear, "Clear", {205, 250, 160, 182}, kActClearPresets},
    {kButtonClearRoll, " Clr Roll", {255, 300, 160, 182}, kActClearRoll},
    {kButtonPreset1, "1", {20, 42, 190, 212}, kActPanelPreset1},
    {kButtonPreset1 + 1, "2", {70, 92, 190, 212}, kActPanelPreset1 + 1},
    {kButtonPreset1 + 2, "3", {120, 142, 190, 212}, kActPanelPreset1 + 2},
    {kButtonPreset1 + 3, "4", {170, 192, 190, 212}, kActPanelPreset1 + 3},
    {kButtonPreset1 + 4, "5", {220, 242, 190, 212}, kActPanelPreset1 + 4},
    {kButtonPreset1 + 5, "6", {270, 292, 190, 212}, kActPanelPreset1 + 5},
    {kButtonPreset1 + 6, "7", {320, 342, 190, 212}, kActPanelPreset1 + 6},
    {kButtonPreset1 + 7, "8", {370, 392, 190, 212}, kActPanelPreset1 + 7},
    {kButtonLimitsLoad, "Load", {20, 60, 250, 272}, kActLoadLimits},
    {kButtonLimitsSave, "Save", {70, 110, 250, 272}, kActSaveLimits},
    {kButtonLimitsClear, "Clear", {120, 170, 250, 272}, kActClearLimitsEdited},
    // A capture button's field starts 30 pixels right of it and is 50 wide; the action names its bound.
    {kButtonCapture1, "Y2", {220, 242, 250, 272}, kActCaptureX1 + 3},
    {kButtonCapture1 + 1, "Z1", {320, 342, 250, 272}, kActCaptureX1 + 4},
    {kButtonCapture1 + 2, "X1", {20, 42, 280, 302}, kActCaptureX1},
    {kButtonCapture1 + 3, "X2", {120, 142, 280, 302}, kActCaptureX1 + 1},
    {kButtonCapture1 + 4, "Y1", {220, 242, 280, 302}, kActCaptureX1 + 2},
    {kButtonCapture1 + 5, "Z2", {320, 342, 280, 302}, kActCaptureX1 + 5},
};
static_assert(RowsInPlace(kPanelControls));
static_assert(EveryRow(kPanelControls, [](const PanelControl& row) {
  const bool capture = row.id >= kButtonCapture1;
  return Named(row.caption) && row.action < kActionCount &&
         capture == (kActions[row.action].does == Does::kCaptureBound);
}));

// The pitch and heading pads move 50 times as far as the others for the same step.
double PadFactor(HeadAxis axis) {
  return axis == kAxisPitch || axis == kAxisHeading ? 50.0 : 1.0;
}

// One row of the "Pilot Offsets" area: a tracked-axis box, its letter and the field showing the offset.
struct AxisRow {
  const char* letter;
  int column;  // 0 left, 100 right: the right column lies 100 pixels further on
  int dt;
};
constexpr AxisRow kAxisRows[6] = {{"X", 0, 55},   {"Y", 0, 80},   {"Z", 0, 105},
                                  {"P", 100, 55}, {"H", 100, 80}, {"R", 100, 105}};

// "Talvenor v1.70": the product name, one blank and the version text.
void ComposeWindowCaption(char (&caption)[64]) {
  const std::size_t name = std::strlen(kPluginName);
  const std::size_t version = std::strlen(kPluginVersion);
  static_assert(sizeof kPluginName + sizeof kPluginVersion <= sizeof caption);
  std::memcpy(caption, kPluginName, name);
  caption[name] = ' ';
  std::memcpy(caption + name + 1, kPluginVersion, version + 1);
}

// Makes the buttons FIRST..FIRST+COUNT-1 of the table.
void BuildButtons(const WidgetBuilder& build, ControlPanelWidgets& control, PanelButton first, int count) {
  for (int index = first; index < first + count; ++index) {
    const PanelControl& row = kPanelControls[index];
    control.buttons[index] = build.PushButton(row.place, row.caption);
    if (row.setsEnabled) XPSetWidgetProperty(control.buttons[index], xpProperty_Enabled, 1);
  }
}

void BuildOffsetsAndSource(const WidgetBuilder& build, ControlPanelWidgets& control) {
  const SetupSettings& setup = Settings();
  build.Caption({220, 280, 30, 52}, "Pilot Offsets");
  control.forceEffectsBox = build.CheckBox({320, 342, 30, 52}, false);
  build.Caption({343, 403, 30, 52}, "Force Effects");

  const std::int32_t axisOn[6] = {setup.trackIrEnableXAxis,       setup.trackIrEnableYAxis,
                                  setup.trackIrEnableZAxis,       setup.trackIrEnablePitchAxis,
                                  setup.trackIrEnableHeadingAxis, setup.trackIrEnableRollAxis};
  for (int axis = 0; axis < 6; ++axis) {
    const AxisRow& row = kAxisRows[axis];
    const int c = row.column;
    const int dt = row.dt;
    control.axisBoxes[axis] = build.CheckBox({220 + c, 242 + c, dt, dt + 22}, axisOn[axis] != 0);
    build.Caption({240 + c, 260 + c, dt, dt + 22}, row.letter);
    control.pilotOffsetFields[axis] = build.EntryField({260 + c, 310 + c, dt, dt + 22}, "");
  }

  control.multiplierCaption = build.Caption({220, 350, 130, 152}, "TrackIR X/Y/Z Multiplier");
  control.multiplierField = build.EntryField({360, 410, 130, 152}, "0.0001");
  control.statusCaption = build.Caption({220, 390, 130, 152}, PanelState().links.sourceNotFoundText);
  control.continuousBox = build.CheckBox({20, 42, 130, 152}, false);
  build.Caption({43, 83, 130, 152}, "Cont/Step");
  build.Caption({120, 150, 130, 152}, "Size");
  control.sizeField = build.TextField({160, 200, 130, 152}, "0.01");
}

void BuildPresetRows(const WidgetBuilder& build, ControlPanelWidgets& control) {
  build.Caption({15, 50, 160, 182}, "Preset No.");
  control.presetNumberField = build.TextField({70, 95, 160, 182}, "0");
  BuildButtons(build, control, kButtonPresetLoad, 4);
  control.presetsIndicator = build.Caption({305, 405, 160, 182}, "PRESETS CHANGED");

  const ViewState& view = View();
  for (int preset = 0; preset < kPresetSlots; ++preset) {
    const int offset = 50 * preset;
    BuildButtons(build, control, kButtonPreset1 + preset, 1);
    control.presetBoxes[preset] = build.CheckBox({43 + offset, 65 + offset, 190, 212},
                                                 view.presets[static_cast<std::size_t>(preset)].stored != 0);
  }
}

void BuildLimitsRows(const WidgetBuilder& build, ControlPanelWidgets& control) {
  build.Caption({20, 120, 220, 242}, "Talvenor Limits");
  control.limitsEnableBox = build.CheckBox({120, 142, 220, 242}, false);
  build.Caption({143, 200, 220, 242}, "Enable");
  control.limitsIndicator = build.Caption({215, 315, 220, 242}, "LIMITS CHANGED");
  BuildButtons(build, control, kButtonLimitsLoad, 3);
  for (int pair = 0; pair < 6; ++pair) {
    BuildButtons(build, control, kButtonCapture1 + pair, 1);
    const PanelControl& row = kPanelControls[kButtonCapture1 + pair];
    const Place& at = row.place;
    control.limitFields[row.action - kActCaptureX1] =
        build.TextField({at.dl + 30, at.dl + 80, at.dt, at.db}, "0");
  }
}

void Nudge(const Action& action, float step) {
  const double amount = static_cast<double>(action.sign) * PadFactor(action.axis) * static_cast<double>(step);
  NudgeAxis(action.axis, amount, ContinuousMode());
  ApplyView(SelectedLimitsFlag());
}

void PresetBoxChanged(int preset) {
  XPWidgetID box = PanelState().control.presetBoxes[preset];
  if (BoxOn(box)) {
    SetBox(box, false);
  } else if (View().presets[static_cast<std::size_t>(preset)].stored == 0) {
    StorePresetSlot(preset);
    SetBox(box, true);
  }
}

void ButtonStateChanged(XPWidgetID widget) {
  if (widget == nullptr) return;
  Panels& panels = PanelState();
  const ControlPanelWidgets& control = panels.control;
  for (int preset = 0; preset < kPresetSlots; ++preset) {
    if (widget == control.presetBoxes[preset]) PresetBoxChanged(preset);
  }
  if (widget == control.forceEffectsBox) {
    const bool on = BoxOn(control.forceEffectsBox);
    SetEffectsOn(on);
    SetBox(panels.effects.effectsOnBox, on);
  }
  if (widget == control.limitsEnableBox) {
    SetSelectedLimitsEnabled(BoxOn(control.limitsEnableBox));
  }
}

// True when the button is one of this panel's.
bool PushButtonPressed(XPWidgetID button, float step) {
  if (button == nullptr) return false;
  for (const PanelControl& row : kPanelControls) {
    if (button != PanelState().control.buttons[row.id]) continue;
    const Action& action = kActions[row.action];
    if (action.does == Does::kMoveAxis) {
      Nudge(action, step);
    } else {
      RequestAction(row.action);
    }
    return true;
  }
  return false;
}

void BuildControlPanel() {
  ControlPanelWidgets& control = PanelState().control;
  if (control.window != nullptr) return;

  char caption[64];
  ComposeWindowCaption(caption);
  const WidgetBuilder build(kControlPanelLeft, kControlPanelTop, kControlPanelWidth, kControlPanelHeight,
                            caption);
  control.window = build.Window();
  BuildButtons(build, control, kButtonPad1, kNudgePads);
  BuildOffsetsAndSource(build, control);
  RequestSourceRefresh();
  BuildPresetRows(build, control);
  BuildLimitsRows(build, control);
  XPAddWidgetCallback(control.window, &ControlPanelHandler);
}

BuiltWindow ControlWindow() {
  Panels& panels = PanelState();
  return {panels.controlPanelCreated, panels.controlPanelVisible, panels.control.window, &BuildControlPanel};
}

}  // namespace

int ControlPanelHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t) {
  Panels& panels = PanelState();
  panels.stepSize = FieldNumber(panels.control.sizeField);
  switch (message) {
    case xpMessage_CloseButtonPushed:
      return CloseWindow(ControlWindow());
    case xpMsg_ButtonStateChanged:
      ButtonStateChanged(reinterpret_cast<XPWidgetID>(param1));
      return 1;
    case xpMsg_PushButtonPressed:
      return PushButtonPressed(reinterpret_cast<XPWidgetID>(param1), panels.stepSize) ? 1 : 0;
    case xpMsg_TextFieldChanged:
      ForgetShownText(reinterpret_cast<XPWidgetID>(param1));
      return 0;
    default:
      return 0;
  }
}

void PresetButtonPressed(int preset) {
  const ControlPanelWidgets& control = PanelState().control;
  SetBox(control.continuousBox, false);
  if (BoxOn(control.presetBoxes[preset])) {
    SelectPreset(preset);
  } else {
    StorePresetSlot(preset);
    SetBox(control.presetBoxes[preset], true);
    ClearPresetLimits(preset);
  }
  ShowPresetNumber(preset + 1);
}

void CaptureLimit(int index) {
  ShowFloat(PanelState().control.limitFields[index], CaptureBound(index));
}

void BuildControlPanelHidden() {
  BuildWindowHidden(ControlWindow());
}

void OpenControlPanel() {
  OpenWindow(ControlWindow());
}

void ToggleControlPanel() {
  // A panel shown again first has its source widgets follow the source.
  const Panels& panels = PanelState();
  if (!panels.controlPanelVisible && panels.controlPanelCreated) RequestSourceRefresh();
  ToggleWindow(ControlWindow());
}

void ToggleForceEffects() {
  SetEffectsOn(View().effects.effectsOn == 0);
  SetForceEffectsBoxes(View().effects.effectsOn != 0);
}

void TogglePresetLimits() {
  SetSelectedLimitsEnabled(SelectedLimitsFlag() == 0);
  SetBox(PanelState().control.limitsEnableBox, SelectedLimitsFlag() != 0);
}

}  // namespace talvenor
