// Selecting the simulator's view. A plugin of an older simulator wrote sim/graphics/view/view_type; X-Plane
// 11 and 12 publish it read-only and change the view only through their view commands, so the plugin runs
// the command that selects the type where it cannot write it.
#pragma once

#include <array>

#include "XPLMUtilities.h"

namespace talvenor {

inline constexpr int kViewType3dCockpit = 1026;
inline constexpr int kViewTypeForward2dPanel = 1000;

// The view types the plugin selects, each with the simulator command that selects it.
struct ViewCommandEntry {
  int viewType;
  const char* path;
};

inline constexpr std::array<ViewCommandEntry, 4> kViewCommands = {{
    {1026, "sim/view/3d_cockpit_cmnd_look"},
    {1000, "sim/view/forward_with_2d_panel"},
    {1023, "sim/view/forward_with_hud"},
    {1017, "sim/view/chase"},
}};

struct ViewSelection {
  std::array<XPLMCommandRef, kViewCommands.size()> commands{};  // found on first use
  bool looked = false;                                          // the lookup has been made
  bool reported = false;  // a missing command has been logged, which happens once per run
};

// Brings the simulator into VIEWTYPE: writes view_type where the host lets the plugin write it, else runs
// the view command once unless the simulator is in that view already. Without the command (or the host's
// command functions) the view stays as it is.
void SelectViewType(int viewType);

}  // namespace talvenor
