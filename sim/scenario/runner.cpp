#include "runner.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <system_error>

#include "datarefs.h"
#include "parser.h"
#include "platform.h"
#include "recording.h"
#include "scenario_run.h"
#include "widget_names.h"

namespace fs = std::filesystem;

namespace sim::scenario {

ScenarioRun::ScenarioRun(const RunOptions& options, std::string name, RunTotals& totals, Recording* recording,
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

void ScenarioRun::Run(std::string_view text) {
  if (const std::optional<int> last = RunMore(text, 1)) {
    End(*last);
  } else {
    Close();
  }
}

std::optional<int> ScenarioRun::RunMore(std::string_view text, int firstLine) {
  int line = firstLine - 1;
  bool parsed = false;
  try {
    std::vector<Directive> directives = Parse(text);
    parsed = true;
    for (Directive& d : directives) {
      d.line += firstLine - 1;
      line = d.line;
      Step(d);
    }
    return line;
  } catch (const ScenarioError& e) {
    Error(parsed ? e.line() : e.line() + firstLine - 1, e.what());
  } catch (const std::exception& e) {
    Error(line, e.what());
  }
  return std::nullopt;
}

void ScenarioRun::End(int line) {
  try {
    Finish(line);
  } catch (const std::exception& e) {
    Error(line, e.what());
  }
  Close();
}

void ScenarioRun::Step(const Directive& given) {
  const std::optional<Directive> substituted = udp_.Substitute(given);
  const Directive& d = substituted ? *substituted : given;
  if (skipping_ && d.type->role != Role::Section) {
    if (d.type->role == Role::Expect) {
      ++totals_.skipped;
      if (!options_.quiet) out_ << Where(d.line) << ": SKIP " << d.source << " (only " << only_ << ")\n";
    }
    return;
  }
  if (options_.trace) out_ << Where(d.line) << ": > " << d.source << '\n';
  if (recording_ != nullptr && d.type->role == Role::Event)
    RecordEvent(*recording_, host_ ? host_->time() : 0, d);
  d.type->run(*this, d);
}

void ScenarioRun::Error(int line, const std::string& message) {
  out_.flush();  // keeps the order of the two streams on a terminal
  err_ << Where(line) << ": error: " << message << '\n';
  ++totals_.errors;
}

void ScenarioRun::Check(const Directive& d, bool holds, const std::string& why) {
  if (holds) {
    ++totals_.passed;
    if (!options_.quiet) out_ << Where(d.line) << ": PASS " << d.source << '\n';
  } else {
    Failure(d.line, d.source, why);
  }
}

void ScenarioRun::Failure(int line, const std::string& what, const std::string& why) {
  ++totals_.failed;
  out_ << Where(line) << ": FAIL " << what << ": " << why << '\n';
}

void ScenarioRun::Say(const Directive& d, const std::string& text) {
  if (!options_.quiet) out_ << Where(d.line) << ": " << text << '\n';
  ++said_;
}

void ScenarioRun::Tell(const std::string& text) {
  out_ << text << '\n';
  ++said_;
}

void ScenarioRun::Fail(const Directive& d, const std::string& message) {
  throw ScenarioError(d.line, message);
}

Host& ScenarioRun::host(const Directive& d) {
  if (host_) return *host_;
  try {
    host_ = std::make_unique<Host>(pending_);
  } catch (const std::exception& e) {
    Fail(d, std::string("cannot set up the simulator: ") + e.what());
  }
  if (recording_ != nullptr) host_->setCycleObserver([this] { RecordCycle(*recording_, name_, *host_); });
  return *host_;
}

void ScenarioRun::Close() {
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
void ScenarioRun::Finish(int line) {
  if (host_ && host_->started()) {
    for (const std::string& left : host_->stop())
      Failure(line, "stop at the end of the scenario", "left " + left);
  }
  if (host_) {
    for (const std::string& left : host_->stopCompanions())
      Failure(line, "stop of the loaded plugins at the end of the scenario", "left " + left);
  }
}

std::string ScenarioRun::PluginName() const {
  if (host_ && !host_->pluginName().empty()) return host_->pluginName();
  return options_.plugin.stem().string();
}

fs::path ScenarioRun::LogPath(const Directive& d) {
  return host(d).resolve("Resources/plugins/" + PluginName() + "/TalvenorLog.txt");
}

// The datarefs and widgets directives name, looked up in the running simulator.
void ScenarioRun::RequireDataRef(const Directive& d, const DataRefName& ref) {
  DataRefs& refs = host(d).datarefs();
  if (!refs.exists(ref.name)) Fail(d, "no dataref " + ref.name);
  const int size = refs.arraySize(ref.name);
  if (ref.index && size == 0) Fail(d, ref.name + " is not an array: " + ref.written);
  if (ref.index && *ref.index >= size) {
    Fail(d, ref.written + " is out of range: " + ref.name + " has " + std::to_string(size) + " elements");
  }
}

std::pair<ValueType, double> ScenarioRun::ReadScalar(const Directive& d, const DataRefName& ref) {
  RequireDataRef(d, ref);
  if (!ref.index && host(d).datarefs().arraySize(ref.name) > 0) {
    Fail(d, ref.name + " is an array: name one element as " + ref.name + "[i]");
  }
  const std::optional<DataValue> value = host(d).datarefs().read(ref.name, ref.index);
  if (!value) Fail(d, "cannot read " + ref.written);
  if (value->type != xplmType_Int && value->type != xplmType_Float && value->type != xplmType_Double)
    Fail(d, ref.written + " holds data that is not a number");
  return {value->type == xplmType_Int     ? ValueType::Int
          : value->type == xplmType_Float ? ValueType::Float
                                          : ValueType::Double,
          value->value};
}

XPWidgetID ScenarioRun::Window(const Directive& d, const std::string& caption) {
  Widgets& widgets = host(d).widgets();
  if (XPWidgetID window = widgets.findWindow(caption)) return window;
  std::string open;
  for (XPWidgetID window : widgets.windows()) {
    if (const std::optional<WidgetInfo> info = widgets.info(window)) {
      open += (open.empty() ? "" : ", ") + Quote(info->descriptor);
    }
  }
  Fail(d, "no window " + Quote(caption) + (open.empty() ? " (no window is open)" : " (open: " + open + ")"));
}

XPWidgetID ScenarioRun::Widget(const Directive& d, const std::string& window, const WidgetName& widget) {
  const XPWidgetID id = Window(d, window);
  const NamedWidget found = FindNamedWidget(host(d).widgets(), id, widget);
  if (found.ambiguous)
    Fail(d, "the widget " + widget.written + " is ambiguous: two of its kind stand as near to its label");
  if (found.id == nullptr) Fail(d, "no widget " + widget.written + " in window " + Quote(window));
  return found.id;
}

WidgetInfo ScenarioRun::Info(const Directive& d, XPWidgetID id, const std::string& written) {
  const std::optional<WidgetInfo> info = host(d).widgets().info(id);
  if (!info) Fail(d, "the widget " + written + " is gone");
  return *info;
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
  ScenarioRun(options, std::string(name), totals, nullptr, out, err).Run(text);
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
    ScenarioRun(options, file, totals, recording ? &record : nullptr, out, err).Run(*text);
  }
  WriteRecording(options, record,
                 files.size() == 1 ? fs::path(files.front()).filename().string() : "talvenor-sim", totals,
                 err);
  out << ClosingLine(totals) << '\n';
  return ExitCode(totals);
}

}  // namespace sim::scenario
