#include "tracker/head_pose_source.h"

#include <cmath>

#include "XPLMDataAccess.h"
#include "config/setup_file.h"
#include "tracker/external_data.h"
#include "tracker/trackir_client.h"

namespace talvenor {
namespace {

bool ExternalDataMode() {
  return Settings().enableExternalData != 0;
}

// Offsets in metres and degrees, as the source plugin wrote them; a value that is not finite spoils the pose.
int ReadExternalPose(float* x, float* y, float* z, float* pitch, float* heading, float* roll) {
  const auto& handles = ExternalDataRefHandles();
  float* outputs[6] = {x, y, z, pitch, heading, roll};
  if (XPLMGetDatai(handles[0]) == 0) {
    for (float* output : outputs) *output = 0.0f;
    return kNoNewData;
  }
  float values[6];
  for (int axis = 0; axis < 6; ++axis) {
    values[axis] = XPLMGetDataf(handles[axis + 1]);
    if (!std::isfinite(values[axis])) return kNoNewData;
  }
  for (int axis = 0; axis < 6; ++axis) *outputs[axis] = values[axis];
  return kTrackerOk;
}

}  // namespace

int ProbeHeadPoseSource() {
  return ExternalDataMode() ? FindExternalDataRefs() : ConnectTrackIr();
}

void StopHeadPoseSource() {
  if (!ExternalDataMode()) DisconnectTrackIr();
}

int ReadHeadPose(float* x, float* y, float* z, float* pitch, float* heading, float* roll) {
  return ExternalDataMode() ? ReadExternalPose(x, y, z, pitch, heading, roll)
                            : ReadTrackIrPose(x, y, z, pitch, heading, roll);
}

}  // namespace talvenor
