// The simulated X-Plane host: one object owns the whole simulator state that the SDK functions act on.
//
// A test or talvenor-sim creates one Host; while it lives, the XPLM and XPWidgets C functions exported by
// this library act on it (Host::current()). The host runs one plugin under test, either loaded from a
// library file through the platform's loader (installed into the simulator folder as X-Plane would) or
// linked into the test process (entry points given as function pointers), plus any number of stub plugins.
//
// Where the SDK documentation is silent, the family headers (datarefs.h, commands.h, ...) say what this
// host does.
//
// A disabled plugin. The SDK's account of the plugin's life says that XPluginDisable comes right before the
// plugin is disabled, that a disabled plugin receives no other callbacks and that its user interface is
// hidden or disabled; X-Plane's plugin admin disables and enables plugins at the user's wish, and a plugin
// may do so to another (XPLMDisablePlugin, XPLMEnablePlugin). The SDK names no exception, so this host, the
// stricter reading, calls none of a disabled plugin's callbacks: no flight loop (a due one waits, and its
// next call's elapsed time includes the pause), no hot key, no command handler (the command's other
// handlers and the simulator's own action run as if it let processing go on), no menu pick, no widget
// message, no message, and no data accessor (a read of its dataref gives 0, a write is lost). The user
// cannot reach its widgets (a click, typing or the close box fails as on a hidden window) and they are not
// drawn. Only its own calls still reach its own callbacks: XPluginStop destroying its widgets, say.
//
// Quitting. X-Plane writes its preferences file at quitting and sends XPLM_MSG_WILL_WRITE_PREFS (107) to the
// enabled plugins right before; the message exists so that a plugin can put back a setting it changed for a
// while, "to avoid having the tweaks be persisted if your plugin is not loaded on the next invocation", which
// presumes the plugins are still loaded and enabled when the preferences are written. The SDK gives no
// order otherwise; this host takes the one in which XPluginDisable and XPluginStop can no longer change what
// is written: 107 to every enabled plugin, the preferences written, then each plugin disabled and stopped.
// Of the preferences the host keeps the Roll Offset (sim/graphics/view/field_of_view_roll_deg) as written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "XPLMDefs.h"
#include "debug_capture.h"  // whole, not declared: every caller of Host::debug() reads its text

namespace sim {

class DataRefs;
class FlightLoops;
class Commands;
class Menus;
class Hotkeys;
class Plugins;
class Widgets;
class FileFaults;
class TrackerScript;

using PluginId = XPLMPluginID;
inline constexpr PluginId kSimulatorId = 0;      // X-Plane itself, the sender of its own messages
inline constexpr PluginId kPluginUnderTest = 1;  // the plugin being tested; stub plugins follow from 2

// The five entry points of a plugin linked into the process.
struct PluginEntryPoints {
  int (*start)(char* outName, char* outSig, char* outDesc) = nullptr;
  void (*stop)() = nullptr;
  int (*enable)() = nullptr;
  void (*disable)() = nullptr;
  void (*receiveMessage)(XPLMPluginID from, int message, void* param) = nullptr;
};

enum class Platform { Linux, Windows };
#ifdef _WIN32
inline constexpr Platform kHostPlatform = Platform::Windows;
#else
inline constexpr Platform kHostPlatform = Platform::Linux;
#endif

// The simulator the host models. X-Plane 12 (and 11, which agrees on every fact the host models) is the
// default: a plugin cannot write sim/graphics/view/view_type and sim/view/pan_* do not exist. The older
// simulator, for which the plugin's design was first made, lets a plugin write the view type and has
// sim/view/pan_up, pan_down, pan_left and pan_right.
enum class Simulator { XPlane12, Older };

struct HostOptions {
  // The simulator folder; empty: a fresh temporary folder; relative: that path inside a fresh temporary one.
  std::filesystem::path root;
  bool keepRoot = false;  // keep a temporary folder when the host is destroyed
  int fps = 50;           // cycles per simulated second
  std::string aircraft = "Aircraft/Default/Default.acf";  // the user's aircraft, relative to the root
  bool offerFindSymbol = true;  // the SDK library in Resources/plugins exports XPLMFindSymbol
  Simulator simulator = Simulator::XPlane12;
};

// The folder of the host library, where its companions stand: the substitute tracker client
// (libnpclient_sim.so, npclient_sim.dll) and the SDK library without XPLMFindSymbol; on Windows also the
// forwarding XPLM_64.dll and XPWidgets_64.dll.
std::filesystem::path HostLibraryFolder();

class Host {
 public:
  explicit Host(HostOptions options = {});
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The host that the SDK functions act on, or null when none exists.
  static Host* current();
  static constexpr Platform platform() { return kHostPlatform; }

  // Simulator folder, laid out as X-Plane's (Resources/plugins, the user's aircraft file, ...).
  const std::filesystem::path& root() const { return root_; }
  // X-Plane's system path as native paths give it: the root in UTF-8 with "/" and a trailing "/".
  std::string systemPath() const;
  // Resolves a scenario path (UTF-8, "/"-separated, relative to the root) to a file-system path.
  std::filesystem::path resolve(std::string_view relative) const;
  const HostOptions& options() const { return options_; }
  void setAircraft(std::string relativePath);  // creates the file when missing
  const std::string& aircraft() const { return options_.aircraft; }
  // The user's aircraft file, resolved, and its path and name as a plugin is given them in native (UTF-8,
  // "/") or legacy paths; made once for each aircraft, since a plugin may ask for them often.
  struct AircraftText {
    std::string path, name;
  };
  const std::filesystem::path& aircraftFile() const { return aircraftFile_; }
  const AircraftText& aircraftText(bool nativePaths) const { return aircraftText_[nativePaths ? 1 : 0]; }
  void setOfferFindSymbol(bool offer);  // rewrites Resources/plugins/XPLM_64.*
  // Which simulator the host models; it may change at any time (a scenario says it before start).
  void setSimulator(Simulator simulator) { options_.simulator = simulator; }
  Simulator simulator() const { return options_.simulator; }

  // The plugin under test.
  // Installs the library as Resources/plugins/NAME/<platform>_x64/NAME.xpl (NAME: its base name) and loads
  // it with the platform's loader; false with a message when it cannot be loaded or lacks an entry point.
  bool loadPlugin(const std::filesystem::path& library, std::string* error);
  // Uses entry points linked into this process; NAME names the plugin's folder under Resources/plugins.
  void linkPlugin(const PluginEntryPoints& entryPoints, std::string name = "Talvenor");
  bool hasPlugin() const { return linked_ || !pluginSource_.empty(); }
  const std::string& pluginName() const { return pluginName_; }  // the file's base name ("Talvenor")
  std::filesystem::path pluginFolder() const { return resolve("Resources/plugins/" + pluginName_); }
  // XPluginStart then XPluginEnable; returns XPluginStart's result. Loads the plugin again after a stop.
  // As in X-Plane, XPluginEnable's 0 leaves the plugin loaded but disabled (xplane12-facts.md, "Plugins"):
  // it gets no messages, XPLMIsPluginEnabled gives 0 for it and its stop calls no XPluginDisable.
  int start();
  // XPluginDisable (when enabled) then XPluginStop; returns one line for every registration the plugin left
  // behind.
  std::vector<std::string> stop();
  bool started() const { return started_; }
  bool enabled() const { return enabled_; }
  // The identity the plugin returned from XPluginStart.
  const std::string& name() const { return identity_[0]; }
  const std::string& signature() const { return identity_[1]; }
  const std::string& description() const { return identity_[2]; }
  // A further plugin library loaded beside the plugin under test (an external data source, ...): installed
  // as Resources/plugins/NAME/<platform>_x64/NAME.xpl, started and enabled at once, with the next plugin id.
  // It lives until stopCompanions (or the host's end), whatever the plugin under test does. Returns its id,
  // or XPLM_NO_PLUGIN_ID with a message when it cannot be loaded, lacks an entry point or refuses to start.
  PluginId loadCompanion(const std::filesystem::path& library, std::string* error);
  // XPluginDisable and XPluginStop of every companion still loaded, newest first; returns one line for
  // every registration one of them left behind.
  std::vector<std::string> stopCompanions();

  // Delivers a message to the plugin under test (sender 0: the simulator) when it is enabled.
  void sendMessage(PluginId from, int message, intptr_t param);
  // A message of the simulator itself goes to every enabled plugin, as in X-Plane: the plugin under test,
  // then each enabled companion in load order.
  void sendSimulatorMessage(int message, intptr_t param);
  void planeLoaded(int index = 0) { sendSimulatorMessage(102, index); }

  // Enabled: the simulator itself, the plugin under test from a non-zero XPluginEnable until it is disabled
  // (and, while no plugin is started, a test calling the SDK functions itself), a companion or stub likewise,
  // and an id the host never gave out (a test acting as another plugin).
  bool pluginEnabled(PluginId plugin) const;
  // Whether the host may call a callback of OWNER now: it is enabled, or its own code is running.
  // The plugin under test is asked first and inline: this runs for every callback of every cycle, and the
  // per-frame budget counts it with the plugin's work.
  bool delivers(PluginId owner) const {
    if (owner == kPluginUnderTest && (enabled_ || !started_)) return true;
    return pluginEnabled(owner) || (callDepth_ > 0 && caller_ == owner);
  }
  // As X-Plane's plugin admin: XPluginDisable of an enabled plugin / XPluginEnable of a started, disabled one
  // (its 0 leaves it disabled), for the plugin under test, a companion or a stub; false for an unknown id.
  bool disablePlugin(PluginId plugin);
  bool enablePlugin(PluginId plugin);
  // The id of the companion loaded from a library with this base name, or XPLM_NO_PLUGIN_ID.
  PluginId companionNamed(std::string_view name) const;

  // X-Plane writes its preferences: 107 to every enabled plugin, then the Roll Offset is kept as written.
  void writePreferences();
  // X-Plane quits: writePreferences, then the plugin under test and every companion disabled and stopped;
  // returns one line for every registration one of them left behind.
  std::vector<std::string> quit();
  // The Roll Offset as the preferences were last written; empty before the first write.
  std::optional<float> preferencesRoll() const { return preferencesRoll_; }

  // Time. A cycle advances the clock by exactly 1/fps seconds, then runs the continue phase of every held
  // command, then sends a repeat of every held key, then runs every flight-loop callback that is due.
  void setFps(int fps);
  int fps() const { return options_.fps; }
  void runCycles(long count);
  void runSeconds(double seconds);  // the number of whole cycles closest to seconds * fps
  long cycle() const { return cycle_; }
  // Simulated seconds since the host was made; exact multiples of 1/fps within one frame rate.
  double time() const { return timeBase_ + static_cast<double>(cyclesAtRate_) / options_.fps; }
  // Called after every cycle (CSV rows, plots).
  void setCycleObserver(std::function<void()> observer) { cycleObserver_ = std::move(observer); }

  // A running session's state, to be put back so that the same events run from the same state each time
  // (a fuzz target runs every input so): the clock, the datarefs' stored values, flight loops, commands'
  // holds and handlers, menus, hotkeys, stub plugins' messages, widgets, the tracker script, the debugger
  // output and the count of the plugin's file opens. Registrations made after it are forgotten when it is
  // put back; the plugin's own state, files on disk and loaded libraries are not part of it. Taken and put
  // back outside plugin calls, with the plugin in the same life (started and enabled) as when taken.
  struct Checkpoint;
  std::shared_ptr<const Checkpoint> checkpoint() const;
  // Copies only what differs from CHECKPOINT, so that putting back after a short run costs little.
  void restore(const Checkpoint& checkpoint);
  // Whether the clock and every widget are as in CHECKPOINT, compared in full: the widgets are put back by
  // following what changed, which this checks.
  bool matches(const Checkpoint& checkpoint) const;

  // Every call from the host into plugin code goes through this guard, so that registrations are
  // attributed to the plugin that made them and file faults apply to plugin code only.
  class PluginCall {
   public:
    PluginCall(Host& host, PluginId plugin);
    ~PluginCall();
    PluginCall(const PluginCall&) = delete;
    PluginCall& operator=(const PluginCall&) = delete;

   private:
    Host& host_;
    PluginId previous_;
  };
  // Runs FN as code of PLUGIN, inside a PluginCall, and gives its result.
  template <typename Fn>
  auto runAs(PluginId plugin, Fn&& fn) {
    PluginCall call(*this, plugin);
    return fn();
  }
  // The plugin whose code is running; the plugin under test when no call is in progress (a test that
  // calls the SDK functions directly acts as that plugin).
  PluginId caller() const { return callDepth_ > 0 ? caller_ : kPluginUnderTest; }
  bool inPluginCall() const { return callDepth_ > 0; }

  // The simulator's subsystems.
  DataRefs& datarefs() { return *datarefs_; }
  FlightLoops& flightLoops() { return *flightLoops_; }
  Commands& commands() { return *commands_; }
  Menus& menus() { return *menus_; }
  Hotkeys& hotkeys() { return *hotkeys_; }
  Plugins& plugins() { return *plugins_; }
  Widgets& widgets() { return *widgets_; }
  FileFaults& fileFaults() { return *fileFaults_; }
  DebugCapture& debug() { return *debug_; }
  TrackerScript& tracker() { return *tracker_; }

 private:
  void layOut();
  void placeAircraft();  // makes the aircraft's file and texts
  void unloadLibrary();
  bool bindEntryPoints(std::string* error);
  // Reports what PLUGIN left registered, then removes it all, as X-Plane does when it unloads a plugin.
  std::vector<std::string> removeRegistrations(PluginId plugin);

  struct Companion {
    PluginId id = 0;
    std::string name;  // the library's base name
    void* library = nullptr;
    PluginEntryPoints entry{};
    bool enabled = false;
  };
  Companion* companionWithId(PluginId plugin);  // null when none has that id

  HostOptions options_;
  std::filesystem::path root_;
  std::filesystem::path aircraftFile_;
  AircraftText aircraftText_[2];         // legacy, native
  std::filesystem::path temporaryBase_;  // the temporary folder that holds root_, when the host made it
  bool temporaryRoot_ = false;
  std::string pluginName_;
  std::filesystem::path pluginSource_;  // the library file given to loadPlugin
  void* libraryHandle_ = nullptr;
  PluginEntryPoints entry_{};
  bool linked_ = false;
  bool started_ = false;
  bool enabled_ = false;
  std::string identity_[3];
  long cycle_ = 0;
  long cyclesAtRate_ = 0;  // cycles since the last change of frame rate
  double timeBase_ = 0;    // simulated time at that change
  int callDepth_ = 0;
  PluginId caller_ = kPluginUnderTest;
  std::function<void()> cycleObserver_;
  std::vector<Companion> companions_;
  std::optional<float> preferencesRoll_;

  std::unique_ptr<DataRefs> datarefs_;
  std::unique_ptr<FlightLoops> flightLoops_;
  std::unique_ptr<Commands> commands_;
  std::unique_ptr<Menus> menus_;
  std::unique_ptr<Hotkeys> hotkeys_;
  std::unique_ptr<Plugins> plugins_;
  std::unique_ptr<Widgets> widgets_;
  std::unique_ptr<FileFaults> fileFaults_;
  std::unique_ptr<DebugCapture> debug_;
  std::unique_ptr<TrackerScript> tracker_;
};

}  // namespace sim
