// TalvenorUDP: a companion plugin that receives a UDP head tracker's poses (opentrack's or AITrack's "UDP
// over network") and passes them to Talvenor through its published external-data datarefs.
#include <cstdio>
#include <cstring>

#include "XPLMDefs.h"
#include "XPLMMenus.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "config/bounded_text.h"
#include "os/os.h"
#include "receiver.h"
#include "udp_settings.h"

namespace talvenor::udp {
namespace {

// X-Plane's system path buffer; the setup file's path must fit in it.
constexpr std::size_t kPathSize = 512;

enum MenuItem { kItemState, kItemDropped, kItemPause, kMenuItems };

struct Plugin {
  Receiver receiver;
  bool enabled = false;
  int parentItem = -1;
  XPLMMenuID menu = nullptr;
  char shown[kMenuItems][kStateTextSize] = {};  // the texts the menu holds, so that only changes are sent
};

Plugin g_plugin;

void Log(const char* text) {
  XPLMDebugString("TalvenorUDP: ");
  XPLMDebugString(text);
  XPLMDebugString("\n");
}

void ShowItem(int item, const char* text) {
  char* shown = g_plugin.shown[item];
  if (std::strcmp(shown, text) == 0) return;
  (void)std::snprintf(shown, kStateTextSize, "%s", text);
  XPLMSetMenuItemName(g_plugin.menu, item, text, 0);
}

void RefreshMenu() {
  if (g_plugin.menu == nullptr) return;
  char text[kStateTextSize];
  g_plugin.receiver.StateText(text, sizeof text);
  ShowItem(kItemState, text);
  g_plugin.receiver.DroppedText(text, sizeof text);
  ShowItem(kItemDropped, text);
  XPLMCheckMenuItem(g_plugin.menu, kItemPause,
                    g_plugin.receiver.Paused() ? xplm_Menu_Checked : xplm_Menu_Unchecked);
}

void MenuHandler(void*, void* itemRef) {
  if (reinterpret_cast<intptr_t>(itemRef) != kItemPause) return;
  g_plugin.receiver.SetPaused(!g_plugin.receiver.Paused());
  RefreshMenu();
}

float FlightLoop(float, float, int, void*) {
  if (g_plugin.enabled) {
    // The simulator's clock (a wall clock in X-Plane, running on while the simulation is paused): the
    // timeout is about datagrams that stopped arriving, whatever the simulation does.
    g_plugin.receiver.RunFrame(static_cast<double>(XPLMGetElapsedTime()));
    RefreshMenu();
  }
  return -1.0f;
}

void ReadSettings() {
  char system[kPathSize] = {};
  XPLMGetSystemPath(system);
  system[kPathSize - 1] = '\0';
  char path[kPathSize];
  const HostPath composed =
      ComposeHostPath(path, sizeof path, system, {"Resources", "plugins", "TalvenorUDP", "TalvenorUDP.ini"});
  std::FILE* file = nullptr;
  char line[256];
  if (composed == HostPath::kUsable) {
    file = os::OpenFile(path, "r", HostPathText());
  } else {
    (void)std::snprintf(line, sizeof line, "the path of TalvenorUDP.ini is %s; the defaults are used",
                        HostPathProblem(composed));
    Log(line);
  }
  SettingsReport report;
  g_plugin.receiver.Configure(ReadUdpSettings(file, report));
  if (file != nullptr) (void)std::fclose(file);  // read only: nothing to lose
  if (!report.opened) {
    Log("no TalvenorUDP.ini; the defaults are used");
  } else if (report.problems > 0) {
    (void)std::snprintf(line, sizeof line,
                        "TalvenorUDP.ini: %d line(s) refused, their defaults kept; line %d: %s",
                        report.problems, report.firstProblemLine, report.firstProblem);
    Log(line);
  }
}

}  // namespace
}  // namespace talvenor::udp

using talvenor::udp::g_plugin;

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc) {
  (void)std::snprintf(outName, 256, "%s", "TalvenorUDP");
  (void)std::snprintf(outSig, 256, "%s", "quorlend.projects.talvenor.udp");
  (void)std::snprintf(outDesc, 256, "%s",
                      "Passes a UDP head tracker's poses (opentrack, AITrack) to Talvenor.");
  // UTF-8 paths with "/" before the first path is asked: they name every folder the user may have.
  if (XPLMHasFeature("XPLM_USE_NATIVE_PATHS") != 0) XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
  g_plugin = talvenor::udp::Plugin{};
  talvenor::udp::ReadSettings();
  g_plugin.parentItem = XPLMAppendMenuItem(XPLMFindPluginsMenu(), "Talvenor UDP", nullptr, 0);
  g_plugin.menu = XPLMCreateMenu("Talvenor UDP", XPLMFindPluginsMenu(), g_plugin.parentItem,
                                 talvenor::udp::MenuHandler, nullptr);
  if (g_plugin.menu != nullptr) {
    XPLMAppendMenuItem(g_plugin.menu, "Not listening", reinterpret_cast<void*>(talvenor::udp::kItemState), 0);
    XPLMAppendMenuItem(g_plugin.menu, "Dropped datagrams: 0",
                       reinterpret_cast<void*>(talvenor::udp::kItemDropped), 0);
    XPLMAppendMenuItem(g_plugin.menu, "Pause", reinterpret_cast<void*>(talvenor::udp::kItemPause), 0);
    XPLMEnableMenuItem(g_plugin.menu, talvenor::udp::kItemState, 0);
    XPLMEnableMenuItem(g_plugin.menu, talvenor::udp::kItemDropped, 0);
  }
  XPLMRegisterFlightLoopCallback(talvenor::udp::FlightLoop, -1.0f, nullptr);
  return 1;
}

PLUGIN_API void XPluginStop(void) {
  XPLMUnregisterFlightLoopCallback(talvenor::udp::FlightLoop, nullptr);
  if (g_plugin.menu != nullptr) XPLMDestroyMenu(g_plugin.menu);
  g_plugin.menu = nullptr;
}

// The port is held only while the plugin is enabled, so a pilot who disables it frees it for another program.
PLUGIN_API int XPluginEnable(void) {
  g_plugin.receiver.Open();
  g_plugin.enabled = true;
  talvenor::udp::RefreshMenu();
  return 1;
}

PLUGIN_API void XPluginDisable(void) {
  g_plugin.enabled = false;
  g_plugin.receiver.Close();
  talvenor::udp::RefreshMenu();
}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void*) {}
