// Flight loops on the simulated clock, registered through the C API as the plugin under test.
#include "flight_loops.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "XPLMProcessing.h"
#include "host.h"

namespace sim {
namespace {

struct Call {
  long cycle;
  float sinceLastCall;
  float sinceLastLoop;
  int counter;
  PluginId caller;
};

// A callback's refcon: records each call; `next` decides the returned interval (default: keep `interval`).
struct Recorder {
  explicit Recorder(float first = 0) : interval(first) {}
  float interval;
  std::vector<Call> calls;
  std::function<float(Recorder&)> next;
};

float Record(float sinceLastCall, float sinceLastLoop, int counter, void* refcon) {
  auto* r = static_cast<Recorder*>(refcon);
  Host* host = Host::current();
  r->calls.push_back({host->cycle(), sinceLastCall, sinceLastLoop, counter, host->caller()});
  return r->next ? r->next(*r) : r->interval;
}

std::vector<long> Cycles(const Recorder& r) {
  std::vector<long> cycles;
  for (const Call& c : r.calls) cycles.push_back(c.cycle);
  return cycles;
}

TEST(FlightLoopTiming, TenthOfASecondAtFiftyFpsRunsEveryFifthCycle) {
  Host host;
  Recorder r{0.1f};
  XPLMRegisterFlightLoopCallback(Record, 0.1f, &r);
  host.runCycles(4);
  EXPECT_TRUE(r.calls.empty());
  host.runCycles(11);
  EXPECT_EQ(Cycles(r), (std::vector<long>{5, 10, 15}));
  for (const Call& c : r.calls) {
    EXPECT_FLOAT_EQ(c.sinceLastCall, 0.1f);
    EXPECT_FLOAT_EQ(c.sinceLastLoop, 0.02f);
    EXPECT_EQ(c.counter, c.cycle);
    EXPECT_EQ(c.caller, kPluginUnderTest);
  }
  EXPECT_EQ(host.flightLoops().calls(Record), 3);
  XPLMUnregisterFlightLoopCallback(Record, &r);
}

TEST(FlightLoopTiming, FirstCallCountsFromRegistrationNotFromTheStart) {
  Host host;
  host.runCycles(3);
  Recorder r{0.02f};
  XPLMRegisterFlightLoopCallback(Record, 0.1f, &r);
  host.runCycles(6);
  EXPECT_EQ(Cycles(r), (std::vector<long>{8, 9}));
  EXPECT_FLOAT_EQ(r.calls[0].sinceLastCall, 0.1f);
  EXPECT_FLOAT_EQ(r.calls[1].sinceLastCall, 0.02f);
  XPLMUnregisterFlightLoopCallback(Record, &r);
}

TEST(FlightLoopTiming, NegativeIntervalsCountCycles) {
  Host host;
  Recorder everyThird{-3};
  Recorder everyCycle{-1};
  XPLMRegisterFlightLoopCallback(Record, -3, &everyThird);
  XPLMRegisterFlightLoopCallback(Record, -1, &everyCycle);
  host.runCycles(9);
  EXPECT_EQ(Cycles(everyThird), (std::vector<long>{3, 6, 9}));
  EXPECT_EQ(everyCycle.calls.size(), 9u);
  EXPECT_FLOAT_EQ(everyThird.calls[1].sinceLastCall, 0.06f);
  XPLMUnregisterFlightLoopCallback(Record, &everyThird);
  XPLMUnregisterFlightLoopCallback(Record, &everyCycle);
}

TEST(FlightLoopTiming, ZeroKeepsTheCallbackRegisteredButIdle) {
  Host host;
  Recorder r{0};
  XPLMRegisterFlightLoopCallback(Record, 0, &r);
  host.runCycles(20);
  EXPECT_TRUE(r.calls.empty());
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 1);
  ASSERT_EQ(host.flightLoops().registrations(kPluginUnderTest).size(), 1u);
  EXPECT_EQ(host.flightLoops().registrations(kPluginUnderTest)[0].rfind("flight loop 0x", 0), 0u);

  XPLMSetFlightLoopCallbackInterval(Record, -1, 1, &r);
  host.runCycles(3);
  EXPECT_EQ(Cycles(r), (std::vector<long>{21}));  // it returned 0 again
  XPLMUnregisterFlightLoopCallback(Record, &r);
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 0);
  EXPECT_TRUE(host.flightLoops().registrations(kPluginUnderTest).empty());
}

TEST(FlightLoopTiming, ReturnValueIsTheNextInterval) {
  Host host;
  std::vector<float> plan{-1, 0.06f, -2, 0};
  Recorder r;
  r.next = [&plan](Recorder& self) { return plan[self.calls.size() - 1]; };
  XPLMRegisterFlightLoopCallback(Record, 0.1f, &r);
  host.runCycles(30);
  EXPECT_EQ(Cycles(r), (std::vector<long>{5, 6, 9, 11}));
  XPLMUnregisterFlightLoopCallback(Record, &r);
}

TEST(FlightLoopTiming, RescheduleFromLastCallOrFromNow) {
  Host host;
  Recorder fromRegistration{0};
  Recorder fromNow{0};
  XPLMRegisterFlightLoopCallback(Record, 0, &fromRegistration);
  XPLMRegisterFlightLoopCallback(Record, 0, &fromNow);
  host.runCycles(3);
  XPLMSetFlightLoopCallbackInterval(Record, 0.1f, 0, &fromRegistration);
  XPLMSetFlightLoopCallbackInterval(Record, 0.1f, 1, &fromNow);
  host.runCycles(10);
  EXPECT_EQ(Cycles(fromRegistration), (std::vector<long>{5}));
  EXPECT_EQ(Cycles(fromNow), (std::vector<long>{8}));
  XPLMUnregisterFlightLoopCallback(Record, &fromRegistration);
  XPLMUnregisterFlightLoopCallback(Record, &fromNow);
}

TEST(FlightLoopTiming, FrameRateChangeKeepsSecondsInSeconds) {
  Host host;
  host.setFps(25);
  Recorder r{0.1f};
  XPLMRegisterFlightLoopCallback(Record, 0.1f, &r);
  host.runCycles(6);
  EXPECT_EQ(Cycles(r), (std::vector<long>{3, 6}));  // 0.12 s: the first cycle past 0.1 s
  EXPECT_FLOAT_EQ(r.calls[0].sinceLastLoop, 0.04f);
  EXPECT_FLOAT_EQ(r.calls[1].sinceLastCall, 0.12f);
  host.setFps(50);
  host.runCycles(5);
  EXPECT_EQ(Cycles(r), (std::vector<long>{3, 6, 11}));
  EXPECT_FLOAT_EQ(XPLMGetElapsedTime(), 0.34f);
  EXPECT_EQ(XPLMGetCycleNumber(), 11);
  XPLMUnregisterFlightLoopCallback(Record, &r);
}

TEST(FlightLoopChanges, CallbackUnregisteringItselfStopsWithoutDisturbingOthers) {
  Host host;
  Recorder once{-1};
  Recorder other{-1};
  once.next = [](Recorder& self) {
    XPLMUnregisterFlightLoopCallback(Record, &self);
    return -1.0f;
  };
  XPLMRegisterFlightLoopCallback(Record, -1, &once);
  XPLMRegisterFlightLoopCallback(Record, -1, &other);
  host.runCycles(3);
  EXPECT_EQ(Cycles(once), (std::vector<long>{1}));
  EXPECT_EQ(Cycles(other), (std::vector<long>{1, 2, 3}));
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 1);
  XPLMUnregisterFlightLoopCallback(Record, &other);
}

TEST(FlightLoopChanges, CallbackRegisteredDuringACycleWaitsForTheNext) {
  Host host;
  Recorder later{-1};
  Recorder starter{0};
  starter.next = [&later](Recorder&) {
    XPLMRegisterFlightLoopCallback(Record, -1, &later);
    return 0.0f;
  };
  XPLMRegisterFlightLoopCallback(Record, -1, &starter);
  host.runCycles(3);
  EXPECT_EQ(Cycles(starter), (std::vector<long>{1}));
  EXPECT_EQ(Cycles(later), (std::vector<long>{2, 3}));
  EXPECT_FLOAT_EQ(later.calls[0].sinceLastCall, 0.02f);
  XPLMUnregisterFlightLoopCallback(Record, &starter);
  XPLMUnregisterFlightLoopCallback(Record, &later);
}

TEST(FlightLoopChanges, CallbackUnregisteringALaterOneInTheSameCycleStopsIt) {
  Host host;
  Recorder victim{-1};
  Recorder killer{0};
  killer.next = [&victim](Recorder&) {
    XPLMUnregisterFlightLoopCallback(Record, &victim);
    return 0.0f;
  };
  XPLMRegisterFlightLoopCallback(Record, -1, &killer);
  XPLMRegisterFlightLoopCallback(Record, -1, &victim);
  host.runCycles(2);
  EXPECT_TRUE(victim.calls.empty());
  XPLMUnregisterFlightLoopCallback(Record, &killer);
}

TEST(FlightLoopChanges, DuplicateRegistrationsRunTwiceAndUnregisterOneAtATime) {
  Host host;
  Recorder r{-1};
  XPLMRegisterFlightLoopCallback(Record, -1, &r);
  XPLMRegisterFlightLoopCallback(Record, -1, &r);
  host.runCycles(1);
  EXPECT_EQ(r.calls.size(), 2u);
  XPLMUnregisterFlightLoopCallback(Record, &r);
  host.runCycles(1);
  EXPECT_EQ(r.calls.size(), 3u);
  XPLMUnregisterFlightLoopCallback(Record, &r);
  XPLMUnregisterFlightLoopCallback(Record, &r);  // nothing left: ignored
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 0);
}

TEST(FlightLoopChanges, CallbacksRunAsThePluginThatRegisteredThem) {
  Host host;
  Recorder r{-1};
  {
    Host::PluginCall as(host, 4);
    XPLMRegisterFlightLoopCallback(Record, -1, &r);
  }
  host.runCycles(1);
  ASSERT_EQ(r.calls.size(), 1u);
  EXPECT_EQ(r.calls[0].caller, 4);
  EXPECT_EQ(host.flightLoops().count(4), 1);
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 0);
  EXPECT_TRUE(host.flightLoops().registrations(kPluginUnderTest).empty());
  XPLMUnregisterFlightLoopCallback(Record, &r);
}

}  // namespace
}  // namespace sim
