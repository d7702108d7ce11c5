// The 42 published commands and the ten hooked simulator commands: what is registered and removed, what each
// handler lets the simulator do, and what the commands do to the view, the presets and the files.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/commands.h"
#include "plugin/host_functions.h"
#include "plugin/plugin.h"
#include "plugin_fixture.h"

namespace talvenor::testing {
namespace {

constexpr std::array<const char*, 6> kHead = {kHeadX, kHeadY, kHeadZ, kHeadHeading, kHeadPitch, kHeadRoll};

constexpr char kPresetFile[] = "Aircraft/Default/Talvenor.dat";
constexpr char kLimitsFile[] = "Aircraft/Default/TalvenorLimits.dat";
constexpr char kEffectsFile[] = "Aircraft/Default/TalvenorEffects.dat";

// Another plugin, whose handlers watch what the plugin's handlers let through.
constexpr sim::PluginId kWatcher = 7;

std::string Cmd(const char* name) {
  return std::string("quorlend/talvenor/") + name;
}

using PhaseCounts = std::array<int, 3>;

int CountPhase(XPLMCommandRef, XPLMCommandPhase phase, void* refcon) {
  if (phase >= 0 && phase < 3) ++(*static_cast<PhaseCounts*>(refcon))[static_cast<std::size_t>(phase)];
  return 1;
}

class CommandsTest : public PluginTest {
 protected:
  // Registers a watcher after the plugin's handler on NAME; its counts say which phases got past the plugin.
  PhaseCounts& Watch(const std::string& name) {
    watched_.push_back(std::make_unique<PhaseCounts>());
    XPLMCommandRef command = XPLMFindCommand(name.c_str());
    EXPECT_NE(command, nullptr) << name;
    sim::Host::PluginCall call(host(), kWatcher);
    XPLMRegisterCommandHandler(command, &CountPhase, 1, watched_.back().get());
    return *watched_.back();
  }

  void EnableViewControl() {
    ASSERT_TRUE(Pick("Enable"));
    ASSERT_FALSE(MenuItems()[0].enabled);
  }
  bool ViewControlOn() { return !MenuItems()[0].enabled; }

  void Hold(const std::string& name, int cycles) {
    ASSERT_TRUE(host().commands().begin(name)) << name;
    host().runCycles(cycles);
    ASSERT_TRUE(host().commands().end(name));
  }
  void Tap(const std::string& name) { ASSERT_TRUE(host().commands().once(name)) << name; }

  std::array<float, 6> Head() {
    std::array<float, 6> pose{};
    for (std::size_t axis = 0; axis < kHead.size(); ++axis) pose[axis] = Float(kHead[axis]);
    return pose;
  }

  // The plugin's registrations (true) and unregistrations (false), in the order they happened.
  std::vector<sim::HandlerRegistrationEvent> PluginEvents(bool registered, std::size_t from = 0) {
    std::vector<sim::HandlerRegistrationEvent> events;
    const auto& log = host().commands().registrationLog();
    for (std::size_t i = from; i < log.size(); ++i) {
      if (log[i].owner == sim::kPluginUnderTest && log[i].registered == registered) events.push_back(log[i]);
    }
    return events;
  }

 private:
  std::vector<std::unique_ptr<PhaseCounts>> watched_;
};

struct Expected {
  std::string command;
  XPLMCommandCallback_f handler;
};

// The simulator command that a hook lands on: X-Plane 12 has no pan commands, the older simulator has.
const char* Hooked(const SimCommandSpec& sim, bool older = false) {
  return sim.fallback != nullptr && !older ? sim.fallback : sim.path;
}

// The 52 registrations in the order of the start.
std::vector<Expected> RegistrationOrder(bool older = false) {
  std::vector<Expected> order;
  for (int i = 0; i < kFirstPresetCommand; ++i)
    order.push_back({kPluginCommands[i].path, &ToggleCommandHandler});
  for (int i = kFirstPresetCommand; i < kFirstAxisCommand; ++i) {
    order.push_back({kPluginCommands[i].path, &PresetCommandHandler});
  }
  for (int i = kFirstAxisCommand; i < kPluginCommandCount; ++i) {
    order.push_back({kPluginCommands[i].path, &AxisCommandHandler});
  }
  for (const auto& sim : kSimCommands) order.push_back({Hooked(sim, older), &AxisCommandHandler});
  return order;
}

void ExpectEvents(const std::vector<sim::HandlerRegistrationEvent>& events,
                  const std::vector<Expected>& order) {
  ASSERT_EQ(events.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(events[i].command, order[i].command);
    EXPECT_EQ(events[i].handler, order[i].handler);
    EXPECT_EQ(events[i].before, 1);
    EXPECT_EQ(events[i].refcon, nullptr);
  }
}

TEST_F(CommandsTest, StartCreatesTheCommandsAndRegistersFiftyTwoHandlersInOrder) {
  Start();
  ExpectEvents(PluginEvents(true), RegistrationOrder());
  for (const auto& command : kPluginCommands) {
    EXPECT_TRUE(host().commands().exists(command.path)) << command.path;
    EXPECT_EQ(host().commands().description(command.path), command.description);
    EXPECT_EQ(host().commands().handlerCount(command.path), 1) << command.path;
  }
  EXPECT_EQ(host().commands().description(Cmd("axis_clear_roll_offset")), "Axis Clear Roll Offset");
  for (const auto& command : kSimCommands) EXPECT_EQ(host().commands().handlerCount(Hooked(command)), 1);
}

TEST_F(CommandsTest, OnTheOlderSimulatorThePanCommandsAreHookedInsteadOfTheRotations) {
  host().setSimulator(sim::Simulator::Older);
  Start();
  ExpectEvents(PluginEvents(true), RegistrationOrder(true));
  EXPECT_EQ(host().commands().handlerCount("sim/general/rot_up"), 0);
}

TEST_F(CommandsTest, StopRemovesEveryHandlerInItsOrderAndAFreshStartRegistersThemAgain) {
  Start();
  const std::size_t mark = host().commands().registrationLog().size();
  EXPECT_TRUE(host().stop().empty());

  const std::vector<Expected> all = RegistrationOrder();
  const auto at = [&all](int index) { return all[static_cast<std::size_t>(index)]; };
  std::vector<Expected> order;
  for (int i = kFirstAxisCommand; i < kPluginCommandCount + kSimCommandCount; ++i) order.push_back(at(i));
  for (int i = 0; i < kFirstPresetCommand; ++i) order.push_back(at(i));
  for (int i = kFirstPresetCommand; i < kFirstAxisCommand; ++i) order.push_back(at(i));
  ExpectEvents(PluginEvents(false, mark), order);
  EXPECT_TRUE(PluginEvents(true, mark).empty());

  // The simulator's own command no longer reaches the plugin.
  Tap("sim/general/left");
  EXPECT_EQ(host().commands().simActionCount("sim/general/left"), 2);
  EXPECT_EQ(host().commands().handlerCount("sim/general/left"), 0);

  Start();
  EXPECT_EQ(host().commands().handlerCount(Cmd("enable_toggle")), 1);
  EXPECT_EQ(host().commands().handlerCount("sim/general/rot_right"), 1);
}

TEST_F(CommandsTest, ToggleAndPresetCommandsEndTheCommandInEveryPhase) {
  Start();
  std::vector<PhaseCounts*> watchers;
  for (int i = 0; i < kFirstAxisCommand; ++i) watchers.push_back(&Watch(kPluginCommands[i].path));
  for (int i = 0; i < kFirstAxisCommand; ++i) Hold(kPluginCommands[i].path, 2);
  for (int i = 0; i < kFirstAxisCommand; ++i) {
    EXPECT_EQ(*watchers[static_cast<std::size_t>(i)], (PhaseCounts{0, 0, 0})) << kPluginCommands[i].path;
  }
}

TEST_F(CommandsTest, AxisCommandsLetEveryPhaseThroughWithViewControlOnAndOff) {
  Start();
  std::vector<std::string> names;
  for (int i = kFirstAxisCommand; i < kPluginCommandCount; ++i) names.push_back(kPluginCommands[i].path);
  for (const auto& sim : kSimCommands) names.push_back(Hooked(sim));
  std::vector<PhaseCounts*> watchers;
  for (const auto& name : names) watchers.push_back(&Watch(name));

  for (const auto& name : names) Hold(name, 3);
  EnableViewControl();
  for (const auto& name : names) Hold(name, 2);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(*watchers[i], (PhaseCounts{2, 5, 2})) << names[i];
  }
  for (const auto& sim : kSimCommands) {
    EXPECT_EQ(host().commands().simActionCount(Hooked(sim), xplm_CommandContinue), 5) << Hooked(sim);
  }
}

TEST_F(CommandsTest, EnableToggleSwitchesViewControlOnceForAHeldPress) {
  Start();
  Hold(Cmd("enable_toggle"), 3);
  EXPECT_TRUE(ViewControlOn());
  EXPECT_EQ(Int(kViewType), 1026);
  Tap(Cmd("enable_toggle"));
  EXPECT_FALSE(ViewControlOn());
  EXPECT_EQ(Int(kViewType), 1000);
}

TEST_F(CommandsTest, TrackerToggleWithoutSourceLeavesBothTrackerItemsOff) {
  Start();
  for (int press = 0; press < 2; ++press) {
    Tap(Cmd("trackir_toggle"));
    EXPECT_FALSE(MenuItems()[5].enabled);
    EXPECT_FALSE(MenuItems()[6].enabled);
  }
}

class AxisCommandsTest : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    // Each axis its own step, so that a movement on the wrong axis or with the wrong step shows.
    WriteSetupFile(
        "[CONFIG]\nAXISXINCREMENT = 0.01\nAXISYINCREMENT = 0.02\nAXISZINCREMENT = 0.03\n"
        "AXISHEADINGINCREMENT = 1.5\nAXISPITCHINCREMENT = 2.5\nAXISROLLINCREMENT = 3.5\n");
  }
};

struct Movement {
  const char* command;
  int axis;     // index into kHead
  float steps;  // signed increments per held cycle
};

constexpr std::array<float, 6> kSteps = {0.01f, 0.02f, 0.03f, 1.5f, 2.5f, 3.5f};

constexpr Movement kMovements[] = {
    {"quorlend/talvenor/axis_x_left", 0, -1},
    {"quorlend/talvenor/axis_x_right", 0, 1},
    {"quorlend/talvenor/axis_y_up", 1, 1},
    {"quorlend/talvenor/axis_y_down", 1, -1},
    {"quorlend/talvenor/axis_z_in", 2, -1},
    {"quorlend/talvenor/axis_z_out", 2, 1},
    {"quorlend/talvenor/axis_heading_left", 3, -1},
    {"quorlend/talvenor/axis_heading_right", 3, 1},
    {"quorlend/talvenor/axis_pitch_up", 4, 1},
    {"quorlend/talvenor/axis_pitch_down", 4, -1},
    {"quorlend/talvenor/axis_roll_left", 5, -1},
    {"quorlend/talvenor/axis_roll_right", 5, 1},
    {"sim/general/up", 1, 1},
    {"sim/general/down", 1, -1},
    {"sim/general/left", 0, -1},
    {"sim/general/right", 0, 1},
    {"sim/general/zoom_in", 2, -1},
    {"sim/general/zoom_out", 2, 1},
    {"sim/general/rot_up", 4, 1},
    {"sim/general/rot_down", 4, -1},
    {"sim/general/rot_left", 3, -1},
    {"sim/general/rot_right", 3, 1},
};

TEST_F(AxisCommandsTest, EachHeldCommandMovesItsAxisOneIncrementPerCycle) {
  Start();
  EnableViewControl();
  for (const Movement& movement : kMovements) {
    SCOPED_TRACE(movement.command);
    const auto before = Head();
    ASSERT_TRUE(host().commands().begin(movement.command));
    EXPECT_EQ(Head(), before);  // the press itself moves nothing
    host().runCycles(3);
    ASSERT_TRUE(host().commands().end(movement.command));
    const auto after = Head();
    for (std::size_t axis = 0; axis < 6; ++axis) {
      const float expected = static_cast<int>(axis) == movement.axis
                                 ? before[axis] + 3 * movement.steps * kSteps[axis]
                                 : before[axis];
      EXPECT_NEAR(after[axis], expected, 1e-4) << "axis " << axis;
    }
    // The move is stored in the selected preset, so later frames keep it.
    host().runCycles(2);
    EXPECT_EQ(Head(), after);
  }
}

TEST_F(AxisCommandsTest, ATapMovesNothing) {
  Start();
  EnableViewControl();
  Hold(Cmd("axis_roll_right"), 1);
  const auto before = Head();
  for (int i = kFirstAxisCommand; i < kPluginCommandCount; ++i) {
    if (i == kCmdAxisClearRoll) continue;
    Tap(kPluginCommands[i].path);
    host().runCycles(1);
    EXPECT_EQ(Head(), before) << kPluginCommands[i].path;
  }
  for (const auto& sim : kSimCommands) Tap(Hooked(sim));
  host().runCycles(1);
  EXPECT_EQ(Head(), before);
}

TEST_F(AxisCommandsTest, SimulatorCommandMovesTheHeadAndTheSimulatorActsToo) {
  Start();
  EnableViewControl();
  const float x = Float(kHeadX);
  Hold("sim/general/left", 5);
  EXPECT_NEAR(Float(kHeadX), x - 5 * 0.01f, 1e-5);
  EXPECT_EQ(host().commands().simActionCount("sim/general/left"), 7);  // begin, five continues, end

  // With view control off only the simulator acts.
  ASSERT_TRUE(Pick("Disable"));
  Set(kHeadX, 0.3);
  Hold("sim/general/left", 5);
  host().runCycles(2);
  EXPECT_EQ(Float(kHeadX), 0.3f);
  EXPECT_EQ(host().commands().simActionCount("sim/general/left"), 14);
  Hold(Cmd("axis_x_right"), 5);
  EXPECT_EQ(Float(kHeadX), 0.3f);
}

TEST_F(AxisCommandsTest, ClearRollTapClearsTheRollForGood) {
  Start();
  EnableViewControl();
  const float roll = Float(kHeadRoll);
  Hold(Cmd("axis_roll_right"), 2);
  ASSERT_NEAR(Float(kHeadRoll), roll + 7.0f, 1e-5);
  const float x = Float(kHeadX);
  Tap(Cmd("axis_clear_roll_offset"));
  EXPECT_EQ(Float(kHeadRoll), 0.0f);
  host().runCycles(3);
  EXPECT_EQ(Float(kHeadRoll), 0.0f);
  EXPECT_EQ(Float(kHeadX), x);

  // With view control off the command does nothing.
  Hold(Cmd("axis_roll_left"), 1);
  ASSERT_TRUE(Pick("Disable"));
  Set(kHeadRoll, 4.0);
  Tap(Cmd("axis_clear_roll_offset"));
  EXPECT_EQ(Float(kHeadRoll), 4.0f);
}

// The x step seen through one held cycle of axis_x_right.
class IncrementsTest : public CommandsTest {
 protected:
  float StepX() {
    const float before = Float(kHeadX);
    Hold(Cmd("axis_x_right"), 1);
    return Float(kHeadX) - before;
  }
  float StepHeading() {
    const float before = Float(kHeadHeading);
    Hold(Cmd("axis_heading_right"), 1);
    return Float(kHeadHeading) - before;
  }
};

TEST_F(IncrementsTest, WithoutAChangeIncreaseAndDecreaseKeepTheSteps) {
  Start();
  EnableViewControl();
  Tap(Cmd("axis_increment_increase"));
  EXPECT_NEAR(StepX(), 0.01f, 1e-6);
  for (int i = 0; i < 3; ++i) Tap(Cmd("axis_increment_decrease"));
  EXPECT_NEAR(StepX(), 0.01f, 1e-6);
  EXPECT_NEAR(StepHeading(), 1.0f, 1e-5);
}

TEST_F(IncrementsTest, HalfChangeStepsUpAndDownToAFloorAndResets) {
  WriteSetupFile("[CONFIG]\nAXISINCREMENTCHANGE = 0.5\n");
  Start();
  EnableViewControl();
  // A held press changes the steps once.
  Hold(Cmd("axis_increment_increase"), 3);
  EXPECT_NEAR(StepX(), 0.015f, 1e-6);
  EXPECT_NEAR(StepHeading(), 1.5f, 1e-5);
  for (int i = 0; i < 6; ++i) Tap(Cmd("axis_increment_decrease"));
  EXPECT_NEAR(StepX(), 0.005f, 1e-6);
  EXPECT_NEAR(StepHeading(), 0.5f, 1e-5);
  Tap(Cmd("axis_increment_increase"));
  EXPECT_NEAR(StepX(), 0.01f, 1e-6);
  Tap(Cmd("axis_increment_increase"));
  Tap(Cmd("axis_increment_reset"));
  EXPECT_NEAR(StepX(), 0.01f, 1e-6);
  EXPECT_NEAR(StepHeading(), 1.0f, 1e-5);

  // While view control is off the increment commands do nothing.
  ASSERT_TRUE(Pick("Disable"));
  Tap(Cmd("axis_increment_increase"));
  EnableViewControl();
  EXPECT_NEAR(StepX(), 0.01f, 1e-6);
}

class PresetCommandsTest : public CommandsTest {
 protected:
  // Presets 1, 2, 4 and 7 stored, told apart by x.
  void SetUp() override {
    CommandsTest::SetUp();
    WriteFile(kPresetFile, FileBytes({{1, {0.1f, 0.5f, -0.2f, 1, 2, 3}},
                                      {1, {0.2f, 0.6f, -0.3f, 4, 5, 6}},
                                      {},
                                      {1, {0.4f, 0.7f, -0.4f, 7, 8, 9}},
                                      {},
                                      {},
                                      {1, {0.7f, 0.8f, -0.5f, 10, 11, 12}},
                                      {}}));
  }
};

TEST_F(PresetCommandsTest, PresetCursorStepsAndStopsAtTheEnds) {
  WriteSetupFile("[PRESET4]\nHOTKEY = F4\n");
  Start();
  EnableViewControl();
  ASSERT_EQ(Float(kHeadX), 0.1f);

  Tap(Cmd("previous_preset"));  // the cursor stays at preset 1
  EXPECT_EQ(Float(kHeadX), 0.1f);
  Tap(Cmd("next_preset"));
  EXPECT_EQ(Float(kHeadX), 0.2f);
  EXPECT_EQ(Float(kHeadHeading), 5.0f);
  Tap(Cmd("next_preset"));  // preset 3 is empty: only the cursor moves
  host().runCycles(2);
  EXPECT_EQ(Float(kHeadX), 0.2f);
  Tap(Cmd("next_preset"));
  EXPECT_EQ(Float(kHeadX), 0.4f);

  Tap(Cmd("preset8"));  // empty
  EXPECT_EQ(Float(kHeadX), 0.4f);
  Tap(Cmd("next_preset"));  // the cursor stays at preset 8
  EXPECT_EQ(Float(kHeadX), 0.4f);
  Tap(Cmd("previous_preset"));
  EXPECT_EQ(Float(kHeadX), 0.7f);

  // A hotkey does not move the cursor: after preset 4 by key, "Next" steps from preset 1 to preset 2.
  Tap(Cmd("preset1"));
  EXPECT_EQ(Float(kHeadX), 0.1f);
  EXPECT_EQ(Press(XPLM_VK_F4), 1);
  EXPECT_EQ(Float(kHeadX), 0.4f);
  Tap(Cmd("next_preset"));
  EXPECT_EQ(Float(kHeadX), 0.2f);
}

TEST_F(PresetCommandsTest, RecallWorksWithViewControlOffAndWritesTheWholePose) {
  Start();
  EnableViewControl();
  ASSERT_TRUE(Pick("Disable"));
  Set(kHeadX, -1.0);
  Tap(Cmd("preset2"));
  EXPECT_EQ(Head(), (std::array<float, 6>{0.2f, 0.6f, -0.3f, 5, 4, 6}));
  EXPECT_FALSE(ViewControlOn());
  Tap(Cmd("preset3"));  // empty
  EXPECT_EQ(Float(kHeadX), 0.2f);
}

TEST_F(PresetCommandsTest, SaveClearAndLoadPresetsThroughTheAircraftsFile) {
  Start();
  EnableViewControl();
  Tap(Cmd("preset4"));
  Hold(Cmd("axis_x_right"), 1);  // preset 4 now at x 0.41
  Tap(Cmd("save_presets"));
  const std::string saved = ReadFile(kPresetFile);
  ASSERT_EQ(saved.size(), 224u);
  const FileRecord fourth = RecordAt(saved, 3);
  EXPECT_EQ(fourth.flag, 1);
  EXPECT_NEAR(fourth.values[0], 0.41f, 1e-6);

  // Clearing leaves preset 1 as the head is now (preset 4) and every other preset empty.
  Tap(Cmd("clear_presets"));
  EXPECT_NEAR(Float(kHeadX), 0.41f, 1e-6);
  Tap(Cmd("preset2"));
  Tap(Cmd("preset4"));
  EXPECT_NEAR(Float(kHeadX), 0.41f, 1e-6);
  Tap(Cmd("save_presets"));
  EXPECT_EQ(ReadFile(kPresetFile), FileBytes({fourth, {}, {}, {}, {}, {}, {}, {}}));

  // Loading takes the file back and selects its first stored preset.
  WriteFile(kPresetFile, saved);
  Tap(Cmd("load_presets"));
  EXPECT_EQ(Float(kHeadX), 0.1f);
  Tap(Cmd("preset2"));
  EXPECT_EQ(Float(kHeadX), 0.2f);
}

TEST_F(PresetCommandsTest, FailedSaveLeavesTheFileAsItWas) {
  Start();
  EnableViewControl();
  const std::string before = ReadFile(kPresetFile);
  Hold(Cmd("axis_x_right"), 1);
  host().fileFaults().setReadOnly(host().resolve("Aircraft/Default"), true);
  Tap(Cmd("save_presets"));
  host().fileFaults().setReadOnly(host().resolve("Aircraft/Default"), false);
  EXPECT_EQ(ReadFile(kPresetFile), before);
}

TEST_F(CommandsTest, SaveClearAndLoadLimitsThroughTheAircraftsFile) {
  const std::string original = FileBytes(
      {{1, {-0.2f, 0.2f, -0.1f, 0.3f, -0.5f, 0.1f}}, {}, {0, {-1, 1, -2, 2, -3, 3}}, {}, {}, {}, {}, {}});
  WriteFile(kLimitsFile, original);
  Start();
  EnableViewControl();

  WriteFile(kLimitsFile, "");
  Tap(Cmd("save_limits"));
  EXPECT_EQ(ReadFile(kLimitsFile), original);

  // Clearing zeroes the bounds and keeps each slot's switch.
  Tap(Cmd("clear_limits"));
  Tap(Cmd("save_limits"));
  EXPECT_EQ(ReadFile(kLimitsFile), FileBytes({{1}, {}, {}, {}, {}, {}, {}, {}}));

  WriteFile(kLimitsFile, original);
  Tap(Cmd("load_limits"));
  std::filesystem::remove(host().resolve(kLimitsFile));
  Tap(Cmd("save_limits"));
  EXPECT_EQ(ReadFile(kLimitsFile), original);
}

TEST_F(CommandsTest, SaveAndLoadEffectsThroughTheAircraftsFile) {
  WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n");
  Start();
  Tap(Cmd("load_effects"));
  EXPECT_NE(Log().find("No 'TalvenorEffects.dat' file found\n"), std::string::npos);
  Tap(Cmd("save_effects"));
  EXPECT_EQ(ReadFile(kEffectsFile), IntBytes({0, 10, 100, 10, 5, 5, 5}));

  const std::string other = IntBytes({1, 3, 4, 5, 6, 7, 8});
  WriteFile(kEffectsFile, other);
  Tap(Cmd("load_effects"));
  EXPECT_NE(Log().find("Found 'TalvenorEffects.dat' file, will use that\n"), std::string::npos);
  std::filesystem::remove(host().resolve(kEffectsFile));
  Tap(Cmd("save_effects"));
  EXPECT_EQ(ReadFile(kEffectsFile), other);
}

// A host whose XPLMFindSymbol knows every function but the one named here. The plugin is not started: the
// table is filled through that lookup and the commands made and removed as start and stop would.
const char* g_hidden = nullptr;

void* FindAllBut(const char* name) {
  if (g_hidden != nullptr && std::strcmp(name, g_hidden) == 0) return nullptr;
  return XPLMFindSymbol(name);
}

// A simulator with neither a pan nor a rotation command to the left.
XPLMCommandRef FindWithoutLeftRotation(const char* name) {
  if (std::strcmp(name, "sim/general/rot_left") == 0) return nullptr;
  return XPLMFindCommand(name);
}

void* FindWithOwnFindCommand(const char* name) {
  if (std::strcmp(name, "XPLMFindCommand") == 0) return reinterpret_cast<void*>(&FindWithoutLeftRotation);
  return XPLMFindSymbol(name);
}

class PartialHostTest : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    ResetState();
  }
  void TearDown() override {
    g_hidden = nullptr;
    CommandsTest::TearDown();
  }
};

TEST_F(PartialHostTest, MissingCreateFindOrRegisterMeansNoCommands) {
  for (const char* hidden : {"XPLMCreateCommand", "XPLMFindCommand", "XPLMRegisterCommandHandler"}) {
    SCOPED_TRACE(hidden);
    g_hidden = hidden;
    ASSERT_EQ(FillOptionalHostFunctions(&FindAllBut), 1);
    CreateCommands();
    EXPECT_FALSE(host().commands().exists(Cmd("enable_toggle")));
    EXPECT_EQ(host().commands().handlerCount("sim/general/left"), 0);
    EXPECT_TRUE(PluginEvents(true).empty());
    RemoveCommands();
    EXPECT_TRUE(PluginEvents(false).empty());
  }
}

TEST_F(PartialHostTest, MissingUnregisterLeavesTheHandlersInPlace) {
  g_hidden = "XPLMUnregisterCommandHandler";
  ASSERT_EQ(FillOptionalHostFunctions(&FindAllBut), 1);
  CreateCommands();
  EXPECT_EQ(PluginEvents(true).size(), 52u);
  RemoveCommands();
  EXPECT_TRUE(PluginEvents(false).empty());
  EXPECT_EQ(host().commands().handlerCount("sim/general/left"), 1);
}

TEST_F(PartialHostTest, ASimulatorCommandTheHostLacksGetsNoHandler) {
  ASSERT_EQ(FillOptionalHostFunctions(&FindWithOwnFindCommand), 1);
  CreateCommands();
  const auto registered = PluginEvents(true);
  ASSERT_EQ(registered.size(), 51u);
  for (const auto& event : registered) EXPECT_NE(event.command, "sim/general/rot_left");
  EXPECT_EQ(host().commands().handlerCount("sim/general/rot_left"), 0);
  EXPECT_EQ(host().commands().handlerCount("sim/general/rot_right"), 1);

  RemoveCommands();
  EXPECT_EQ(PluginEvents(false).size(), 51u);
  EXPECT_EQ(host().commands().handlerCount("sim/general/rot_right"), 0);
}

}  // namespace
}  // namespace talvenor::testing
