// Flight loops: a main loop whose next interval a scenario controls, a loop it spawns from inside its own
// call, and the head writer that writes the six head datarefs every cycle.
#include <array>

#include "probe.h"

namespace probe {
namespace {

// Refcons that tell the registrations apart; unregistering needs the same pair of callback and refcon.
int mainRefcon = 0, spawnRefcon = 0, headRefcon = 0;

float SpawnLoop(float, float, int, void* refcon) {
  Probe& p = State();
  ++p.spawnCalls;
  if (p.spawnCalls >= p.spawnLimit) {
    // Unregistering itself while it runs; the interval returned afterwards must not bring it back.
    XPLMUnregisterFlightLoopCallback(SpawnLoop, refcon);
    p.spawnRegistered = false;
  }
  return -1.0f;
}

float MainLoop(float sinceLastCall, float sinceLastLoop, int counter, void*) {
  Probe& p = State();
  ++p.loopCalls;
  p.loopElapsed = sinceLastCall;
  p.loopSinceLast = sinceLastLoop;
  p.loopCounter = counter;
  p.elapsedTime = XPLMGetElapsedTime();
  p.cycleNumber = XPLMGetCycleNumber();
  if (p.spawnRequested != 0 && !p.spawnRegistered) {
    p.spawnRequested = 0;
    p.spawnCalls = 0;
    XPLMRegisterFlightLoopCallback(SpawnLoop, -1.0f, &spawnRefcon);
    p.spawnRegistered = true;
  }
  return p.loopInterval;
}

// Values that change every cycle and can be predicted from the number of calls alone.
float HeadLoop(float, float, int, void*) {
  Probe& p = State();
  const int n = ++p.headWrites;
  const auto& headRefs = p.headRefs;
  XPLMSetDataf(headRefs[0], static_cast<float>(n % 7) * 0.01f);
  XPLMSetDataf(headRefs[1], static_cast<float>(n % 11) * 0.01f);
  XPLMSetDataf(headRefs[2], -static_cast<float>(n % 13) * 0.01f);
  XPLMSetDataf(headRefs[3], static_cast<float>(n % 360 - 180));
  XPLMSetDataf(headRefs[4], static_cast<float>(n % 90 - 45));
  XPLMSetDataf(headRefs[5], static_cast<float>(n % 60) * 0.5f - 15.0f);
  return -1.0f;
}

}  // namespace

void StartLoops() {
  constexpr std::array<const char*, 6> kHead = {
      "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
      "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
      "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg"};
  Probe& p = State();
  for (std::size_t i = 0; i < kHead.size(); ++i) p.headRefs[i] = XPLMFindDataRef(kHead[i]);
  XPLMRegisterFlightLoopCallback(MainLoop, 0.1f, &mainRefcon);
}

void StopLoops() {
  Probe& p = State();
  if (!p.leak) XPLMUnregisterFlightLoopCallback(MainLoop, &mainRefcon);
  if (p.spawnRegistered) XPLMUnregisterFlightLoopCallback(SpawnLoop, &spawnRefcon);
  p.spawnRegistered = false;
  SetHeadWriter(0);
}

void SetHeadWriter(int on) {
  Probe& p = State();
  p.headWriter = on != 0 ? 1 : 0;
  if (p.headWriter != 0 && !p.headLoopRegistered) {
    XPLMRegisterFlightLoopCallback(HeadLoop, -1.0f, &headRefcon);
    p.headLoopRegistered = true;
  } else if (p.headWriter == 0 && p.headLoopRegistered) {
    XPLMUnregisterFlightLoopCallback(HeadLoop, &headRefcon);
    p.headLoopRegistered = false;
  }
}

void RequestSpawn() {
  State().spawnRequested = 1;
}

void RescheduleLoop() {
  XPLMSetFlightLoopCallbackInterval(MainLoop, State().loopInterval, 1, &mainRefcon);
}

}  // namespace probe
