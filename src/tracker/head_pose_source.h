// Starting, stopping and reading whichever head-pose source is configured (TrackIR or external data).
#pragma once

namespace talvenor {

// 1: the source is usable and started; 0 or -1: it is not.
int ProbeHeadPoseSource();
void StopHeadPoseSource();
// 0 delivers a pose in x, y, z, pitch, heading, roll; any other result delivers nothing.
int ReadHeadPose(float* x, float* y, float* z, float* pitch, float* heading, float* roll);

}  // namespace talvenor
