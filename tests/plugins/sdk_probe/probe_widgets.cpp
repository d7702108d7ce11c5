// The probe window: a main window with a close box, a push button, a check box, a text field and a caption
// that tells what the callbacks saw. The window's callback serves its children (the messages come up the
// chain); the check box has a callback of its own that looks and passes the message on.
#include <cstdio>
#include <cstring>

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "probe.h"

namespace probe {
namespace {

void SetCaption(const char* label, int value) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %d", label, value);
  XPSetWidgetDescriptor(State().caption, text);
}

void TextChanged() {
  Probe& p = State();
  ++p.textChanges;
  p.textLength = XPGetWidgetDescriptor(p.textField, nullptr, 0);
  // A buffer the text does not fit: the host copies as strncpy does, so it may leave it unterminated, but it
  // must never write past it.
  char small[9];
  std::memset(small, '#', sizeof small);
  XPGetWidgetDescriptor(p.textField, small, 8);
  p.textSmallTerminated = std::memchr(small, '\0', 8) != nullptr ? 1 : 0;
  p.textOverrun = small[8] != '#' ? 1 : 0;

  char text[200] = {};
  XPGetWidgetDescriptor(p.textField, text, sizeof text - 1);
  char shown[256];
  std::snprintf(shown, sizeof shown, "typed: %s", text);
  XPSetWidgetDescriptor(p.caption, shown);
}

int WindowCallback(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2) {
  Probe& p = State();
  const auto source = reinterpret_cast<XPWidgetID>(param1);
  switch (message) {
    case xpMessage_CloseButtonPushed:
      if (widget != p.window) return 0;
      ++p.closePushes;
      XPHideWidget(p.window);
      return 1;
    case xpMsg_PushButtonPressed:
      if (source != p.button) return 0;
      SetCaption("pressed", ++p.buttonPresses);
      return 1;
    case xpMsg_ButtonStateChanged:
      if (source != p.checkBox) return 0;
      p.checkBoxState = static_cast<int>(param2);
      SetCaption("checked", p.checkBoxState);
      return 1;
    case xpMsg_TextFieldChanged:
      if (source != p.textField) return 0;
      TextChanged();
      return 1;
    default:
      return 0;
  }
}

int CheckBoxCallback(XPWidgetMessage message, XPWidgetID widget, intptr_t, intptr_t) {
  Probe& p = State();
  if (message == xpMsg_ButtonStateChanged) {
    ++p.checkBoxOwnCalls;
    p.checkBoxProperty = static_cast<int>(XPGetWidgetProperty(widget, xpProperty_ButtonState, nullptr));
  }
  return 0;  // the window's callback handles it
}

XPWidgetID Child(int left, int top, int right, int bottom, const char* text, XPWidgetClass widgetClass) {
  return XPCreateWidget(left, top, right, bottom, 1, text, 0, State().window, widgetClass);
}

void Build() {
  Probe& p = State();
  p.window = XPCreateWidget(100, 600, 400, 400, 1, kName, 1, nullptr, xpWidgetClass_MainWindow);
  XPSetWidgetProperty(p.window, xpProperty_MainWindowHasCloseBoxes, 1);

  p.button = Child(110, 570, 210, 550, "Press Me", xpWidgetClass_Button);
  XPSetWidgetProperty(p.button, xpProperty_ButtonType, xpPushButton);
  XPSetWidgetProperty(p.button, xpProperty_ButtonBehavior, xpButtonBehaviorPushButton);

  p.checkBox = Child(110, 540, 210, 520, "Check Me", xpWidgetClass_Button);
  XPSetWidgetProperty(p.checkBox, xpProperty_ButtonType, xpRadioButton);
  XPSetWidgetProperty(p.checkBox, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
  XPSetWidgetProperty(p.checkBox, xpProperty_ButtonState, 0);

  p.textField = Child(110, 510, 290, 490, "", xpWidgetClass_TextField);
  XPSetWidgetProperty(p.textField, xpProperty_TextFieldType, xpTextEntryField);

  p.caption = Child(110, 480, 390, 460, "idle", xpWidgetClass_Caption);

  XPAddWidgetCallback(p.window, WindowCallback);
  XPAddWidgetCallback(p.checkBox, CheckBoxCallback);

  Checks& c = p.checks;
  int exists = -1;
  c.missingPropertyValue = static_cast<int>(XPGetWidgetProperty(p.button, xpProperty_UserStart + 1, &exists));
  c.missingPropertyExists = exists;
  XPSetWidgetProperty(p.button, xpProperty_UserStart, 77);
  exists = -1;
  c.setPropertyValue = static_cast<int>(XPGetWidgetProperty(p.button, xpProperty_UserStart, &exists));
  c.setPropertyExists = exists;
}

}  // namespace

void RefreshVisibility() {
  Probe& p = State();
  p.windowVisible = XPIsWidgetVisible(p.window);
  p.buttonVisible = XPIsWidgetVisible(p.button);
}

void ToggleWindow() {
  Probe& p = State();
  if (p.window == nullptr) {
    Build();
  } else if (XPIsWidgetVisible(p.window) != 0) {
    XPHideWidget(p.window);
  } else {
    XPShowWidget(p.window);
  }
}

void DestroyWindow() {
  Probe& p = State();
  if (p.window == nullptr) return;
  XPDestroyWidget(p.window, 1);
  // Calls on destroyed widgets and on null must be ignored and read as nothing.
  Checks& c = p.checks;
  XPSetWidgetDescriptor(p.caption, "gone");
  c.destroyedDescriptorLength = XPGetWidgetDescriptor(p.caption, nullptr, 0);
  XPShowWidget(p.button);
  c.destroyedVisible = XPIsWidgetVisible(p.button);
  int exists = -1;
  XPGetWidgetProperty(p.button, xpProperty_UserStart, &exists);
  c.destroyedPropertyExists = exists;
  XPShowWidget(nullptr);
  c.nullVisible = XPIsWidgetVisible(nullptr);
  p.window = p.button = p.checkBox = p.textField = p.caption = nullptr;
}

void StopWidgets() {
  Probe& p = State();
  if (p.window != nullptr) XPDestroyWidget(p.window, 1);
  p.window = p.button = p.checkBox = p.textField = p.caption = nullptr;
}

}  // namespace probe
