// The three windows are built the same way: a main window, then its widgets placed from its top-left corner,
// each made when its call comes, so the order of the calls is the order the host sees.
#pragma once

#include "XPStandardWidgets.h"
#include "XPWidgets.h"

namespace talvenor {

// A widget's place as offsets from the window's left and top edges: it spans left+dl .. left+dr and
// top-dt .. top-db (y grows upward).
struct Place {
  int dl, dr, dt, db;
};

class WidgetBuilder {
 public:
  // Makes the main window with its close box, and a sub-window drawn behind the widgets (a sibling of them,
  // not their container).
  WidgetBuilder(int left, int top, int width, int height, const char* caption)
      : left_(left),
        top_(top),
        window_(XPCreateWidget(left, top, left + width, top - height, 1, caption, 1, nullptr,
                               xpWidgetClass_MainWindow)) {
    XPSetWidgetProperty(window_, xpProperty_MainWindowHasCloseBoxes, 1);
    XPWidgetID back = Make({10, width - 10, 30, height - 10}, "", xpWidgetClass_SubWindow);
    XPSetWidgetProperty(back, xpProperty_SubWindowType, xpSubWindowStyle_SubWindow);
  }

  XPWidgetID Window() const { return window_; }
  XPWidgetID Make(const Place& at, const char* text, XPWidgetClass widgetClass) const {
    return XPCreateWidget(left_ + at.dl, top_ - at.dt, left_ + at.dr, top_ - at.db, 1, text, 0, window_,
                          widgetClass);
  }
  XPWidgetID PushButton(const Place& at, const char* caption) const {
    XPWidgetID button = Make(at, caption, xpWidgetClass_Button);
    XPSetWidgetProperty(button, xpProperty_ButtonType, xpPushButton);
    return button;
  }
  XPWidgetID CheckBox(const Place& at, bool state = false) const {
    XPWidgetID box = Make(at, "", xpWidgetClass_Button);
    XPSetWidgetProperty(box, xpProperty_ButtonType, xpRadioButton);
    XPSetWidgetProperty(box, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
    XPSetWidgetProperty(box, xpProperty_ButtonState, state ? 1 : 0);
    return box;
  }
  XPWidgetID Caption(const Place& at, const char* text) const {
    return Make(at, text, xpWidgetClass_Caption);
  }
  // A field whose type stays the class default.
  XPWidgetID TextField(const Place& at, const char* text) const {
    return Make(at, text, xpWidgetClass_TextField);
  }
  XPWidgetID EntryField(const Place& at, const char* text) const {
    XPWidgetID field = TextField(at, text);
    XPSetWidgetProperty(field, xpProperty_TextFieldType, xpTextEntryField);
    return field;
  }

 private:
  int left_, top_;
  XPWidgetID window_;
};

}  // namespace talvenor
