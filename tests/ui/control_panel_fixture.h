// The control panel as the user meets it: found by its window caption, its widgets by caption or place,
// worked through the host's clicks, typing and close box.
#pragma once

#include <string>

#include "view/view_fixture.h"

namespace talvenor::testing {

class ControlPanelTest : public ViewTest {
 protected:
  XPWidgetID Window() { return host().widgets().findWindow(kControlPanelCaption); }
  // The K-th widget of the panel with that caption, in creation order.
  XPWidgetID Named(const std::string& caption, int k = 1) {
    XPWidgetID widget = host().widgets().findByCaption(Window(), caption, k);
    EXPECT_NE(widget, nullptr) << '"' << caption << "\"#" << k;
    return widget;
  }
  // The widget whose left and top edges lie DL right of and DT below the panel's.
  XPWidgetID At(int dl, int dt) {
    XPWidgetID widget = host().widgets().findAt(Window(), dl, dt);
    EXPECT_NE(widget, nullptr) << "@" << dl << "," << dt;
    return widget;
  }
  // The K-th (from 1) widget at that place, in creation order.
  XPWidgetID At(int dl, int dt, int k) {
    const auto tree = host().widgets().tree(Window());
    if (tree.empty()) return nullptr;
    for (const sim::WidgetInfo& widget : tree) {
      if (widget.depth > 0 && widget.left - tree[0].left == dl && tree[0].top - widget.top == dt &&
          --k == 0) {
        return widget.id;
      }
    }
    ADD_FAILURE() << "no widget @" << dl << "," << dt << " #" << k;
    return nullptr;
  }

  void Click(XPWidgetID widget) { EXPECT_EQ(host().widgets().click(widget), sim::UserAction::Delivered); }
  void Click(const std::string& caption, int k = 1) { Click(Named(caption, k)); }
  void Type(XPWidgetID field, const std::string& text) {
    EXPECT_EQ(host().widgets().type(field, text), sim::UserAction::Delivered);
  }
  // Sets a check box as the user does: a click, when it is not so already.
  void Check(XPWidgetID box, bool on) {
    if ((BoxState(box) != 0) != on) Click(box);
  }
  void CloseBox() { EXPECT_EQ(host().widgets().close(Window()), sim::UserAction::Delivered); }

  void OpenFromMenu() { ASSERT_TRUE(Pick("Control Panel")); }
  void EnableFromMenu() { ASSERT_TRUE(Pick("Enable")); }
  void DisableFromMenu() { ASSERT_TRUE(Pick("Disable")); }
  // View control on and the panel shown, as a user starts working with it.
  void EnableAndOpen() {
    EnableFromMenu();
    OpenFromMenu();
  }

  // The fixed widgets of the panel, by place.
  XPWidgetID SizeField() { return At(160, 130); }
  XPWidgetID ContinuousBox() { return At(20, 130); }
  XPWidgetID ForceEffectsBox() { return At(320, 30); }
  XPWidgetID LimitsEnableBox() { return At(120, 220); }
  XPWidgetID PresetNumberField() { return At(70, 160); }
  XPWidgetID PresetButton(int number) { return At(20 + 50 * (number - 1), 190); }
  XPWidgetID PresetBox(int number) { return At(43 + 50 * (number - 1), 190); }
  XPWidgetID PresetsIndicator() { return At(305, 160); }
  XPWidgetID LimitsIndicator() { return At(215, 220); }
  XPWidgetID MultiplierCaption() { return At(220, 130); }
  XPWidgetID StatusCaption() { return At(220, 130, 2); }  // made after the multiplier caption, same place
  XPWidgetID MultiplierField() { return At(360, 130); }
  // Pilot Offsets rows: X, Y, Z on the left, P, H, R on the right.
  XPWidgetID AxisBox(int axis) { return At(220 + (axis / 3) * 100, 55 + (axis % 3) * 25); }
  XPWidgetID OffsetField(int axis) { return At(260 + (axis / 3) * 100, 55 + (axis % 3) * 25); }
  // The field beside a limit capture button.
  XPWidgetID LimitField(const char* name) {
    const auto button = host().widgets().info(Named(name));
    const auto window = host().widgets().info(Window());
    if (!button || !window) return nullptr;
    return At(button->left - window->left + 30, window->top - button->top);
  }

  // The panel is on the screen: the window and the widget itself shown.
  bool Shown(XPWidgetID widget) {
    const auto info = host().widgets().info(widget);
    return info && info->visible;
  }
};

}  // namespace talvenor::testing
