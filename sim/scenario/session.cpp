#include <algorithm>
#include <array>
#include <optional>
#include <ostream>

#include "datarefs.h"
#include "head_plot.h"
#include "recording.h"
#include "runner.h"
#include "scenario_run.h"
#include "svg.h"
#include "values.h"
#include "widgets.h"

namespace sim::scenario {
namespace {

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
  const bool ran = state_->run.RunMore(text, state_->lines + 1).has_value();
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

}  // namespace sim::scenario
