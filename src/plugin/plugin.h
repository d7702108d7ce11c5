// All mutable state of the plugin, in one place. XPluginStart value-initialises it, so a start after a
// stop is a fresh load. The records are reached through the accessors of plugin/state.h; nothing else is
// global.
#pragma once

#include <cstdint>

#include "config/setup_file.h"
#include "plugin/commands.h"
#include "plugin/host_functions.h"
#include "plugin/hotkeys.h"
#include "plugin/plugin_menu.h"
#include "plugin/state.h"
#include "plugin/view_selection.h"
#include "tracker/external_data.h"
#include "tracker/trackir_client.h"
#include "ui/panels.h"
#include "view/sim_datarefs.h"
#include "view/view_state.h"

namespace talvenor {

// Buffer size of the path composed at start, as X-Plane's system path buffer.
inline constexpr int kHostPathSize = 512;

struct HostPaths {
  char xplmLibraryPath[kHostPathSize] = {};  // empty when the system path was too long for it
};

struct Plugin {
  SetupSettings setup{};                  // the setup file's values (src/config)
  ViewState view{};                       // the view engine's state (src/view)
  SimDataRefs refs{};                     // the simulator datarefs' handles
  PluginMenu menu{};                      // the plugin's menu
  HotkeyRegistrations hotkeys{};          // the registered hotkeys
  HostPaths paths{};                      // paths composed at start
  Panels panels{};                        // the widget windows (src/ui)
  OptionalHostFunctions hostFunctions{};  // the host functions found at run time
  CommandRegistrations commands{};        // the commands and the hooked simulator commands
  ViewSelection viewSelection{};          // the view commands that select the view type
  ExternalData external{};                // the published external-data datarefs and their handles
  TrackIrClient tracker{};                // the tracker client library and the last frame taken (src/tracker)
  std::int32_t trackerToggleState = 0;    // 0/1: what the tracker toggle does next is the opposite
};

void ResetState();  // value-initialises everything (plugin start)

// The entry points' work.
void StartPlugin(char* outName, char* outSig, char* outDesc);
void StopPlugin();
void DisablePlugin();
void ReceiveMessage(int from, int message, void* param);

// Fills HostPaths from the simulator's system path; a path that does not fit stays empty.
void ComposeHostPaths();

}  // namespace talvenor
