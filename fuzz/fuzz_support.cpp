#include "fuzz_support.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "XPLMDefs.h"
#include "XPStandardWidgets.h"
#include "config/aircraft_files.h"
#include "file_faults.h"
#include "menus.h"
#include "plugin/entry_points.h"
#include "plugin/plugin.h"
#include "plugins.h"
#include "tracker_script.h"
#include "ui/panels.h"
#include "datarefs.h"
#include "view/view_state.h"
#include "widgets.h"

namespace fuzz {
namespace {

constexpr float kHeadStart[6] = {-0.3f, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f};

bool g_nonFinite = false;
void (*g_failureHook)(const char*) = nullptr;

float ReadHead(void* refcon) {
  return *static_cast<float*>(refcon);
}
void WriteHead(void* refcon, float value) {
  if (!std::isfinite(value)) g_nonFinite = true;
  *static_cast<float*>(refcon) = value;
}

template <std::size_t N>
bool Terminated(const char (&buffer)[N]) {
  return std::memchr(buffer, '\0', N) != nullptr;
}

bool BuffersTerminated() {
  const talvenor::Plugin& plugin = talvenor::State();
  bool terminated = Terminated(plugin.paths.xplmLibraryPath) && Terminated(plugin.menu.statusText) &&
                    Terminated(plugin.menu.trackerEnableItemText) &&
                    Terminated(plugin.menu.trackerDisableItemText);
  for (const auto& text : plugin.hotkeys.slotTexts) terminated = terminated && Terminated(text);
  return terminated;
}

float g_values[6] = {};

}  // namespace

const char* const kHeadDataRefs[6] = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
    "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg",
};

float Head(int i) {
  return g_values[i];
}

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  if (g_failureHook != nullptr) g_failureHook(what);
  std::abort();
}

void SetFailureHook(void (*hook)(const char* what)) {
  g_failureHook = hook;
}

void Verify() {
  Check(!g_nonFinite, "a value that is not finite reached a head dataref");
  const std::int32_t selected = talvenor::View().selectedPreset;
  Check(selected >= 0 && selected < talvenor::kPresetSlots, "the selected preset is not a slot");
  Check(BuffersTerminated(), "a text buffer of the plugin lost its terminating NUL");
}

Simulator::Simulator(sim::HostOptions options) : host_(std::make_unique<sim::Host>(std::move(options))) {
  host_->linkPlugin({&XPluginStart, &XPluginStop, &XPluginEnable, &XPluginDisable, &XPluginReceiveMessage});
  ResetHead();
  // Registered by a plugin of its own, so that the plugin's stop neither reports nor removes them.
  const sim::PluginId guard = host_->plugins().addStub("talvenor.fuzz.head_guard");
  const sim::Host::PluginCall call(*host_, guard);
  for (int i = 0; i < 6; ++i) {
    handles_[i] = XPLMRegisterDataAccessor(kHeadDataRefs[i], xplmType_Float, 1, nullptr, nullptr, &ReadHead,
                                           &WriteHead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, &g_values[i], &g_values[i]);
  }
}

Simulator::~Simulator() {
  for (XPLMDataRef handle : handles_) XPLMUnregisterDataAccessor(handle);
}

void Simulator::ResetHead() {
  std::memcpy(g_values, kHeadStart, sizeof g_values);
}

namespace {

// A kept file: its bytes, and the write time the session gave it, a year back, so that any write since, the
// plugin's or a target's, shows as a newer time without the file being read.
struct KeptFile {
  std::string bytes;
  std::filesystem::file_time_type written;
};
// The files of a folder, by name: what the session puts back.
using FolderFiles = std::map<std::filesystem::path, KeptFile>;

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Dates PATH back a year and gives the write time it has then.
std::filesystem::file_time_type DateBack(const std::filesystem::path& path) {
  std::error_code error;
  const auto then = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  std::filesystem::last_write_time(path, then, error);
  return std::filesystem::last_write_time(path, error);
}

void PutFile(const std::filesystem::path& path, KeptFile& file) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << file.bytes;
  file.written = DateBack(path);
}

FolderFiles KeepFolder(const std::filesystem::path& folder) {
  FolderFiles files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) files[entry.path()] = {ReadBytes(entry.path()), DateBack(entry.path())};
  }
  return files;
}

struct SessionState {
  std::unique_ptr<Simulator> simulator;
  std::shared_ptr<const sim::Host::Checkpoint> checkpoint;
  std::unique_ptr<talvenor::Plugin> plugin;  // the aggregate as the inputs start from it
  float head[6] = {};
  std::vector<std::filesystem::path> folders;
  std::vector<FolderFiles> files;
  std::uint64_t changes = 0;  // the plugin's file changes as the host counts them when it can
  // The files the inputs set whole (SessionRun::SetFile).
  std::set<std::filesystem::path::string_type> inputFiles;  // by their text: paths compare slowly
  bool recordOutcomes = false;
  std::uint64_t outcome = 0;
};

SessionState& Session() {
  static SessionState state;
  return state;
}

void Start(SessionState& state, const SessionRun::Setup& setup) {
#ifndef _WIN32
  // The simulator folder in memory where there is such a folder: the plugin's saves sync their files, which
  // on a disk would cost more than the rest of an input.
  std::error_code error;
  if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", error)) {
    setenv("TMPDIR", "/dev/shm", 0);
  }
#endif
  state.simulator = std::make_unique<Simulator>();
  sim::Host& host = state.simulator->host();
  if (setup.prepare != nullptr) setup.prepare(host);
  Check(host.start() == 1, "the plugin did not start");
  Verify();
}

sim::Host& StartedHost(const SessionRun::Setup& setup) {
  SessionState& state = Session();
  if (state.simulator == nullptr) Start(state, setup);
  return state.simulator->host();
}

void Keep(SessionState& state) {
  sim::Host& host = state.simulator->host();
  state.checkpoint = host.checkpoint();
  state.plugin = std::make_unique<talvenor::Plugin>(talvenor::State());
  std::memcpy(state.head, g_values, sizeof state.head);
  state.folders = {host.aircraftFile().parent_path(), host.pluginFolder()};
  state.files.clear();
  for (const auto& folder : state.folders) state.files.push_back(KeepFolder(folder));
  state.changes = host.fileFaults().changes();
}

// A file whose write time is the kept one still holds the kept bytes; any other is written back or removed.
void PutBackFiles(SessionState& state) {
  std::error_code error;
  for (std::size_t i = 0; i < state.folders.size(); ++i) {
    FolderFiles& kept = state.files[i];
    std::size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(state.folders[i], error)) {
      if (!entry.is_regular_file() || state.inputFiles.count(entry.path().native()) != 0) continue;
      const auto file = kept.find(entry.path());
      if (file == kept.end()) {
        std::filesystem::remove(entry.path(), error);
        continue;
      }
      ++seen;
      if (entry.last_write_time(error) != file->second.written ||
          entry.file_size(error) != file->second.bytes.size())
        PutFile(file->first, file->second);
    }
    if (seen == kept.size()) continue;
    for (auto& [path, file] : kept) {
      if (!std::filesystem::exists(path, error)) PutFile(path, file);
    }
  }
}

void PutBack(SessionState& state) {
  sim::Host& host = state.simulator->host();
  // The folders are compared only after the plugin did what may change a file (the host counts it for a
  // linked plugin only on POSIX, where the C library's functions are interposed).
  const bool changed =
      sim::Host::platform() == sim::Platform::Windows || host.fileFaults().changes() != state.changes;
  if (changed) PutBackFiles(state);
  state.changes = host.fileFaults().changes();
  host.restore(*state.checkpoint);
  std::memcpy(static_cast<void*>(&talvenor::State()), state.plugin.get(), sizeof(talvenor::Plugin));
  std::memcpy(g_values, state.head, sizeof g_values);
  g_nonFinite = false;
  if (state.recordOutcomes) Check(host.matches(*state.checkpoint), "the session's state was not put back");
}

void Mix(std::uint64_t& hash, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
}

std::uint64_t Outcome(sim::Host& host) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  Mix(hash, g_values, sizeof g_values);
  const long cycle = host.cycle();
  Mix(hash, &cycle, sizeof cycle);
  for (XPWidgetID window : host.widgets().windows()) {
    for (const sim::WidgetInfo& info : host.widgets().tree(window)) {
      Mix(hash, info.descriptor.data(), info.descriptor.size());
      const int flags[2] = {info.visible ? 1 : 0, info.left};
      Mix(hash, flags, sizeof flags);
      int exists = 0;
      const intptr_t state = host.widgets().getProperty(info.id, xpProperty_ButtonState, &exists);
      Mix(hash, &state, sizeof state);
    }
  }
  for (const sim::MenuItemInfo& item :
       host.menus().items("Talvenor").value_or(std::vector<sim::MenuItemInfo>{})) {
    Mix(hash, item.text.data(), item.text.size());
    const int flags[2] = {item.enabled ? 1 : 0, static_cast<int>(item.check)};
    Mix(hash, flags, sizeof flags);
  }
  return hash;
}

}  // namespace

SessionRun::SessionRun(const Setup& setup) : host_(StartedHost(setup)) {
  SessionState& state = Session();
  if (state.checkpoint != nullptr) return;
  // The inputs start from where the target's opening steps leave the plugin.
  if (setup.open != nullptr) setup.open(*this);
  Keep(state);
}

SessionRun::~SessionRun() {
  Verify();
  SessionState& state = Session();
  if (state.recordOutcomes) state.outcome = Outcome(host_);
  PutBack(state);
}

void RecordOutcomes() {
  Session().recordOutcomes = true;
}

std::uint64_t LastOutcome() {
  return Session().outcome;
}

void SessionRun::SetFile(const std::filesystem::path& path, const std::string_view* bytes) {
  SessionState& state = Session();
  if (state.inputFiles.insert(path.native()).second) {
    for (const FolderFiles& kept : state.files)
      Check(kept.count(path) == 0, "a file the session keeps was set");
  }
  host_.fileFaults().serve(path, bytes);
}

void SessionRun::Pick(std::string_view item) {
  Check(host_.menus().pick("Talvenor", item), "an item of the plugin's menu is missing");
  Verify();
}

void SessionRun::Cycles(int count) {
  for (int i = 0; i < count; ++i) {
    host_.runCycles(1);
    Verify();
  }
}

namespace {

bool BoxOn(sim::Host& host, XPWidgetID box) {
  int exists = 0;
  return host.widgets().getProperty(box, xpProperty_ButtonState, &exists) != 0;
}

}  // namespace

void SourceOffsets::Take(sim::Host& host, const float (&pose)[6]) {
  const talvenor::ControlPanelWidgets& panel = talvenor::PanelState().control;
  for (int axis = 0; axis < 6; ++axis) {
    if (BoxOn(host, panel.axisBoxes[axis]) && std::isfinite(pose[axis])) values[axis] = pose[axis];
  }
}

bool PlainTracking(sim::Host& host) {
  const talvenor::ControlPanelWidgets& panel = talvenor::PanelState().control;
  if (BoxOn(host, panel.continuousBox) || BoxOn(host, panel.forceEffectsBox) ||
      BoxOn(host, panel.limitsEnableBox))
    return false;
  const auto view = host.datarefs().read("sim/graphics/view/view_type");
  return view && view->value == 1026;
}

bool MenuItemEnabled(sim::Host& host, std::string_view text) {
  const auto item = host.menus().item("Talvenor", text);
  return item && item->enabled;
}

void CheckHeadIsPresetPlus(const SourceOffsets& offsets) {
  const talvenor::ViewState& view = talvenor::View();
  const talvenor::HeadPose& preset = view.presets[static_cast<std::size_t>(view.selectedPreset)].pose;
  const float base[6] = {preset.x, preset.y, preset.z, preset.pitch, preset.heading, preset.roll};
  // The datarefs of the preset's axes: pitch is pilots_head_the, heading pilots_head_psi.
  constexpr int kDataRef[6] = {0, 1, 2, 4, 3, 5};
  for (int axis = 0; axis < 6; ++axis) {
    const float expected = base[axis] + offsets.values[axis];
    if (!std::isfinite(expected)) continue;
    const double written = Head(kDataRef[axis]);
    if (!(std::fabs(written - expected) <= 1e-5 * std::fmax(1.0, std::fabs(expected)))) {
      std::fprintf(stderr, "fuzz: axis %d shows %.9g, the preset plus the offset is %.9g\n", axis, written,
                   static_cast<double>(expected));
      Fail("the head is not the live preset plus the source's offsets");
    }
  }
}

std::string_view Input::Bytes(std::size_t count) {
  const std::size_t left = at_ < size_ ? size_ - at_ : 0;
  const std::size_t taken = count < left ? count : left;
  const std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), taken);
  at_ += taken;
  return bytes;
}

}  // namespace fuzz
