// The per-frame view update: the flight-loop callback that writes the head datarefs every 0.02 s.
#pragma once

namespace talvenor {

inline constexpr float kViewUpdateFirstInterval = 0.1f;
inline constexpr float kViewUpdateInterval = 0.02f;
inline constexpr int kViewType3dCockpit = 1026;
inline constexpr int kViewTypeForward2dPanel = 1000;

extern "C" float ViewUpdateCallback(float elapsedSinceLastCall, float elapsedSinceLastFlightLoop, int counter,
                                    void* refcon);

}  // namespace talvenor
