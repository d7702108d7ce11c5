// The plugin menu under Plugins > Talvenor: its items, their states, and view control switched on and off
// through it.
#include <limits>
#include <string>
#include <vector>

#include "plugin_fixture.h"

namespace talvenor::testing {
namespace {

std::vector<std::string> Texts(const std::vector<sim::MenuItemInfo>& items) {
  std::vector<std::string> texts;
  for (const auto& item : items) texts.push_back(item.text);
  return texts;
}

std::vector<bool> States(const std::vector<sim::MenuItemInfo>& items) {
  std::vector<bool> states;
  for (const auto& item : items) states.push_back(item.enabled);
  return states;
}

using MenuTest = PluginTest;

TEST_F(MenuTest, HangsUnderThePluginsMenu) {
  Start();
  const auto plugins = MenuItems("Plugins");
  ASSERT_EQ(plugins.size(), 1u);
  EXPECT_EQ(plugins[0].text, "Talvenor");
  EXPECT_TRUE(plugins[0].hasSubmenu);
}

TEST_F(MenuTest, SevenItemsInHeadTrackerMode) {
  Start();
  const auto items = MenuItems();
  EXPECT_EQ(Texts(items),
            (std::vector<std::string>{"Enable", "Disable", "Control Panel", "Data Display",
                                      "Forces Effect Panel", "TrackIR Enable", "TrackIR Disable"}));
  // No tracker is found at start, so its item is not offered.
  EXPECT_EQ(States(items), (std::vector<bool>{true, false, true, true, true, false, false}));
}

TEST_F(MenuTest, SevenItemsInExternalDataMode) {
  WriteSetupFile("[CONFIG]\nENABLEEXTERNALDATA = 1\n");
  Start();
  const auto items = MenuItems();
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"Enable", "Disable", "Control Panel", "Data Display",
                                                    "Forces Effect Panel", "External Data Enable",
                                                    "External Data Disable"}));
  // The external datarefs are not published yet when the start probes them.
  EXPECT_EQ(States(items), (std::vector<bool>{true, false, true, true, true, false, false}));
}

TEST_F(MenuTest, EnableSelectsTheCockpitViewAndDisableRestoresTheRoll) {
  Start();
  Set(kViewType, 1023);
  Set(kHeadRoll, 7.0);
  ASSERT_TRUE(Pick("Enable"));
  EXPECT_EQ(Int(kViewType), 1026);
  // Without a usable source both tracker items are off.
  EXPECT_EQ(States(MenuItems()), (std::vector<bool>{false, true, true, true, true, false, false}));
  EXPECT_FALSE(Pick("Enable"));  // a disabled item cannot be picked

  Set(kHeadRoll, -2.5);
  ASSERT_TRUE(Pick("Disable"));
  EXPECT_EQ(Int(kViewType), 1000);
  EXPECT_EQ(Float(kHeadRoll), 7.0f);
  EXPECT_EQ(States(MenuItems()), (std::vector<bool>{true, false, true, true, true, false, false}));
  EXPECT_FALSE(Pick("Disable"));

  // A second switch-on captures the roll anew.
  Set(kHeadRoll, 1.5);
  ASSERT_TRUE(Pick("Enable"));
  Set(kHeadRoll, 0.0);
  ASSERT_TRUE(Pick("Disable"));
  EXPECT_EQ(Float(kHeadRoll), 1.5f);
}

// A preset file of two records: slot 1 empty, slot 2 holding the pose.
std::string PresetFile(float x, float y, float z, float pitch, float heading, float roll) {
  return FileBytes({{}, {1, {x, y, z, pitch, heading, roll}}});
}

TEST_F(MenuTest, EnableShowsTheAircraftsFirstStoredPreset) {
  WriteFile("Aircraft/Default/Talvenor.dat", PresetFile(-0.25f, 0.95f, -3.5f, -20.0f, -40.0f, -5.0f));
  Start();
  ASSERT_TRUE(Pick("Enable"));
  EXPECT_EQ(Float(kHeadX), -0.25f);
  EXPECT_EQ(Float(kHeadY), 0.95f);
  EXPECT_EQ(Float(kHeadZ), -3.5f);
  EXPECT_EQ(Float(kHeadPitch), -20.0f);
  EXPECT_EQ(Float(kHeadHeading), -40.0f);
  EXPECT_EQ(Float(kHeadRoll), -5.0f);
}

TEST_F(MenuTest, PlaneLoadedWhileOnSwitchesToTheNewAircraftsPresets) {
  WriteFile("Aircraft/Other/Talvenor.dat", PresetFile(0.4f, 1.2f, -2.0f, 5.0f, 10.0f, 0.0f));
  Start();
  ASSERT_TRUE(Pick("Enable"));
  host().runCycles(10);
  host().setAircraft("Aircraft/Other/Other.acf");
  host().planeLoaded();
  EXPECT_NE(Float(kHeadX), 0.4f);
  host().runCycles(1);  // the next view update switches off and on again
  EXPECT_FALSE(MenuItems()[0].enabled);
  EXPECT_EQ(Float(kHeadX), 0.4f);
  EXPECT_EQ(Float(kHeadHeading), 10.0f);
  EXPECT_EQ(Int(kViewType), 1026);
}

TEST_F(MenuTest, RollThatIsNotANumberIsNotRestored) {
  Start();
  Set(kHeadRoll, std::numeric_limits<double>::quiet_NaN());
  ASSERT_TRUE(Pick("Enable"));
  Set(kHeadRoll, 4.0);
  ASSERT_TRUE(Pick("Disable"));
  EXPECT_EQ(Float(kHeadRoll), 0.0f);
}

TEST_F(MenuTest, LeavingTheCockpitViewSwitchesViewControlOff) {
  Start();
  ASSERT_TRUE(Pick("Enable"));
  host().runCycles(5);
  EXPECT_FALSE(MenuItems()[0].enabled);
  Set(kViewType, 1017);
  host().runCycles(1);
  EXPECT_TRUE(MenuItems()[0].enabled);
  EXPECT_FALSE(MenuItems()[1].enabled);
  // The simulator stays in the view the user chose.
  EXPECT_EQ(Int(kViewType), 1017);
}

TEST_F(MenuTest, MenuIsGoneAfterStop) {
  Start();
  host().stop();
  EXPECT_FALSE(host().menus().exists("Talvenor"));
  EXPECT_TRUE(MenuItems("Plugins").empty());
}

}  // namespace
}  // namespace talvenor::testing
