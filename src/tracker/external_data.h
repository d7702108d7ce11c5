// The seven datarefs through which another plugin, an external data source, hands Talvenor the pilot's head
// movement, and the one-time announcement of their names to the dataref browser.
#pragma once

#include <array>
#include <cstdint>

#include "XPLMDataAccess.h"

namespace talvenor {

inline constexpr int kExternalDataRefs = 7;

// Published under quorlend/talvenor/; a source writes them and the plugin only reads them back. The values
// are never reset: they keep the last write from plugin start to stop, across view-control switches and
// aircraft loads.
struct ExternalData {
  std::int32_t externalEnabled = 0;  // external_enabled: non-zero while the source is present and delivering
  float externalX = 0;               // external_x: metres, added to sim/graphics/view/pilots_head_x
  float externalY = 0;               // external_y: metres, added to pilots_head_y
  float externalZ = 0;               // external_z: metres, added to pilots_head_z
  float externalPitch = 0;           // external_pitch: degrees, added to pilots_head_the
  float externalHeading = 0;         // external_heading: degrees, added to pilots_head_psi
  float externalRoll = 0;            // external_roll: degrees, added to field_of_view_roll_deg
  // The registrations' handles (enabled, x, y, z, pitch, heading, roll), kept to unregister at stop.
  std::array<XPLMDataRef, kExternalDataRefs> registered{};
  // The same datarefs found by name (same order); null until the first FindExternalDataRefs.
  std::array<XPLMDataRef, kExternalDataRefs> externalDataRefHandles{};
};

// The record, kept in the plugin's state; only this subsystem writes it.
ExternalData& External();

// The names in registration order: enabled, x, y, z, pitch, heading, roll.
extern const std::array<const char*, kExternalDataRefs> kExternalDataRefNames;

// Last step of plugin start: registers the seven datarefs, writable, in the order of their names.
void PublishExternalDataRefs();
// Plugin stop: unregisters each of them once.
void UnpublishExternalDataRefs();

// Finds the seven handles (enabled, x, y, z, pitch, heading, roll) and returns external_enabled through
// XPLMGetDatai; 0 before the datarefs are published, as the handles are null then.
int FindExternalDataRefs();
// Null until the first FindExternalDataRefs.
const std::array<XPLMDataRef, kExternalDataRefs>& ExternalDataRefHandles();

// The one-shot flight-loop callback that announces the seven names to the dataref browser.
extern "C" float RegisterWithDataRefEditor(float elapsedSinceLastCall, float elapsedSinceLastFlightLoop,
                                           int counter, void* refcon);

}  // namespace talvenor
