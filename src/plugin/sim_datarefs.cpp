#include "plugin/sim_datarefs.h"

namespace talvenor {

void FindSimDataRefs(SimDataRefs& refs) {
  // Looked up once: XPLMFindDataRef is slow, and the handles stay valid for the plugin's life.
  refs.headX = XPLMFindDataRef("sim/graphics/view/pilots_head_x");
  refs.headY = XPLMFindDataRef("sim/graphics/view/pilots_head_y");
  refs.headZ = XPLMFindDataRef("sim/graphics/view/pilots_head_z");
  refs.headPsi = XPLMFindDataRef("sim/graphics/view/pilots_head_psi");
  refs.headThe = XPLMFindDataRef("sim/graphics/view/pilots_head_the");
  refs.gNormal = XPLMFindDataRef("sim/flightmodel/forces/g_nrml");
  refs.gAxial = XPLMFindDataRef("sim/flightmodel/forces/g_axil");
  refs.gSide = XPLMFindDataRef("sim/flightmodel/forces/g_side");
  refs.groundSpeed = XPLMFindDataRef("sim/flightmodel/position/groundspeed");
  refs.onGround = XPLMFindDataRef("sim/flightmodel/failures/onground_any");
  refs.viewType = XPLMFindDataRef("sim/graphics/view/view_type");
  refs.heightAgl = XPLMFindDataRef("sim/flightmodel/position/y_agl");
  refs.tachRate = XPLMFindDataRef("sim/flightmodel/engine/POINT_tacrad");
  refs.engineType = XPLMFindDataRef("sim/aircraft/prop/acf_en_type");
  refs.engineN1 = XPLMFindDataRef("sim/flightmodel/engine/ENGN_N1_");
  refs.headRoll = XPLMFindDataRef("sim/graphics/view/field_of_view_roll_deg");
}

}  // namespace talvenor
