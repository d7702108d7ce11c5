#include "runner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <system_error>

#include "XPStandardWidgets.h"
#include "XPWidgetDefs.h"
#include "commands.h"
#include "datarefs.h"
#include "file_faults.h"
#include "flight_loops.h"
#include "head_plot.h"
#include "host.h"
#include "hotkeys.h"
#include "platform.h"
#include "keys.h"
#include "menus.h"
#include "parser.h"
#include "plugins.h"
#include "tracker_script.h"
#include "svg.h"
#include "udp_script.h"
#include "values.h"
#include "widget_names.h"
#include "widget_picture.h"
#include "widgets.h"

namespace fs = std::filesystem;

namespace sim::scenario {
namespace {

constexpr const char* kLogFile = "TalvenorLog.txt";
// The one setting of the simulator's preferences the host keeps.
constexpr std::string_view kRollOffset = "sim/graphics/view/field_of_view_roll_deg";

// What --csv and --plot collect over all scenarios of a run.
struct Recording {
  struct Row {
    std::string scenario;
    long cycle = 0;
    double joinedTime = 0;  // on the run's joined timeline
    render::HeadSample sample;
  };
  std::vector<Row> rows;
  std::vector<render::PlotEvent> events;  // times on the run's joined timeline
  std::vector<render::PlotEvent> steps;   // the `step` titles; when there are any, the plot marks only them
  double offset = 0;                      // where the current scenario starts on the joined timeline
  double end = 0;                         // the latest time recorded
};

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

std::string ClassName(XPWidgetClass widgetClass) {
  switch (widgetClass) {
    case xpWidgetClass_MainWindow:
      return "main window";
    case xpWidgetClass_SubWindow:
      return "sub window";
    case xpWidgetClass_Button:
      return "button";
    case xpWidgetClass_TextField:
      return "text field";
    case xpWidgetClass_ScrollBar:
      return "scroll bar";
    case xpWidgetClass_Caption:
      return "caption";
    case xpWidgetClass_GeneralGraphics:
      return "graphics";
    case xpWidgetClass_Progress:
      return "progress bar";
    default:
      return "class " + std::to_string(widgetClass);
  }
}

// One scenario file on its own simulator.
class ScenarioRun {
 public:
  ScenarioRun(const RunOptions& options, std::string name, RunTotals& totals, Recording* recording,
              std::ostream& out, std::ostream& err)
      : options_(options),
        name_(std::move(name)),
        totals_(totals),
        recording_(recording),
        out_(out),
        err_(err) {
    pending_.root = options.root;
    pending_.keepRoot = options.keep;
    pending_.simulator = options.simulator;
  }

  void Run(std::string_view text) {
    int line = 0;
    try {
      const std::vector<Directive> directives = Parse(text);
      for (const Directive& d : directives) {
        line = d.line;
        Step(d);
      }
      line = directives.empty() ? 0 : directives.back().line;
      Finish(line);
    } catch (const ScenarioError& e) {
      Error(e.line(), e.what());
    } catch (const std::exception& e) {
      Error(line, e.what());
    }
    Close();
  }

  // More directives on the same simulator, numbered on from `firstLine`, for an interactive session: one
  // that cannot run is reported and the session goes on. False when one could not run.
  bool RunMore(std::string_view text, int firstLine) {
    const int errorsBefore = totals_.errors;
    std::vector<Directive> directives;
    try {
      directives = Parse(text);
    } catch (const ScenarioError& e) {
      Error(e.line() + firstLine - 1, e.what());
      return false;
    }
    int line = firstLine;
    try {
      for (Directive& d : directives) {
        d.line += firstLine - 1;
        line = d.line;
        Step(d);
      }
    } catch (const ScenarioError& e) {
      Error(e.line(), e.what());
    } catch (const std::exception& e) {
      Error(line, e.what());
    }
    return totals_.errors == errorsBefore;
  }

  // The end of an interactive session: the plugin stopped and its leftovers checked, the simulator gone.
  void End(int line) {
    try {
      Finish(line);
    } catch (const std::exception& e) {
      Error(line, e.what());
    }
    Close();
  }

  Host* current() { return host_.get(); }
  // How many lines of their own the directives have printed (values, pictures, the account).
  int said() const { return said_; }

 private:
  // --- reporting ---
  std::string Where(int line) const { return line > 0 ? name_ + ":" + std::to_string(line) : name_; }

  void Error(int line, const std::string& message) {
    out_.flush();  // keeps the order of the two streams on a terminal
    err_ << Where(line) << ": error: " << message << '\n';
    ++totals_.errors;
  }

  void Check(const Directive& d, bool holds, const std::string& why) {
    if (holds) {
      ++totals_.passed;
      if (!options_.quiet) out_ << Where(d.line) << ": PASS " << d.source << '\n';
    } else {
      Failure(d.line, d.source, why);
    }
  }

  void Failure(int line, const std::string& what, const std::string& why) {
    ++totals_.failed;
    out_ << Where(line) << ": FAIL " << what << ": " << why << '\n';
  }

  void Say(const Directive& d, const std::string& text) {
    if (!options_.quiet) out_ << Where(d.line) << ": " << text << '\n';
    ++said_;
  }

  [[noreturn]] void Fail(const Directive& d, const std::string& message) const {
    throw ScenarioError(d.line, message);
  }

  // --- the simulator ---
  Host& host(const Directive& d) {
    if (host_) return *host_;
    try {
      host_ = std::make_unique<Host>(pending_);
    } catch (const std::exception& e) {
      Fail(d, std::string("cannot set up the simulator: ") + e.what());
    }
    if (recording_ != nullptr) {
      host_->setCycleObserver([this] { Record(); });
    }
    return *host_;
  }

  void Record() {
    Recording::Row row;
    row.scenario = name_;
    row.cycle = host_->cycle();
    row.sample.time = host_->time();
    for (std::size_t i = 0; i < render::kHeadDataRefs.size(); ++i) {
      const std::optional<DataValue> value = host_->datarefs().read(render::kHeadDataRefs[i]);
      row.sample.values[i] = value ? value->value : std::nan("");
    }
    row.joinedTime = recording_->offset + row.sample.time;
    recording_->end = std::max(recording_->end, row.joinedTime);
    recording_->rows.push_back(std::move(row));
  }

  void Close() {
    if (!host_) return;
    const bool kept = pending_.root.is_relative() && options_.keep;
    const fs::path root = host_->root();
    if (recording_ != nullptr) recording_->offset = recording_->end;
    try {
      host_.reset();
    } catch (const std::exception& e) {
      Error(0, std::string("cannot tear the simulator down: ") + e.what());
    }
    if (kept) out_ << name_ << ": simulator folder kept: " << platform::Utf8Text(root) << '\n';
  }

  // A started plugin is stopped at the end and its leftovers checked as at a `stop`.
  void Finish(int line) {
    if (host_ && host_->started()) {
      for (const std::string& left : host_->stop())
        Failure(line, "stop at the end of the scenario", "left " + left);
    }
    if (host_) {
      for (const std::string& left : host_->stopCompanions())
        Failure(line, "stop of the loaded plugins at the end of the scenario", "left " + left);
    }
  }

  std::string PluginName() const {
    if (host_ && !host_->pluginName().empty()) return host_->pluginName();
    return options_.plugin.stem().string();
  }

  fs::path LogPath(const Directive& d) {
    return host(d).resolve("Resources/plugins/" + PluginName() + "/" + kLogFile);
  }

  // --- datarefs ---
  void RequireDataRef(const Directive& d, const DataRefName& ref) {
    DataRefs& refs = host(d).datarefs();
    if (!refs.exists(ref.name)) Fail(d, "no dataref " + ref.name);
    const int size = refs.arraySize(ref.name);
    if (ref.index && size == 0) Fail(d, ref.name + " is not an array: " + ref.written);
    if (ref.index && *ref.index >= size) {
      Fail(d, ref.written + " is out of range: " + ref.name + " has " + std::to_string(size) + " elements");
    }
  }

  std::pair<ValueType, double> ReadScalar(const Directive& d, const DataRefName& ref) {
    RequireDataRef(d, ref);
    if (!ref.index && host(d).datarefs().arraySize(ref.name) > 0) {
      Fail(d, ref.name + " is an array: name one element as " + ref.name + "[i]");
    }
    const std::optional<DataValue> value = host(d).datarefs().read(ref.name, ref.index);
    if (!value) Fail(d, "cannot read " + ref.written);
    switch (value->type) {
      case xplmType_Int:
        return {ValueType::Int, value->value};
      case xplmType_Float:
        return {ValueType::Float, value->value};
      case xplmType_Double:
        return {ValueType::Double, value->value};
      default:
        Fail(d, ref.written + " holds data that is not a number");
    }
  }

  static std::string Shown(ValueType type, double value) {
    return type == ValueType::Float ? FormatFloat(static_cast<float>(value)) : FormatDouble(value);
  }

  std::string ShowDataRef(const Directive& d, const DataRefName& ref) {
    RequireDataRef(d, ref);
    const int size = host(d).datarefs().arraySize(ref.name);
    if (ref.index || size == 0) {
      const auto [type, value] = ReadScalar(d, ref);
      return Shown(type, value);
    }
    std::string text = "[";
    for (int i = 0; i < size; ++i) {
      const std::optional<DataValue> value = host(d).datarefs().read(ref.name, i);
      if (i > 0) text += ", ";
      text += value
                  ? Shown(value->type == xplmType_Float ? ValueType::Float : ValueType::Double, value->value)
                  : "?";
    }
    return text + "]";
  }

  void SetDataRef(const Directive& d) {
    const DataRefName& ref = d.datarefs.front();
    RequireDataRef(d, ref);
    DataRefs& refs = host(d).datarefs();
    const bool array = refs.arraySize(ref.name) > 0;
    bool written = false;
    if (d.values.size() > 1 || (array && !ref.index)) {
      if (!array) Fail(d, ref.name + " is not an array: give it one value");
      if (static_cast<int>(d.values.size()) > refs.arraySize(ref.name)) {
        Fail(d, ref.name + " has only " + std::to_string(refs.arraySize(ref.name)) + " elements");
      }
      written = refs.writeArray(ref.name, d.values);
    } else {
      written = refs.write(ref.name, d.values.front(), ref.index);
    }
    if (!written) {
      const bool ints = (refs.types(ref.name) & (xplmType_Int | xplmType_IntArray)) != 0;
      const bool whole =
          std::all_of(d.values.begin(), d.values.end(), [](double v) { return v == std::trunc(v); });
      Fail(d, "cannot write " + ref.written + (ints && !whole ? ": it holds whole numbers" : ""));
    }
  }

  // --- widgets ---
  XPWidgetID Window(const Directive& d) { return Window(d.name, d); }

  XPWidgetID Window(const std::string& caption, const Directive& d) {
    Widgets& widgets = host(d).widgets();
    if (XPWidgetID window = widgets.findWindow(caption)) return window;
    std::string open;
    for (XPWidgetID window : widgets.windows()) {
      if (const std::optional<WidgetInfo> info = widgets.info(window)) {
        open += (open.empty() ? "" : ", ") + Quote(info->descriptor);
      }
    }
    Fail(d,
         "no window " + Quote(caption) + (open.empty() ? " (no window is open)" : " (open: " + open + ")"));
  }

  XPWidgetID Widget(const Directive& d) {
    const XPWidgetID window = Window(d);
    const NamedWidget found = FindNamedWidget(host(d).widgets(), window, d.widget);
    if (found.ambiguous)
      Fail(d, "the widget " + d.widget.written + " is ambiguous: two of its kind stand as near to its label");
    if (found.id == nullptr) Fail(d, "no widget " + d.widget.written + " in window " + Quote(d.name));
    return found.id;
  }

  WidgetInfo Info(const Directive& d, XPWidgetID id) {
    const std::optional<WidgetInfo> info = host(d).widgets().info(id);
    if (!info) Fail(d, "the widget " + d.widget.written + " is gone");
    return *info;
  }

  // A user action that did not reach its widget is a failed check; one that had no widget cannot run.
  void UserActed(const Directive& d, UserAction action, XPWidgetID id, std::string_view wanted) {
    switch (action) {
      case UserAction::Delivered:
        return;
      case UserAction::NoWidget:
        Fail(d, "the widget is gone");
      case UserAction::NotReachable: {
        const WidgetInfo info = Info(d, id);
        int exists = 0;
        const intptr_t enabled = host(d).widgets().getProperty(id, xpProperty_Enabled, &exists);
        std::string why = !info.ownVisible                     ? "the widget is hidden"
                          : !host(d).pluginEnabled(info.owner) ? "the widget's plugin is disabled"
                          : !info.visible                      ? "the widget's window is hidden"
                          : exists != 0 && enabled == 0        ? "the widget is disabled"
                                                               : "the user cannot reach the widget";
        Failure(d.line, d.source, why);
        return;
      }
      case UserAction::WrongKind: {
        const WidgetInfo info = Info(d, id);
        Failure(d.line, d.source,
                "the widget is a " + ClassName(info.widgetClass) + ", not " + std::string(wanted));
        return;
      }
    }
  }

  std::string DescribeWidget(const Directive& d, XPWidgetID id) {
    const WidgetInfo info = Info(d, id);
    int exists = 0;
    std::string text = d.name + " " + d.widget.written + ": " + ClassName(info.widgetClass) + " " +
                       Quote(info.descriptor) + (info.ownVisible ? " shown" : " hidden") +
                       (info.visible ? "" : " (not visible)");
    const intptr_t state = host(d).widgets().getProperty(id, xpProperty_ButtonState, &exists);
    if (exists != 0) text += ", state " + std::to_string(state);
    const intptr_t enabled = host(d).widgets().getProperty(id, xpProperty_Enabled, &exists);
    if (exists != 0 && enabled == 0) text += ", disabled";
    text += ", at " + std::to_string(info.left) + "," + std::to_string(info.top) + " to " +
            std::to_string(info.right) + "," + std::to_string(info.bottom);
    return text;
  }

  // --- the directives ---
  void Step(const Directive& given) {
    const std::optional<Directive> substituted = udp_.Substitute(given);
    const Directive& d = substituted ? *substituted : given;
    if (skipping_ && d.op != Op::Only) {
      if (IsExpectation(d.op)) {
        ++totals_.skipped;
        if (!options_.quiet) out_ << Where(d.line) << ": SKIP " << d.source << " (only " << only_ << ")\n";
      }
      return;
    }
    if (options_.trace) out_ << Where(d.line) << ": > " << d.source << '\n';
    if (recording_ != nullptr && IsEvent(d.op)) {
      const double time = host_ ? host_->time() : 0;
      std::string label = d.source;
      if (d.op == Op::Set) {
        // The dataref's last name part is enough on a chart of the head.
        const std::string& written = d.datarefs.front().written;
        const std::size_t at = label.find(written);
        const std::size_t slash = written.rfind('/');
        if (at != std::string::npos && slash != std::string::npos) label.erase(at, slash + 1);
      }
      if (label.size() > 48) label = label.substr(0, 45) + "...";
      if (d.op == Op::Step) {
        recording_->steps.push_back({recording_->offset + time, d.text});
      } else {
        recording_->events.push_back({recording_->offset + time, label});
      }
    }
    if (IsExpectation(d.op)) {
      Expect(d);
    } else {
      Act(d);
    }
  }

  void Act(const Directive& d) {
    switch (d.op) {
      case Op::Root:
        if (host_) Fail(d, "root must come before anything that uses the simulator folder");
        pending_.root = platform::PathFromUtf8(d.name);  // relative: inside a fresh temporary folder
        return;
      case Op::Fps:
        if (host_) {
          host_->setFps(static_cast<int>(d.count));
        } else {
          pending_.fps = static_cast<int>(d.count);
        }
        return;
      case Op::Aircraft:
        if (host_) {
          host_->setAircraft(d.name);
        } else {
          pending_.aircraft = d.name;
        }
        return;
      case Op::Simulator: {
        const Simulator simulator = d.name == "older" ? Simulator::Older : Simulator::XPlane12;
        if (host_) {
          host_->setSimulator(simulator);
        } else {
          pending_.simulator = simulator;
        }
        return;
      }
      case Op::NoFeature:
        host(d).plugins().removeFeature(d.name);
        return;
      case Op::NoCommandFunctions:
        if (host_) {
          host_->setOfferFindSymbol(false);
        } else {
          pending_.offerFindSymbol = false;
        }
        return;
      case Op::Only:
        // Each `only` starts a section that lasts until the next one; `only all` ends the sections.
        skipping_ =
            d.name != "all" && d.name != (Host::platform() == Platform::Windows ? "windows" : "linux");
        only_ = d.name;
        return;
      case Op::Write:
      case Op::WriteBytes:
        if (!WriteFile(host(d).resolve(d.name), d.text)) Fail(d, "cannot write " + d.name);
        return;
      case Op::Remove: {
        std::error_code ec;
        fs::remove(host(d).resolve(d.name), ec);
        if (ec) Fail(d, "cannot remove " + d.name + ": " + ec.message());
        return;
      }
      case Op::ReadOnly:
      case Op::Writable:
        host(d).fileFaults().setReadOnly(host(d).resolve(d.name), d.op == Op::ReadOnly);
        return;
      case Op::DiskFull:
        host(d).fileFaults().setDiskFull(d.diskBytes);
        return;
      case Op::StubPlugin:
        host(d).plugins().addStub(d.name);
        return;
      case Op::LoadPlugin: {
        std::string error;
        if (host(d).loadCompanion(HostLibraryFolder() / fs::path(d.name), &error) == XPLM_NO_PLUGIN_ID)
          Fail(d, "cannot load the plugin " + d.name + ": " + error);
        return;
      }
      case Op::TrackerLibrary: {
        std::string error;
        if (!host(d).tracker().installLibrary(d.name, &error))
          Fail(d, "cannot install the tracker library: " + error);
        return;
      }
      case Op::NoTracker:
        host(d).tracker().removeRegistryEntry();
        return;
      case Op::Start:
        Start(d);
        return;
      case Op::Stop:
        if (!host(d).started()) Fail(d, "the plugin is not started");
        for (const std::string& left : host(d).stop()) Failure(d.line, d.source, "left " + left);
        return;
      case Op::PlaneLoaded:
        if (!host(d).started()) Fail(d, "the plugin is not started");
        host(d).planeLoaded(static_cast<int>(d.count));
        return;
      case Op::DisablePlugin:
      case Op::EnablePlugin: {
        const PluginId plugin = d.name.empty() ? kPluginUnderTest : host(d).companionNamed(d.name);
        if (plugin == XPLM_NO_PLUGIN_ID)
          Fail(d, "no plugin " + Quote(d.name) + " was loaded with load-plugin");
        if (plugin == kPluginUnderTest && !host(d).started()) Fail(d, "the plugin is not started");
        if (d.op == Op::DisablePlugin) {
          host(d).disablePlugin(plugin);
        } else {
          host(d).enablePlugin(plugin);
        }
        return;
      }
      case Op::WritePrefs:
        host(d).writePreferences();
        return;
      case Op::Quit:
        for (const std::string& left : host(d).quit()) Failure(d.line, d.source, "left " + left);
        return;
      case Op::Frames:
        host(d).runCycles(d.count);
        return;
      case Op::Seconds:
        host(d).runSeconds(d.seconds);
        return;
      case Op::CommandBegin:
      case Op::CommandEnd:
      case Op::CommandOnce:
      case Op::CommandHold:
        Command(d);
        return;
      case Op::Key:
      case Op::KeyHold: {
        const int key = static_cast<int>(d.count);
        const auto modifiers = static_cast<XPLMKeyFlags>(d.number);
        const int called = d.op == Op::Key ? host(d).hotkeys().tap(key, modifiers)
                                           : host(d).hotkeys().hold(key, modifiers, d.cycles);
        if (options_.trace) {
          out_ << Where(d.line) << ": key " << KeyName(key)
               << (d.number != 0 ? " " + FlagNames(modifiers) : "") << " ran " << called
               << " hotkey callback(s)\n";
        }
        return;
      }
      case Op::Menu: {
        bool handled = false;
        Menus& menus = host(d).menus();
        if (!menus.exists(d.name)) Fail(d, "no menu " + Quote(d.name));
        if (!menus.pick(d.name, d.item, &handled))
          Fail(d, "no item " + Quote(d.item) + " in menu " + Quote(d.name));
        if (!handled && options_.trace) {
          out_ << Where(d.line) << ": the item " << Quote(d.item)
               << " is disabled or opens a submenu: the pick was delivered nowhere\n";
        }
        return;
      }
      case Op::Click: {
        const XPWidgetID id = Widget(d);
        UserActed(d, host(d).widgets().click(id), id, "a push button or check box");
        return;
      }
      case Op::Type: {
        const XPWidgetID id = Widget(d);
        UserActed(d, host(d).widgets().type(id, d.text), id, "a text field");
        return;
      }
      case Op::Close: {
        const XPWidgetID window = Window(d);
        UserActed(d, host(d).widgets().close(window), window, "a window with a close box");
        return;
      }
      case Op::Set:
        SetDataRef(d);
        return;
      case Op::TrackerFrame: {
        TrackerFrame frame = host(d).tracker().frame();
        frame.number = d.frame.number ? static_cast<std::uint16_t>(*d.frame.number)
                                      : static_cast<std::uint16_t>(frame.number + 1);
        if (d.frame.status) frame.status = static_cast<std::uint16_t>(*d.frame.status);
        for (auto [given, field] :
             {std::pair{d.frame.roll, &frame.roll}, std::pair{d.frame.pitch, &frame.pitch},
              std::pair{d.frame.heading, &frame.heading}, std::pair{d.frame.x, &frame.x},
              std::pair{d.frame.y, &frame.y}, std::pair{d.frame.z, &frame.z}}) {
          if (given) *field = static_cast<float>(*given);
        }
        host(d).tracker().setFrame(frame);
        return;
      }
      case Op::TrackerFail:
      case Op::TrackerMissing: {
        const std::vector<std::string>& entries = TrackerScript::entryPoints();
        if (!entries.empty() && std::find(entries.begin(), entries.end(), d.name) == entries.end()) {
          std::string list;
          for (const std::string& entry : entries) list += (list.empty() ? "" : ", ") + entry;
          Fail(d, "the tracker client has no entry point " + d.name + " (" + list + ")");
        }
        if (d.op == Op::TrackerFail) {
          host(d).tracker().fail(d.name, static_cast<int>(d.number));
        } else {
          host(d).tracker().setMissing(d.name);
        }
        return;
      }
      case Op::TrackerRegistryValue: {
        std::string error;
        if (!host(d).tracker().setRegistryValue(d.name, &error)) Fail(d, error);
        return;
      }
      case Op::UdpFreePort:
        udp_.ChooseFreePort(d);
        return;
      case Op::UdpHold:
        udp_.Hold(d);
        return;
      case Op::UdpSend:
      case Op::UdpSendBytes:
        udp_.Send(d);
        return;
      case Op::UdpFlood:
        udp_.Flood(d);
        return;
      case Op::UdpStream:
        for (long long i = 0; i < d.cycles; ++i) {
          udp_.Send(d);
          host(d).runCycles(1);
        }
        return;
      case Op::TrackerVersion:
        host(d).tracker().setVersion(static_cast<std::uint16_t>(d.number));
        return;
      case Op::Render:
        Render(d);
        return;
      case Op::Step:
        out_ << '\n' << ++steps_ << ". " << d.text << '\n';
        ++said_;
        return;
      case Op::Say:
        out_ << "   " << Filled(d) << '\n';
        ++said_;
        return;
      case Op::PrintDataRefs:
        for (const DataRefName& ref : d.datarefs) {
          const std::string value = ShowDataRef(d, ref);
          Say(d, ref.written + " = " + value);
        }
        return;
      case Op::PrintWidget:
        Say(d, DescribeWidget(d, Widget(d)));
        return;
      case Op::PrintLog:
        PrintLog(d);
        return;
      default:
        Fail(d, "cannot run this directive here");
    }
  }

  void Start(const Directive& d) {
    Host& h = host(d);
    if (h.started()) Fail(d, "the plugin is already started");
    if (!loaded_) {
      std::string error;
      if (options_.plugin.empty()) Fail(d, "no plugin to load (give --plugin PATH)");
      if (!h.loadPlugin(options_.plugin, &error)) Fail(d, error);
      loaded_ = true;
    }
    if (h.start() == 0) Failure(d.line, d.source, "XPluginStart returned 0: the plugin refused to start");
  }

  void Command(const Directive& d) {
    Commands& commands = host(d).commands();
    if (!commands.exists(d.name)) Fail(d, "no command " + d.name);
    switch (d.op) {
      case Op::CommandBegin:
        commands.begin(std::string_view(d.name));
        break;
      case Op::CommandEnd:
        commands.end(std::string_view(d.name));
        break;
      case Op::CommandOnce:
        commands.once(std::string_view(d.name));
        break;
      default:
        commands.begin(std::string_view(d.name));
        host(d).runCycles(d.count);
        commands.end(std::string_view(d.name));
    }
  }

  void Render(const Directive& d) {
    const Widgets& widgets = host(d).widgets();
    std::string svg;
    if (d.item.empty()) {
      svg = render::ScreenSvg(render::VisibleWindows(widgets));
    } else {
      const render::WindowLook look = render::LookOf(widgets, Window(d.item, d));
      if (look.empty()) Fail(d, "the window " + Quote(d.item) + " is hidden: show it before it is pictured");
      svg = render::WindowSvg(look);
    }
    const fs::path path = options_.out.empty() ? fs::path(d.name) : options_.out / d.name;
    if (!WriteFile(path, svg)) Fail(d, "cannot write the picture " + path.string());
    Say(d, "pictured " + (d.item.empty() ? std::string("the screen") : Quote(d.item)) + " in " +
               path.generic_string());
  }

  // The text of a `say`, with each {DATAREF} or {DATAREF:DECIMALS} replaced by the dataref's value.
  std::string Filled(const Directive& d) {
    std::string text;
    std::size_t from = 0;
    for (const Placeholder& p : FindPlaceholders(d.text)) {
      text += d.text.substr(from, p.at - from);
      from = p.at + p.length;
      DataRefName ref;
      ref.written = p.dataref;
      ref.name = p.dataref;
      const std::size_t open = p.dataref.find('[');
      if (open != std::string::npos) {
        const std::optional<long long> index =
            ParseInteger(std::string_view(p.dataref).substr(open + 1, p.dataref.size() - open - 2));
        if (!p.dataref.ends_with("]") || !index || *index < 0 || *index > 65535)
          Fail(d, "a dataref element is written NAME[INDEX], not " + p.dataref);
        ref.name = p.dataref.substr(0, open);
        ref.index = static_cast<int>(*index);
      }
      text += p.decimals < 0 ? ShowDataRef(d, ref) : render::Fixed(ReadScalar(d, ref).second, p.decimals);
    }
    return text + d.text.substr(from);
  }

  void PrintLog(const Directive& d) {
    const fs::path path = LogPath(d);
    const std::optional<std::string> log = ReadFile(path);
    if (options_.quiet) return;
    if (!log) {
      Say(d, "no log file " + fs::relative(path, host(d).root()).generic_string());
      return;
    }
    Say(d, "log " + fs::relative(path, host(d).root()).generic_string() + ":");
    std::istringstream lines(*log);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out_ << "  | " << line << '\n';
    }
  }

  // --- expectations ---
  static std::string Counted(long long expected, long long found) {
    return "expected " + std::to_string(expected) + ", found " + std::to_string(found);
  }

  // The directive's one value, within its tolerance, against ACTUAL of TYPE.
  void ExpectValue(const Directive& d, ValueType type, double actual) {
    const Comparison c = CompareValue(type, actual, d.values.front(), d.tolerance);
    std::string expected = FormatDouble(d.values.front());
    if (d.tolerance) expected += " within " + FormatDouble(*d.tolerance);
    Check(d, c.holds, "expected " + expected + ", found " + c.found);
  }

  void Expect(const Directive& d) {
    switch (d.op) {
      case Op::ExpectDataRef: {
        const auto [type, actual] = ReadScalar(d, d.datarefs.front());
        ExpectValue(d, type, actual);
        return;
      }
      case Op::ExpectPrefs: {
        if (d.datarefs.front().name != kRollOffset || d.datarefs.front().index)
          Fail(d, "the simulator's preferences keep only " + std::string(kRollOffset));
        const std::optional<float> roll = host(d).preferencesRoll();
        if (!roll) {
          Failure(d.line, d.source, "the simulator has not written its preferences");
          return;
        }
        ExpectValue(d, ValueType::Float, *roll);
        return;
      }
      case Op::ExpectWidgetText: {
        const WidgetInfo info = Info(d, Widget(d));
        Check(d, info.descriptor == d.text,
              "expected " + Quote(d.text) + ", found " + Quote(info.descriptor));
        return;
      }
      case Op::ExpectWidgetState: {
        const XPWidgetID id = Widget(d);
        int exists = 0;
        const intptr_t state = host(d).widgets().getProperty(id, xpProperty_ButtonState, &exists);
        Check(d, state == d.count,
              Counted(d.count, state) + (exists == 0 ? " (the widget has no button state)" : ""));
        return;
      }
      case Op::ExpectWidgetVisible:
      case Op::ExpectWidgetHidden: {
        const WidgetInfo info = Info(d, Widget(d));
        const bool wanted = d.op == Op::ExpectWidgetVisible;
        Check(d, info.ownVisible == wanted,
              std::string("the widget is ") + (info.ownVisible ? "shown" : "hidden"));
        return;
      }
      case Op::ExpectWindow: {
        const XPWidgetID window = host(d).widgets().findWindow(d.name);
        const std::optional<WidgetInfo> info =
            window != nullptr ? host(d).widgets().info(window) : std::optional<WidgetInfo>();
        const std::string found = !info ? "absent" : info->ownVisible ? "visible" : "hidden";
        Check(d, found == d.state, "the window is " + found);
        return;
      }
      case Op::ExpectMenuItem:
        ExpectMenuItem(d);
        return;
      case Op::ExpectMenuItems: {
        const auto items = host(d).menus().items(d.name);
        if (!items) {
          Check(d, false, "no menu " + Quote(d.name));
        } else {
          Check(d, static_cast<long long>(items->size()) == d.count,
                Counted(d.count, static_cast<long long>(items->size())));
        }
        return;
      }
      case Op::ExpectCommand: {
        const bool exists = host(d).commands().exists(d.name);
        Check(d, exists == (d.state == "exists"), exists ? "the command exists" : "no such command");
        return;
      }
      case Op::ExpectFeature: {
        const Plugins& plugins = host(d).plugins();
        const std::string state = !plugins.hasFeature(d.name)                        ? "absent"
                                  : plugins.featureEnabled(kPluginUnderTest, d.name) ? "on"
                                                                                     : "off";
        Check(d, state == d.state, "the feature is " + state + " for the plugin");
        return;
      }
      case Op::ExpectHandlers:
      case Op::ExpectSimAction: {
        Commands& commands = host(d).commands();
        if (!commands.exists(d.name)) {
          Check(d, false, "no command " + d.name);
          return;
        }
        const int found =
            d.op == Op::ExpectHandlers ? commands.handlerCount(d.name) : commands.simActionCount(d.name);
        Check(d, found == d.count, Counted(d.count, found));
        return;
      }
      case Op::ExpectHotkeys: {
        const auto count = static_cast<long long>(host(d).hotkeys().list(kPluginUnderTest).size());
        Check(d, count == d.count, Counted(d.count, count));
        return;
      }
      case Op::ExpectHotkey:
        ExpectHotkey(d);
        return;
      case Op::ExpectFlightLoops: {
        const int count = host(d).flightLoops().count(kPluginUnderTest);
        Check(d, count == d.count, Counted(d.count, count));
        return;
      }
      case Op::ExpectTrackerWindow: {
        const std::optional<std::uint64_t> given = host(d).tracker().windowHandle();
        const auto shown = [](std::optional<std::uint64_t> handle) {
          std::ostringstream text;
          if (handle) {
            text << "0x" << std::hex << *handle;
          } else {
            text << "none";
          }
          return text.str();
        };
        const std::optional<std::uint64_t> expected =
            d.state == "none" ? std::nullopt : std::optional<std::uint64_t>(d.number);
        Check(d, given == expected,
              "the tracker was handed the window " + shown(given) + ", expected " + shown(expected));
        return;
      }
      case Op::ExpectMessages:
      case Op::ExpectMessage:
        ExpectMessages(d);
        return;
      case Op::ExpectLogContains:
      case Op::ExpectLogLacks:
      case Op::ExpectLogEquals:
        ExpectLog(d);
        return;
      case Op::ExpectDebugContains:
      case Op::ExpectDebugLacks: {
        const std::string& text = host(d).debug().text();
        const bool contains = text.find(d.text) != std::string::npos;
        Check(d, contains == (d.op == Op::ExpectDebugContains),
              std::string(contains ? "found" : "not found") + " in the debugger output " + Quote(text));
        return;
      }
      case Op::ExpectFileSize:
      case Op::ExpectFileBytes:
      case Op::ExpectFileAbsent:
      case Op::ExpectFileContains:
        ExpectFile(d);
        return;
      default:
        Fail(d, "cannot check this directive");
    }
  }

  void ExpectMenuItem(const Directive& d) {
    const auto items = host(d).menus().items(d.name);
    const MenuItemInfo* item = nullptr;
    if (items) {
      if (d.item.starts_with("#")) {
        const std::optional<long long> index = ParseInteger(std::string_view(d.item).substr(1));
        if (!index) Fail(d, "a menu item index is written #INDEX, not " + d.item);
        if (*index >= 0 && *index < static_cast<long long>(items->size())) item = &(*items)[*index];
      } else {
        for (const MenuItemInfo& candidate : *items) {
          if (candidate.text == d.item) {
            item = &candidate;
            break;
          }
        }
      }
    }
    const std::string found = item == nullptr ? "absent" : item->enabled ? "enabled" : "disabled";
    std::string why = !items ? "no menu " + Quote(d.name) : "the item is " + found;
    if (item == nullptr && items) {
      std::string texts;
      for (const MenuItemInfo& candidate : *items)
        texts += (texts.empty() ? "" : ", ") + Quote(candidate.text);
      why += " (items: " + (texts.empty() ? "none" : texts) + ")";
    }
    Check(d, found == d.state, why);
  }

  void ExpectHotkey(const Directive& d) {
    const std::vector<HotkeyInfo> keys = host(d).hotkeys().list(kPluginUnderTest);
    std::string registered;
    bool holds = false;
    for (const HotkeyInfo& key : keys) {
      const int code = key.virtualKey & 0xFF;
      holds = holds || (code == d.count && key.flags == d.number && key.description == d.item);
      registered += (registered.empty() ? "" : ", ") + KeyName(code) +
                    (key.flags != 0 ? " " + FlagNames(key.flags) : "") + " " + Quote(key.description);
    }
    Check(d, holds, "registered: " + (registered.empty() ? "none" : registered));
  }

  void ExpectMessages(const Directive& d) {
    const std::vector<RecordedMessage>* messages = host(d).plugins().messages(d.name);
    if (messages == nullptr) Fail(d, "no stub plugin " + d.name + " (add it with stub-plugin)");
    const auto count = static_cast<long long>(messages->size());
    if (d.op == Op::ExpectMessages) {
      Check(d, count == d.count, Counted(d.count, count));
      return;
    }
    if (d.count > count) {
      Check(d, false, "only " + std::to_string(count) + " message(s) received");
      return;
    }
    const RecordedMessage& message = (*messages)[static_cast<std::size_t>(d.count - 1)];
    Check(d, message.number == d.number && message.text == d.item,
          "expected " + std::to_string(d.number) + " " + Quote(d.item) + ", found " +
              std::to_string(message.number) + " " + Quote(message.text));
  }

  void ExpectLog(const Directive& d) {
    std::string text = d.text;
    if (Host::platform() == Platform::Windows) {
      std::string crlf;
      for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
      text = crlf;
    }
    const std::optional<std::string> log = ReadFile(LogPath(d));
    if (!log) {
      Check(d, d.op == Op::ExpectLogLacks, "there is no log file " + PluginName() + "/" + kLogFile);
      return;
    }
    if (d.op == Op::ExpectLogEquals) {
      Check(d, *log == text, "the log is " + Quote(*log));
      return;
    }
    const bool contains = log->find(text) != std::string::npos;
    Check(d, contains == (d.op == Op::ExpectLogContains),
          std::string(contains ? "found" : "not found") + " in the log " + Quote(*log));
  }

  void ExpectFile(const Directive& d) {
    const fs::path path = host(d).resolve(d.name);
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (d.op == Op::ExpectFileAbsent) {
      Check(d, !exists, "the file exists");
      return;
    }
    const std::optional<std::string> bytes = exists ? ReadFile(path) : std::nullopt;
    if (!bytes) {
      Check(d, false, exists ? "the file cannot be read" : "the file does not exist");
      return;
    }
    switch (d.op) {
      case Op::ExpectFileSize:
        Check(d, static_cast<long long>(bytes->size()) == d.count,
              Counted(d.count, static_cast<long long>(bytes->size())));
        return;
      case Op::ExpectFileBytes:
        Check(d, *bytes == d.text,
              "the file holds " + HexBytes(bytes->substr(0, 256)) + (bytes->size() > 256 ? " ..." : ""));
        return;
      default:
        Check(d, bytes->find(d.text) != std::string::npos, "not found in " + Quote(bytes->substr(0, 4096)));
    }
  }

  const RunOptions& options_;
  std::string name_;
  RunTotals& totals_;
  Recording* recording_;
  std::ostream& out_;
  std::ostream& err_;
  HostOptions pending_;  // what the simulator is made with, from the directives before it is needed
  std::unique_ptr<Host> host_;
  bool loaded_ = false;
  bool skipping_ = false;
  std::string only_;
  int steps_ = 0;
  int said_ = 0;
  UdpScript udp_;  // ports held and the sender of the `udp` directives, until the scenario ends
};

void RunOne(const RunOptions& options, std::string_view name, std::string_view text, RunTotals& totals,
            Recording* recording, std::ostream& out, std::ostream& err) {
  ScenarioRun(options, std::string(name), totals, recording, out, err).Run(text);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Csv(const Recording& recording) {
  std::string csv = "scenario,cycle,time";
  for (const char* name : render::kHeadDataRefs) {
    csv += ',';
    csv += std::string_view(name).substr(std::string_view(name).rfind('/') + 1);
  }
  csv += '\n';
  for (const Recording::Row& row : recording.rows) {
    csv += CsvField(row.scenario) + "," + std::to_string(row.cycle) + "," + FormatDouble(row.sample.time);
    for (const double value : row.sample.values) {
      csv += ',';
      if (!std::isnan(value)) csv += FormatFloat(static_cast<float>(value));
    }
    csv += '\n';
  }
  return csv;
}

// The CSV and the plot that the options ask for, of what RECORD holds; a file that cannot be written counts
// as a scenario that could not be run.
void WriteRecording(const RunOptions& options, const Recording& record, const std::string& name,
                    RunTotals& totals, std::ostream& err) {
  if (!options.csv.empty() && !WriteFile(options.csv, Csv(record))) {
    err << options.csv.string() << ": error: cannot write the CSV file\n";
    ++totals.errors;
  }
  if (options.plot.empty()) return;
  render::HeadPlot plot;
  plot.title = "The pilot's head in " + name;
  for (const Recording::Row& row : record.rows) {
    render::HeadSample sample = row.sample;
    sample.time = row.joinedTime;  // several scenarios follow one another on the chart
    plot.samples.push_back(sample);
  }
  plot.events = record.steps.empty() ? record.events : record.steps;
  plot.numberedEvents = !record.steps.empty();
  if (!WriteFile(options.plot, render::HeadPlotSvg(plot))) {
    err << options.plot.string() << ": error: cannot write the plot\n";
    ++totals.errors;
  }
}

// What an interactive session shows after each directive: the clock, the head and the windows.
struct Snapshot {
  long cycle = -1;
  double time = 0;
  std::vector<std::string> head;                             // the six values as `print` shows them
  std::vector<std::pair<std::string, std::string>> windows;  // caption, visible or hidden

  static Snapshot Of(Host* host) {
    Snapshot s;
    if (host == nullptr) return s;
    s.cycle = host->cycle();
    s.time = host->time();
    for (const char* name : render::kHeadDataRefs) {
      const std::optional<DataValue> value = host->datarefs().read(name);
      s.head.push_back(value ? FormatFloat(static_cast<float>(value->value)) : "?");
    }
    for (XPWidgetID id : host->widgets().windows()) {
      if (const std::optional<WidgetInfo> info = host->widgets().info(id))
        s.windows.emplace_back(info->descriptor, info->ownVisible ? "visible" : "hidden");
    }
    return s;
  }
};

constexpr std::array<const char*, 6> kAxisNames = {"x", "y", "z", "pitch", "heading", "roll"};

// The differences between two snapshots, one line each.
std::vector<std::string> Changes(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> lines;
  if (after.cycle < 0) return lines;
  if (before.cycle < 0) {
    std::string head = "the simulator is set up; the head:";
    for (std::size_t i = 0; i < after.head.size(); ++i)
      head += " " + std::string(kAxisNames[i]) + " " + after.head[i];
    lines.push_back(head);
  }
  if (after.cycle != before.cycle && before.cycle >= 0) {
    lines.push_back("time " + render::Fixed(after.time, 2) + " s (cycle " + std::to_string(after.cycle) +
                    ")");
  }
  for (std::size_t i = 0; i < after.head.size() && before.cycle >= 0; ++i) {
    const std::string& was = before.head[i];
    if (was == after.head[i]) continue;
    const std::string_view name = render::kHeadDataRefs[i];
    lines.push_back(std::string(name.substr(name.rfind('/') + 1)) + " " + was + " -> " + after.head[i]);
  }
  for (const auto& window : after.windows) {
    // Named, not bound: clang 14 does not let a lambda capture a structured binding.
    const std::string& caption = window.first;
    const std::string& state = window.second;
    const auto was = std::find_if(before.windows.begin(), before.windows.end(),
                                  [&](const auto& w) { return w.first == caption; });
    if (was == before.windows.end()) {
      lines.push_back("window " + Quote(caption) + " opened, " + state);
    } else if (was->second != state) {
      lines.push_back("window " + Quote(caption) + " " + state);
    }
  }
  return lines;
}

}  // namespace

struct Session::State {
  State(const RunOptions& runOptions, std::ostream& output, std::ostream& errors)
      : options(runOptions),
        out(output),
        err(errors),
        run(options, "talvenor-sim", totals, options.csv.empty() && options.plot.empty() ? nullptr : &record,
            output, errors) {}
  RunOptions options;
  std::ostream& out;
  std::ostream& err;
  RunTotals totals;
  Recording record;
  ScenarioRun run;
  int lines = 0;
};

Session::Session(const RunOptions& options, std::ostream& out, std::ostream& err)
    : state_(std::make_unique<State>(options, out, err)) {}

Session::~Session() = default;

bool Session::Run(std::string_view text) {
  const Snapshot before = Snapshot::Of(state_->run.current());
  const int printed = state_->totals.passed + state_->totals.failed + state_->run.said();
  const bool ran = state_->run.RunMore(text, state_->lines + 1);
  state_->lines += static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  const std::vector<std::string> changes = Changes(before, Snapshot::Of(state_->run.current()));
  for (const std::string& line : changes) state_->out << "  " << line << '\n';
  if (ran && changes.empty() && printed == state_->totals.passed + state_->totals.failed + state_->run.said())
    state_->out << "  ok\n";
  return ran;
}

int Session::End() {
  state_->run.End(state_->lines);
  WriteRecording(state_->options, state_->record, "talvenor-sim", state_->totals, state_->err);
  state_->out << ClosingLine(state_->totals) << '\n';
  return ExitCode(state_->totals);
}

std::string ClosingLine(const RunTotals& totals) {
  std::string line = std::to_string(totals.passed) + " passed, " + std::to_string(totals.failed) + " failed";
  if (totals.skipped > 0) line += ", " + std::to_string(totals.skipped) + " skipped";
  return line;
}

int ExitCode(const RunTotals& totals) {
  return totals.errors > 0 ? 2 : totals.failed > 0 ? 1 : 0;
}

void RunText(const RunOptions& options, std::string_view name, std::string_view text, RunTotals& totals,
             std::ostream& out, std::ostream& err) {
  RunOne(options, name, text, totals, nullptr, out, err);
}

int RunFiles(const RunOptions& options, const std::vector<std::string>& files, std::ostream& out,
             std::ostream& err) {
  RunTotals totals;
  const bool recording = !options.csv.empty() || !options.plot.empty();
  Recording record;
  for (const std::string& file : files) {
    const std::optional<std::string> text = ReadFile(file);
    if (!text) {
      err << file << ": error: cannot read the scenario file\n";
      ++totals.errors;
      continue;
    }
    if (recording && files.size() > 1)
      record.events.push_back({record.offset, fs::path(file).filename().string()});
    RunOne(options, file, *text, totals, recording ? &record : nullptr, out, err);
  }
  WriteRecording(options, record,
                 files.size() == 1 ? fs::path(files.front()).filename().string() : "talvenor-sim", totals,
                 err);
  out << ClosingLine(totals) << '\n';
  return ExitCode(totals);
}

}  // namespace sim::scenario
