// The plugin's life as X-Plane drives it: start, the log it writes, its flight loops, the plane-loaded
// message and a clean stop.
#include <filesystem>
#include <string>

#include "long_path_fixture.h"
#include "plugin/frame_update.h"
#include "plugin/plugin.h"
#include "plugin_fixture.h"

namespace talvenor::testing {
namespace {

constexpr char kStartLines[] = "+++ LOGGING STARTED +++\nTalvenor v1.70\n";
constexpr char kStopLines[] = "--- LOGGING STOPPED ---\n\n";

using LifecycleTest = PluginTest;

TEST_F(LifecycleTest, StartsAndStopsWithoutSetupFile) {
  Start();
  EXPECT_EQ(host().name(), "Talvenor");
  EXPECT_EQ(host().signature(), "quorlend.projects.talvenor");
  EXPECT_FALSE(host().description().empty());
  EXPECT_EQ(Log(), std::string(kStartLines) + "Debug Logging is disabled\n");
  // The start and stop lines also go to the debugger output.
  EXPECT_NE(Debug().find("+++ LOGGING STARTED +++\n"), std::string::npos);

  EXPECT_TRUE(host().stop().empty());
  EXPECT_EQ(Log(), std::string(kStartLines) + "Debug Logging is disabled\n" + kStopLines);
  EXPECT_NE(Debug().find(kStopLines), std::string::npos);
}

TEST_F(LifecycleTest, DebugSwitchLetsTheSetupReadingIntoTheLog) {
  WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n");
  Start();
  // "Parsing Setup file" is written while the switches are still off, so only the outcome shows.
  EXPECT_EQ(
      Log(),
      std::string(kStartLines) +
          "Parsing Successful\nDebug Logging is enabled\nTrackIR Interface : DLL Location key not present\n");
  host().stop();
  EXPECT_EQ(
      Log(),
      std::string(kStartLines) +
          "Parsing Successful\nDebug Logging is enabled\nTrackIR Interface : DLL Location key not present\n" +
          kStopLines);
}

TEST_F(LifecycleTest, DebugViewSwitchSendsTheSetupReadingToTheDebuggerOnly) {
  WriteSetupFile("[DEBUG]\nDEBUGVIEWENABLED = 1\n");
  Start();
  EXPECT_EQ(Log(), std::string(kStartLines) + "Debug Logging is disabled\n");
  EXPECT_NE(Debug().find("Parsing Successful\nDebug Logging is disabled\n"), std::string::npos);
}

TEST_F(LifecycleTest, ParseErrorsAreLoggedAndTheStartGoesOn) {
  WriteSetupFile(
      "[DEBUG]\nDEBUGLOGENABLED = 1\n[CONFIG]\nAUTOSTART = 1\nBOGUS = 1\n[TL_TOGGLE]\nHOTKEY = F5\n");
  Start();
  EXPECT_EQ(Log(), std::string(kStartLines) +
                       "BOGUS is an invalid field\nParse Error in CONFIG section\nDebug Logging is "
                       "enabled\nTrackIR Interface : DLL Location key not present\n");
  // The entries after the error are not applied: no hotkey.
  EXPECT_TRUE(Hotkeys().empty());
  EXPECT_EQ(MenuItems().size(), 7u);
}

TEST_F(LifecycleTest, InvalidSectionIsLoggedWithItsLabel) {
  WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n[NOPE]\nA = 1\n");
  Start();
  EXPECT_EQ(Log(), std::string(kStartLines) +
                       "NOPE is an invalid section name\nParse Error in Section Name\nDebug Logging is "
                       "enabled\nTrackIR Interface : DLL Location key not present\n");
}

TEST_F(LifecycleTest, StartAfterStopIsFresh) {
  WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n[CONFIG]\nENABLEEXTERNALDATA = 1\n");
  Start();
  ASSERT_TRUE(Pick("Enable"));
  host().stop();

  WriteSetupFile("[PRESET4]\nHOTKEY = F1\n");
  Start();
  // Only this run's lines: the log was emptied, the debug switch is off again.
  EXPECT_EQ(Log(), std::string(kStartLines) + "Debug Logging is disabled\n");
  const auto items = MenuItems();
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[5].text, "TrackIR Enable");
  EXPECT_TRUE(items[0].enabled);  // view control is off again
  EXPECT_FALSE(items[1].enabled);
  EXPECT_EQ(Hotkeys().size(), 1u);
}

TEST_F(LifecycleTest, FlightLoopsRunAtTheirFirstIntervals) {
  Start();
  auto& loops = host().flightLoops();
  EXPECT_EQ(loops.count(sim::kPluginUnderTest), 2);

  // 0.1 s at 50 fps: the view update first runs in the 5th cycle, then in every cycle.
  host().runCycles(4);
  EXPECT_EQ(loops.calls(&ViewUpdateCallback), 0);
  host().runCycles(1);
  EXPECT_EQ(loops.calls(&ViewUpdateCallback), 1);
  host().runCycles(10);
  EXPECT_EQ(loops.calls(&ViewUpdateCallback), 11);

  // The dataref-browser announcement runs once, after 1.0 s, and stays registered until the stop.
  host().runCycles(34);
  EXPECT_EQ(loops.calls(&RegisterWithDataRefEditor), 0);
  host().runCycles(1);
  EXPECT_EQ(loops.calls(&RegisterWithDataRefEditor), 1);
  host().runCycles(100);
  EXPECT_EQ(loops.calls(&RegisterWithDataRefEditor), 1);
  EXPECT_EQ(loops.count(sim::kPluginUnderTest), 2);
}

TEST_F(LifecycleTest, NothingStaysRegisteredAfterStop) {
  WriteSetupFile("[PRESET1]\nHOTKEY = F1\n[TL_TOGGLE]\nHOTKEY = F2\n");
  Start();
  ASSERT_TRUE(Pick("Enable"));
  host().runCycles(60);
  const auto left = host().stop();
  EXPECT_TRUE(left.empty()) << left.front();
  EXPECT_EQ(host().flightLoops().count(sim::kPluginUnderTest), 0);
  EXPECT_TRUE(Hotkeys().empty());
  EXPECT_FALSE(host().menus().exists("Talvenor"));
  EXPECT_TRUE(MenuItems("Plugins").empty());
  // The former hotkeys reach nothing, and time goes on without the plugin.
  EXPECT_EQ(Press(XPLM_VK_F2), 0);
  const int viewType = Int(kViewType);
  host().runCycles(10);
  EXPECT_EQ(Int(kViewType), viewType);
}

TEST_F(LifecycleTest, PlaneLoadedResetsTheRollOfTheUsersAircraftOnly) {
  Start();
  Set(kHeadRoll, 5.0);
  host().planeLoaded(1);  // another aircraft
  EXPECT_EQ(Float(kHeadRoll), 5.0f);
  host().sendMessage(2, XPLM_MSG_PLANE_LOADED, 0);  // not from the simulator
  EXPECT_EQ(Float(kHeadRoll), 5.0f);
  host().sendMessage(sim::kSimulatorId, XPLM_MSG_PLANE_UNLOADED, 0);
  EXPECT_EQ(Float(kHeadRoll), 5.0f);
  host().planeLoaded(0);
  EXPECT_EQ(Float(kHeadRoll), 0.0f);
}

TEST_F(LifecycleTest, PlaneLoadedKeepsTheRollWhenTheSetupSaysSo) {
  WriteSetupFile("[CONFIG]\nRESETROLLOFFSETONSTARTUP = 0\n");
  Start();
  Set(kHeadRoll, 5.0);
  host().planeLoaded(0);
  EXPECT_EQ(Float(kHeadRoll), 5.0f);
}

TEST_F(LifecycleTest, PlaneLoadedWithViewControlOffWaitsForTheUser) {
  Start();
  Set(kViewType, 1000);
  host().planeLoaded(0);
  host().runCycles(10);
  EXPECT_TRUE(MenuItems()[0].enabled);
  EXPECT_EQ(Int(kViewType), 1000);
}

TEST_F(LifecycleTest, PlaneLoadedWithAutoStartSwitchesViewControlOn) {
  WriteSetupFile("[CONFIG]\nAUTOSTART = 1\n");
  Start();
  Set(kViewType, 1000);
  host().planeLoaded(0);
  // The re-initialisation waits for the view update's first call, in the 5th cycle.
  host().runCycles(4);
  EXPECT_TRUE(MenuItems()[0].enabled);
  host().runCycles(1);
  const auto items = MenuItems();
  EXPECT_FALSE(items[0].enabled);
  EXPECT_TRUE(items[1].enabled);
  EXPECT_EQ(Int(kViewType), 1026);
}

// "Resources/plugins/Talvenor/Talvenor.ini" adds 39 characters: at 473 the setup path needs 512.
class TooLongPathTest : public LongPathTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return WithSystemPathLength(473); }
};

TEST_F(TooLongPathTest, SetupFileIsNotOpenedAndTheEventIsLogged) {
  ASSERT_EQ(host().systemPath().size(), 473u);
  WriteSetupFile("[PRESET1]\nHOTKEY = F1\n");
  Start();
  EXPECT_TRUE(Hotkeys().empty());
  EXPECT_NE(Debug().find("The path of Talvenor.ini is too long, will use defaults\n"), std::string::npos);
  EXPECT_EQ(Debug().find("The path of the XPLM library is too long"), std::string::npos);
  EXPECT_EQ(MenuItems().size(), 7u);
}

class LongestPathTest : public LongPathTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return WithSystemPathLength(472); }
};

TEST_F(LongestPathTest, SetupPathOfMaximumLengthIsRead) {
  ASSERT_EQ(host().systemPath().size(), 472u);
  WriteSetupFile("[PRESET1]\nHOTKEY = F1\n");
  Start();
  EXPECT_EQ(Hotkeys().size(), 1u);
  EXPECT_EQ(Debug().find("The path of Talvenor.ini is too long"), std::string::npos);
}

}  // namespace
}  // namespace talvenor::testing
