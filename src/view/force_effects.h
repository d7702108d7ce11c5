// The head displacement of one frame caused by the g-forces and by the running engines.
#pragma once

namespace talvenor {

enum ForceOffset { kGForceX = 0, kGForceY, kGForceZ, kVibrationX, kVibrationY, kVibrationZ, kForceOffsets };

// Fills the g-force offsets (to be subtracted) and the vibration offsets (to be added after the bounds
// test) for this frame, and flips the vibration phase.
void ComputeForceEffects(float (&forces)[kForceOffsets]);

}  // namespace talvenor
