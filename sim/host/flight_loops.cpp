#include "flight_loops.h"

#include "c_guard.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace sim {
namespace {

// Float intervals are never exact in seconds (0.1f is a little above 0.1): without a tolerance a 0.1 s
// callback at 50 fps would slip to the 6th cycle.
constexpr double kTolerance = 1e-6;

long CyclesOf(float interval) {
  return std::max(1L, std::lround(-static_cast<double>(interval)));
}

}  // namespace

struct FlightLoops::Loop {
  XPLMFlightLoop_f callback = nullptr;
  void* refcon = nullptr;
  PluginId owner = kPluginUnderTest;
  float interval = 0;   // > 0 seconds, < 0 cycles, 0 not scheduled
  double baseTime = 0;  // the interval counts from here
  long baseCycle = 0;
  double lastCall = 0;  // the last call, or the registration
  long lastCallCycle = 0;
  bool removed = false;
  bool operator==(const Loop&) const = default;
};

struct FlightLoops::Saved {
  std::vector<Loop> loops;
  double lastCycleTime = 0;
  std::map<XPLMFlightLoop_f, int> calls;
};

std::shared_ptr<const FlightLoops::Saved> FlightLoops::save() const {
  return std::make_shared<const Saved>(Saved{loops_, lastCycleTime_, calls_});
}

void FlightLoops::restore(const Saved& saved) {
  if (loops_ != saved.loops) loops_ = saved.loops;
  lastCycleTime_ = saved.lastCycleTime;
  if (calls_ != saved.calls) calls_ = saved.calls;
}

FlightLoops::FlightLoops(Host& host) : host_(host), lastCycleTime_(host.time()) {}

FlightLoops::~FlightLoops() = default;

FlightLoops::Loop* FlightLoops::match(XPLMFlightLoop_f callback, void* refcon) {
  for (Loop& loop : loops_) {
    if (!loop.removed && loop.callback == callback && loop.refcon == refcon) return &loop;
  }
  return nullptr;
}

void FlightLoops::registerCallback(XPLMFlightLoop_f callback, float interval, void* refcon) {
  if (callback == nullptr) return;
  Loop loop;
  loop.callback = callback;
  loop.refcon = refcon;
  loop.owner = host_.caller();
  loop.interval = std::isfinite(interval) ? interval : 0.0f;
  loop.baseTime = loop.lastCall = host_.time();
  loop.baseCycle = loop.lastCallCycle = host_.cycle();
  loops_.push_back(loop);
}

void FlightLoops::unregisterCallback(XPLMFlightLoop_f callback, void* refcon) {
  Loop* loop = match(callback, refcon);
  if (loop == nullptr) return;
  if (running_) {
    loop->removed = true;  // the cycle in progress still indexes loops_
  } else {
    loops_.erase(loops_.begin() + (loop - loops_.data()));
  }
}

void FlightLoops::setInterval(XPLMFlightLoop_f callback, float interval, int relativeToNow, void* refcon) {
  Loop* loop = match(callback, refcon);
  if (loop == nullptr) return;
  loop->interval = std::isfinite(interval) ? interval : 0.0f;
  loop->baseTime = relativeToNow != 0 ? host_.time() : loop->lastCall;
  loop->baseCycle = relativeToNow != 0 ? host_.cycle() : loop->lastCallCycle;
}

bool FlightLoops::due(const Loop& loop) const {
  if (loop.removed) return false;
  if (loop.interval > 0)
    return host_.time() - loop.baseTime >= static_cast<double>(loop.interval) - kTolerance;
  if (loop.interval < 0) return host_.cycle() - loop.baseCycle >= CyclesOf(loop.interval);
  return false;
}

void FlightLoops::runDue() {
  if (running_) return;  // a callback that runs the host's cycles does not re-enter the loop
  running_ = true;
  struct Finish {
    FlightLoops& self;
    ~Finish() {
      std::erase_if(self.loops_, [](const Loop& loop) { return loop.removed; });
      self.running_ = false;
    }
  } finish{*this};
  const double now = host_.time();
  const long cycle = host_.cycle();
  const float sinceLastCycle = static_cast<float>(now - lastCycleTime_);
  lastCycleTime_ = now;
  // Callbacks registered from here on are appended and wait for the next cycle.
  const std::size_t existing = loops_.size();
  for (std::size_t i = 0; i < existing; ++i) {
    if (!due(loops_[i]) || !host_.delivers(loops_[i].owner)) continue;
    const Loop loop = loops_[i];  // loops_ may grow (and move) during the call
    ++calls_[loop.callback];
    const float next = host_.runAs(loop.owner, [&] {
      return loop.callback(static_cast<float>(now - loop.lastCall), sinceLastCycle, static_cast<int>(cycle),
                           loop.refcon);
    });
    Loop& after = loops_[i];
    if (after.removed) continue;  // it unregistered itself
    after.interval = std::isfinite(next) ? next : 0.0f;
    after.baseTime = after.lastCall = now;
    after.baseCycle = after.lastCallCycle = cycle;
  }
}

int FlightLoops::count(PluginId owner) const {
  return static_cast<int>(std::count_if(loops_.begin(), loops_.end(),
                                        [owner](const Loop& l) { return !l.removed && l.owner == owner; }));
}

int FlightLoops::calls(XPLMFlightLoop_f callback) const {
  const auto it = calls_.find(callback);
  return it != calls_.end() ? it->second : 0;
}

void FlightLoops::removePlugin(PluginId owner) {
  for (Loop& loop : loops_) {
    if (loop.owner == owner) loop.removed = true;
  }
  if (!running_) std::erase_if(loops_, [](const Loop& loop) { return loop.removed; });
}

std::vector<std::string> FlightLoops::registrations(PluginId owner) const {
  std::vector<std::string> result;
  for (const Loop& loop : loops_) {
    if (loop.removed || loop.owner != owner) continue;
    char text[96];
    std::snprintf(text, sizeof text, "flight loop 0x%" PRIxPTR " refcon 0x%" PRIxPTR,
                  reinterpret_cast<std::uintptr_t>(loop.callback),
                  reinterpret_cast<std::uintptr_t>(loop.refcon));
    result.emplace_back(text);
  }
  return result;
}

}  // namespace sim

using sim::FlightLoops;
using sim::Forward;
using sim::Host;

XPLM_API float XPLMGetElapsedTime(void) {
  return sim::WithHost(0.0f, [](sim::Host& host) { return static_cast<float>(host.time()); });
}

XPLM_API int XPLMGetCycleNumber(void) {
  return sim::WithHost(0, [](sim::Host& host) { return static_cast<int>(host.cycle()); });
}

XPLM_API void XPLMRegisterFlightLoopCallback(XPLMFlightLoop_f inFlightLoop, float inInterval,
                                             void* inRefcon) {
  Forward<&Host::flightLoops, &FlightLoops::registerCallback>(inFlightLoop, inInterval, inRefcon);
}

XPLM_API void XPLMUnregisterFlightLoopCallback(XPLMFlightLoop_f inFlightLoop, void* inRefcon) {
  Forward<&Host::flightLoops, &FlightLoops::unregisterCallback>(inFlightLoop, inRefcon);
}

XPLM_API void XPLMSetFlightLoopCallbackInterval(XPLMFlightLoop_f inFlightLoop, float inInterval,
                                                int inRelativeToNow, void* inRefcon) {
  Forward<&Host::flightLoops, &FlightLoops::setInterval>(inFlightLoop, inInterval, inRelativeToNow, inRefcon);
}
