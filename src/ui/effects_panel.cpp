#include "ui/effects_panel.h"

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "config/number_text.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

// A widget's place as offsets from the window's left and top edges: left+dl .. left+dr, top-dt .. top-db.
struct Place {
  int dl, dr, dt, db;
};

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

class Builder {
 public:
  Builder(int left, int top, XPWidgetID window) : left_(left), top_(top), window_(window) {}

  XPWidgetID Make(const Place& at, const char* text, XPWidgetClass widgetClass) const {
    return XPCreateWidget(left_ + at.dl, top_ - at.dt, left_ + at.dr, top_ - at.db, 1, text, 0, window_,
                          widgetClass);
  }
  XPWidgetID PushButton(const Place& at, const char* caption) const {
    XPWidgetID button = Make(at, caption, xpWidgetClass_Button);
    XPSetWidgetProperty(button, xpProperty_ButtonType, xpPushButton);
    return button;
  }
  XPWidgetID CheckBox(const Place& at) const {
    XPWidgetID box = Make(at, "", xpWidgetClass_Button);
    XPSetWidgetProperty(box, xpProperty_ButtonType, xpRadioButton);
    XPSetWidgetProperty(box, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
    XPSetWidgetProperty(box, xpProperty_ButtonState, 0);
    return box;
  }

 private:
  int left_, top_;
  XPWidgetID window_;
};

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

}  // namespace

void BuildEffectsPanel(int left, int top, int width, int height) {
  EffectsPanelWidgets& effects = PanelState().effects;
  if (effects.window != nullptr) return;

  effects.window = XPCreateWidget(left, top, left + width, top - height, 1, "Talvenor Effects", 1, nullptr,
                                  xpWidgetClass_MainWindow);
  XPSetWidgetProperty(effects.window, xpProperty_MainWindowHasCloseBoxes, 1);
  // A sibling drawn behind the controls, not their container.
  XPWidgetID back = XPCreateWidget(left + 10, top - 30, left + width - 10, top - height + 10, 1, "", 0,
                                   effects.window, xpWidgetClass_SubWindow);
  XPSetWidgetProperty(back, xpProperty_SubWindowType, xpSubWindowStyle_SubWindow);

  const Builder build(left, top, effects.window);
  for (int row = 0; row < 6; ++row) {
    const ValueRow& entry = kValueRows[row];
    build.Make(entry.captionPlace, entry.caption, xpWidgetClass_Caption);
    effects.valueFields[row] = build.Make(entry.fieldPlace, entry.text, xpWidgetClass_TextField);
  }
  effects.applyButton = build.PushButton({20, 70, 130, 152}, " Apply");
  effects.loadButton = build.PushButton({80, 130, 130, 152}, " Load");
  effects.saveButton = build.PushButton({140, 190, 130, 152}, " Save");
  effects.effectsOnBox = build.CheckBox({200, 222, 130, 152});
  build.Make({223, 283, 130, 152}, " Effects On", xpWidgetClass_Caption);
  build.Make({20, 260, 150, 172}, " Use the Apply button to try out different effects",
             xpWidgetClass_Caption);
  build.Make({20, 260, 160, 182}, " Remember to press the Save button to store them", xpWidgetClass_Caption);
  XPAddWidgetCallback(effects.window, &EffectsPanelHandler);
}

int EffectsPanelHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t) {
  Panels& panels = PanelState();
  switch (message) {
    case xpMessage_CloseButtonPushed:
      if (panels.effectsPanelCreated) {
        XPHideWidget(panels.effects.window);
        panels.effectsPanelVisible = false;
      }
      return 1;
    case xpMsg_ButtonStateChanged: {
      const auto widget = reinterpret_cast<XPWidgetID>(param1);
      if (widget != nullptr && widget == panels.effects.effectsOnBox) EffectsBoxChanged();
      return 1;
    }
    case xpMsg_PushButtonPressed:
      return PushButtonPressed(reinterpret_cast<XPWidgetID>(param1)) ? 1 : 0;
    default:
      return 0;
  }
}

void BuildEffectsPanelHidden() {
  Panels& panels = PanelState();
  if (panels.effectsPanelCreated) return;
  BuildEffectsPanel(kEffectsPanelLeft, kEffectsPanelTop, kEffectsPanelWidth, kEffectsPanelHeight);
  panels.effectsPanelCreated = true;
  XPHideWidget(panels.effects.window);
  panels.effectsPanelVisible = false;
}

void OpenEffectsPanel() {
  Panels& panels = PanelState();
  ShowBuiltOnce(panels.effectsPanelCreated, panels.effects.window, [] {
    BuildEffectsPanel(kEffectsPanelLeft, kEffectsPanelTop, kEffectsPanelWidth, kEffectsPanelHeight);
  });
  panels.effectsPanelVisible = true;
}

void ToggleEffectsPanel() {
  Panels& panels = PanelState();
  panels.effectsPanelVisible = !panels.effectsPanelVisible;
  if (panels.effectsPanelVisible) {
    ShowBuiltOnce(panels.effectsPanelCreated, panels.effects.window, [] {
      BuildEffectsPanel(kEffectsPanelLeft, kEffectsPanelTop, kEffectsPanelWidth, kEffectsPanelHeight);
    });
    return;
  }
  if (panels.effectsPanelCreated) XPHideWidget(panels.effects.window);
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
