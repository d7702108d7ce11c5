// Entry points of the SDK probe and the list of everything it publishes.
#include <cstring>

#include "XPLMPlugin.h"
#include "probe.h"

namespace probe {
namespace {

void HeadWriterWritten() {
  SetHeadWriter(State().headWriter);
}

void PublishChecks(Checks& c) {
  struct Named {
    const char* name;
    int* value;
  };
  const Named checks[] = {
      {"probe/check/null_read_int", &c.nullReadInt},
      {"probe/check/null_read_float", &c.nullReadFloat},
      {"probe/check/unknown_found", &c.unknownFound},
      {"probe/check/wrong_type_read", &c.wrongTypeRead},
      {"probe/check/head_types", &c.headTypes},
      {"probe/check/view_type_types", &c.viewTypeTypes},
      {"probe/check/array_length", &c.arrayLength},
      {"probe/check/array_clipped", &c.arrayClipped},
      {"probe/check/negative_offset_copied", &c.negativeOffsetCopied},
      {"probe/check/own_round_trip", &c.ownRoundTrip},
      {"probe/check/own_writes_counted", &c.ownWritesCounted},
      {"probe/check/can_write_head", &c.canWriteHead},
      {"probe/check/can_write_readonly", &c.canWriteReadOnly},
      {"probe/check/readonly_write_ignored", &c.readOnlyWriteIgnored},
      {"probe/check/data_length", &c.dataLength},
      {"probe/check/can_write_view_type", &c.canWriteViewType},
      {"probe/check/view_type_write_taken", &c.viewTypeWriteTaken},
      {"probe/check/view_commands_select", &c.viewCommandsSelect},
      {"probe/check/pan_found", &c.panFound},
      {"probe/check/rot_found", &c.rotFound},
      {"probe/check/window_low", &c.windowLow},
      {"probe/check/window_high", &c.windowHigh},
      {"probe/check/temp_before", &c.tempBefore},
      {"probe/check/temp_after", &c.tempAfter},
      {"probe/check/temp_found_after", &c.tempFoundAfter},
      {"probe/check/create_existing_same", &c.createExistingSame},
      {"probe/check/unknown_command_found", &c.unknownCommandFound},
      {"probe/check/builtin_found", &c.builtinFound},
      {"probe/check/my_id", &c.myId},
      {"probe/check/self_by_signature", &c.selfBySignature},
      {"probe/check/unknown_signature", &c.unknownSignature},
      {"probe/check/plugin_count", &c.pluginCount},
      {"probe/check/find_symbol_known", &c.findSymbolKnown},
      {"probe/check/find_symbol_matches", &c.findSymbolMatches},
      {"probe/check/find_symbol_unknown", &c.findSymbolUnknown},
      {"probe/check/library_offers_find_symbol", &c.libraryOffersFindSymbol},
      {"probe/check/library_known", &c.libraryKnown},
      {"probe/check/library_unknown", &c.libraryUnknown},
      {"probe/check/missing_property_exists", &c.missingPropertyExists},
      {"probe/check/missing_property_value", &c.missingPropertyValue},
      {"probe/check/set_property_exists", &c.setPropertyExists},
      {"probe/check/set_property_value", &c.setPropertyValue},
      {"probe/check/destroyed_descriptor_length", &c.destroyedDescriptorLength},
      {"probe/check/destroyed_visible", &c.destroyedVisible},
      {"probe/check/destroyed_property_exists", &c.destroyedPropertyExists},
      {"probe/check/null_visible", &c.nullVisible},
  };
  for (const Named& check : checks) PublishInt(check.name, check.value, false);
}

}  // namespace

Probe& State() {
  static Probe probe;
  return probe;
}

void PublishAll() {
  Probe& p = State();
  PublishInt("probe/enabled", &p.enabled, false);
  PublishInt("probe/enable_calls", &p.enableCalls, false);
  PublishInt("probe/disable_calls", &p.disableCalls, false);
  PublishInt("probe/messages", &p.messages, false);
  PublishInt("probe/plane_loaded", &p.planeLoaded, false);
  PublishInt("probe/last_plane_index", &p.lastPlaneIndex, false);
  PublishInt("probe/last_message", &p.lastMessage, false);
  PublishInt("probe/last_sender", &p.lastSender, false);

  p.intValueBinding = PublishInt("probe/int_value", &p.intValue, true);
  if (p.intValueBinding != nullptr) {
    PublishInt("probe/int_reads", &p.intValueBinding->reads, false);
    PublishInt("probe/int_writes", &p.intValueBinding->writes, false);
  }
  PublishFloat("probe/float_value", &p.floatValue, true);
  PublishFloatArray("probe/float_array", p.floatArray.data(), static_cast<int>(p.floatArray.size()), true);
  PublishIntArray("probe/int_array", p.intArray.data(), static_cast<int>(p.intArray.size()), true);
  PublishData("probe/data", &p.data, true);
  PublishInt("probe/data_length", &p.data.length, false);
  PublishInt("probe/readonly_int", &p.readOnlyInt, false);
  PublishData("probe/system_path", &p.systemPath, false);
  PublishData("probe/aircraft_path", &p.aircraftPath, false);

  PublishInt("probe/loop_calls", &p.loopCalls, false);
  PublishInt("probe/loop_counter", &p.loopCounter, false);
  PublishInt("probe/cycle_number", &p.cycleNumber, false);
  PublishFloat("probe/loop_interval", &p.loopInterval, true);
  PublishFloat("probe/loop_elapsed", &p.loopElapsed, false);
  PublishFloat("probe/loop_since_last", &p.loopSinceLast, false);
  PublishFloat("probe/elapsed_time", &p.elapsedTime, false);
  PublishInt("probe/spawn_calls", &p.spawnCalls, false);
  PublishInt("probe/spawn_limit", &p.spawnLimit, true);
  PublishInt("probe/head_writer", &p.headWriter, true, HeadWriterWritten);
  PublishInt("probe/head_writes", &p.headWrites, false);

  PublishInt("probe/left_handler_result", &p.leftResult, true);
  PublishInt("probe/count_result", &p.countResult, true);
  PublishIntArray("probe/left_before", p.leftBefore.data(), 3, false);
  PublishIntArray("probe/left_after", p.leftAfter.data(), 3, false);
  PublishIntArray("probe/count_before", p.countBefore.data(), 3, false);
  PublishIntArray("probe/count_after", p.countAfter.data(), 3, false);

  PublishInt("probe/menu_picks", &p.menuPicks, false);
  PublishInt("probe/last_menu_item", &p.lastMenuItem, false);
  PublishInt("probe/menu_ref_ok", &p.menuRefOk, false);
  PublishInt("probe/menu_checked", &p.menuChecked, false);
  PublishIntArray("probe/hotkey_calls", p.hotkeyCalls.data(), static_cast<int>(p.hotkeyCalls.size()), false);
  PublishInt("probe/hotkey_refcon_ok", &p.hotkeyRefconOk, false);

  PublishInt("probe/editor_id", &p.editorId, false);
  PublishInt("probe/announced", &p.announced, false);

  PublishInt("probe/button_presses", &p.buttonPresses, false);
  PublishInt("probe/checkbox_state", &p.checkBoxState, false);
  PublishInt("probe/checkbox_own_calls", &p.checkBoxOwnCalls, false);
  PublishInt("probe/checkbox_property", &p.checkBoxProperty, false);
  PublishInt("probe/text_changes", &p.textChanges, false);
  PublishInt("probe/text_length", &p.textLength, false);
  PublishInt("probe/text_small_terminated", &p.textSmallTerminated, false);
  PublishInt("probe/text_overrun", &p.textOverrun, false);
  PublishInt("probe/close_pushes", &p.closePushes, false);
  PublishComputedInt("probe/window_visible", &p.windowVisible, RefreshVisibility);
  PublishComputedInt("probe/button_visible", &p.buttonVisible, RefreshVisibility);

  PublishInt("probe/file_result", &p.fileResult, false);
  PublishInt("probe/file_errno", &p.fileErrno, false);
  PublishInt("probe/save_result", &p.saveResult, false);
  PublishInt("probe/remove_result", &p.removeResult, false);
  PublishInt("probe/debug_lines", &p.debugLines, false);

  PublishInt("probe/tracker/found", &p.tracker.found, false);
  PublishInt("probe/tracker/loaded", &p.tracker.loaded, false);
  PublishInt("probe/tracker/entries", &p.tracker.entries, false);
  PublishInt("probe/tracker/version", &p.tracker.version, false);
  PublishInt("probe/tracker/start_result", &p.tracker.startResult, false);
  PublishInt("probe/tracker/get_result", &p.tracker.getResult, false);
  PublishInt("probe/tracker/status", &p.tracker.status, false);
  PublishInt("probe/tracker/number", &p.tracker.number, false);
  PublishFloatArray("probe/tracker/pose", p.trackerPose.data(), static_cast<int>(p.trackerPose.size()),
                    false);

  PublishChecks(p.checks);
}

}  // namespace probe

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc) {
  using namespace probe;
  State() = Probe{};
  std::strcpy(outName, kName);
  std::strcpy(outSig, kSignature);
  std::strcpy(outDesc, "Exercises each family of SDK functions for the simulated host's tests.");
  Debug("SDK Probe: start");
  PublishAll();
  UpdatePathData();
  StartLoops();
  StartCommands();
  StartMenus();
  StartHotkeys();
  return 1;
}

PLUGIN_API void XPluginStop(void) {
  using namespace probe;
  StopHotkeys();
  StopMenus();
  StopWidgets();
  StopCommands();
  StopLoops();
  DisconnectTracker();
  WithdrawAll();
  Debug("SDK Probe: stop");
}

PLUGIN_API int XPluginEnable(void) {
  probe::Probe& p = probe::State();
  p.enabled = 1;
  ++p.enableCalls;
  return 1;
}

PLUGIN_API void XPluginDisable(void) {
  probe::Probe& p = probe::State();
  p.enabled = 0;
  ++p.disableCalls;
}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID from, int message, void* param) {
  probe::ReceiveMessage(from, message, param);
}
