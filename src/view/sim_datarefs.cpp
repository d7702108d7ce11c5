#include "view/sim_datarefs.h"

#include <cstdio>

#include "config/log.h"

namespace talvenor {
namespace {

// A dataref the simulator does not publish keeps its null handle, and the log says which one it is.
XPLMDataRef Find(const char* name) {
  XPLMDataRef ref = XPLMFindDataRef(name);
  if (ref == nullptr) {
    char line[kLogMessageSize];
    (void)std::snprintf(line, sizeof line,
                        "The simulator has no dataref %s: it reads as 0 and takes no value\n", name);
    LogAlways(line);
  }
  return ref;
}

}  // namespace

void FindSimDataRefs(SimDataRefs& refs) {
  // Looked up once: XPLMFindDataRef is slow, and the handles stay valid for the plugin's life.
  refs.headX = Find("sim/graphics/view/pilots_head_x");
  refs.headY = Find("sim/graphics/view/pilots_head_y");
  refs.headZ = Find("sim/graphics/view/pilots_head_z");
  refs.headPsi = Find("sim/graphics/view/pilots_head_psi");
  refs.headThe = Find("sim/graphics/view/pilots_head_the");
  refs.gNormal = Find("sim/flightmodel/forces/g_nrml");
  refs.gAxial = Find("sim/flightmodel/forces/g_axil");
  refs.gSide = Find("sim/flightmodel/forces/g_side");
  refs.groundSpeed = Find("sim/flightmodel/position/groundspeed");
  refs.onGround = Find("sim/flightmodel/failures/onground_any");
  refs.viewType = Find("sim/graphics/view/view_type");
  refs.heightAgl = Find("sim/flightmodel/position/y_agl");
  refs.tachRate = Find("sim/flightmodel/engine/POINT_tacrad");
  refs.engineType = Find("sim/aircraft/prop/acf_en_type");
  refs.engineN1 = Find("sim/flightmodel/engine/ENGN_N1_");
  refs.headRoll = Find("sim/graphics/view/field_of_view_roll_deg");
}

}  // namespace talvenor
