// What XPluginStart, XPluginStop and XPluginReceiveMessage do, step by step in the order X-Plane expects.
#include <cstdint>
#include <cstdio>

#include "XPLMDataAccess.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "config/bounded_text.h"
#include "config/identity.h"
#include "config/log.h"
#include "os/library.h"
#include "os/os.h"
#include "plugin/actions.h"
#include "plugin/commands.h"
#include "plugin/frame_update.h"
#include "plugin/host_functions.h"
#include "plugin/mode_switches.h"
#include "plugin/plugin.h"
#include "tracker/external_data.h"
#include "tracker/head_pose_source.h"

namespace talvenor {
namespace {

// The simulator's main window for the tracker client: the 64-bit handle where the simulator publishes it
// (two ints, low 32 bits first), else the 32-bit one widened with its sign, as older simulators give it.
std::intptr_t SystemWindowHandle() {
  const XPLMDataRef wide = XPLMFindDataRef("sim/operation/windows/system_window_64");
  int halves[2] = {0, 0};
  if (wide != nullptr && XPLMGetDatavi(wide, halves, 0, 2) == 2) {
    const std::uint64_t handle = static_cast<std::uint32_t>(halves[0]) |
                                 (static_cast<std::uint64_t>(static_cast<std::uint32_t>(halves[1])) << 32);
    return static_cast<std::intptr_t>(handle);
  }
  return static_cast<std::intptr_t>(XPLMGetDatai(XPLMFindDataRef("sim/operation/windows/system_window")));
}

// XPluginStart's three buffers hold at least 256 characters each.
constexpr std::size_t kIdentityBufferSize = 256;
constexpr float kDataRefEditorFirstInterval = 1.0f;

void ComposeIdentificationLine(char (&line)[64]) {
  std::size_t length = 0;
  line[0] = '\0';
  AppendBounded(line, sizeof line, length, kPluginName);
  AppendBounded(line, sizeof line, length, " ");
  AppendBounded(line, sizeof line, length, kPluginVersion);
  AppendBounded(line, sizeof line, length, "\n");
}

}  // namespace

void ComposeHostPaths() {
  char system[kHostPathSize] = {};
  XPLMGetSystemPath(system);
  system[kHostPathSize - 1] = '\0';
  HostPaths& paths = State().paths;
  const HostPath composed = ComposeHostPath(paths.xplmLibraryPath, sizeof paths.xplmLibraryPath, system,
                                            {"Resources", "plugins", os::kXplmLibraryFileName});
  if (composed != HostPath::kUsable) {
    char text[kLogMessageSize];
    (void)std::snprintf(text, sizeof text, "The path of the XPLM library is %s, no commands\n",
                        HostPathProblem(composed));
    LogAlways(text);
  }
}

namespace {

// Before anything asks for a path or makes a widget: UTF-8 paths with "/", which can name every folder the
// user has, and widget windows that follow the user's interface size.
void EnableHostFeatures() {
  for (const char* feature : {"XPLM_USE_NATIVE_PATHS", "XPLM_USE_NATIVE_WIDGET_WINDOWS"}) {
    if (XPLMHasFeature(feature) != 0) XPLMEnableFeature(feature, 1);
  }
}

}  // namespace

void StartPlugin(char* outName, char* outSig, char* outDesc) {
  EnableHostFeatures();
  ResetState();
  CopyBounded(outName, kIdentityBufferSize, kPluginName);
  CopyBounded(outSig, kIdentityBufferSize, kPluginSignature);
  CopyBounded(outDesc, kIdentityBufferSize, kPluginDescription);

  LogReset();
  LogAlways("+++ LOGGING STARTED +++\n");
  char identification[64];
  ComposeIdentificationLine(identification);
  LogAlways(identification);

  BuildPluginMenu();
  ReadSetupFile();  // it composes its own path, and logs first when that does not fit
  ComposeHostPaths();
  LogAlways(Settings().debugLogEnabled != 0 ? "Debug Logging is enabled\n" : "Debug Logging is disabled\n");

  ChooseSourceTexts();
  ConnectPanels(PanelLinks{&RunAction, &RefreshSource, Menu().statusText});

  // The tracker client is handed the simulator's window when it connects, so the handle is read first.
  KeepSystemWindow(SystemWindowHandle());
  // The probe only asks whether a source is there; the connection does not stay open.
  // Everything else of every record starts as ResetState value-initialised it.
  const bool found = ProbeHeadPoseSource() == 1;
  StartViewState(found ? 1 : 0);
  ConnectLimitsSwitch(&LimitsEnableBox);
  if (found) StopHeadPoseSource();
  AppendTrackerMenuItems();

  XPLMRegisterFlightLoopCallback(&ViewUpdateCallback, kViewUpdateFirstInterval, nullptr);
  XPLMRegisterFlightLoopCallback(&RegisterWithDataRefEditor, kDataRefEditorFirstInterval, nullptr);

  EnableMenuItem(kItemTrackerDisable, false);
  EnableMenuItem(kItemTrackerEnable, found);
  EnableMenuItem(kItemEnable, true);
  EnableMenuItem(kItemDisable, false);

  FindSimDataRefs(State().refs);

  RegisterHotkeys();

  if (LoadOptionalHostFunctions(State().paths.xplmLibraryPath) != 0) {
    CreateCommands();
  } else {
    LogAlways("The simulator offers no command functions: Talvenor's commands and view hooks are not made\n");
  }
  PublishExternalDataRefs();
}

void StopPlugin() {
  PutBackRollWhileOn();
  UnregisterHotkeys();
  XPLMUnregisterFlightLoopCallback(&ViewUpdateCallback, nullptr);
  XPLMUnregisterFlightLoopCallback(&RegisterWithDataRefEditor, nullptr);
  DestroyPluginMenu();

  if (PanelState().controlPanelCreated && View().sourceAvailable != 0) StopHeadPoseSource();
  DestroyBuiltWindows();

  RemoveCommands();  // only when the host offers the unregister function
  UnpublishExternalDataRefs();
  LogAlways("--- LOGGING STOPPED ---\n\n");
}

void DisablePlugin() {
  // A disabled plugin hears nothing more, not even the simulator writing its preferences.
  PutBackRollWhileOn();
}

void ReceiveMessage(int from, int message, void* param) {
  if (from == 0 && message == XPLM_MSG_WILL_WRITE_PREFS) {
    PutBackRollWhileOn();
    return;
  }
  if (from != 0 || message != XPLM_MSG_PLANE_LOADED || reinterpret_cast<std::intptr_t>(param) != 0) return;
  const SetupSettings& setup = Settings();
  if (setup.resetRollOffsetOnStartup != 0) XPLMSetDataf(SimRefs().headRoll, 0.0f);
  if (View().pluginEnabled || setup.autoStart != 0) RequestReinitialisation();
  // Unlike the probe at start, any non-zero result counts here; the menu items are left as they are.
  if (ProbeHeadPoseSource() != 0) {
    SetSourceAvailable(1);
    StopHeadPoseSource();
  } else {
    SetSourceAvailable(0);
  }
}

}  // namespace talvenor
