// Talvenor's published external-data datarefs, as this plugin writes them: the on switch and six offsets in
// the units and signs of the simulator's head datarefs (metres, degrees).
#pragma once

#include <array>

#include "XPLMDataAccess.h"

namespace talvenor::udp {

struct TalvenorOffsets {
  float x = 0, y = 0, z = 0, pitch = 0, heading = 0, roll = 0;
};

class TalvenorLink {
 public:
  // True while Talvenor is loaded and its datarefs are published. The datarefs are looked up only when
  // Talvenor appears (or comes back after a reload), not every frame: the lookup is slow.
  bool Connect();
  void WriteOffsets(const TalvenorOffsets& offsets) const;
  void WriteEnabled(int value) const;

 private:
  // enabled, x, y, z, pitch, heading, roll: the order Talvenor publishes them in.
  std::array<XPLMDataRef, 7> refs_{};
};

}  // namespace talvenor::udp
