// Who the plugin is, as X-Plane, the log and the control panel show it.
#pragma once

namespace talvenor {

inline constexpr char kPluginName[] = "Talvenor";
inline constexpr char kPluginSignature[] = "quorlend.projects.talvenor";
inline constexpr char kPluginDescription[] =
    "Talvenor allows the pilot's view to be moved around the 3-D cockpit.";
inline constexpr char kPluginVersion[] = "v1.70";

}  // namespace talvenor
