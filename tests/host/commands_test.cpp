// Commands as a plugin sees them: phases, handler order and the simulator's own action.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XPLMUtilities.h"
#include "commands.h"
#include "datarefs.h"
#include "host.h"
#include "host_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kLeft = "sim/general/left";

// One handler registration; its events go to a log shared by the test's handlers.
struct Recorder {
  std::string name;
  std::vector<std::string>* log = nullptr;
  int result = 1;
  sim::PluginId seenCaller = -1;
};

// Each event names the handler, the phase and how often the simulator had acted on sim/general/left when
// the handler ran.
int Record(XPLMCommandRef, XPLMCommandPhase phase, void* refcon) {
  auto* recorder = static_cast<Recorder*>(refcon);
  sim::Host& host = *sim::Host::current();
  recorder->seenCaller = host.caller();
  recorder->log->push_back(recorder->name + ":" + std::to_string(phase) +
                           " sim=" + std::to_string(host.commands().simActionCount(kLeft)));
  return recorder->result;
}

class CommandsTest : public ::testing::Test {
 protected:
  sim::Host host_;
  sim::Commands& commands_ = host_.commands();
  std::vector<std::string> log_;
  XPLMCommandRef left_ = XPLMFindCommand(kLeft);
};

TEST_F(CommandsTest, SimulatorViewCommandsExistAndUnknownNamesAreNotFound) {
  for (const char* name :
       {"sim/general/up", "sim/general/down", "sim/general/left", "sim/general/right", "sim/general/zoom_in",
        "sim/general/zoom_out", "sim/general/rot_up", "sim/general/rot_down", "sim/general/rot_left",
        "sim/general/rot_right", "sim/view/3d_cockpit_cmnd_look", "sim/view/forward_with_2d_panel",
        "sim/view/forward_with_hud", "sim/view/chase"}) {
    EXPECT_NE(XPLMFindCommand(name), nullptr) << name;
    EXPECT_TRUE(commands_.exists(name)) << name;
    EXPECT_FALSE(commands_.description(name).empty()) << name;
    EXPECT_EQ(commands_.simActionCount(name), 0) << name;
  }
  // The pan commands belong to the older simulator only.
  for (const char* name :
       {"sim/view/pan_up", "sim/view/pan_down", "sim/view/pan_left", "sim/view/pan_right"}) {
    EXPECT_EQ(XPLMFindCommand(name), nullptr) << name;
    host_.setSimulator(sim::Simulator::Older);
    EXPECT_NE(XPLMFindCommand(name), nullptr) << name;
    host_.setSimulator(sim::Simulator::XPlane12);
  }
  EXPECT_EQ(XPLMFindCommand("sim/general/sideways"), nullptr);
  EXPECT_EQ(XPLMFindCommand(nullptr), nullptr);
  EXPECT_FALSE(commands_.exists("sim/general/sideways"));
  EXPECT_FALSE(commands_.once("sim/general/sideways"));
}

TEST_F(CommandsTest, CreateGivesTheExistingCommandForAKnownName) {
  XPLMCommandRef created = XPLMCreateCommand("quorlend/talvenor/toggle", "Toggle");
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(XPLMFindCommand("quorlend/talvenor/toggle"), created);
  EXPECT_EQ(XPLMCreateCommand("quorlend/talvenor/toggle", "Something else"), created);
  EXPECT_EQ(commands_.description("quorlend/talvenor/toggle"), "Toggle");
  EXPECT_EQ(XPLMCreateCommand(kLeft, "Mine now"), left_);
  EXPECT_EQ(XPLMCreateCommand("", "No name"), nullptr);
  EXPECT_EQ(XPLMCreateCommand(nullptr, "No name"), nullptr);
  // A created command has no simulator action, but its handlers run.
  Recorder handler{"h", &log_};
  XPLMRegisterCommandHandler(created, Record, 1, &handler);
  XPLMCommandOnce(created);
  EXPECT_EQ(log_.size(), 2u);
  EXPECT_EQ(commands_.simActionCount("quorlend/talvenor/toggle"), 0);
}

TEST_F(CommandsTest, OnceRunsBeginAndEndAroundTheSimulatorsAction) {
  Recorder before{"before", &log_};
  Recorder after{"after", &log_};
  XPLMRegisterCommandHandler(left_, Record, 0, &after);
  XPLMRegisterCommandHandler(left_, Record, 1, &before);
  XPLMCommandOnce(left_);
  host_.runCycles(3);
  EXPECT_THAT(log_, ElementsAre("before:0 sim=0", "after:0 sim=1", "before:2 sim=1", "after:2 sim=2"));
  EXPECT_FALSE(commands_.isHeld(kLeft));
  EXPECT_EQ(commands_.simActionCount(kLeft, xplm_CommandBegin), 1);
  EXPECT_EQ(commands_.simActionCount(kLeft, xplm_CommandContinue), 0);
  EXPECT_EQ(commands_.simActionCount(kLeft, xplm_CommandEnd), 1);
}

TEST_F(CommandsTest, AHeldCommandContinuesOncePerCycleUntilItEnds) {
  Recorder before{"b", &log_};
  XPLMRegisterCommandHandler(left_, Record, 1, &before);
  ASSERT_TRUE(commands_.begin(kLeft));
  EXPECT_TRUE(commands_.isHeld(kLeft));
  host_.runCycles(3);
  XPLMCommandBegin(left_);  // a second source (a joystick button beside the key): begin again
  host_.runCycles(1);
  XPLMCommandEnd(left_);  // one source lets go, the other still holds it
  host_.runCycles(1);
  XPLMCommandEnd(left_);
  XPLMCommandEnd(left_);  // no longer held: nothing
  host_.runCycles(2);
  EXPECT_THAT(log_, ElementsAre("b:0 sim=0", "b:1 sim=1", "b:1 sim=2", "b:1 sim=3", "b:0 sim=4", "b:1 sim=5",
                                "b:2 sim=6", "b:1 sim=7", "b:2 sim=8"));
  EXPECT_FALSE(commands_.isHeld(kLeft));
  EXPECT_EQ(commands_.simActionCount(kLeft, xplm_CommandBegin), 2);
  EXPECT_EQ(commands_.simActionCount(kLeft, xplm_CommandContinue), 5);
  EXPECT_EQ(commands_.simActionCount(kLeft, xplm_CommandEnd), 2);
}

TEST_F(CommandsTest, AHandlersZeroStopsTheRestOfThePhase) {
  Recorder first{"first", &log_};
  Recorder stopper{"stopper", &log_, 0};
  Recorder later{"later", &log_};
  Recorder after{"after", &log_};
  XPLMRegisterCommandHandler(left_, Record, 1, &first);
  XPLMRegisterCommandHandler(left_, Record, 1, &stopper);
  XPLMRegisterCommandHandler(left_, Record, 1, &later);
  XPLMRegisterCommandHandler(left_, Record, 0, &after);
  commands_.begin(kLeft);
  host_.runCycles(1);
  commands_.end(kLeft);
  EXPECT_THAT(log_, ElementsAre("first:0 sim=0", "stopper:0 sim=0", "first:1 sim=0", "stopper:1 sim=0",
                                "first:2 sim=0", "stopper:2 sim=0"));
  EXPECT_EQ(commands_.simActionCount(kLeft), 0);

  // An after handler's 0 comes when the simulator has acted already; it only stops the handlers after it.
  log_.clear();
  stopper.result = 1;
  after.result = 0;
  Recorder lastAfter{"lastAfter", &log_};
  XPLMRegisterCommandHandler(left_, Record, 0, &lastAfter);
  commands_.once(kLeft);
  EXPECT_THAT(log_, ElementsAre("first:0 sim=0", "stopper:0 sim=0", "later:0 sim=0", "after:0 sim=1",
                                "first:2 sim=1", "stopper:2 sim=1", "later:2 sim=1", "after:2 sim=2"));
}

TEST_F(CommandsTest, UnregisteringNeedsTheSameFourValues) {
  Recorder handler{"h", &log_};
  Recorder other{"o", &log_};
  XPLMCommandRef right = XPLMFindCommand("sim/general/right");
  XPLMRegisterCommandHandler(left_, Record, 1, &handler);
  XPLMUnregisterCommandHandler(left_, Record, 0, &handler);
  XPLMUnregisterCommandHandler(left_, Record, 1, &other);
  XPLMUnregisterCommandHandler(right, Record, 1, &handler);
  XPLMUnregisterCommandHandler(
      left_, [](XPLMCommandRef, XPLMCommandPhase, void*) { return 1; }, 1, &handler);
  XPLMUnregisterCommandHandler(nullptr, Record, 1, &handler);
  EXPECT_EQ(commands_.handlerCount(kLeft), 1);
  commands_.once(kLeft);
  EXPECT_EQ(log_.size(), 2u);

  XPLMUnregisterCommandHandler(left_, Record, 1, &handler);
  EXPECT_EQ(commands_.handlerCount(kLeft), 0);
  commands_.once(kLeft);
  EXPECT_EQ(log_.size(), 2u);
  EXPECT_EQ(commands_.simActionCount(kLeft), 4);  // the simulator acts whether or not anyone listens
}

// On its first call: unregisters itself and the victim, and registers the newcomer.
struct Unregisterer {
  Recorder self;
  Recorder* victim = nullptr;
  Recorder* newcomer = nullptr;
};

int UnregisterOnFirstCall(XPLMCommandRef command, XPLMCommandPhase phase, void* refcon) {
  auto* data = static_cast<Unregisterer*>(refcon);
  data->self.log->push_back("unregisterer:" + std::to_string(phase));
  XPLMUnregisterCommandHandler(command, UnregisterOnFirstCall, 1, refcon);
  XPLMUnregisterCommandHandler(command, Record, 1, data->victim);
  XPLMRegisterCommandHandler(command, Record, 1, data->newcomer);
  return 1;
}

TEST_F(CommandsTest, AHandlerMayChangeTheRegistrationsWhileAPhaseRuns) {
  Recorder victim{"victim", &log_};
  Recorder newcomer{"newcomer", &log_};
  Unregisterer unregisterer{{"unregisterer", &log_}, &victim, &newcomer};
  Recorder after{"after", &log_};
  XPLMRegisterCommandHandler(left_, UnregisterOnFirstCall, 1, &unregisterer);
  XPLMRegisterCommandHandler(left_, Record, 1, &victim);
  XPLMRegisterCommandHandler(left_, Record, 0, &after);
  commands_.once(kLeft);
  // The victim is gone before its turn; the newcomer joins from the next phase on.
  EXPECT_THAT(log_, ElementsAre("unregisterer:0", "after:0 sim=1", "newcomer:2 sim=1", "after:2 sim=2"));
  EXPECT_EQ(commands_.handlerCount(kLeft), 2);
}

TEST_F(CommandsTest, HandlersRunAsThePluginThatRegisteredThem) {
  Recorder mine{"mine", &log_};
  Recorder stubs{"stubs", &log_};
  XPLMRegisterCommandHandler(left_, Record, 1, &mine);
  XPLMCreateCommand("quorlend/talvenor/save", "Save");
  {
    sim::Host::PluginCall call(host_, 2);
    XPLMRegisterCommandHandler(left_, Record, 0, &stubs);
  }
  commands_.once(kLeft);
  EXPECT_EQ(mine.seenCaller, sim::kPluginUnderTest);
  EXPECT_EQ(stubs.seenCaller, 2);
  // Created commands are no registration: they stay with the simulator.
  EXPECT_THAT(commands_.registrations(sim::kPluginUnderTest),
              ElementsAre("command handler on sim/general/left (before)"));
  EXPECT_THAT(commands_.registrations(2), ElementsAre("command handler on sim/general/left (after)"));
}

TEST_F(CommandsTest, UnloadingAPluginRemovesItsHandlersButItsCommandsStay) {
  Recorder mine{"mine", &log_};
  XPLMCommandRef save = XPLMCreateCommand("quorlend/talvenor/save", "Save");
  XPLMRegisterCommandHandler(left_, Record, 1, &mine);
  XPLMRegisterCommandHandler(save, Record, 1, &mine);
  commands_.removePlugin(sim::kPluginUnderTest);
  EXPECT_EQ(XPLMFindCommand("quorlend/talvenor/save"), save);
  EXPECT_THAT(commands_.registrations(sim::kPluginUnderTest), IsEmpty());
  XPLMCommandOnce(save);
  commands_.once(kLeft);
  EXPECT_THAT(log_, IsEmpty());
  // A fresh load of the plugin gets the same command back.
  EXPECT_EQ(XPLMCreateCommand("quorlend/talvenor/save", "Save"), save);
}

// Each view command's own action is held against the simulator's list in facts_test.cpp.
TEST_F(CommandsTest, AViewCommandStoppedByABeforeHandlerLeavesTheView) {
  Recorder stopper{"stopper", &log_, 0};
  const XPLMCommandRef chase = XPLMFindCommand("sim/view/chase");
  XPLMRegisterCommandHandler(chase, Record, 1, &stopper);
  XPLMCommandOnce(chase);
  EXPECT_EQ(host_.datarefs().read(sim::test::kViewType)->value, 1026);
}

TEST(CommandsWithoutHost, CallsDoNothing) {
  ASSERT_EQ(sim::Host::current(), nullptr);
  EXPECT_EQ(XPLMCreateCommand("a/b", "c"), nullptr);
  EXPECT_EQ(XPLMFindCommand("sim/general/left"), nullptr);
  XPLMRegisterCommandHandler(nullptr, Record, 1, nullptr);
  XPLMCommandOnce(nullptr);
  XPLMCommandBegin(nullptr);
  XPLMCommandEnd(nullptr);
}

}  // namespace
