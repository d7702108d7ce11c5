// The simulator datarefs the plugin reads and writes, looked up once at start.
#pragma once

#include "XPLMDataAccess.h"

namespace talvenor {

// A null handle is kept as it is: the host ignores writes through it and reads 0.
struct SimDataRefs {
  XPLMDataRef headX = nullptr;        // sim/graphics/view/pilots_head_x
  XPLMDataRef headY = nullptr;        // sim/graphics/view/pilots_head_y
  XPLMDataRef headZ = nullptr;        // sim/graphics/view/pilots_head_z
  XPLMDataRef headPsi = nullptr;      // sim/graphics/view/pilots_head_psi (heading)
  XPLMDataRef headThe = nullptr;      // sim/graphics/view/pilots_head_the (pitch)
  XPLMDataRef gNormal = nullptr;      // sim/flightmodel/forces/g_nrml
  XPLMDataRef gAxial = nullptr;       // sim/flightmodel/forces/g_axil
  XPLMDataRef gSide = nullptr;        // sim/flightmodel/forces/g_side
  XPLMDataRef groundSpeed = nullptr;  // sim/flightmodel/position/groundspeed
  XPLMDataRef onGround = nullptr;     // sim/flightmodel/failures/onground_any
  XPLMDataRef viewType = nullptr;     // sim/graphics/view/view_type
  XPLMDataRef heightAgl = nullptr;    // sim/flightmodel/position/y_agl
  XPLMDataRef tachRate = nullptr;     // sim/flightmodel/engine/POINT_tacrad
  XPLMDataRef engineType = nullptr;   // sim/aircraft/prop/acf_en_type
  XPLMDataRef engineN1 = nullptr;     // sim/flightmodel/engine/ENGN_N1_
  XPLMDataRef headRoll = nullptr;     // sim/graphics/view/field_of_view_roll_deg
};

// The handles as found at plugin start.
const SimDataRefs& SimRefs();

// Finds the sixteen datarefs in the order above.
void FindSimDataRefs(SimDataRefs& refs);

}  // namespace talvenor
