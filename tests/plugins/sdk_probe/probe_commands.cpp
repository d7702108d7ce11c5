// Commands: handlers before and after the simulator's own sim/general/left, handlers on a command of our own
// (probe/count), and the probe's action commands through which a scenario asks it to do things.
#include <array>

#include "probe.h"

namespace probe {
namespace {

void CountPhase(std::array<int, 3>& counts, XPLMCommandPhase phase) {
  if (phase >= 0 && phase < 3) ++counts[static_cast<std::size_t>(phase)];
}

int LeftBefore(XPLMCommandRef, XPLMCommandPhase phase, void*) {
  Probe& p = State();
  CountPhase(p.leftBefore, phase);
  return p.leftResult;
}

int LeftAfter(XPLMCommandRef, XPLMCommandPhase phase, void*) {
  CountPhase(State().leftAfter, phase);
  return 1;
}

int CountBefore(XPLMCommandRef, XPLMCommandPhase phase, void*) {
  Probe& p = State();
  CountPhase(p.countBefore, phase);
  return p.countResult;
}

int CountAfter(XPLMCommandRef, XPLMCommandPhase phase, void*) {
  CountPhase(State().countAfter, phase);
  return 1;
}

void Leak() {
  State().leak = true;
}
void ToggleHeadWriter() {
  SetHeadWriter(State().headWriter == 0 ? 1 : 0);
}
void RunLeft() {
  XPLMCommandOnce(State().left);
}
void BeginLeft() {
  XPLMCommandBegin(State().left);
}
void EndLeft() {
  XPLMCommandEnd(State().left);
}

struct Action {
  const char* name;
  const char* description;
  void (*run)();
};

constexpr std::array<Action, 23> kActions = {{
    {"probe/leak", "Leave registrations behind at stop", Leak},
    {"probe/head_writer", "Toggle writing the head datarefs every cycle", ToggleHeadWriter},
    {"probe/spawn", "Let the main flight loop register a second one", RequestSpawn},
    {"probe/loop_reschedule", "Schedule the main flight loop at probe/loop_interval from now",
     RescheduleLoop},
    {"probe/run_left", "Run sim/general/left once from plugin code", RunLeft},
    {"probe/left_begin", "Begin sim/general/left from plugin code", BeginLeft},
    {"probe/left_end", "End sim/general/left from plugin code", EndLeft},
    {"probe/check_datarefs", "Check the host's datarefs from the plugin's side", CheckDataRefs},
    {"probe/check_plugins", "Check plugin lookups and XPLMFindSymbol", CheckPlugins},
    {"probe/announce", "Send our dataref names to the dataref browser", AnnounceToEditor},
    {"probe/paths", "Write what the path functions report to paths.txt", WritePaths},
    {"probe/native_paths", "Switch the probe's paths to native ones", EnableNativePaths},
    {"probe/window", "Show or hide the probe window (built on first use)", ToggleWindow},
    {"probe/window_destroy", "Destroy the probe window and check calls on it", DestroyWindow},
    {"probe/menu_remove_last", "Remove the last item of the probe menu", RemoveLastMenuItem},
    {"probe/remap_hotkey", "Move the count hotkey from F8 to F9", RemapHotkey},
    {"probe/write_file", "Write output.txt in the plugin folder", WriteFile},
    {"probe/save", "Save saved.txt through a temporary file and a rename", SaveAtomically},
    {"probe/remove_file", "Remove output.txt", RemoveFile},
    {"probe/debug", "Write a line to the debugger output", WriteDebugLine},
    {"probe/tracker_connect", "Find, load and start the tracker client", ConnectTracker},
    {"probe/tracker_read", "Read one frame from the tracker client", ReadTracker},
    {"probe/tracker_disconnect", "Stop and unload the tracker client", DisconnectTracker},
}};

int ActionHandler(XPLMCommandRef, XPLMCommandPhase phase, void* refcon) {
  if (phase == xplm_CommandBegin) static_cast<const Action*>(refcon)->run();
  return 1;
}

void* RefconOf(std::size_t i) {
  return const_cast<Action*>(&kActions[i]);
}

}  // namespace

void StartCommands() {
  Probe& p = State();
  p.left = XPLMFindCommand("sim/general/left");
  p.checks.builtinFound = p.left != nullptr ? 1 : 0;
  XPLMRegisterCommandHandler(p.left, LeftBefore, 1, nullptr);
  XPLMRegisterCommandHandler(p.left, LeftAfter, 0, nullptr);

  p.count = XPLMCreateCommand("probe/count", "Count the phases it receives");
  p.checks.createExistingSame = XPLMCreateCommand("probe/count", "Created twice") == p.count ? 1 : 0;
  p.checks.unknownCommandFound = XPLMFindCommand("probe/no_such_command") != nullptr ? 1 : 0;
  XPLMRegisterCommandHandler(p.count, CountBefore, 1, nullptr);
  XPLMRegisterCommandHandler(p.count, CountAfter, 0, nullptr);

  for (std::size_t i = 0; i < kActions.size() && i < p.ownCommands.size(); ++i) {
    p.ownCommands[i] = XPLMCreateCommand(kActions[i].name, kActions[i].description);
    XPLMRegisterCommandHandler(p.ownCommands[i], ActionHandler, 1, RefconOf(i));
    p.ownCommandCount = static_cast<int>(i + 1);
  }
}

void StopCommands() {
  Probe& p = State();
  XPLMUnregisterCommandHandler(p.left, LeftBefore, 1, nullptr);
  XPLMUnregisterCommandHandler(p.left, LeftAfter, 0, nullptr);
  XPLMUnregisterCommandHandler(p.count, CountBefore, 1, nullptr);
  XPLMUnregisterCommandHandler(p.count, CountAfter, 0, nullptr);
  for (int i = 0; i < p.ownCommandCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    XPLMUnregisterCommandHandler(p.ownCommands[k], ActionHandler, 1, RefconOf(k));
  }
  p.ownCommandCount = 0;
}

}  // namespace probe
