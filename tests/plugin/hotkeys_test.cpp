// The sixteen hotkey slots of Talvenor.ini: registered for exactly the bound slots, acting on a press, gone
// after the stop.
#include <string>

#include "plugin_fixture.h"

namespace talvenor::testing {
namespace {

using HotkeysTest = PluginTest;

TEST_F(HotkeysTest, NoneWithoutSetupFile) {
  Start();
  EXPECT_TRUE(Hotkeys().empty());
  EXPECT_EQ(Press(XPLM_VK_F1), 0);
}

TEST_F(HotkeysTest, OneSlotBoundIsOneHotkey) {
  WriteSetupFile("[PRESET4]\nHOTKEY = F1\n");
  Start();
  const auto hotkeys = Hotkeys();
  ASSERT_EQ(hotkeys.size(), 1u);
  EXPECT_EQ(hotkeys[0].virtualKey, XPLM_VK_F1);
  EXPECT_EQ(hotkeys[0].flags, xplm_DownFlag);
  EXPECT_EQ(hotkeys[0].description, "03");

  EXPECT_TRUE(host().stop().empty());
  EXPECT_TRUE(Hotkeys().empty());
  EXPECT_EQ(Press(XPLM_VK_F1), 0);
}

TEST_F(HotkeysTest, EachBoundSlotWithItsKeyModifiersAndNumber) {
  WriteSetupFile(
      "[VIBRATION_EFFECT_TOGGLE]\nHOTKEY = V\n"
      "[PRESET1]\nhotkey = numpad 5\nHOTKEYMODIFIERS = ALT\n"
      "[TL_TOGGLE]\nHOTKEYMODIFIERS = SHIFT+CONTROL\nHOTKEY = F5\n"
      "[TRACKIR_TOGGLE]\nHOTKEYMODIFIERS = SHIFT\n");  // modifiers alone bind nothing
  Start();
  const auto hotkeys = Hotkeys();
  ASSERT_EQ(hotkeys.size(), 3u);
  // Registered in slot order.
  EXPECT_EQ(hotkeys[0].description, "00");
  EXPECT_EQ(hotkeys[0].virtualKey, XPLM_VK_NUMPAD5);
  EXPECT_EQ(hotkeys[0].flags, xplm_OptionAltFlag | xplm_DownFlag);
  EXPECT_EQ(hotkeys[1].description, "08");
  EXPECT_EQ(hotkeys[1].virtualKey, XPLM_VK_F5);
  EXPECT_EQ(hotkeys[1].flags, xplm_ShiftFlag | xplm_ControlFlag | xplm_DownFlag);
  EXPECT_EQ(hotkeys[2].description, "15");
  EXPECT_EQ(hotkeys[2].virtualKey, XPLM_VK_V);
  EXPECT_EQ(hotkeys[2].flags, xplm_DownFlag);
}

TEST_F(HotkeysTest, UnknownKeyNameStillBindsTheSlot) {
  WriteSetupFile("[LIMITS_TOGGLE]\nHOTKEY = F25\n");
  Start();
  const auto hotkeys = Hotkeys();
  ASSERT_EQ(hotkeys.size(), 1u);
  EXPECT_EQ(hotkeys[0].virtualKey, 0);
  EXPECT_EQ(hotkeys[0].description, "14");
}

TEST_F(HotkeysTest, ViewControlToggle) {
  WriteSetupFile("[TL_TOGGLE]\nHOTKEY = F5\nHOTKEYMODIFIERS = CONTROL\n");
  Start();
  Set(kViewType, 1000);
  EXPECT_EQ(Press(XPLM_VK_F5), 0);  // without its modifier the key is not this hotkey
  EXPECT_TRUE(MenuItems()[0].enabled);

  EXPECT_EQ(Press(XPLM_VK_F5, xplm_ControlFlag), 1);
  EXPECT_EQ(Int(kViewType), 1026);
  EXPECT_FALSE(MenuItems()[0].enabled);
  EXPECT_TRUE(MenuItems()[1].enabled);

  EXPECT_EQ(Press(XPLM_VK_F5, xplm_ControlFlag), 1);
  EXPECT_EQ(Int(kViewType), 1000);
  EXPECT_TRUE(MenuItems()[0].enabled);
  EXPECT_FALSE(MenuItems()[1].enabled);
}

TEST_F(HotkeysTest, TrackerToggleWithoutSourceLeavesBothTrackerItemsOff) {
  WriteSetupFile("[TRACKIR_TOGGLE]\nHOTKEY = T\n");
  Start();
  for (int press = 0; press < 3; ++press) {
    EXPECT_EQ(Press(XPLM_VK_T), 1);
    const auto items = MenuItems();
    EXPECT_FALSE(items[5].enabled);
    EXPECT_FALSE(items[6].enabled);
    EXPECT_TRUE(items[0].enabled);  // head tracking does not touch view control
  }
}

TEST_F(HotkeysTest, PresetHotkeyOnAnEmptyPresetDoesNothing) {
  WriteSetupFile("[PRESET3]\nHOTKEY = 3\n");
  Start();
  Set(kHeadX, 0.25);
  EXPECT_EQ(Press(XPLM_VK_3), 1);
  EXPECT_EQ(Float(kHeadX), 0.25f);
}

TEST_F(HotkeysTest, PresetHotkeyRecallsAStoredPresetEvenWithViewControlOff) {
  WriteSetupFile("[CONFIG]\nAUTOSTART = 1\n[PRESET1]\nHOTKEY = 1\n[PRESET2]\nHOTKEY = 2\n");
  Start();
  Set(kHeadX, 0.2);
  Set(kHeadHeading, 30.0);
  // The automatic start after the aircraft load stores the head's pose as preset 1.
  host().planeLoaded();
  host().runCycles(5);
  ASSERT_FALSE(MenuItems()[0].enabled);
  ASSERT_TRUE(Pick("Disable"));

  Set(kHeadX, -0.1);
  Set(kHeadHeading, -45.0);
  EXPECT_EQ(Press(XPLM_VK_2), 1);  // preset 2 is empty
  EXPECT_EQ(Float(kHeadX), -0.1f);
  EXPECT_EQ(Press(XPLM_VK_1), 1);
  EXPECT_EQ(Float(kHeadX), 0.2f);
  EXPECT_EQ(Float(kHeadHeading), 30.0f);
  // Recalling a preset does not switch view control on.
  EXPECT_TRUE(MenuItems()[0].enabled);
}

TEST_F(HotkeysTest, BindingsAreRegisteredAgainAfterARestart) {
  WriteSetupFile("[PRESET4]\nHOTKEY = F1\n[DATA_PANEL_TOGGLE]\nHOTKEY = D\n");
  Start();
  host().stop();
  Start();
  const auto hotkeys = Hotkeys();
  ASSERT_EQ(hotkeys.size(), 2u);
  EXPECT_EQ(hotkeys[0].description, "03");
  EXPECT_EQ(hotkeys[1].description, "12");
}

}  // namespace
}  // namespace talvenor::testing
