#include "host.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <type_traits>

#include "commands.h"
#include "datarefs.h"
#include "file_faults.h"
#include "flight_loops.h"
#include "hotkeys.h"
#include "menus.h"
#include "platform.h"
#include "plugins.h"
#include "XPLMPlugin.h"
#include "tracker_script.h"
#include "widgets.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

Host* g_current = nullptr;

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  if (!fs::exists(file)) std::ofstream(file, std::ios::binary).flush();
}

}  // namespace

fs::path HostLibraryFolder() {
  return platform::HostLibraryFile().parent_path();
}

Host::Host(HostOptions options) : options_(std::move(options)) {
  if (g_current != nullptr) throw std::logic_error("only one simulated host can exist at a time");
  if (options_.fps <= 0) throw std::invalid_argument("fps must be positive");
  if (options_.root.empty() || options_.root.is_relative()) {
    // A relative root lies inside a fresh temporary folder, which goes with the host.
    temporaryBase_ = platform::MakeTemporaryFolder("talvenor-sim-");
    root_ = (temporaryBase_ / options_.root).lexically_normal();
    fs::create_directories(root_);
    temporaryRoot_ = true;
  } else {
    fs::create_directories(options_.root);
    root_ = fs::absolute(options_.root).lexically_normal();
  }
  g_current = this;
  datarefs_ = std::make_unique<DataRefs>(*this);
  flightLoops_ = std::make_unique<FlightLoops>(*this);
  commands_ = std::make_unique<Commands>(*this);
  menus_ = std::make_unique<Menus>(*this);
  hotkeys_ = std::make_unique<Hotkeys>(*this);
  plugins_ = std::make_unique<Plugins>(*this);
  widgets_ = std::make_unique<Widgets>(*this);
  fileFaults_ = std::make_unique<FileFaults>(*this);
  debug_ = std::make_unique<DebugCapture>();
  tracker_ = std::make_unique<TrackerScript>(*this);
#ifndef _WIN32
  // The registry stand-in of this simulator, also for the plugin (the tracker client's entry).
  setenv("TALVENOR_REGISTRY", (root_ / "registry").c_str(), 1);
#endif
  layOut();
  // A reused simulator folder may hold an old registry value; a host starts with no tracker installed.
  tracker_->removeRegistryEntry();
}

Host::~Host() {
  if (started_) stop();
  stopCompanions();
  unloadLibrary();
  tracker_.reset();
  debug_.reset();
  fileFaults_.reset();
  widgets_.reset();
  plugins_.reset();
  hotkeys_.reset();
  menus_.reset();
  commands_.reset();
  flightLoops_.reset();
  datarefs_.reset();
  g_current = nullptr;
  if (temporaryRoot_ && !options_.keepRoot) {
    std::error_code ignored;
    fs::remove_all(temporaryBase_, ignored);
  }
}

Host* Host::current() {
  return g_current;
}

std::string Host::systemPath() const {
  const std::u8string text = root_.generic_u8string();
  std::string path(text.begin(), text.end());
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

fs::path Host::resolve(std::string_view relative) const {
  fs::path result = root_;
  std::string_view rest = relative;
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  if (!rest.empty()) result /= platform::PathFromUtf8(rest).make_preferred();
  return result;
}

void Host::setAircraft(std::string relativePath) {
  options_.aircraft = std::move(relativePath);
  placeAircraft();
}

void Host::placeAircraft() {
  aircraftFile_ = resolve(options_.aircraft);
  Touch(aircraftFile_);
  for (const bool native : {false, true}) {
    aircraftText_[native ? 1 : 0] = {platform::PluginPathText(aircraftFile_, native),
                                     platform::PluginPathText(aircraftFile_.filename(), native)};
  }
}

void Host::setOfferFindSymbol(bool offer) {
  options_.offerFindSymbol = offer;
  layOut();
}

void Host::layOut() {
  const fs::path plugins = resolve("Resources/plugins");
  fs::create_directories(plugins);
  placeAircraft();
  // X-Plane keeps its SDK libraries in Resources/plugins; a plugin may load them by that path.
  platform::LayOutSdkLibraries(plugins, options_.offerFindSymbol);
}

void Host::linkPlugin(const PluginEntryPoints& entryPoints, std::string name) {
  unloadLibrary();
  pluginSource_.clear();
  entry_ = entryPoints;
  linked_ = true;
  pluginName_ = std::move(name);
  fs::create_directories(pluginFolder());
}

bool Host::loadPlugin(const fs::path& library, std::string* error) {
  unloadLibrary();
  linked_ = false;
  pluginSource_ = fs::absolute(library);
  pluginName_ = library.stem().string();
  return bindEntryPoints(error);
}

namespace {

// Installs SOURCE as X-Plane finds a plugin (FOLDER/<platform>_x64/NAME.xpl), loads it and binds its five
// entry points; null with a message, and nothing left loaded, when one of these fails.
void* InstallAndBind(const fs::path& source, const fs::path& folder, const fs::path& plugins,
                     PluginEntryPoints& entry, std::string* error) {
  auto fail = [&](std::string message, void* library) -> void* {
    if (error != nullptr) *error = std::move(message);
    if (library != nullptr) platform::UnloadPlugin(library);
    entry = {};
    return nullptr;
  };
  const fs::path installed = folder / platform::kPluginFolder / (source.stem().string() + ".xpl");
  std::error_code ec;
  fs::create_directories(installed.parent_path(), ec);
  if (!ec && source != installed) fs::copy_file(source, installed, fs::copy_options::overwrite_existing, ec);
  if (ec) return fail("cannot install " + source.string() + ": " + ec.message(), nullptr);
  std::string why;
  void* library = platform::LoadPlugin(installed, plugins, &why);
  if (library == nullptr) return fail(why, nullptr);
  const char* missing = nullptr;  // the first entry point the library lacks
  auto bind = [&](auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(platform::PluginSymbol(library, name));
    if (slot == nullptr && missing == nullptr) missing = name;
  };
  bind(entry.start, "XPluginStart");
  bind(entry.stop, "XPluginStop");
  bind(entry.enable, "XPluginEnable");
  bind(entry.disable, "XPluginDisable");
  bind(entry.receiveMessage, "XPluginReceiveMessage");
  if (missing != nullptr) return fail(installed.string() + " does not export " + missing, library);
  return library;
}

}  // namespace

bool Host::bindEntryPoints(std::string* error) {
  libraryHandle_ = InstallAndBind(pluginSource_, pluginFolder(), resolve("Resources/plugins"), entry_, error);
  return libraryHandle_ != nullptr;
}

PluginId Host::loadCompanion(const fs::path& library, std::string* error) {
  const fs::path source = fs::absolute(library);
  Companion companion;
  companion.library = InstallAndBind(source, resolve("Resources/plugins/" + source.stem().string()),
                                     resolve("Resources/plugins"), companion.entry, error);
  if (companion.library == nullptr) return XPLM_NO_PLUGIN_ID;
  companion.id = plugins_->addStub("");
  std::array<std::array<char, 256>, 3> buffers{};
  const int result = runAs(companion.id, [&] {
    return companion.entry.start(buffers[0].data(), buffers[1].data(), buffers[2].data());
  });
  for (auto& buffer : buffers) buffer.back() = '\0';
  if (result == 0) {
    if (error != nullptr) *error = source.string() + " refused to start";
    removeRegistrations(companion.id);
    plugins_->setEnabled(companion.id, false);
    platform::UnloadPlugin(companion.library);
    return XPLM_NO_PLUGIN_ID;
  }
  companion.name = source.stem().string();
  plugins_->setCompanion(companion.id, buffers[1].data(), companion.entry.receiveMessage);
  companion.enabled = runAs(companion.id, [&] { return companion.entry.enable(); }) != 0;
  plugins_->setEnabled(companion.id, companion.enabled);
  companions_.push_back(companion);
  return companion.id;
}

std::vector<std::string> Host::stopCompanions() {
  std::vector<std::string> left;
  while (!companions_.empty()) {
    const Companion companion = companions_.back();
    companions_.pop_back();
    runAs(companion.id, [&] {
      if (companion.enabled) companion.entry.disable();
      companion.entry.stop();
    });
    plugins_->setCompanion(companion.id, "", nullptr);
    plugins_->setEnabled(companion.id, false);
    for (std::string& line : removeRegistrations(companion.id)) left.push_back(std::move(line));
    platform::UnloadPlugin(companion.library);
  }
  return left;
}

void Host::unloadLibrary() {
  if (libraryHandle_ != nullptr) {
    platform::UnloadPlugin(libraryHandle_);
    libraryHandle_ = nullptr;
  }
  if (!linked_) entry_ = {};
}

int Host::start() {
  if (started_) throw std::logic_error("the plugin is already started");
  if (!linked_) {
    if (pluginSource_.empty()) throw std::logic_error("no plugin to start");
    std::string error;
    if (libraryHandle_ == nullptr && !bindEntryPoints(&error)) throw std::runtime_error(error);
  }
  // X-Plane hands the plugin three 256-byte buffers.
  std::array<std::array<char, 256>, 3> buffers{};
  const int result = runAs(kPluginUnderTest, [&] {
    return entry_.start(buffers[0].data(), buffers[1].data(), buffers[2].data());
  });
  for (int i = 0; i < 3; ++i) {
    buffers[i].back() = '\0';  // a plugin that overran its buffer is not read past it
    identity_[i] = buffers[i].data();
  }
  if (result == 0) return 0;  // X-Plane unloads a plugin that refuses to start
  started_ = true;
  enabled_ = runAs(kPluginUnderTest, [&] { return entry_.enable(); }) != 0;
  return result;
}

std::vector<std::string> Host::stop() {
  if (!started_) return {};
  runAs(kPluginUnderTest, [&] {
    if (enabled_) entry_.disable();
    entry_.stop();
  });
  started_ = false;
  enabled_ = false;
  std::vector<std::string> left = removeRegistrations(kPluginUnderTest);
  unloadLibrary();
  return left;
}

std::vector<std::string> Host::removeRegistrations(PluginId plugin) {
  std::vector<std::string> left;
  auto add = [&left](std::vector<std::string> more) { left.insert(left.end(), more.begin(), more.end()); };
  plugins_->forgetFeatures(plugin);
  add(flightLoops_->registrations(plugin));
  add(commands_->registrations(plugin));
  add(hotkeys_->registrations(plugin));
  add(datarefs_->registrations(plugin));
  add(menus_->registrations(plugin));
  add(widgets_->registrations(plugin));
  // X-Plane removes what belongs to the plugin with it (its menu items, the commands it created, and any
  // registration it leaked), so nothing can call into the library once it is unloaded.
  menus_->removePluginItems(plugin);
  commands_->removePlugin(plugin);
  hotkeys_->removePlugin(plugin);
  flightLoops_->removePlugin(plugin);
  datarefs_->removePlugin(plugin);
  widgets_->removePlugin(plugin);
  return left;
}

void Host::sendMessage(PluginId from, int message, intptr_t param) {
  if (!enabled_) return;
  PluginCall call(*this, kPluginUnderTest);
  entry_.receiveMessage(from, message, reinterpret_cast<void*>(param));
}

void Host::sendSimulatorMessage(int message, intptr_t param) {
  sendMessage(kSimulatorId, message, param);
  // By index: a plugin may load or stop companions while this goes on.
  for (std::size_t i = 0; i < companions_.size(); ++i) {
    const Companion companion = companions_[i];
    if (!companion.enabled || companion.entry.receiveMessage == nullptr) continue;
    PluginCall call(*this, companion.id);
    companion.entry.receiveMessage(kSimulatorId, message, reinterpret_cast<void*>(param));
  }
}

bool Host::pluginEnabled(PluginId plugin) const {
  if (plugin == kSimulatorId) return true;
  // With no plugin started, a test calling the SDK functions itself is the plugin under test, and enabled.
  if (plugin == kPluginUnderTest) return enabled_ || !started_;
  // An id the host never gave out is a test acting as some other plugin: nothing disabled it.
  if (!plugins_->info(plugin, nullptr, nullptr, nullptr, nullptr)) return true;
  return plugins_->isEnabled(plugin);
}

bool Host::disablePlugin(PluginId plugin) {
  if (plugin == kPluginUnderTest) {
    if (!enabled_) return started_;
    runAs(kPluginUnderTest, [&] { entry_.disable(); });
    enabled_ = false;
    return true;
  }
  Companion* companion = companionWithId(plugin);
  if (companion == nullptr) return plugins_->setEnabled(plugin, false);
  if (companion->enabled) {
    runAs(plugin, [&] { companion->entry.disable(); });
    companion->enabled = false;
    plugins_->setEnabled(plugin, false);
  }
  return true;
}

bool Host::enablePlugin(PluginId plugin) {
  if (plugin == kPluginUnderTest) {
    if (!started_ || enabled_) return started_;
    PluginCall call(*this, kPluginUnderTest);
    enabled_ = entry_.enable() != 0;
    return true;
  }
  Companion* companion = companionWithId(plugin);
  if (companion == nullptr) return plugins_->setEnabled(plugin, true);
  if (!companion->enabled) {
    const int result = runAs(plugin, [&] { return companion->entry.enable(); });
    // Found again: the plugin's XPluginEnable may have loaded or stopped companions.
    if (Companion* again = companionWithId(plugin)) again->enabled = result != 0;
    plugins_->setEnabled(plugin, result != 0);
  }
  return true;
}

Host::Companion* Host::companionWithId(PluginId plugin) {
  for (Companion& companion : companions_) {
    if (companion.id == plugin) return &companion;
  }
  return nullptr;
}

PluginId Host::companionNamed(std::string_view name) const {
  for (const Companion& companion : companions_) {
    if (companion.name == name) return companion.id;
  }
  return XPLM_NO_PLUGIN_ID;
}

void Host::writePreferences() {
  sendSimulatorMessage(XPLM_MSG_WILL_WRITE_PREFS, 0);
  const std::optional<DataValue> roll = datarefs_->read("sim/graphics/view/field_of_view_roll_deg");
  preferencesRoll_ = static_cast<float>(roll ? roll->value : 0.0);
}

std::vector<std::string> Host::quit() {
  writePreferences();
  std::vector<std::string> left = stop();
  for (std::string& line : stopCompanions()) left.push_back(std::move(line));
  return left;
}

void Host::setFps(int fps) {
  if (fps <= 0) throw std::invalid_argument("fps must be positive");
  timeBase_ = time();
  cyclesAtRate_ = 0;
  options_.fps = fps;
}

void Host::runCycles(long count) {
  for (long i = 0; i < count; ++i) {
    ++cycle_;
    ++cyclesAtRate_;
    commands_->continueHeld();
    hotkeys_->repeatHeld();
    flightLoops_->runDue();
    if (cycleObserver_) cycleObserver_();
  }
}

struct Host::Checkpoint {
  bool started = false;
  bool enabled = false;
  int fps = 0;
  long cycle = 0;
  long cyclesAtRate = 0;
  double timeBase = 0;
  std::optional<float> preferencesRoll;
  std::uint64_t fileOpens = 0;
  std::string debug;
  std::shared_ptr<const DataRefs::Saved> datarefs;
  std::shared_ptr<const FlightLoops::Saved> flightLoops;
  std::shared_ptr<const Commands::Saved> commands;
  std::shared_ptr<const Menus::Saved> menus;
  std::shared_ptr<const Hotkeys::Saved> hotkeys;
  std::shared_ptr<const Plugins::Saved> plugins;
  std::shared_ptr<const Widgets::Saved> widgets;
  std::shared_ptr<const TrackerScript::Saved> tracker;
};

std::shared_ptr<const Host::Checkpoint> Host::checkpoint() const {
  if (callDepth_ > 0) throw std::logic_error("a checkpoint is taken outside plugin calls");
  return std::make_shared<const Checkpoint>(Checkpoint{
      started_, enabled_, options_.fps, cycle_, cyclesAtRate_, timeBase_, preferencesRoll_,
      fileFaults_->opens(), debug_->text(), datarefs_->save(), flightLoops_->save(), commands_->save(),
      menus_->save(), hotkeys_->save(), plugins_->save(), widgets_->save(), tracker_->save()});
}

void Host::restore(const Checkpoint& checkpoint) {
  if (callDepth_ > 0 || started_ != checkpoint.started || enabled_ != checkpoint.enabled) {
    throw std::logic_error(
        "a checkpoint is put back outside plugin calls, in the plugin's life it was taken in");
  }
  options_.fps = checkpoint.fps;
  cycle_ = checkpoint.cycle;
  cyclesAtRate_ = checkpoint.cyclesAtRate;
  timeBase_ = checkpoint.timeBase;
  preferencesRoll_ = checkpoint.preferencesRoll;
  fileFaults_->setOpens(checkpoint.fileOpens);
  if (debug_->text() != checkpoint.debug) {
    debug_->clear();
    debug_->append(checkpoint.debug.data(), checkpoint.debug.size());
  }
  datarefs_->restore(*checkpoint.datarefs);
  flightLoops_->restore(*checkpoint.flightLoops);
  commands_->restore(*checkpoint.commands);
  menus_->restore(*checkpoint.menus);
  hotkeys_->restore(*checkpoint.hotkeys);
  plugins_->restore(*checkpoint.plugins);
  widgets_->restore(*checkpoint.widgets);
  tracker_->restore(*checkpoint.tracker);
}

bool Host::matches(const Checkpoint& checkpoint) const {
  return cycle_ == checkpoint.cycle && cyclesAtRate_ == checkpoint.cyclesAtRate &&
         timeBase_ == checkpoint.timeBase && widgets_->matches(*checkpoint.widgets);
}

void Host::runSeconds(double seconds) {
  runCycles(std::lround(seconds * options_.fps));
}

Host::PluginCall::PluginCall(Host& host, PluginId plugin) : host_(host), previous_(host.caller_) {
  host_.caller_ = plugin;
  ++host_.callDepth_;
}

Host::PluginCall::~PluginCall() {
  --host_.callDepth_;
  host_.caller_ = previous_;
}

}  // namespace sim
