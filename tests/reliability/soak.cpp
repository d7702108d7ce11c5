// A long run of random events against the plugin, as a pilot, the simulator, a tracker, another plugin and
// a damaged disk would give them: commands held, tapped and begun twice, hot keys, menu picks, clicks and
// texts typed into every widget, aircraft loads and switches, tracker frames (not finite and repeated ones
// among them), writes of the external-data datarefs, view files corrupted, cut short, removed or made
// read-only between loads, a full disk, saves and restarts. After every cycle: no value that is not finite
// reached a head dataref, the selected preset is a slot, the plugin's text buffers are terminated. After
// every event: each view file on disk is either the whole version it had before or the whole table the
// plugin holds now, never a part of one.
//
// Every event is also written as a line of a scenario that talvenor-sim runs against the plugin's library,
// so that a failure can be replayed: the run prints its seed and, when something fails or --scenario is
// given, writes the events up to there (with the check that failed) to the scenario file.
//
// With --kills, the soak kills saves instead: each time a child process saves the presets, the limits or
// the effects and dies by SIGKILL at a point drawn across the save's writes, flushes, closes and rename; a
// fresh start then finds each of the aircraft's files byte for byte its old or its new version, and saves
// again over whatever temporary file the kill left.
//
// Usage: soak [--seed N] [--cycles N] [--scenario FILE] [--kills N]
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "commands.h"
#include "config/aircraft_files.h"
#include "datarefs.h"
#include "file_faults.h"
#include "fuzz_support.h"
#include "platform.h"
#include "hotkeys.h"
#include "keys.h"
#include "menus.h"
#include "plugin/commands.h"
#include "tracker/external_data.h"
#include "tracker_script.h"
#include "values.h"
#include "view/view_state.h"
#include "widgets.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAircraft[] = {"Aircraft/Default/Default.acf", "Aircraft/Cessna/Cessna.acf",
                                     "Aircraft/Heavy Jet/Jet.acf"};
constexpr const char* kWindows[] = {"Talvenor v1.70", "Talvenor Effects", "Talvenor Data"};
constexpr const char* kViewFiles[] = {talvenor::kPresetFileName, talvenor::kLimitsFileName,
                                      talvenor::kEffectsFileName};
constexpr const char* kSaveCommands[] = {"quorlend/talvenor/save_presets", "quorlend/talvenor/save_limits",
                                         "quorlend/talvenor/save_effects"};  // in kViewFiles' order
constexpr const char* kViewCommands[] = {"sim/view/3d_cockpit_cmnd_look", "sim/view/forward_with_2d_panel",
                                         "sim/view/chase"};
constexpr const char* kFlightDataRefs[] = {
    "sim/flightmodel/forces/g_nrml", "sim/flightmodel/forces/g_side", "sim/flightmodel/forces/g_axil",
    "sim/flightmodel/position/groundspeed", "sim/flightmodel/position/y_agl"};

// Texts that are numbers only in part, beyond a float's or an int's range, or not numbers at all.
constexpr const char* kOddTexts[] = {
    "nan",   "inf", "-inf",  "1e39",       "-3.4e38",     "3.4028235e38",
    "1e-45", "-0",  "0x1p4", "2147483648", "-2147483649", "99999999999999999999",
    "",      " ",   "1,5",   "--1",        "+.5e+3"};

struct Key {
  const char* name;
  const char* modifiers;  // as the scenario writes them; empty for none
};
// The keys bound in every setup file the soak writes, and two that are bound to nothing.
constexpr const char* kHotkeySetup =
    "[PRESET1]\nHOTKEY = F1\n[PRESET2]\nHOTKEY = F2\n[TL_TOGGLE]\nHOTKEY = F5\nHOTKEYMODIFIERS = SHIFT\n"
    "[TRACKIR_TOGGLE]\nHOTKEY = R\nHOTKEYMODIFIERS = SHIFT+CONTROL\n[EFFECTS_TOGGLE]\nHOTKEY = G\n"
    "[CONTROL_PANEL_TOGGLE]\nHOTKEY = P\n[DATA_PANEL_TOGGLE]\nHOTKEY = D\n[EFFECTS_PANEL_TOGGLE]\nHOTKEY = "
    "E\n"
    "[LIMITS_TOGGLE]\nHOTKEY = L\n[VIBRATION_EFFECT_TOGGLE]\nHOTKEY = V\n";
constexpr Key kKeys[] = {{"F1", ""}, {"F2", ""}, {"F5", "SHIFT"}, {"R", "SHIFT+CONTROL"},
                         {"G", ""},  {"P", ""},  {"D", ""},       {"E", ""},
                         {"L", ""},  {"V", ""},  {"F5", ""},      {"Q", "ALT"}};

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TableImage(int file) {
  const talvenor::ViewState& view = talvenor::View();
  const void* image = file == 0   ? static_cast<const void*>(view.presets.data())
                      : file == 1 ? static_cast<const void*>(view.limits.data())
                                  : static_cast<const void*>(&view.effects);
  const std::size_t size = file == 0   ? sizeof view.presets
                           : file == 1 ? sizeof view.limits
                                       : sizeof view.effects;
  return std::string(static_cast<const char*>(image), size);
}

class Soak {
 public:
  Soak(std::uint64_t seed, std::string scenarioPath)
      : seed_(seed), random_(seed), scenarioPath_(std::move(scenarioPath)) {
    current_ = this;
    fuzz::SetFailureHook(&Soak::OnFailure);
    std::string error;
    if (!host().tracker().installLibrary("Tracker", &error)) Fail("the tracker library: " + error);
    Line("tracker-library Tracker");
    WriteSetup();
    for (const char* aircraft : kAircraft) {
      for (const char* name : kViewFiles) known_[Relative(aircraft, name)] = std::nullopt;
    }
    Start();
  }

  void Run(long cycles) {
    const auto began = std::chrono::steady_clock::now();
    while (cycles_ < cycles) Event();
    if (host().started()) Stop();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf(
        "soak seed %llu: %ld cycles, %ld events (%s), %ld saves, each file whole after each; %.1f s\n",
        static_cast<unsigned long long>(seed_), cycles_, events_, Counts().c_str(), saves_, seconds);
    // The replay ends where the run ended, with the head where the soak saw it.
    for (const char* name : fuzz::kHeadDataRefs) {
      Line(std::string("expect ") + name + " " + sim::scenario::FormatFloat(Head(name)));
    }
    if (!scenarioPath_.empty()) WriteScenario();
  }

 private:
  sim::Host& host() { return simulator_.host(); }
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }
  bool Chance(int percent) { return Below(100) < static_cast<std::uint32_t>(percent); }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }

  void Line(const std::string& line) { scenario_ += line + "\n"; }
  void Count(const char* kind) {
    ++kinds_[kind];
    ++events_;
  }
  std::string Counts() const {
    std::string text;
    for (const auto& [kind, count] : kinds_)
      text += (text.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    return text;
  }

  [[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "soak seed %llu failed after %ld cycles: %s\n",
                 static_cast<unsigned long long>(seed_), cycles_, what.c_str());
    WriteScenario();
    std::exit(1);
  }
  static void OnFailure(const char* what) {
    current_->Line("# the soak's check failed here: " + std::string(what));
    for (const char* name : fuzz::kHeadDataRefs)
      current_->Line(std::string("expect ") + name + " 0 ~3.4028235e38");
    current_->WriteScenario();
  }
  void WriteScenario() {
    const std::string path = scenarioPath_.empty() ? "soak-" + std::to_string(seed_) + ".scn" : scenarioPath_;
    std::ofstream(path, std::ios::binary)
        << "# soak --seed " << seed_ << ": " << events_ << " events, " << cycles_ << " cycles\n"
        << scenario_;
    std::fprintf(stderr, "replay: talvenor-sim %s\n", path.c_str());
  }

  // --- the plugin's life ---
  void WriteSetup() {
    std::string text = "[DEBUG]\nDEBUGLOGENABLED = " + std::to_string(Chance(30) ? 1 : 0) + "\n[CONFIG]\n";
    text += "ENABLEEXTERNALDATA = " + std::to_string(Chance(40) ? 1 : 0) + "\n";
    text += "AUTOSTART = " + std::to_string(Chance(30) ? 1 : 0) + "\n";
    text += "AXISINCREMENTCHANGE = " + std::to_string(Below(4) * 0.25) + "\n";
    text += kHotkeySetup;
    std::ofstream(host().pluginFolder() / "Talvenor.ini", std::ios::binary) << text;
    Line("write Resources/plugins/Talvenor/Talvenor.ini <<END\n" + text + "END");
  }
  void Start() {
    if (host().start() != 1) Fail("the plugin did not start");
    Line("start");
    fuzz::Verify();
  }
  void Stop() {
    Line("stop");
    const std::vector<std::string> left = host().stop();
    if (!left.empty()) Fail("the stop left registered: " + left.front());
    if (host().widgets().staleCalls() != 0) Fail("the plugin used a widget it had destroyed");
  }

  // --- events ---
  void Event() {
    const std::uint32_t roll = Below(100);
    if (!host().started()) {
      WriteSetup();
      Start();
      Count("restarts");
    } else if (roll < 30) {
      Frames(1 + static_cast<int>(Below(Chance(10) ? 200 : 20)));
    } else if (roll < 42) {
      Command();
    } else if (roll < 48) {
      KeyPress();
    } else if (roll < 53) {
      MenuPick();
    } else if (roll < 62) {
      Click();
    } else if (roll < 70) {
      Type();
    } else if (roll < 71) {
      CloseWindow();
    } else if (roll < 74) {
      PlaneLoad();
    } else if (roll < 82) {
      TrackerFrame();
    } else if (roll < 88) {
      ExternalWrite();
    } else if (roll < 90) {
      FlightValue();
    } else if (roll < 96) {
      FileFault();
    } else if (roll < 99) {
      Save();
    } else if (Chance(10)) {
      Stop();
    } else {
      Frames(1);
    }
    CheckFiles();
  }

  void Frames(int count) {
    Line("frames " + std::to_string(count));
    for (int i = 0; i < count; ++i) {
      host().runCycles(1);
      ++cycles_;
      fuzz::Verify();
    }
    Count("frames");
  }

  std::string CommandName() {
    const std::uint32_t which = Below(talvenor::kPluginCommandCount + 10 + 3);
    if (which < talvenor::kPluginCommandCount) return talvenor::kPluginCommands[which].path;
    if (which < talvenor::kPluginCommandCount + 10) {
      const auto& command = talvenor::kSimCommands[which - talvenor::kPluginCommandCount];
      return host().commands().exists(command.path) ? command.path : command.fallback;
    }
    return Pick(kViewCommands);
  }
  void Command() {
    // A held command is let go sooner or later; one held twice needs two ends.
    if (!held_.empty() && Chance(40)) {
      const std::size_t at = Below(static_cast<std::uint32_t>(held_.size()));
      const std::string name = held_[at];
      held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(at));
      host().commands().end(name);
      Line("command end " + name);
      Count("command ends");
      return;
    }
    const std::string name = CommandName();
    const std::uint32_t how = Below(3);
    if (how == 0) {
      host().commands().begin(name);
      held_.push_back(name);
      Line("command begin " + name);
      Count("command begins");
    } else if (how == 1) {
      host().commands().once(name);
      Line("command once " + name);
      Count("command taps");
    } else {
      const long cycles = 1 + Below(30);
      host().commands().begin(name);
      Line("command hold " + name + " " + std::to_string(cycles));
      // A save happens at the press; the held cycles may move the table on (the continuous mode).
      CheckFiles();
      for (long i = 0; i < cycles; ++i) {
        host().runCycles(1);
        ++cycles_;
        fuzz::Verify();
      }
      host().commands().end(name);
      Count("command holds");
    }
    fuzz::Verify();
  }

  void KeyPress() {
    const Key& key = Pick(kKeys);
    const int code = *sim::scenario::KeyCode(key.name);
    const int flags = *key.modifiers != '\0' ? *sim::scenario::KeyFlags(key.modifiers) : 0;
    std::string line =
        std::string(key.name) + (*key.modifiers != '\0' ? std::string(" ") + key.modifiers : "");
    if (Chance(80)) {
      host().hotkeys().tap(code, flags);
      Line("key " + line);
    } else {
      const long cycles = 1 + Below(10);
      Line("key hold " + line + " " + std::to_string(cycles));
      cycles_ += cycles;
      host().hotkeys().hold(code, flags, cycles);
    }
    Count("keys");
    fuzz::Verify();
  }

  void MenuPick() {
    const auto items = host().menus().items("Talvenor");
    if (!items || items->empty()) return;
    const std::string item = "#" + std::to_string(Below(static_cast<std::uint32_t>(items->size())));
    host().menus().pick("Talvenor", item);
    Line("menu Talvenor " + item);
    Count("menu picks");
    fuzz::Verify();
  }

  // A widget of one of the plugin's windows that the user can reach, of the class asked for, and the name
  // the scenario gives it: its place in its window, as long as no widget made before it has the same place.
  struct Target {
    XPWidgetID id = nullptr;
    std::string name;
  };
  std::optional<Target> FindTarget(XPWidgetClass widgetClass) {
    const char* caption = Pick(kWindows);
    sim::Widgets& widgets = host().widgets();
    const XPWidgetID window = widgets.findWindow(caption);
    if (window == nullptr) return std::nullopt;
    std::vector<sim::WidgetInfo> candidates;
    const auto tree = widgets.tree(window);
    for (const sim::WidgetInfo& info : tree) {
      if (info.widgetClass == widgetClass && info.visible) candidates.push_back(info);
    }
    if (candidates.empty()) return std::nullopt;
    const sim::WidgetInfo& chosen = candidates[Below(static_cast<std::uint32_t>(candidates.size()))];
    const int dl = chosen.left - tree.front().left;
    const int dt = tree.front().top - chosen.top;
    if (widgets.findAt(window, dl, dt) != chosen.id) return std::nullopt;
    return Target{chosen.id, Quote(caption) + " @" + std::to_string(dl) + "," + std::to_string(dt)};
  }

  void Click() {
    const auto target = FindTarget(xpWidgetClass_Button);
    if (!target || host().widgets().click(target->id) != sim::UserAction::Delivered) return;
    Line("click " + target->name);
    Count("clicks");
    fuzz::Verify();
  }

  std::string RandomText() {
    switch (Below(8)) {
      case 0:
        return sim::scenario::FormatFloat(
            static_cast<float>(std::uniform_real_distribution<double>(-5, 5)(random_)));
      case 1:
        return std::to_string(static_cast<int>(Below(20)) - 5);
      case 2:
        return Pick(kOddTexts);
      case 3:
        return std::string(1 + Below(400), static_cast<char>('0' + Below(10)));
      default: {
        std::string text;
        const std::uint32_t length = Below(Chance(10) ? 300 : 24);
        for (std::uint32_t i = 0; i < length; ++i) text += static_cast<char>(' ' + Below(95));
        return text;
      }
    }
  }
  void Type() {
    const auto target = FindTarget(xpWidgetClass_TextField);
    if (!target) return;
    const std::string text = RandomText();
    if (host().widgets().type(target->id, text) != sim::UserAction::Delivered) return;
    Line("type " + target->name + " " + Quote(text));
    Count("texts typed");
    fuzz::Verify();
  }

  void CloseWindow() {
    const char* caption = Pick(kWindows);
    const XPWidgetID window = host().widgets().findWindow(caption);
    if (window == nullptr || host().widgets().close(window) != sim::UserAction::Delivered) return;
    Line(std::string("close ") + Quote(caption));
    Count("windows closed");
    fuzz::Verify();
  }

  void PlaneLoad() {
    if (Chance(60)) {
      const std::string aircraft = Pick(kAircraft);
      host().setAircraft(aircraft);
      Line("aircraft " + Quote(aircraft));
    }
    host().planeLoaded();
    Line("plane-loaded");
    Count("aircraft loads");
    fuzz::Verify();
  }

  float RandomValue(float scale) {
    const std::uint32_t kind = Below(40);
    if (kind == 0) return std::numeric_limits<float>::quiet_NaN();
    if (kind == 1) return (Chance(50) ? 1 : -1) * std::numeric_limits<float>::infinity();
    if (kind == 2) return (Chance(50) ? 1 : -1) * std::numeric_limits<float>::max();
    return static_cast<float>(std::uniform_real_distribution<double>(-scale, scale)(random_));
  }
  void TrackerFrame() {
    sim::TrackerFrame frame = host().tracker().frame();
    if (!Chance(15)) frame.number = static_cast<std::uint16_t>(frame.number + 1);  // else repeated
    frame.status = Chance(5) ? static_cast<std::uint16_t>(1 + Below(3)) : 0;
    float* fields[6] = {&frame.roll, &frame.pitch, &frame.heading, &frame.x, &frame.y, &frame.z};
    for (float* field : fields) *field = RandomValue(16383.0f);
    host().tracker().setFrame(frame);
    std::string line =
        "tracker frame status=" + std::to_string(frame.status) + " number=" + std::to_string(frame.number);
    const char* names[6] = {"roll", "pitch", "heading", "x", "y", "z"};
    for (int i = 0; i < 6; ++i)
      line += std::string(" ") + names[i] + "=" + sim::scenario::FormatFloat(*fields[i]);
    Line(line);
    Count("tracker frames");
  }

  void ExternalWrite() {
    const std::size_t which = Below(talvenor::kExternalDataRefs);
    const std::string name = talvenor::kExternalDataRefNames[which];
    const double value = which == 0 ? static_cast<double>(static_cast<int>(Below(4)) - 1)
                                    : static_cast<double>(RandomValue(Chance(50) ? 1.0f : 90.0f));
    host().datarefs().write(name, value);
    Line("set " + name + " " +
         (which == 0 ? sim::scenario::FormatDouble(value)
                     : sim::scenario::FormatFloat(static_cast<float>(value))));
    Count("external writes");
    fuzz::Verify();
  }

  void FlightValue() {
    const char* name = Pick(kFlightDataRefs);
    const float value =
        static_cast<float>(std::uniform_real_distribution<double>(-5, Chance(20) ? 3000 : 5)(random_));
    host().datarefs().write(name, value);
    Line(std::string("set ") + name + " " + sim::scenario::FormatFloat(value));
    Count("flight values");
  }

  // --- files ---
  static std::string Relative(const std::string& aircraft, const char* name) {
    return fs::path(aircraft).parent_path().generic_string() + "/" + name;
  }
  void FileFault() {
    const std::string aircraft = Pick(kAircraft);
    const std::string folder = fs::path(aircraft).parent_path().generic_string();
    const std::string path = Relative(aircraft, Pick(kViewFiles));
    const fs::path real = host().resolve(path);
    const std::uint32_t kind = Below(6);
    if (kind == 0 || kind == 1) {
      // Damaged (random bytes, any length) or cut short.
      std::string bytes = ReadFile(real).value_or("");
      if (kind == 0 || bytes.empty()) {
        bytes.resize(Below(300));
        for (char& c : bytes) c = static_cast<char>(Below(256));
      } else {
        bytes.resize(Below(static_cast<std::uint32_t>(bytes.size())));
      }
      fs::create_directories(real.parent_path());
      std::ofstream(real, std::ios::binary | std::ios::trunc) << bytes;
      known_[path] = bytes;
      Line("write-bytes " + Quote(path) + " " + Quote(sim::scenario::HexBytes(bytes)));
      Count("files damaged");
    } else if (kind == 2) {
      std::error_code error;
      fs::remove(real, error);
      known_[path] = std::nullopt;
      Line("remove " + Quote(path));
      Count("files removed");
    } else if (kind == 3 || kind == 4) {
      const bool readOnly = !readOnly_[folder];
      readOnly_[folder] = readOnly;
      host().fileFaults().setReadOnly(folder, readOnly);
      Line((readOnly ? "readonly " : "writable ") + Quote(folder));
      Count("read-only switches");
    } else {
      diskFull_ = !diskFull_;
      const std::uint64_t budget = Below(600);
      host().fileFaults().setDiskFull(diskFull_ ? std::optional<std::uint64_t>(budget) : std::nullopt);
      Line(diskFull_ ? "disk-full " + std::to_string(budget) : std::string("disk-full off"));
      Count("disk-full switches");
    }
  }

  void Save() {
    const char* name = Pick(kSaveCommands);
    host().commands().once(name);
    Line(std::string("command once ") + name);
    ++saves_;
    Count("saves");
    fuzz::Verify();
  }

  // Each view file is as it was, or the whole table now in memory if it is the current aircraft's.
  void CheckFiles() {
    const std::string current = fs::path(host().aircraft()).parent_path().generic_string();
    for (auto& [path, known] : known_) {
      const std::optional<std::string> now = ReadFile(host().resolve(path));
      if (now == known) continue;
      const fs::path relative(path);
      const int file = relative.filename() == kViewFiles[0]   ? 0
                       : relative.filename() == kViewFiles[1] ? 1
                                                              : 2;
      if (relative.parent_path().generic_string() == current && host().started() && now == TableImage(file)) {
        known = now;
        continue;
      }
      Line("# the soak's check failed here: " + path + " is neither its last version nor the whole table");
      Line("expect file " + Quote(path) + " size " + std::to_string(TableImage(file).size()));
      Fail(path + " holds " + std::to_string(now ? now->size() : 0) +
           " bytes: neither its last version nor the whole table");
    }
  }

  double Head(const char* name) { return host().datarefs().read(name)->value; }

  static inline Soak* current_ = nullptr;
  std::uint64_t seed_;
  std::mt19937_64 random_;
  std::string scenarioPath_;
  fuzz::Simulator simulator_;
  std::string scenario_;
  long cycles_ = 0;
  long events_ = 0;
  long saves_ = 0;
  std::map<std::string, long> kinds_;
  std::vector<std::string> held_;
  std::map<std::string, std::optional<std::string>>
      known_;  // view file -> its last version (nullopt: absent)
  std::map<std::string, bool> readOnly_;
  bool diskFull_ = false;
};

// Kills in the middle of a save of the default aircraft's files. From the three files as earlier saves left
// them (or absent), a change of one table saved without a kill gives its new version and the number of the
// save's kill points; with the old files back, the same save in a child process dies at one drawn at random.
class CrashSave {
 public:
  explicit CrashSave(std::uint64_t seed)
      : seed_(seed), random_(seed), root_(sim::platform::MakeTemporaryFolder("talvenor-crash-")) {}

  void Run(long kills) {
    const auto began = std::chrono::steady_clock::now();
    for (kill_ = 1; kill_ <= kills; ++kill_) Kill();
    fs::remove_all(root_);
    std::printf(
        "crash-save seed %llu: %ld kills, %llu kill points a save; %ld left the old file, %ld the new one; "
        "%.1f s\n",
        static_cast<unsigned long long>(seed_), kills, static_cast<unsigned long long>(points_), old_, new_,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
  }

 private:
  using Files = std::array<std::optional<std::string>, 3>;  // kViewFiles' bytes; nullopt: absent

  [[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "crash-save seed %llu failed at kill %ld in %s: %s\n",
                 static_cast<unsigned long long>(seed_), kill_, root_.c_str(), what.c_str());
    std::exit(1);
  }
  std::string Bytes(int file) {
    std::string bytes(talvenor::TableSize(static_cast<talvenor::ViewTable>(file)), '\0');
    for (char& c : bytes) c = static_cast<char>(random_());
    return bytes;
  }
  fs::path File(int file) const { return root_ / "Aircraft/Default" / kViewFiles[file]; }
  Files Read() const {
    Files files;
    for (int file = 0; file < 3; ++file) files[file] = ReadFile(File(file));
    return files;
  }
  void Lay(const Files& files) const {
    fs::create_directories(File(0).parent_path());
    for (int file = 0; file < 3; ++file) {
      if (files[file]) std::ofstream(File(file), std::ios::binary) << *files[file];
      if (!files[file]) fs::remove(File(file));
    }
  }
  // A fresh start on the folder, ACTION and a stop.
  template <typename Action>
  void Started(Action action) {
    sim::HostOptions options;
    options.root = root_;
    options.keepRoot = true;
    fuzz::Simulator simulator(options);
    if (simulator.host().start() != 1) Fail("the plugin did not start");
    action(simulator.host());
    if (!simulator.host().stop().empty()) Fail("the stop left registrations");
  }
  void Save(sim::Host& host) {
    talvenor::OverwriteTableStart(static_cast<talvenor::ViewTable>(file_), table_.data(), table_.size());
    host.commands().once(kSaveCommands[file_]);
  }

  void Kill() {
    file_ = static_cast<int>(random_() % 3);
    Files before;
    for (int file = 0; file < 3; ++file) {
      if (random_() % 5 != 0) before[file] = Bytes(file);
    }
    table_ = Bytes(file_);
    Lay(before);
    Files after;
    std::string where;
    Started([&](sim::Host& host) {
      host.fileFaults().watchKillPoints(File(0).parent_path(), std::nullopt);
      Save(host);
      points_ = host.fileFaults().killPoints();
      after = Read();
      if (!after[file_] || points_ == 0) Fail("the save without a kill wrote nothing");
      Lay(before);
      const sim::KillPoint point{1 + random_() % points_,
                                 std::uniform_real_distribution<double>(0, 1)(random_)};
      where = std::string(kSaveCommands[file_]) + " killed in kill point " + std::to_string(point.call) +
              " of " + std::to_string(points_) + " with " + std::to_string(point.reached) +
              " of its work done: ";
      if (sim::RunUntilKilled(host, File(0).parent_path(), point, [&] { Save(host); }) !=
          sim::ChildEnd::Killed) {
        Fail(where + "the child was not killed");
      }
    });
    const Files left = Read();
    for (int file = 0; file < 3; ++file) {
      if (left[file] != before[file] && left[file] != after[file]) {
        Fail(where + kViewFiles[file] + " is neither its old nor its new version");
      }
    }
    ++(left[file_] == after[file_] ? new_ : old_);
    // The next start reads what the kill left as view control goes on; no temporary file stops the next save.
    Started([&](sim::Host& host) {
      if (!host.menus().pick("Talvenor", "Enable")) Fail("the menu has no Enable");
      for (int file = 0; file < 3; ++file) {
        if (left[file] && TableImage(file) != *left[file]) Fail(where + kViewFiles[file] + " was not read");
      }
    });
    Started([&](sim::Host& host) { Save(host); });
    if (Read() != after) Fail(where + "the next save did not write the new version");
  }

  std::uint64_t seed_;
  std::mt19937_64 random_;
  fs::path root_;  // the simulator folder
  long kill_ = 0;
  int file_ = 0;       // the file saved
  std::string table_;  // the table it saves
  std::uint64_t points_ = 0;
  long old_ = 0;
  long new_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = std::random_device{}();
  long cycles = 1000000;
  std::string scenario;
  long kills = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--seed") {
      seed = std::strtoull(argv[i + 1], nullptr, 10);
    } else if (option == "--cycles") {
      cycles = std::atol(argv[i + 1]);
    } else if (option == "--scenario") {
      scenario = argv[i + 1];
    } else if (option == "--kills") {
      kills = std::atol(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: soak [--seed N] [--cycles N] [--scenario FILE] [--kills N]\n");
      return 2;
    }
  }
  if (kills > 0) {
    std::printf("crash-save seed %llu, %ld kills\n", static_cast<unsigned long long>(seed), kills);
    CrashSave(seed).Run(kills);
    return 0;
  }
  std::printf("soak seed %llu, %ld cycles\n", static_cast<unsigned long long>(seed), cycles);
  std::fflush(stdout);
  Soak soak(seed, scenario);
  soak.Run(cycles);
  return 0;
}
