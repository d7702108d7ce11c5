#include "talvenor_link.h"

#include "XPLMPlugin.h"
#include "config/identity.h"

namespace talvenor::udp {
namespace {

constexpr const char* kNames[7] = {
    "quorlend/talvenor/external_enabled", "quorlend/talvenor/external_x",
    "quorlend/talvenor/external_y",       "quorlend/talvenor/external_z",
    "quorlend/talvenor/external_pitch",   "quorlend/talvenor/external_heading",
    "quorlend/talvenor/external_roll",
};

}  // namespace

bool TalvenorLink::Connect() {
  if (XPLMFindPluginBySignature(kPluginSignature) == XPLM_NO_PLUGIN_ID) {
    refs_ = {};
    return false;
  }
  bool good = true;
  for (const XPLMDataRef ref : refs_) good = good && ref != nullptr && XPLMIsDataRefGood(ref) != 0;
  if (good) return true;
  good = true;
  for (std::size_t i = 0; i < refs_.size(); ++i) {
    refs_[i] = XPLMFindDataRef(kNames[i]);
    good = good && refs_[i] != nullptr;
  }
  return good;
}

void TalvenorLink::WriteOffsets(const TalvenorOffsets& offsets) const {
  XPLMSetDataf(refs_[1], offsets.x);
  XPLMSetDataf(refs_[2], offsets.y);
  XPLMSetDataf(refs_[3], offsets.z);
  XPLMSetDataf(refs_[4], offsets.pitch);
  XPLMSetDataf(refs_[5], offsets.heading);
  XPLMSetDataf(refs_[6], offsets.roll);
}

// Talvenor may have gone since the last frame (X-Plane unloads plugins one by one): a dataref whose owner is
// gone is left alone.
void TalvenorLink::WriteEnabled(int value) const {
  if (refs_[0] != nullptr && XPLMIsDataRefGood(refs_[0]) != 0) XPLMSetDatai(refs_[0], value);
}

}  // namespace talvenor::udp
