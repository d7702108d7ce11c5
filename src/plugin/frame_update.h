// The per-frame update: the flight-loop callback that writes the head datarefs every 0.02 s. It runs the view
// engine's part of the frame and decides what crosses subsystems: following the external source's switch,
// starting again after an aircraft load, and handing the view back when the pilot leaves the 3-D cockpit.
#pragma once

namespace talvenor {

inline constexpr float kViewUpdateFirstInterval = 0.1f;
inline constexpr float kViewUpdateInterval = 0.02f;

extern "C" float ViewUpdateCallback(float elapsedSinceLastCall, float elapsedSinceLastFlightLoop, int counter,
                                    void* refcon);

}  // namespace talvenor
