#include "ui/effects_panel.h"

#include "config/number_text.h"
#include "ui/panels.h"
#include "ui/widget_builder.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

constexpr int kEffectsPanelLeft = 130;
constexpr int kEffectsPanelTop = 550;
constexpr int kEffectsPanelWidth = 310;
constexpr int kEffectsPanelHeight = 200;

// One divisor's row: its caption, its field and the field's text before any file is loaded.
struct ValueRow {
  const char* caption;
  Place captionPlace;
  Place fieldPlace;
  const char* text;
};
constexpr ValueRow kValueRows[6] = {
    {" Scaler X", {20, 70, 40, 62}, {80, 150, 40, 62}, "10"},
    {" Scaler Y", {20, 70, 70, 92}, {80, 150, 70, 92}, "100"},
    {" Scaler Z", {20, 70, 100, 122}, {80, 150, 100, 122}, "10"},
    {" Gnd Sc X", {160, 210, 40, 62}, {220, 290, 40, 62}, "5"},
    {" Gnd Sc Y", {160, 210, 70, 92}, {220, 290, 70, 92}, "5"},
    {" Gnd Sc Z", {160, 210, 100, 122}, {220, 290, 100, 122}, "5"},
};

// Up to 79 characters of a field are read.
constexpr int kValueTextLength = 79;

void EffectsBoxChanged() {
  Panels& panels = PanelState();
  const bool on = BoxOn(panels.effects.effectsOnBox);
  SetEffectsOn(on);
  SetBox(panels.control.forceEffectsBox, on);
}

// True when the button is one of this panel's.
bool PushButtonPressed(XPWidgetID button) {
  const EffectsPanelWidgets& effects = PanelState().effects;
  if (button == nullptr) return false;
  if (button == effects.applyButton) {
    ApplyEffectsFields();
  } else if (button == effects.loadButton) {
    RequestAction(kActLoadEffects);
  } else if (button == effects.saveButton) {
    RequestAction(kActSaveEffects);
  } else {
    return false;
  }
  return true;
}

void BuildEffectsPanel() {
  EffectsPanelWidgets& effects = PanelState().effects;
  if (effects.window != nullptr) return;

  const WidgetBuilder build(kEffectsPanelLeft, kEffectsPanelTop, kEffectsPanelWidth, kEffectsPanelHeight,
                            "Talvenor Effects");
  effects.window = build.Window();
  for (int row = 0; row < 6; ++row) {
    const ValueRow& entry = kValueRows[row];
    build.Caption(entry.captionPlace, entry.caption);
    effects.valueFields[row] = build.TextField(entry.fieldPlace, entry.text);
  }
  effects.applyButton = build.PushButton({20, 70, 130, 152}, " Apply");
  effects.loadButton = build.PushButton({80, 130, 130, 152}, " Load");
  effects.saveButton = build.PushButton({140, 190, 130, 152}, " Save");
  effects.effectsOnBox = build.CheckBox({200, 222, 130, 152});
  build.Caption({223, 283, 130, 152}, " Effects On");
  build.Caption({20, 260, 150, 172}, " Use the Apply button to try out different effects");
  build.Caption({20, 260, 160, 182}, " Remember to press the Save button to store them");
  XPAddWidgetCallback(effects.window, &EffectsPanelHandler);
}

BuiltWindow EffectsWindow() {
  Panels& panels = PanelState();
  return {panels.effectsPanelCreated, panels.effectsPanelVisible, panels.effects.window, &BuildEffectsPanel};
}

}  // namespace

int EffectsPanelHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t) {
  switch (message) {
    case xpMessage_CloseButtonPushed:
      return CloseWindow(EffectsWindow());
    case xpMsg_ButtonStateChanged: {
      const auto widget = reinterpret_cast<XPWidgetID>(param1);
      if (widget != nullptr && widget == PanelState().effects.effectsOnBox) EffectsBoxChanged();
      return 1;
    }
    case xpMsg_PushButtonPressed:
      return PushButtonPressed(reinterpret_cast<XPWidgetID>(param1)) ? 1 : 0;
    default:
      return 0;
  }
}

void BuildEffectsPanelHidden() {
  BuildWindowHidden(EffectsWindow());
}

void OpenEffectsPanel() {
  OpenWindow(EffectsWindow());
}

void ToggleEffectsPanel() {
  ToggleWindow(EffectsWindow());
}

void ApplyEffectsFields() {
  const EffectsPanelWidgets& effects = PanelState().effects;
  // Without the panel its fields would all read 0 and overwrite the record with ones.
  if (effects.window == nullptr) return;
  for (int field = 0; field < 6; ++field) {
    // The host copies like strncpy: a text that fills the buffer arrives unterminated.
    char text[kValueTextLength + 1] = {};
    XPGetWidgetDescriptor(effects.valueFields[field], text, kValueTextLength);
    text[kValueTextLength] = '\0';
    std::int32_t value = TextToIntClamped(text);
    if (value == 0) {
      value = 1;
      XPSetWidgetDescriptor(effects.valueFields[field], "1");
    }
    SetEffectsScaler(field, value);
  }
}

}  // namespace talvenor
