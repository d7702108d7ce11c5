// What XPluginStart, XPluginStop and XPluginReceiveMessage do, step by step in the order X-Plane expects.
#include <cstdint>
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "config/log.h"
#include "os/os.h"
#include "os/sdk_library.h"
#include "plugin/commands.h"
#include "plugin/host_functions.h"
#include "plugin/identity.h"
#include "plugin/plugin.h"
#include "tracker/head_pose_source.h"
#include "view/view_update.h"

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

void CopyBounded(char* target, std::size_t size, const char* text) {
  if (target == nullptr) return;
  std::strncpy(target, text, size - 1);
  target[size - 1] = '\0';
}

// Appends text at *length; false, leaving the buffer as it was, when the text and a terminator do not fit.
bool Append(char* buffer, std::size_t size, std::size_t* length, const char* text) {
  const std::size_t added = std::strlen(text);
  if (added >= size - *length) return false;
  std::memcpy(buffer + *length, text, added + 1);
  *length += added;
  return true;
}

// SYSTEM then the parts, each but the last followed by the platform separator; empty when it does not fit,
// so a truncated path is never used.
template <std::size_t N>
bool ComposePath(char* out, std::size_t size, const char* system, const char* const (&parts)[N]) {
  const char* separator = os::PathSeparator();
  std::size_t length = 0;
  out[0] = '\0';
  bool fits = Append(out, size, &length, system);
  for (std::size_t i = 0; fits && i < N; ++i) {
    fits = Append(out, size, &length, parts[i]) && (i + 1 == N || Append(out, size, &length, separator));
  }
  if (!fits) out[0] = '\0';
  return fits;
}

void ComposeIdentificationLine(char (&line)[64]) {
  std::size_t length = 0;
  line[0] = '\0';
  Append(line, sizeof line, &length, kPluginName);
  Append(line, sizeof line, &length, " ");
  Append(line, sizeof line, &length, kPluginVersion);
  Append(line, sizeof line, &length, "\n");
}

void CopyAxisIncrements() {
  const SetupSettings& setup = Settings();
  ViewState& view = View();
  view.configuredIncrements = {setup.axisXIncrement,       setup.axisYIncrement,     setup.axisZIncrement,
                               setup.axisHeadingIncrement, setup.axisPitchIncrement, setup.axisRollIncrement};
  view.currentIncrements = view.configuredIncrements;
}

}  // namespace

void ComposeHostPaths() {
  // Each path asks the simulator for its folder anew.
  char system[kHostPathSize] = {};
  XPLMGetSystemPath(system);
  system[kHostPathSize - 1] = '\0';
  HostPaths& paths = State().paths;
  const char* const setupParts[] = {"Resources", "plugins", kPluginName, "Talvenor.ini"};
  if (!ComposePath(paths.setupFilePath, sizeof paths.setupFilePath, system, setupParts)) {
    LogAlways("The path of Talvenor.ini is too long, will use defaults\n");
  }
  XPLMGetSystemPath(system);
  system[kHostPathSize - 1] = '\0';
  const char* const libraryParts[] = {"Resources", "plugins", os::kXplmLibraryFileName};
  if (!ComposePath(paths.xplmLibraryPath, sizeof paths.xplmLibraryPath, system, libraryParts)) {
    LogAlways("The path of the XPLM library is too long, no commands\n");
  }
}

void StartPlugin(char* outName, char* outSig, char* outDesc) {
  ResetState();
  CopyBounded(outName, kIdentityBufferSize, kPluginName);
  CopyBounded(outSig, kIdentityBufferSize, kPluginSignature);
  CopyBounded(outDesc, kIdentityBufferSize, kPluginDescription);

  LogReset();
  LogAlways("+++ LOGGING STARTED +++\n");
  char identification[64];
  ComposeIdentificationLine(identification);
  LogAlways(identification);

  ComposeHostPaths();
  BuildPluginMenu();

  ViewState& view = View();
  view.reinitPending = false;
  ReadSetupFile();
  LogAlways(Settings().debugLogEnabled != 0 ? "Debug Logging is enabled\n" : "Debug Logging is disabled\n");

  ChooseSourceTexts();
  CopyAxisIncrements();

  // The probe only asks whether a source is there; the connection does not stay open.
  if (ProbeHeadPoseSource() == 1) {
    view.sourceAvailable = 1;
    StopHeadPoseSource();
  } else {
    view.sourceAvailable = 0;
  }
  AppendTrackerMenuItems();

  view.pluginEnabled = false;
  Panels& panels = PanelState();
  panels.controlPanelCreated = false;
  panels.dataDisplayCreated = false;
  panels.effectsPanelCreated = false;
  view.effects = StartEffects();
  view.trackerActive = false;

  XPLMRegisterFlightLoopCallback(&ViewUpdateCallback, kViewUpdateFirstInterval, nullptr);
  XPLMRegisterFlightLoopCallback(&RegisterWithDataRefEditor, kDataRefEditorFirstInterval, nullptr);

  State().systemWindowHandle = SystemWindowHandle();
  State().trackerToggleState = 0;

  EnableMenuItem(kItemTrackerDisable, false);
  EnableMenuItem(kItemTrackerEnable, view.sourceAvailable != 0);
  EnableMenuItem(kItemEnable, true);
  EnableMenuItem(kItemDisable, false);

  FindSimDataRefs(State().refs);
  view.vibrationPhase = 0;

  RegisterHotkeys();

  if (LoadOptionalHostFunctions(State().paths.xplmLibraryPath) != 0) CreateCommands();

  // The seven published external-data datarefs come with theirs; until then there are no accessors.
}

void StopPlugin() {
  UnregisterHotkeys();
  XPLMUnregisterFlightLoopCallback(&ViewUpdateCallback, nullptr);
  XPLMUnregisterFlightLoopCallback(&RegisterWithDataRefEditor, nullptr);
  DestroyPluginMenu();

  if (PanelState().controlPanelCreated && View().sourceAvailable != 0) StopHeadPoseSource();
  DestroyBuiltWindows();

  RemoveCommands();  // only when the host offers the unregister function
  // No data accessor is registered yet, so there are none to unregister.
  LogAlways("--- LOGGING STOPPED ---\n\n");
}

void ReceiveMessage(int from, int message, void* param) {
  if (from != 0 || message != XPLM_MSG_PLANE_LOADED || reinterpret_cast<std::intptr_t>(param) != 0) return;
  ViewState& view = View();
  const SetupSettings& setup = Settings();
  if (setup.resetRollOffsetOnStartup != 0) XPLMSetDataf(SimRefs().headRoll, 0.0f);
  if (view.pluginEnabled || setup.autoStart != 0) view.reinitPending = true;
  // Unlike the probe at start, any non-zero result counts here; the menu items are left as they are.
  if (ProbeHeadPoseSource() != 0) {
    view.sourceAvailable = 1;
    StopHeadPoseSource();
  } else {
    view.sourceAvailable = 0;
  }
}

float RegisterWithDataRefEditor(float, float, int, void*) {
  // The dataref browser is told about the published external-data datarefs; they do not exist yet, so
  // there is nothing to announce. Returning 0 keeps it registered but never called again.
  return 0.0f;
}

}  // namespace talvenor
