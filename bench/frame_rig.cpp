#include "frame_rig.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "commands.h"
#include "datarefs.h"
#include "hotkeys.h"
#include "menus.h"
#include "parser.h"
#include "XPStandardWidgets.h"
#include "tracker_script.h"
#include "widget_names.h"
#include "widgets.h"

namespace bench {
namespace {

constexpr long kWarmUpCycles = 100;  // past the update's first call (0.1 s) and the one-shot at 1 s
constexpr int kViewType3dCockpit = 1026;
constexpr char kPanel[] = "Talvenor v1.70";
constexpr char kHeading[] = "sim/graphics/view/pilots_head_psi";

std::vector<char> LimitsFile() {
  // Slot 1 enabled with bounds around the host's head (x -0.3, y 1, z -4); the other seven slots zero.
  const std::int32_t enabled = 1;
  const float bounds[6] = {-1.0f, 1.0f, 0.0f, 2.0f, -5.0f, -3.0f};
  std::vector<char> bytes(8 * 28, 0);
  std::memcpy(bytes.data(), &enabled, sizeof enabled);
  std::memcpy(bytes.data() + 4, bounds, sizeof bounds);
  return bytes;
}

bool WriteFile(const std::filesystem::path& path, const char* data, std::size_t size) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(data, static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

XPWidgetID Named(sim::Host& host, sim::scenario::WidgetKind kind, const char* label, int ordinal = 1) {
  sim::scenario::WidgetName name;
  name.kind = kind;
  name.caption = label;
  name.ordinal = ordinal;
  const XPWidgetID window = host.widgets().findWindow(kPanel);
  return window == nullptr ? nullptr : sim::scenario::FindNamedWidget(host.widgets(), window, name).id;
}

bool BoxOn(sim::Host& host, const char* label) {
  const XPWidgetID box = Named(host, sim::scenario::WidgetKind::Box, label);
  return box != nullptr && host.widgets().getProperty(box, xpProperty_ButtonState, nullptr) != 0;
}

int ViewType(sim::Host& host) {
  const auto value = host.datarefs().read("sim/graphics/view/view_type");
  return value ? static_cast<int>(value->value) : 0;
}

float Read(sim::Host& host, const char* name) {
  const auto value = host.datarefs().read(name);
  return value ? static_cast<float>(value->value) : NAN;
}

}  // namespace

const RigInfo* FindRig(const std::string& name) {
  for (const RigInfo& info : kRigs) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

FrameRig::FrameRig(Rig rig) : rig_(rig), host_(std::make_unique<sim::Host>()) {
  if (rig == Rig::Floor) {
    SetUpFloor();
  } else if (rig != Rig::EmptyHost) {
    SetUpTalvenor();
  }
  if (!error_.empty()) return;
  host_->runCycles(kWarmUpCycles);
  startCycle_ = host_->cycle();
  startHeading_ = Read(*host_, kHeading);
  if (rig == Rig::Floor) floorCallsAtStart_ = static_cast<int>(Read(*host_, "talvenor_bench/floor_calls"));
}

FrameRig::~FrameRig() {
  if (host_->started()) host_->stop();
}

bool FrameRig::Fail(std::string message) {
  if (error_.empty()) error_ = std::move(message);
  return false;
}

void FrameRig::SetUpFloor() {
  std::string error;
  if (!host_->loadPlugin(TALVENOR_BENCH_FLOOR, &error) || host_->start() != 1) {
    Fail("the floor plugin did not start: " + error);
  }
}

void FrameRig::SetUpTalvenor() {
  sim::Host& host = *host_;
  std::string error;
  if (rig_ == Rig::C && !host.tracker().installLibrary("Tracker", &error)) {
    Fail("the tracker library was not installed: " + error);
    return;
  }
  if (rig_ == Rig::D) {
    const std::vector<char> limits = LimitsFile();
    const auto path = host.resolve(host.aircraft()).parent_path() / "TalvenorLimits.dat";
    if (!WriteFile(path, limits.data(), limits.size())) {
      Fail("cannot write " + path.string());
      return;
    }
  }
  if (!host.loadPlugin(TALVENOR_BENCH_PLUGIN, &error) || host.start() != 1) {
    Fail("Talvenor did not start: " + error);
    return;
  }
  host.runCycles(10);
  if (rig_ == Rig::A) return;
  if (!host.menus().pick("Talvenor", "Enable")) {
    Fail("no menu item Talvenor > Enable");
    return;
  }
  if (ViewType(host) != kViewType3dCockpit) Fail("view control did not take the 3-D cockpit");
  if (rig_ == Rig::C) {
    host.commands().once("quorlend/talvenor/effects_toggle");
    host.commands().once("quorlend/talvenor/data_panel_toggle");
    // In flight with the engine running: both effects act.
    host.datarefs().write("sim/flightmodel/position/groundspeed", 60.0);
    host.datarefs().write("sim/flightmodel/forces/g_nrml", 1.3);
    host.datarefs().write("sim/flightmodel/forces/g_side", 0.05);
    host.datarefs().write("sim/flightmodel/forces/g_axil", 0.1);
    host.datarefs().write("sim/flightmodel/failures/onground_any", 0);
    host.datarefs().write("sim/flightmodel/position/y_agl", 300.0);
    host.datarefs().write("sim/flightmodel/engine/ENGN_N1_", 80.0, 0);
    const XPWidgetID data = host.widgets().findWindow("Talvenor Data");
    if (data == nullptr || host.widgets().isVisible(data) == 0) Fail("the data display is not shown");
  }
  if (rig_ == Rig::D) {
    // As the user does it: open the panel, tick "Cont/Step", start the heading moving, close the panel.
    using sim::scenario::WidgetKind;
    host.commands().once("quorlend/talvenor/control_panel_toggle");
    host.widgets().click(Named(host, WidgetKind::Box, "Cont/Step"));
    host.widgets().click(Named(host, WidgetKind::Button, " Hdg", 2));
    host.commands().once("quorlend/talvenor/control_panel_toggle");
    if (!BoxOn(host, "Cont/Step")) Fail("continuous mode is not on");
    if (!BoxOn(host, "Enable")) Fail("the limits are not in force");
  }
  if (host.widgets().findWindow(kPanel) == nullptr) Fail("the control panel was not built");
}

void FrameRig::BeforeCycle() {
  if (rig_ != Rig::C) return;
  // Head movement in tracker units, a different pose in every frame.
  ++frameNumber_;
  const float n = static_cast<float>(frameNumber_ % 400);
  sim::TrackerFrame frame;
  frame.number = static_cast<std::uint16_t>(frameNumber_);
  frame.x = 20.0f * n - 4000.0f;
  frame.y = 4000.0f - 10.0f * n;
  frame.z = 5.0f * n;
  frame.pitch = 30.0f * n - 6000.0f;
  frame.heading = 6000.0f - 25.0f * n;
  frame.roll = 2.5f * n;
  host_->tracker().setFrame(frame);
}

std::string FrameRig::Check(long cycles) {
  sim::Host& host = *host_;
  if (host.cycle() - startCycle_ != cycles) return "the host did not run every cycle";
  switch (rig_) {
    case Rig::EmptyHost:
    case Rig::A:
      return {};
    case Rig::Floor: {
      const long calls = static_cast<long>(Read(host, "talvenor_bench/floor_calls")) - floorCallsAtStart_;
      return calls == cycles ? std::string() : "the floor plugin did not run in every cycle";
    }
    default:
      break;
  }
  if (ViewType(host) != kViewType3dCockpit) return "the view left the 3-D cockpit";
  if (rig_ == Rig::D && cycles > 0 && Read(host, kHeading) == startHeading_)
    return "the heading did not move";
  if (rig_ == Rig::C && cycles > 1 && Read(host, "sim/graphics/view/pilots_head_x") == -0.3f) {
    return "the tracker did not move the head";
  }
  return {};
}

StartRig::StartRig(int lines) : lines_(lines) {
  if (!Load()) return;
  if (lines <= 0) return;
  // Valid key lines that keep the defaults, and at the end a hotkey that shows the whole file was read.
  static const char* const kLines[] = {"AXISXINCREMENT = 0.01",  "AXISYINCREMENT = 0.01",
                                       "AXISZINCREMENT = 0.01",  "AXISHEADINGINCREMENT = 1",
                                       "AXISPITCHINCREMENT = 1", "AXISROLLINCREMENT = 1",
                                       "ENGINEVIBRATION = 1",    "RESETROLLOFFSETONSTARTUP = 1"};
  std::string text = "[CONFIG]\n";
  for (int i = 0; i < lines - 1; ++i) text += std::string(kLines[i % 8]) + "\n";
  text += "[PRESET1]\nHOTKEY = F1\n";
  const auto path = host_.pluginFolder() / "Talvenor.ini";
  if (!WriteFile(path, text.data(), text.size())) error_ = "cannot write " + path.string();
}

bool StartRig::Load() {
  std::string error;
  if (host_.loadPlugin(TALVENOR_BENCH_PLUGIN, &error)) return true;
  error_ = "Talvenor was not loaded: " + error;
  return false;
}

std::string StartRig::CheckStarted() {
  if (!host_.started()) return "Talvenor did not start";
  const int expected = lines_ > 0 ? 1 : 0;
  if (host_.hotkeys().count() != expected) return "the setup file was not read to its end";
  return {};
}

}  // namespace bench

[[gnu::noinline]] void talvenor_bench_cycle(sim::Host& host) {
  host.runCycles(1);
}
