// The control panel's layout, widget for widget in creation order, as users know it from the screen: class,
// caption, place, kind of button or field, initial state and visibility.
#include <sstream>
#include <string>
#include <vector>

#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

enum class Kind { Window, SubWindow, Push, RollPush, Check, Caption, Entry, Field };

struct Expected {
  Kind kind;
  const char* text;
  int dl, dr, dt, db;
  int state = 0;        // check boxes
  bool visible = true;  // the widget's own flag just after it was built
};

// Built with view control off and no source: the status caption shows, the source widgets do not.
std::vector<Expected> Layout(const char* statusText, const int (&axisBoxes)[6], const int (&presetBoxes)[8]) {
  std::vector<Expected> rows = {
      {Kind::Window, kControlPanelCaption, 0, 430, 0, 320},
      {Kind::SubWindow, "", 10, 420, 30, 310},
      {Kind::Push, " Z", 50, 72, 40, 62},
      {Kind::Push, " X", 20, 42, 70, 92},
      {Kind::Push, " ", 50, 72, 70, 92},
      {Kind::Push, " X", 80, 102, 70, 92},
      {Kind::Push, " Hdg", 20, 42, 100, 122},
      {Kind::Push, " Z", 50, 72, 100, 122},
      {Kind::Push, " Hdg", 80, 102, 100, 122},
      {Kind::Push, " Y", 120, 142, 40, 62},
      {Kind::Push, " Ptc", 180, 202, 40, 62},
      {Kind::RollPush, " Rll", 120, 142, 70, 92},
      {Kind::Push, " ", 150, 172, 70, 92},
      {Kind::RollPush, " Rll", 180, 202, 70, 92},
      {Kind::Push, " Y", 120, 142, 100, 122},
      {Kind::Push, " Ptc", 180, 202, 100, 122},
      {Kind::Caption, "Pilot Offsets", 220, 280, 30, 52},
      {Kind::Check, "", 320, 342, 30, 52, 0},
      {Kind::Caption, "Force Effects", 343, 403, 30, 52},
  };
  const char* letters[] = {"X", "Y", "Z", "P", "H", "R"};
  for (int axis = 0; axis < 6; ++axis) {
    const int c = axis < 3 ? 0 : 100;
    const int dt = 55 + 25 * (axis % 3);
    rows.push_back({Kind::Check, "", 220 + c, 242 + c, dt, dt + 22, axisBoxes[axis], false});
    rows.push_back({Kind::Caption, letters[axis], 240 + c, 260 + c, dt, dt + 22});
    rows.push_back({Kind::Entry, "", 260 + c, 310 + c, dt, dt + 22});
  }
  const std::vector<Expected> sourceAndStep = {
      {Kind::Caption, "TrackIR X/Y/Z Multiplier", 220, 350, 130, 152, 0, false},
      {Kind::Entry, "0.0001", 360, 410, 130, 152, 0, false},
      {Kind::Caption, statusText, 220, 390, 130, 152, 0, true},
      {Kind::Check, "", 20, 42, 130, 152, 0},
      {Kind::Caption, "Cont/Step", 43, 83, 130, 152},
      {Kind::Caption, "Size", 120, 150, 130, 152},
      {Kind::Field, "0.01", 160, 200, 130, 152},
      {Kind::Caption, "Preset No.", 15, 50, 160, 182},
      {Kind::Field, "0", 70, 95, 160, 182},
      {Kind::Push, "Load", 105, 150, 160, 182},
      {Kind::Push, "Save", 155, 200, 160, 182},
      {Kind::Push, "Clear", 205, 250, 160, 182},
      {Kind::Push, " Clr Roll", 255, 300, 160, 182},
      {Kind::Caption, "PRESETS CHANGED", 305, 405, 160, 182},
  };
  rows.insert(rows.end(), sourceAndStep.begin(), sourceAndStep.end());
  const char* numbers[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
  for (int i = 0; i < 8; ++i) {
    rows.push_back({Kind::Push, numbers[i], 20 + 50 * i, 42 + 50 * i, 190, 212});
    rows.push_back({Kind::Check, "", 43 + 50 * i, 65 + 50 * i, 190, 212, presetBoxes[i]});
  }
  const std::vector<Expected> limits = {
      {Kind::Caption, "Talvenor Limits", 20, 120, 220, 242},
      {Kind::Check, "", 120, 142, 220, 242, 0},
      {Kind::Caption, "Enable", 143, 200, 220, 242},
      {Kind::Caption, "LIMITS CHANGED", 215, 315, 220, 242},
      {Kind::Push, "Load", 20, 60, 250, 272},
      {Kind::Push, "Save", 70, 110, 250, 272},
      {Kind::Push, "Clear", 120, 170, 250, 272},
      {Kind::Push, "Y2", 220, 242, 250, 272},
      {Kind::Field, "0", 250, 300, 250, 272},
      {Kind::Push, "Z1", 320, 342, 250, 272},
      {Kind::Field, "0", 350, 400, 250, 272},
      {Kind::Push, "X1", 20, 42, 280, 302},
      {Kind::Field, "0", 50, 100, 280, 302},
      {Kind::Push, "X2", 120, 142, 280, 302},
      {Kind::Field, "0", 150, 200, 280, 302},
      {Kind::Push, "Y1", 220, 242, 280, 302},
      {Kind::Field, "0", 250, 300, 280, 302},
      {Kind::Push, "Z2", 320, 342, 280, 302},
      {Kind::Field, "0", 350, 400, 280, 302},
  };
  rows.insert(rows.end(), limits.begin(), limits.end());
  return rows;
}

struct Property {
  bool exists = false;
  intptr_t value = 0;
};

Property Get(XPWidgetID widget, XPWidgetPropertyID id) {
  Property property;
  int exists = 0;
  property.value = XPGetWidgetProperty(widget, id, &exists);
  property.exists = exists != 0;
  return property;
}

XPWidgetClass ClassOf(Kind kind) {
  switch (kind) {
    case Kind::Window:
      return xpWidgetClass_MainWindow;
    case Kind::SubWindow:
      return xpWidgetClass_SubWindow;
    case Kind::Push:
    case Kind::RollPush:
    case Kind::Check:
      return xpWidgetClass_Button;
    case Kind::Caption:
      return xpWidgetClass_Caption;
    default:
      return xpWidgetClass_TextField;
  }
}

class ControlPanelLayoutTest : public ControlPanelTest {
 protected:
  // Compares the panel, in creation order, with the rows; one message per difference.
  void ExpectLayout(const std::vector<Expected>& rows) {
    const auto tree = host().widgets().tree(Window());
    ASSERT_EQ(tree.size(), rows.size());
    const sim::WidgetInfo& window = tree[0];
    EXPECT_EQ(window.left, 10);
    EXPECT_EQ(window.top, 550);
    EXPECT_EQ(window.right, 440);
    EXPECT_EQ(window.bottom, 230);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Expected& row = rows[i];
      const sim::WidgetInfo& widget = tree[i];
      std::ostringstream where;
      where << "widget " << i << " \"" << row.text << "\" at " << row.dl << ".." << row.dr << ", " << row.dt
            << ".." << row.db;
      SCOPED_TRACE(where.str());
      EXPECT_EQ(widget.widgetClass, ClassOf(row.kind));
      EXPECT_EQ(widget.descriptor, row.text);
      EXPECT_EQ(widget.left - window.left, row.dl);
      EXPECT_EQ(widget.right - window.left, row.dr);
      EXPECT_EQ(window.top - widget.top, row.dt);
      EXPECT_EQ(window.top - widget.bottom, row.db);
      EXPECT_EQ(widget.ownVisible, row.visible);
      if (row.kind == Kind::Window) {
        EXPECT_TRUE(widget.isRoot);
        EXPECT_EQ(widget.parent, nullptr);
        EXPECT_EQ(Get(widget.id, xpProperty_MainWindowHasCloseBoxes).value, 1);
        continue;
      }
      EXPECT_FALSE(widget.isRoot);
      EXPECT_EQ(widget.parent, window.id);  // every control sits in the main window, not the sub-window
      const Property enabled = Get(widget.id, xpProperty_Enabled);
      EXPECT_EQ(enabled.exists, row.kind == Kind::RollPush);
      if (row.kind == Kind::RollPush) {
        EXPECT_EQ(enabled.value, 1);
      }
      switch (row.kind) {
        case Kind::SubWindow: {
          const Property type = Get(widget.id, xpProperty_SubWindowType);
          EXPECT_TRUE(type.exists);
          EXPECT_EQ(type.value, xpSubWindowStyle_SubWindow);
          break;
        }
        case Kind::Push:
        case Kind::RollPush: {
          const Property type = Get(widget.id, xpProperty_ButtonType);
          EXPECT_TRUE(type.exists);
          EXPECT_EQ(type.value, xpPushButton);
          EXPECT_EQ(Get(widget.id, xpProperty_ButtonBehavior).value, xpButtonBehaviorPushButton);
          break;
        }
        case Kind::Check: {
          EXPECT_EQ(Get(widget.id, xpProperty_ButtonType).value, xpRadioButton);
          EXPECT_EQ(Get(widget.id, xpProperty_ButtonBehavior).value, xpButtonBehaviorCheckBox);
          const Property state = Get(widget.id, xpProperty_ButtonState);
          EXPECT_TRUE(state.exists);
          EXPECT_EQ(state.value, row.state);
          break;
        }
        case Kind::Entry: {
          const Property type = Get(widget.id, xpProperty_TextFieldType);
          EXPECT_TRUE(type.exists);
          EXPECT_EQ(type.value, xpTextEntryField);
          break;
        }
        case Kind::Field:
          EXPECT_FALSE(Get(widget.id, xpProperty_TextFieldType).exists);
          break;
        default:
          break;
      }
    }
  }
};

constexpr int kAllAxes[6] = {1, 1, 1, 1, 1, 1};
constexpr int kNoPresets[8] = {};

TEST_F(ControlPanelLayoutTest, EveryWidgetInCreationOrderInHeadTrackerMode) {
  Start();
  OpenFromMenu();
  ExpectLayout(Layout("TrackIR not found or it is disabled", kAllAxes, kNoPresets));
  EXPECT_TRUE(Shown(Window()));
}

TEST_F(ControlPanelLayoutTest, EveryWidgetInCreationOrderInExternalDataMode) {
  WriteSetupFile("[CONFIG]\nENABLEEXTERNALDATA = 1\n");
  Start();
  OpenFromMenu();
  ExpectLayout(Layout("External Data not found or disabled", kAllAxes, kNoPresets));
}

TEST_F(ControlPanelLayoutTest, AxisBoxesFollowTheSetupFileAndPresetBoxesTheStoredSlots) {
  WriteSetupFile(
      "[CONFIG]\nTRACKIRENABLEXAXIS = 0\nTRACKIRENABLEZAXIS = 0\nTRACKIRENABLEHEADINGAXIS = 0\n"
      "TRACKIRENABLEROLLAXIS = 7\n");
  Start();
  // Slots stored before the panel exists; a file's flag other than 1 still reads as stored.
  View().presets[1].stored = 1;
  View().presets[6].stored = 5;
  OpenFromMenu();
  const int axes[6] = {0, 1, 0, 1, 0, 1};
  const int presets[8] = {0, 1, 0, 0, 0, 0, 1, 0};
  ExpectLayout(Layout("TrackIR not found or it is disabled", axes, presets));
}

TEST_F(ControlPanelLayoutTest, BuiltOnceWhicheverOpensItFirst) {
  WriteSetupFile("[CONTROL_PANEL_TOGGLE]\nHOTKEY = F12\n");
  Start();
  EXPECT_TRUE(host().widgets().windows().empty());
  // The switch-on builds it hidden.
  EnableFromMenu();
  ASSERT_EQ(host().widgets().windows().size(), 2u);  // and the effects panel beside it
  XPWidgetID window = Window();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(Shown(window));
  // Every later way of opening it shows that same window.
  OpenFromMenu();
  EXPECT_TRUE(Shown(window));
  OpenFromMenu();
  EXPECT_TRUE(Shown(window));
  EXPECT_EQ(Press(XPLM_VK_F12), 1);  // the menu set it visible, so the toggle hides it
  EXPECT_FALSE(Shown(window));
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  EXPECT_TRUE(Shown(window));
  DisableFromMenu();
  EnableFromMenu();
  EXPECT_FALSE(Shown(window));
  EXPECT_EQ(host().widgets().windows(), (std::vector<XPWidgetID>{window, PanelState().effects.window}));
  EXPECT_EQ(host().widgets().tree(window).size(), 86u);
}

TEST_F(ControlPanelLayoutTest, TheToggleBuildsItShownWhenNothingElseHas) {
  WriteSetupFile("[CONTROL_PANEL_TOGGLE]\nHOTKEY = F12\n");
  Start();
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  ASSERT_NE(Window(), nullptr);
  EXPECT_TRUE(Shown(Window()));
  ExpectLayout(Layout("TrackIR not found or it is disabled", kAllAxes, kNoPresets));
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  EXPECT_FALSE(Shown(Window()));
  EXPECT_EQ(host().widgets().windows().size(), 1u);
}

}  // namespace
}  // namespace talvenor::testing
