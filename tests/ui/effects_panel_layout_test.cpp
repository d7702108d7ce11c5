// The effects panel's layout, widget for widget in creation order: class, text, place and kind of button.
#include <sstream>
#include <vector>

#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

enum class Kind { Window, SubWindow, Caption, Field, Push, Check };

struct Expected {
  Kind kind;
  const char* text;
  int dl, dr, dt, db;
};

const std::vector<Expected> kLayout = {
    {Kind::Window, "Talvenor Effects", 0, 310, 0, 200},
    {Kind::SubWindow, "", 10, 300, 30, 190},
    {Kind::Caption, " Scaler X", 20, 70, 40, 62},
    {Kind::Field, "10", 80, 150, 40, 62},
    {Kind::Caption, " Scaler Y", 20, 70, 70, 92},
    {Kind::Field, "100", 80, 150, 70, 92},
    {Kind::Caption, " Scaler Z", 20, 70, 100, 122},
    {Kind::Field, "10", 80, 150, 100, 122},
    {Kind::Caption, " Gnd Sc X", 160, 210, 40, 62},
    {Kind::Field, "5", 220, 290, 40, 62},
    {Kind::Caption, " Gnd Sc Y", 160, 210, 70, 92},
    {Kind::Field, "5", 220, 290, 70, 92},
    {Kind::Caption, " Gnd Sc Z", 160, 210, 100, 122},
    {Kind::Field, "5", 220, 290, 100, 122},
    {Kind::Push, " Apply", 20, 70, 130, 152},
    {Kind::Push, " Load", 80, 130, 130, 152},
    {Kind::Push, " Save", 140, 190, 130, 152},
    {Kind::Check, "", 200, 222, 130, 152},
    {Kind::Caption, " Effects On", 223, 283, 130, 152},
    {Kind::Caption, " Use the Apply button to try out different effects", 20, 260, 150, 172},
    {Kind::Caption, " Remember to press the Save button to store them", 20, 260, 160, 182},
};

constexpr XPWidgetClass kClasses[] = {xpWidgetClass_MainWindow, xpWidgetClass_SubWindow,
                                      xpWidgetClass_Caption,    xpWidgetClass_TextField,
                                      xpWidgetClass_Button,     xpWidgetClass_Button};

intptr_t Property(XPWidgetID widget, XPWidgetPropertyID id) {
  int exists = 0;
  const intptr_t value = XPGetWidgetProperty(widget, id, &exists);
  return exists != 0 ? value : -1;
}

TEST_F(ControlPanelTest, EffectsPanelLayoutFromTheMenu) {
  Start();
  ASSERT_TRUE(Pick("Forces Effect Panel"));
  const auto tree = host().widgets().tree(host().widgets().findWindow("Talvenor Effects"));
  ASSERT_EQ(tree.size(), kLayout.size());
  const sim::WidgetInfo& window = tree[0];
  EXPECT_EQ(window.left, 130);
  EXPECT_EQ(window.top, 550);
  EXPECT_TRUE(window.isRoot && window.visible);
  EXPECT_EQ(Property(window.id, xpProperty_MainWindowHasCloseBoxes), 1);
  for (std::size_t i = 0; i < tree.size(); ++i) {
    const Expected& row = kLayout[i];
    const sim::WidgetInfo& widget = tree[i];
    std::ostringstream where;
    where << "widget " << i << " \"" << row.text << '"';
    SCOPED_TRACE(where.str());
    EXPECT_EQ(widget.widgetClass, kClasses[static_cast<int>(row.kind)]);
    EXPECT_EQ(widget.descriptor, row.text);
    EXPECT_EQ(widget.left - window.left, row.dl);
    EXPECT_EQ(widget.right - window.left, row.dr);
    EXPECT_EQ(window.top - widget.top, row.dt);
    EXPECT_EQ(window.top - widget.bottom, row.db);
    EXPECT_TRUE(widget.ownVisible);
    if (i > 0) {
      EXPECT_EQ(widget.parent, window.id);
    }
    if (row.kind == Kind::SubWindow) {
      EXPECT_EQ(Property(widget.id, xpProperty_SubWindowType), xpSubWindowStyle_SubWindow);
    }
    EXPECT_EQ(Property(widget.id, xpProperty_TextFieldType), -1);
    if (row.kind == Kind::Push) {
      EXPECT_EQ(Property(widget.id, xpProperty_ButtonType), xpPushButton);
    }
    if (row.kind == Kind::Check) {
      EXPECT_EQ(Property(widget.id, xpProperty_ButtonType), xpRadioButton);
      EXPECT_EQ(Property(widget.id, xpProperty_ButtonBehavior), xpButtonBehaviorCheckBox);
      EXPECT_EQ(Property(widget.id, xpProperty_ButtonState), 0);
    }
  }
}

}  // namespace
}  // namespace talvenor::testing
