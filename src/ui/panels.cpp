#include "ui/panels.h"

#include <cstdint>
#include <cstring>

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "config/aircraft_files.h"
#include "config/log.h"
#include "config/number_text.h"
#include "config/setup_file.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

// Every number shown passes through one buffer of this size on the caller's stack.
constexpr int kTextBuffer = 80;

void SetText(XPWidgetID widget, const char* text) {
  if (widget != nullptr) XPSetWidgetDescriptor(widget, text);
}

// The fields refreshed every frame are formatted only when their value changed; comparing bits rather than
// values keeps -0 and NaN showing exactly what they showed before. The key is kept after the text is set, so
// a change message that setting it may bring cannot leave a stale key behind.
void ShowChangedFloat(XPWidgetID field, float value, std::uint64_t& shown) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const std::uint64_t key = std::uint64_t{bits} + 1;
  if (field == nullptr || key == shown) return;
  ShowFloat(field, value);
  shown = key;
}

// A caption that shows TEXT or nothing, set only when that changes.
void ShowIndicator(XPWidgetID caption, bool on, const char* text, std::uint8_t& shown) {
  const std::uint8_t state = on ? 2 : 1;
  if (caption == nullptr || state == shown) return;
  SetText(caption, on ? text : "");
  shown = state;
}

template <std::size_t N>
void Forget(XPWidgetID const (&fields)[N], std::uint64_t (&shown)[N], const void* field) {
  for (std::size_t i = 0; i < N; ++i) {
    if (fields[i] == field) shown[i] = 0;
  }
}

void ShowChangedPose(XPWidgetID const (&fields)[6], std::uint64_t (&shown)[6], const HeadPose& pose) {
  const float values[6] = {pose.x, pose.y, pose.z, pose.pitch, pose.heading, pose.roll};
  for (int axis = 0; axis < 6; ++axis) ShowChangedFloat(fields[axis], values[axis], shown[axis]);
}

void SetShown(XPWidgetID widget, bool shown) {
  if (widget == nullptr) return;
  if (shown) {
    XPShowWidget(widget);
  } else {
    XPHideWidget(widget);
  }
}

// The window's own handler still hears xpMsg_Destroy once its children are gone, so every handle of the
// window is forgotten before it is destroyed: the handler then finds none to touch.
template <typename WindowWidgets>
void DestroyWindow(WindowWidgets& widgets, bool& created, bool& visible) {
  if (!created) return;
  const XPWidgetID window = widgets.window;
  widgets = WindowWidgets{};
  created = false;
  visible = false;
  XPDestroyWidget(window, 1);
}

// The status as the external source's switch says.
void ShowExternalStatus() {
  ControlPanelWidgets& control = PanelState().control;
  const bool available = View().sourceAvailable != 0;
  SetShown(control.multiplierField, false);
  SetText(control.statusCaption, available ? kExternalFoundText : kExternalNotFoundText);
  SetShown(control.statusCaption, true);
}

// The effects panel's six value fields show the scalers and ground scalers.
void ShowEffectsSettings(const EffectsSettings& effects) {
  const std::int32_t values[6] = {effects.scalerX,       effects.scalerY,       effects.scalerZ,
                                  effects.groundScalerX, effects.groundScalerY, effects.groundScalerZ};
  const EffectsPanelWidgets& panel = PanelState().effects;
  for (int field = 0; field < 6; ++field) {
    char text[kTextBuffer];
    FormatInt(text, values[field]);
    SetText(panel.valueFields[field], text);
  }
}

}  // namespace

// A window that has not been built has null handles: its widgets are skipped, never handed to the host.
bool BoxOn(XPWidgetID box) {
  return box != nullptr && XPGetWidgetProperty(box, xpProperty_ButtonState, nullptr) != 0;
}

void SetBox(XPWidgetID box, bool on) {
  if (box != nullptr) XPSetWidgetProperty(box, xpProperty_ButtonState, on ? 1 : 0);
}

void ShowFloat(XPWidgetID field, float value) {
  if (field == nullptr) return;  // a window not built: formatting would be wasted every frame
  char text[kTextBuffer];
  FormatFloat(text, value);
  XPSetWidgetDescriptor(field, text);
}

namespace {

// At most LENGTH characters of the field's text, terminated. The host copies like strncpy: a text that fills
// the buffer arrives unterminated.
void FieldText(XPWidgetID field, char* text, int length) {
  text[0] = '\0';
  XPGetWidgetDescriptor(field, text, length);
  text[length] = '\0';
}

}  // namespace

float FieldNumber(XPWidgetID field) {
  if (field == nullptr) return 0.0f;
  constexpr int kFieldTextLimit = 255;
  char text[kFieldTextLimit + 1];
  FieldText(field, text, kFieldTextLimit);
  return TextToFloat(text);  // not a finite float: 0
}

bool TrackerAxisEnabled(int axis) {
  if (axis < 0 || axis >= 6) return false;
  return BoxOn(PanelState().control.axisBoxes[axis]);
}

// Read every frame, but converted only when its text differs from the one converted last.
float TrackerTranslationMultiplier() {
  ControlPanelWidgets& control = PanelState().control;
  if (control.multiplierField == nullptr) return 0.0f;
  char text[kMultiplierTextLength + 1];
  FieldText(control.multiplierField, text, kMultiplierTextLength);
  if (control.multiplierRead && std::strcmp(text, control.multiplierText) == 0)
    return control.multiplierValue;
  std::memcpy(control.multiplierText, text, sizeof text);
  control.multiplierValue = TextToFloat(text);  // not a finite float: 0
  control.multiplierRead = true;
  return control.multiplierValue;
}

bool ContinuousMode() {
  return BoxOn(PanelState().control.continuousBox);
}
bool LimitsEnableBox() {
  return BoxOn(PanelState().control.limitsEnableBox);
}
bool ForceEffectsBox() {
  return BoxOn(PanelState().control.forceEffectsBox);
}

void ShowPresetBoxesFirstOnly() {
  const ControlPanelWidgets& control = PanelState().control;
  for (int slot = 0; slot < kPresetSlots; ++slot) SetBox(control.presetBoxes[slot], slot == 0);
}

void ShowPresetBoxes() {
  const ViewState& view = View();
  const ControlPanelWidgets& control = PanelState().control;
  for (int slot = 0; slot < kPresetSlots; ++slot)
    SetBox(control.presetBoxes[slot], view.presets[slot].stored != 0);
}

void ConnectPanels(const PanelLinks& links) {
  PanelState().links = links;
}

void RequestAction(ActionId id) {
  if (PanelState().links.runAction != nullptr) PanelState().links.runAction(id);
}

void RequestSourceRefresh() {
  if (PanelState().links.refreshSource != nullptr) PanelState().links.refreshSource();
}

void SelectPreset(int preset) {
  if (preset < 0 || preset >= kPresetSlots) return;
  SelectPresetSlot(preset);
  ApplyView(0);
  ShowPresetLimits(preset);
}

void ResetPresetsToCurrentView() {
  ShowPresetBoxesFirstOnly();
  TakeSimHeadAsPresetOne();
  ShowPresetNumber(1);
}

void ClearPresets() {
  ClearTable(kPresetTable);
  ShowPresetBoxes();
  ResetPresetsToCurrentView();
}

void LoadPresets() {
  const ViewState& view = View();
  ClearTable(kPresetTable);
  if (ReadTableFile(kPresetFileName, kPresetTable) == 1) {
    ShowPresetBoxes();
    for (int slot = 0; slot < kPresetSlots; ++slot) {
      if (view.presets[slot].stored == 0) continue;
      SelectPresetSlot(slot);
      ApplyView(view.limits[slot].enabled);
      ShowPresetNumber(slot + 1);
      break;
    }
    LogMessage("Found 'Talvenor.dat' file, will use that\n");
  } else {
    ResetPresetsToCurrentView();
    LogMessage("No 'Talvenor.dat' file found\n");
  }
  SetPresetsChanged(false);
}

void LoadLimits() {
  const ViewState& view = View();
  ClearTable(kLimitsTable);
  if (ReadTableFile(kLimitsFileName, kLimitsTable) == 1) {
    ShowPresetLimits(view.selectedPreset);
    LogMessage("Found 'TalvenorLimits.dat' file, will use that\n");
  } else {
    ClearAllLimits();
    LogMessage("No 'TalvenorLimits.dat' file found\n");
  }
  SetLimitsChanged(false);
}

void LoadEffects() {
  const EffectsSettings& effects = View().effects;
  if (ReadTableFile(kEffectsFileName, kEffectsTable) == 1) {
    SetForceEffectsBoxes(effects.effectsOn != 0);
    ShowEffectsSettings(effects);
    LogMessage("Found 'TalvenorEffects.dat' file, will use that\n");
  } else {
    LogMessage("No 'TalvenorEffects.dat' file found\n");
  }
}

void ShowPresetNumber(int number) {
  char text[kTextBuffer];
  FormatInt(text, number);
  SetText(PanelState().control.presetNumberField, text);
}

void ShowChangeIndicators(bool presetsChanged, bool limitsChanged) {
  ControlPanelWidgets& control = PanelState().control;
  ShowIndicator(control.presetsIndicator, presetsChanged, "PRESETS CHANGED", control.presetsIndicatorShown);
  ShowIndicator(control.limitsIndicator, limitsChanged, "LIMITS CHANGED", control.limitsIndicatorShown);
}

void ShowPilotOffsets(const HeadPose& pose) {
  ControlPanelWidgets& control = PanelState().control;
  ShowChangedPose(control.pilotOffsetFields, control.pilotOffsetShown, pose);
}

void ForgetShownText(XPWidgetID field) {
  if (field == nullptr) return;
  Panels& panels = PanelState();
  Forget(panels.control.pilotOffsetFields, panels.control.pilotOffsetShown, field);
  DataDisplayWidgets& data = panels.data;
  Forget(data.headFields, data.headShown, field);
  Forget(data.sourceFields, data.sourceShown, field);
  Forget(data.forceFields, data.forceShown, field);
  Forget(data.incrementFields, data.incrementShown, field);
}

void ShowSourcePose(const HeadPose& raw) {
  DataDisplayWidgets& data = PanelState().data;
  ShowChangedPose(data.sourceFields, data.sourceShown, raw);
}

void ShowDataDisplay(const HeadPose& head, const float (&forces)[3], const float (&increments)[6]) {
  DataDisplayWidgets& data = PanelState().data;
  ShowChangedPose(data.headFields, data.headShown, head);
  for (int axis = 0; axis < 3; ++axis)
    ShowChangedFloat(data.forceFields[axis], forces[axis], data.forceShown[axis]);
  for (int axis = 0; axis < 6; ++axis) {
    ShowChangedFloat(data.incrementFields[axis], increments[axis], data.incrementShown[axis]);
  }
}

void SetForceEffectsBoxes(bool on) {
  Panels& panels = PanelState();
  SetBox(panels.control.forceEffectsBox, on);
  SetBox(panels.effects.effectsOnBox, on);
}

void ShowPresetLimits(int preset) {
  if (preset < 0 || preset >= kPresetSlots) return;
  const ViewLimits& bounds = View().limits[preset];
  const ControlPanelWidgets& control = PanelState().control;
  SetBox(control.limitsEnableBox, bounds.enabled != 0);
  const float values[6] = {bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax, bounds.zMin, bounds.zMax};
  for (int field = 0; field < 6; ++field) ShowFloat(control.limitFields[field], values[field]);
}

void ClearPresetLimits(int preset) {
  if (preset < 0 || preset >= kPresetSlots) return;
  SetBox(PanelState().control.limitsEnableBox, false);
  ClearSlotBounds(preset);
  ShowPresetLimits(preset);
}

// The fields are written once, for the last slot, as clearing every slot in turn would leave them.
void ClearAllLimits() {
  for (int preset = 0; preset < kPresetSlots; ++preset) ClearSlotBounds(preset);
  ShowPresetLimits(kPresetSlots - 1);
}

void RefreshSourceWidgets() {
  const Panels& panels = PanelState();
  const ViewState& view = View();
  const bool external = Settings().enableExternalData != 0;

  if ((view.pluginEnabled || panels.controlPanelCreated) && view.sourceAvailable != 0) {
    ShowTrackerAxisBoxes(true);
    ShowSourceStatus(false);
    if (!external) {
      ShowMultiplier(true);
      return;
    }
    SetShown(panels.control.multiplierCaption, false);
    ShowExternalStatus();
    return;
  }

  ShowTrackerAxisBoxes(false);
  ShowMultiplier(false);
  if (external) {
    ShowExternalStatus();
    return;
  }
  ShowSourceStatus(true, view.sourceAvailable == 0 ? kTrackerNotFoundText : nullptr);
}

void OpenWindow(const BuiltWindow& window) {
  if (!window.created) {
    window.build();
    window.created = true;
  } else if (XPIsWidgetVisible(window.window) == 0) {
    XPShowWidget(window.window);
  }
  window.visible = true;
}

void ToggleWindow(const BuiltWindow& window) {
  if (window.visible) {
    window.visible = false;
    if (window.created) XPHideWidget(window.window);
  } else {
    OpenWindow(window);
  }
}

void BuildWindowHidden(const BuiltWindow& window) {
  if (window.created) return;
  window.build();
  window.created = true;
  XPHideWidget(window.window);
  window.visible = false;
}

int CloseWindow(const BuiltWindow& window) {
  if (window.created) {
    XPHideWidget(window.window);
    window.visible = false;
  }
  return 1;
}

void HideAllWindows() {
  Panels& panels = PanelState();
  SetShown(panels.control.window, false);
  SetShown(panels.data.window, false);
  SetShown(panels.effects.window, false);
  panels.controlPanelVisible = false;
  panels.dataDisplayVisible = false;
  panels.effectsPanelVisible = false;
}

void DestroyBuiltWindows() {
  Panels& panels = PanelState();
  DestroyWindow(panels.control, panels.controlPanelCreated, panels.controlPanelVisible);
  DestroyWindow(panels.data, panels.dataDisplayCreated, panels.dataDisplayVisible);
  DestroyWindow(panels.effects, panels.effectsPanelCreated, panels.effectsPanelVisible);
}

void ShowTrackerAxisBoxes(bool shown) {
  for (XPWidgetID box : PanelState().control.axisBoxes) SetShown(box, shown);
}

void ShowMultiplier(bool shown) {
  const ControlPanelWidgets& control = PanelState().control;
  SetShown(control.multiplierCaption, shown);
  SetShown(control.multiplierField, shown);
}

void ShowSourceStatus(bool shown, const char* text) {
  XPWidgetID caption = PanelState().control.statusCaption;
  if (text != nullptr) SetText(caption, text);
  SetShown(caption, shown);
}

}  // namespace talvenor
