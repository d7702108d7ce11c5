// Starts and stops the plugin a thousand times in one process, first linked into this program (its code
// loaded once for all starts), then loaded from its library at every start and unloaded at every stop. Each
// start, on the same simulator, runs the same session (panels, commands, hotkeys, tracker frames, an aircraft
// load, a save); what the simulator and the pilot saw must be the same as at the first start, and each stop
// must leave nothing registered (flight loops, command handlers, hotkeys, menus, widgets, datarefs). The
// sanitized build's LeakSanitizer reports, at the program's end, any memory that a start or a stop lost.
//
// Usage: lifecycle PLUGIN_LIBRARY [STARTS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "XPLMDefs.h"
#include "commands.h"
#include "config/aircraft_files.h"
#include "datarefs.h"
#include "debug_capture.h"
#include "flight_loops.h"
#include "hotkeys.h"
#include "menus.h"
#include "plugin/entry_points.h"
#include "tracker_script.h"
#include "widgets.h"

namespace {

constexpr const char* kSetup =
    "[DEBUG]\nDEBUGLOGENABLED = 1\n[PRESET2]\nHOTKEY = F2\n[TL_TOGGLE]\nHOTKEY = F5\n"
    "HOTKEYMODIFIERS = SHIFT\n[CONTROL_PANEL_TOGGLE]\nHOTKEY = P\n";
constexpr const char* kWindows[] = {"Talvenor v1.70", "Talvenor Effects", "Talvenor Data"};
// The simulator's values that a session changes.
constexpr const char* kSimulatorValues[] = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
    "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg",
    "sim/graphics/view/view_type",
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "lifecycle: %s\n", what.c_str());
  std::exit(1);
}

// A simulator with the plugin linked in (LIBRARY null) or loaded from LIBRARY at each start, the setup file
// and the tracker library laid out.
std::unique_ptr<sim::Host> MakeSimulator(const char* library) {
  auto host = std::make_unique<sim::Host>();
  std::string error;
  if (library == nullptr) {
    host->linkPlugin({&XPluginStart, &XPluginStop, &XPluginEnable, &XPluginDisable, &XPluginReceiveMessage});
  } else if (!host->loadPlugin(library, &error)) {
    Fail("cannot load " + std::string(library) + ": " + error);
  }
  std::ofstream(host->pluginFolder() / "Talvenor.ini", std::ios::binary) << kSetup;
  if (!host->tracker().installLibrary("Tracker", &error)) Fail("the tracker library: " + error);
  return host;
}

// One start, session and stop of the plugin, from the simulator's values START, and what it saw; the
// program ends with what went wrong when a stop leaves something registered.
std::string Session(sim::Host& host, const std::vector<double>& start, int number) {
  for (std::size_t i = 0; i < start.size(); ++i) host.datarefs().write(kSimulatorValues[i], start[i]);
  std::filesystem::remove(host.aircraftFile().parent_path() / talvenor::kPresetFileName);
  host.debug().clear();
  host.tracker().setFrame({});

  if (host.start() != 1) Fail("start " + std::to_string(number) + " refused");
  host.runCycles(6);
  for (const char* item : {"Enable", "Control Panel", "Forces Effect Panel", "Data Display"}) {
    host.menus().pick("Talvenor", item);
  }
  host.commands().begin("quorlend/talvenor/axis_x_left");
  host.runCycles(5);
  host.commands().end("quorlend/talvenor/axis_x_left");
  host.hotkeys().tap(XPLM_VK_F2, 0);
  sim::TrackerFrame frame;
  frame.number = 7;
  frame.x = 250.0f;
  frame.pitch = 900.0f;
  host.tracker().setFrame(frame);
  host.runCycles(3);
  host.commands().once("quorlend/talvenor/save_presets");
  host.planeLoaded();
  host.runCycles(3);

  std::ostringstream seen;
  for (const char* name : kSimulatorValues) seen << name << ' ' << host.datarefs().read(name)->value << '\n';
  for (const auto& item : host.menus().items("Talvenor").value_or(std::vector<sim::MenuItemInfo>{})) {
    seen << "menu " << item.text << ' ' << item.enabled << '\n';
  }
  for (const auto& hotkey : host.hotkeys().list(sim::kPluginUnderTest))
    seen << "hotkey " << hotkey.description << '\n';
  seen << "flight loops " << host.flightLoops().count(sim::kPluginUnderTest) << '\n';
  seen << "handlers " << host.commands().handlerCount("sim/general/left") << '\n';
  for (const char* caption : kWindows) {
    for (const auto& widget : host.widgets().tree(host.widgets().findWindow(caption))) {
      seen << "widget " << widget.descriptor << ' ' << widget.visible << '\n';
    }
  }
  const auto folder = host.aircraftFile().parent_path();
  seen << "file " << ReadFile(folder / talvenor::kPresetFileName).size() << '\n';

  const std::vector<std::string> left = host.stop();
  if (!left.empty()) Fail("stop " + std::to_string(number) + " left registered: " + left.front());
  if (host.widgets().staleCalls() != 0) Fail("the plugin used a widget it had destroyed");
  seen << "log\n" << ReadFile(host.pluginFolder() / "TalvenorLog.txt") << "debug\n" << host.debug().text();
  return seen.str();
}

// STARTS sessions on one simulator, each compared with the first.
void RunAll(int starts, const char* library, const char* how) {
  const auto began = std::chrono::steady_clock::now();
  const std::unique_ptr<sim::Host> host = MakeSimulator(library);
  std::vector<double> values;
  for (const char* name : kSimulatorValues) values.push_back(host->datarefs().read(name)->value);
  std::string first;
  for (int number = 1; number <= starts; ++number) {
    const std::string seen = Session(*host, values, number);
    if (number == 1) first = seen;
    if (seen == first) continue;
    std::size_t at = 0;
    while (at < seen.size() && at < first.size() && seen[at] == first[at]) ++at;
    const std::size_t from = at > 40 ? at - 40 : 0;
    Fail("start " + std::to_string(number) + " (" + how + ") differs from the first at \"" +
         seen.substr(from, 120) + "\", first: \"" + first.substr(from, 120) + "\"");
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("%d starts and stops, %s: each as the first, nothing left registered (%.1f s)\n", starts, how,
              seconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lifecycle PLUGIN_LIBRARY [STARTS]\n");
    return 2;
  }
  const int starts = argc > 2 ? std::atoi(argv[2]) : 1000;
  RunAll(starts, nullptr, "linked into the program");
  RunAll(starts, argv[1], "loaded from the library and unloaded at each stop");
  return 0;
}
