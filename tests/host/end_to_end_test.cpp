// The SDK probe loaded from its library file, as X-Plane loads a plugin: driven through the host's driver API
// in this process, and through talvenor-sim for what only a scenario run shows (the leak report and the
// exit status).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands.h"
#include "datarefs.h"
#include "flight_loops.h"
#include "host.h"
#include "host_test_support.h"
#include "hotkeys.h"
#include "menus.h"
#include "plugins.h"
#include "widgets.h"
#include "XPLMDefs.h"

namespace {

namespace fs = std::filesystem;

class ProbeEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(host_.loadPlugin(TALVENOR_TEST_PLUGIN, &error)) << error;
    ASSERT_EQ(host_.start(), 1);
  }

  int Int(const char* name) {
    const auto value = host_.datarefs().read(name);
    return value ? static_cast<int>(value->value) : INT_MIN;
  }

  sim::Host host_;
};

TEST_F(ProbeEndToEnd, IdentifiesItselfAndRegistersEachFamily) {
  EXPECT_EQ(host_.name(), sim::test::kProbe);
  EXPECT_EQ(host_.signature(), "talvenor.tests.sdk_probe");
  EXPECT_EQ(host_.pluginName(), "sdk_probe");
  EXPECT_EQ(Int("probe/enabled"), 1);
  EXPECT_EQ(host_.flightLoops().count(sim::kPluginUnderTest), 1);
  EXPECT_EQ(host_.hotkeys().list(sim::kPluginUnderTest).size(), 4u);
  EXPECT_EQ(host_.commands().handlerCount("sim/general/left"), 2);
  EXPECT_TRUE(host_.commands().exists("probe/count"));
  EXPECT_TRUE(host_.menus().exists(sim::test::kProbe));
}

// Every scenario of the probe ends with its stop, so a probe that leaked by itself would fail them all.
TEST_F(ProbeEndToEnd, StopsCleanlyAfterUsingEveryFamily) {
  host_.plugins().addStub("xplanesdk.examples.DataRefEditor");
  for (const char* command : {"probe/head_writer", "probe/spawn", "probe/window", "probe/announce",
                              "probe/check_datarefs", "probe/check_plugins", "probe/debug"}) {
    EXPECT_TRUE(host_.commands().once(command)) << command;
  }
  host_.runCycles(10);
  EXPECT_EQ(Int("probe/spawn_calls"), 3);                          // the spawned loop has unregistered itself
  EXPECT_EQ(host_.flightLoops().count(sim::kPluginUnderTest), 2);  // main and head writer
  ASSERT_TRUE(host_.menus().pick(sim::test::kProbe, "Count"));
  EXPECT_EQ(host_.hotkeys().tap(XPLM_VK_F8, 0), 2);  // its down and its up hotkeys
  const XPWidgetID window = host_.widgets().findWindow(sim::test::kProbe);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(host_.widgets().click(host_.widgets().findByCaption(window, "Press Me")),
            sim::UserAction::Delivered);
  EXPECT_EQ(host_.widgets().click(host_.widgets().findByCaption(window, "Check Me")),
            sim::UserAction::Delivered);
  EXPECT_EQ(Int("probe/menu_picks"), 1);
  EXPECT_EQ(Int("probe/button_presses"), 1);
  EXPECT_EQ(Int("probe/checkbox_state"), 1);

  EXPECT_EQ(host_.stop(), std::vector<std::string>{});
  EXPECT_EQ(host_.flightLoops().count(sim::kPluginUnderTest), 0);
  EXPECT_EQ(host_.commands().handlerCount("sim/general/left"), 0);
  EXPECT_TRUE(host_.widgets().windows().empty());
}

TEST_F(ProbeEndToEnd, LeakCommandLeavesALoopAHotkeyAndAnAccessor) {
  ASSERT_TRUE(host_.commands().once("probe/leak"));
  const std::vector<std::string> left = host_.stop();
  ASSERT_EQ(left.size(), 3u);
  std::string all;
  for (const std::string& line : left) all += line + "\n";
  EXPECT_NE(all.find("flight loop"), std::string::npos) << all;
  EXPECT_NE(all.find("hotkey F8 (DOWN) \"SDK Probe: count\""), std::string::npos) << all;
  EXPECT_NE(all.find("data accessor probe/int_value"), std::string::npos) << all;
}

TEST_F(ProbeEndToEnd, StartAfterStopIsAFreshLoad) {
  ASSERT_TRUE(host_.datarefs().write("probe/int_value", 5));
  host_.runCycles(5);
  EXPECT_EQ(Int("probe/loop_calls"), 1);
  EXPECT_TRUE(host_.stop().empty());
  EXPECT_FALSE(host_.datarefs().exists("probe/int_value"));
  ASSERT_EQ(host_.start(), 1);
  EXPECT_EQ(Int("probe/int_value"), 0);
  EXPECT_EQ(Int("probe/loop_calls"), 0);
  EXPECT_EQ(Int("probe/enable_calls"), 1);
  EXPECT_EQ(host_.flightLoops().count(sim::kPluginUnderTest), 1);
}

// talvenor-sim on a scenario written to a temporary file: its exit status and everything it printed.
struct SimRun {
  int status = -1;
  std::string output;
};

SimRun RunSim(const std::string& scenario) {
  const fs::path folder = fs::temp_directory_path() / ("probe-e2e-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path file = folder / "scenario.scn";
  std::ofstream(file) << scenario;
  const std::string command = std::string("'") + TALVENOR_SIM + "' --plugin '" + TALVENOR_TEST_PLUGIN +
                              "' '" + file.string() + "' 2>&1";
  SimRun run;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.output.append(chunk.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return run;
}

TEST(ProbeThroughSim, CleanRunPasses) {
  const SimRun run = RunSim(
      "start\n"
      "frames 5\n"
      "expect probe/loop_calls 1\n"
      "stop\n");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("1 passed, 0 failed"), std::string::npos) << run.output;
}

TEST(ProbeThroughSim, LeftRegistrationsFailTheRunAndAreNamed) {
  const SimRun run = RunSim(
      "start\n"
      "command once probe/leak\n"
      "expect probe/enabled 1\n"
      "stop\n");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("flight loop"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("hotkey F8 (DOWN) \"SDK Probe: count\""), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("data accessor probe/int_value"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("1 passed, 3 failed"), std::string::npos) << run.output;
}

}  // namespace
