// The plugin menu's item states operation by operation, in both source modes; the hotkey slots; view
// control switched on twice, and off by leaving the 3-D cockpit.
#include <string>
#include <vector>

#include "plugin/mode_switches.h"
#include "ui/control_panel.h"
#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

// Items 0 "Enable", 1 "Disable", 2 "Control Panel", 3 "Data Display", 4 "Forces Effect Panel", 5 and 6
// the source's on and off items.
using States = std::vector<bool>;

class MenuStatesTest : public ControlPanelTest {
 protected:
  States Items() {
    States states;
    for (const auto& item : MenuItems()) states.push_back(item.enabled);
    return states;
  }
  static States Expect(bool enable, bool disable, bool sourceOn, bool sourceOff) {
    return {enable, disable, true, true, true, sourceOn, sourceOff};
  }
  bool AxisBoxesShown() {
    int shown = 0;
    for (int axis = 0; axis < 6; ++axis) shown += Visible(AxisBox(axis)) ? 1 : 0;
    EXPECT_TRUE(shown == 0 || shown == 6) << shown << " of the six axis boxes shown";
    return shown == 6;
  }
};

class MenuStatesInBothModesTest : public MenuStatesTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool External() const { return GetParam(); }
  // CONFIG lines and further sections of Talvenor.ini may be added.
  void StartInMode(const std::string& config = "", const std::string& sections = "") {
    WriteSetupFile(std::string("[CONFIG]\nENABLEEXTERNALDATA = ") + (External() ? "1" : "0") + "\n" + config +
                   "[TRACKIR_TOGGLE]\nHOTKEY = F10\n[CONTROL_PANEL_TOGGLE]\nHOTKEY = F12\n" + sections);
    Start();
    RunUntilUpdating();
  }
  const char* NoSourceText() const {
    return External() ? "External Data not found or disabled" : "TrackIR not found or it is disabled";
  }
};

INSTANTIATE_TEST_SUITE_P(SourceModes, MenuStatesInBothModesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& mode) {
                           return mode.param ? "ExternalData" : "HeadTracker";
                         });

// No source is found in either mode, so every switch-on of the source fails.
TEST_P(MenuStatesInBothModesTest, OperationByOperationWithoutASource) {
  StartInMode();
  EXPECT_EQ(Items(), Expect(true, false, false, false)) << "plugin start";
  EnableFromMenu();
  EXPECT_EQ(Items(), Expect(false, true, false, false)) << "switch-on, probe failed";
  OpenFromMenu();
  EXPECT_FALSE(AxisBoxesShown());
  EXPECT_TRUE(Visible(StatusCaption()));
  EXPECT_EQ(Text(StatusCaption()), NoSourceText());
  EXPECT_FALSE(Visible(MultiplierCaption()));
  EXPECT_FALSE(Visible(MultiplierField()));
  EXPECT_EQ(Press(XPLM_VK_F10), 1);  // the tracker toggle: switch-on fails
  EXPECT_EQ(Items(), Expect(false, true, false, false)) << "tracker switch-on, failed";
  EXPECT_EQ(Press(XPLM_VK_F12), 1);  // the panel's toggle hides it; the menu is untouched
  EXPECT_EQ(Items(), Expect(false, true, false, false));
  DisableFromMenu();
  EXPECT_EQ(Items(), Expect(true, false, false, false)) << "switch-off";
  EXPECT_EQ(Text(StatusCaption()), NoSourceText());
  EXPECT_FALSE(Shown(Window()));
}

// The automatic start with the tracker to be switched off afterwards: the last word is the switch-off's.
TEST_P(MenuStatesInBothModesTest, TrackerSwitchOffAfterTheAutomaticStart) {
  StartInMode("AUTOSTART = 1\nTRACKIRDISABLEONAUTOSTART = 1\n");
  host().planeLoaded();
  Frame(6);
  EXPECT_EQ(Items(), Expect(false, true, false, false));
  OpenFromMenu();
  EXPECT_FALSE(AxisBoxesShown());
  EXPECT_EQ(Text(StatusCaption()), NoSourceText());
}

TEST_P(MenuStatesInBothModesTest, SwitchingOnTwiceBuildsThePanelOnceAndRepeatsTheRest) {
  StartInMode();
  EnableFromMenu();
  OpenFromMenu();
  XPWidgetID window = Window();
  Set(kViewType, 1023);
  Set(kHeadRoll, 3.0);
  AsPlugin([] { EnableViewControl(); });
  EXPECT_EQ(Int(kViewType), 1026);
  // Both panels were built by the first switch-on, and only then.
  EXPECT_EQ(host().widgets().windows(), (std::vector<XPWidgetID>{window, PanelState().effects.window}));
  EXPECT_EQ(host().widgets().tree(window).size(), 86u);
  EXPECT_TRUE(Shown(window));  // an open panel stays open
  EXPECT_EQ(Items(), Expect(false, true, false, false));
  Set(kHeadRoll, -1.0);
  DisableFromMenu();
  EXPECT_EQ(Float(kHeadRoll), 3.0f);  // the roll of the second switch-on
}

TEST_P(MenuStatesInBothModesTest, LeavingTheCockpitSwitchesOffOnceEvenWithEffectsOn) {
  StartInMode("", "[EFFECTS_TOGGLE]\nHOTKEY = F11\n");
  Set(kHeadRoll, 2.0);
  EnableFromMenu();
  OpenFromMenu();
  EXPECT_EQ(Press(XPLM_VK_F11), 1);  // effects on: the frame switches off in two places
  Frame(3);
  Set(kHeadRoll, -7.0);
  Set(kViewType, 1000);
  Frame();
  EXPECT_EQ(Items(), Expect(true, false, false, false));
  EXPECT_FALSE(Shown(Window()));
  EXPECT_FALSE(PanelState().controlPanelVisible);
  EXPECT_EQ(Int(kViewType), 1000);  // the view the user chose
  EXPECT_EQ(Float(kHeadRoll), 2.0f);
  EXPECT_EQ(Text(StatusCaption()), NoSourceText());
  // Later frames leave the head alone.
  Set(kHeadX, 4.0);
  Frame(3);
  EXPECT_EQ(Float(kHeadX), 4.0f);
}

TEST_P(MenuStatesInBothModesTest, SwitchingOffTwiceInARowEndsAsOnce) {
  RecordViewTypeWrites();
  StartInMode();
  Set(kHeadRoll, 1.5);
  EnableFromMenu();
  OpenFromMenu();
  Set(kHeadRoll, 9.0);
  AsPlugin([] { DisableViewControl(1017); });
  const States once = Items();
  const bool statusShown = Visible(StatusCaption());
  const std::string status = Text(StatusCaption());
  AsPlugin([] { DisableViewControl(1017); });
  EXPECT_EQ(Items(), once);
  EXPECT_EQ(Items(), Expect(true, false, false, false));
  EXPECT_EQ(Visible(StatusCaption()), statusShown);
  EXPECT_EQ(Text(StatusCaption()), status);
  EXPECT_FALSE(Shown(Window()));
  EXPECT_EQ(Float(kHeadRoll), 1.5f);
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1026, 1017, 1017}));
  // And view control comes back on as usual.
  EnableFromMenu();
  EXPECT_EQ(Items(), Expect(false, true, false, false));
}

// External data: the source's own switch (quorlend/talvenor/external_enabled) offers it; nothing here
// depends on a probe.
class ExternalSourceTest : public MenuStatesTest {
 protected:
  void SetUp() override {
    MenuStatesTest::SetUp();
    WriteSetupFile("[CONFIG]\nENABLEEXTERNALDATA = 1\n[TRACKIR_TOGGLE]\nHOTKEY = F10\n");
    Start();
    Frame(6);
  }
  void Switch(int value) {
    externalValue_ = value;
    Frame();
  }
};

TEST_F(ExternalSourceTest, TheSourcesSwitchAndTheModeSwitchesKeepTheMenuInStep) {
  EXPECT_EQ(Items(), Expect(true, false, false, false));
  Switch(1);
  EXPECT_EQ(Items(), Expect(true, false, false, true)) << "external switch on, no panel";
  EnableFromMenu();
  // Whatever the probe found, the switch going off and on again decides.
  Switch(0);
  EXPECT_EQ(Items(), Expect(false, true, false, false)) << "external switch off";
  Switch(1);
  EXPECT_EQ(Items(), Expect(false, true, false, true)) << "external switch on";
  OpenFromMenu();
  EXPECT_TRUE(AxisBoxesShown());
  EXPECT_EQ(Text(StatusCaption()), "External Data found");
  EXPECT_TRUE(Visible(StatusCaption()));
  EXPECT_FALSE(Visible(MultiplierCaption()));
  EXPECT_FALSE(Visible(MultiplierField()));

  DisableFromMenu();
  EXPECT_EQ(Items(), Expect(true, false, true, false)) << "switch-off with the source available";
  EXPECT_FALSE(AxisBoxesShown());
  EXPECT_EQ(Text(StatusCaption()), "External Data found");

  // With view control off but the panel built, the switch still shows the source widgets.
  Switch(0);
  EXPECT_EQ(Items(), Expect(true, false, false, false));
  EXPECT_EQ(Text(StatusCaption()), "External Data not found or disabled");
  Switch(1);
  EXPECT_EQ(Items(), Expect(true, false, false, true));
  EXPECT_TRUE(AxisBoxesShown());

  // The tracker toggle was left on by the switch: it now switches tracking off.
  EXPECT_EQ(Press(XPLM_VK_F10), 1);
  EXPECT_EQ(Items(), Expect(true, false, true, false)) << "tracker switch-off";
  EXPECT_FALSE(AxisBoxesShown());
  EXPECT_EQ(Text(StatusCaption()), "External Data found");
  // The menu's item 6 does the same once offered.
  Switch(0);
  Switch(1);
  ASSERT_TRUE(Pick("External Data Disable"));
  EXPECT_EQ(Items(), Expect(true, false, true, false));
}

TEST_F(ExternalSourceTest, TheMenuShowsAnExistingPanelWithoutRefreshingItsSourceWidgets) {
  EnableFromMenu();
  Switch(1);
  OpenFromMenu();
  EXPECT_TRUE(AxisBoxesShown());
  CloseBox();
  // Source widgets put out of step behind the panel's back: the menu leaves them, the toggle puts them right.
  for (int axis = 0; axis < 6; ++axis) XPHideWidget(AxisBox(axis));
  OpenFromMenu();
  EXPECT_FALSE(AxisBoxesShown());
  CloseBox();
  AsPlugin([] { ToggleControlPanel(); });
  EXPECT_TRUE(Shown(Window()));
  EXPECT_TRUE(AxisBoxesShown());
}

// The sixteen slots, each bound to a key.
class HotkeySlotsTest : public MenuStatesTest {
 protected:
  void SetUp() override {
    MenuStatesTest::SetUp();
    WriteSetupFile(
        "[PRESET1]\nHOTKEY = F1\n[PRESET2]\nHOTKEY = F2\n[PRESET3]\nHOTKEY = F3\n[PRESET8]\nHOTKEY = F8\n"
        "[TL_TOGGLE]\nHOTKEY = F9\n[TRACKIR_TOGGLE]\nHOTKEY = F10\n[EFFECTS_TOGGLE]\nHOTKEY = F11\n"
        "[CONTROL_PANEL_TOGGLE]\nHOTKEY = F12\n[LIMITS_TOGGLE]\nHOTKEY = L\n");
    WriteAircraftFile("Talvenor.dat", FileBytes({{1, {0, 1.05f}},
                                                 {1, {-0.32f, 0, 0, 0, -40.0f}},
                                                 {},
                                                 {},
                                                 {},
                                                 {},
                                                 {},
                                                 {1, {0, 0, 0, 0, 0, 5.0f}}}));
  }
};

TEST_F(HotkeySlotsTest, PresetKeysRecallStoredPresetsAlsoWithViewControlOff) {
  Start();
  EnableFromMenu();
  DisableFromMenu();
  Set(kHeadX, 0.1);
  EXPECT_EQ(Press(XPLM_VK_F3), 1);  // preset 3 is empty
  EXPECT_EQ(Float(kHeadX), 0.1f);
  EXPECT_EQ(Press(XPLM_VK_F2), 1);
  EXPECT_EQ(Float(kHeadX), -0.32f);
  EXPECT_EQ(Float(kHeadHeading), -40.0f);
  EXPECT_EQ(Items(), Expect(true, false, false, false));  // still off
  EXPECT_EQ(Press(XPLM_VK_F8), 1);
  EXPECT_EQ(Float(kHeadRoll), 5.0f);
  // A preset key does not touch the panel's preset number.
  OpenFromMenu();
  EXPECT_EQ(Text(PresetNumberField()), "1");
  EXPECT_EQ(Press(XPLM_VK_F1), 1);
  EXPECT_EQ(Float(kHeadY), 1.05f);
  EXPECT_EQ(Text(PresetNumberField()), "1");
  EXPECT_EQ(Press(XPLM_VK_F2), 1);
  EXPECT_EQ(Text(PresetNumberField()), "1");
}

TEST_F(HotkeySlotsTest, ToggleKeys) {
  Start();
  // Slot 8: view control.
  EXPECT_EQ(Press(XPLM_VK_F9), 1);
  EXPECT_EQ(Items(), Expect(false, true, false, false));
  EXPECT_EQ(Int(kViewType), 1026);
  // Slot 11: the panel, built hidden by the switch-on, shows and hides.
  EXPECT_FALSE(Shown(Window()));
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  EXPECT_TRUE(Shown(Window()));
  // Slot 10: the force effects and their box.
  EXPECT_EQ(Press(XPLM_VK_F11), 1);
  EXPECT_EQ(BoxState(ForceEffectsBox()), 1);
  EXPECT_EQ(Press(XPLM_VK_F11), 1);
  EXPECT_EQ(BoxState(ForceEffectsBox()), 0);
  // Slot 14: the selected preset's limits and their box.
  EXPECT_EQ(Press(XPLM_VK_L), 1);
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);
  Click("Save", 2);
  EXPECT_EQ(RecordOf("TalvenorLimits.dat", 0).flag, 1);
  Click(PresetButton(2));  // another preset, whose limits are off
  EXPECT_EQ(BoxState(LimitsEnableBox()), 0);
  EXPECT_EQ(Press(XPLM_VK_L), 1);
  Click("Save", 2);
  EXPECT_EQ(RecordOf("TalvenorLimits.dat", 0).flag, 1);
  EXPECT_EQ(RecordOf("TalvenorLimits.dat", 1).flag, 1);
  // Slot 9: the tracker; no source, so the switch-on fails and the items stay off.
  EXPECT_EQ(Press(XPLM_VK_F10), 1);
  EXPECT_EQ(Items(), Expect(false, true, false, false));
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  EXPECT_FALSE(Shown(Window()));
  // Slot 8 again: off, the forward view with the 2-D panel.
  EXPECT_EQ(Press(XPLM_VK_F9), 1);
  EXPECT_EQ(Items(), Expect(true, false, false, false));
  EXPECT_EQ(Int(kViewType), 1000);
}

}  // namespace
}  // namespace talvenor::testing
