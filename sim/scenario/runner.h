// Runs scenario files against the simulated host: the engine of talvenor-sim, usable in-process by tests
// and benchmarks.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"

namespace sim::scenario {

struct RunOptions {
  std::filesystem::path plugin;  // the plugin library that `start` loads
  std::filesystem::path root;    // the simulator folder; empty: a fresh temporary folder per scenario
  bool keep = false;             // keep a temporary folder and print its path
  std::filesystem::path csv;     // one row per cycle of the six head datarefs; empty: none
  std::filesystem::path out;     // folder for pictures; empty: the current folder
  std::filesystem::path plot;    // SVG chart of the six head datarefs; empty: none
  bool trace = false;            // print each directive as it runs
  bool quiet = false;            // print only failures, `step` and `say`, and the closing line
  Simulator simulator = Simulator::XPlane12;  // until a scenario's `simulator` says otherwise
};

struct RunTotals {
  int passed = 0;
  int failed = 0;
  int skipped = 0;
  int errors = 0;  // scenarios that could not be run to their end
};

// Whole files: scenarios, the files a scenario writes or checks, output. WriteFile makes the folders on the
// way; false when any write or the close failed.
std::optional<std::string> ReadFile(const std::filesystem::path& path);
bool WriteFile(const std::filesystem::path& path, std::string_view bytes);

// "N passed, N failed" with ", N skipped" when any was skipped.
std::string ClosingLine(const RunTotals& totals);
// 2 when a scenario could not be run, 1 when an expectation failed, 0 otherwise.
int ExitCode(const RunTotals& totals);

// Runs every file with a fresh simulator each, writes the CSV and plot when asked, prints the closing line
// and returns the exit status. Checks go to `out`, scenario errors to `err`.
int RunFiles(const RunOptions& options, const std::vector<std::string>& files, std::ostream& out,
             std::ostream& err);

// Runs one scenario text under `name` (the FILE of its messages), adding to totals; no closing line.
void RunText(const RunOptions& options, std::string_view name, std::string_view text, RunTotals& totals,
             std::ostream& out, std::ostream& err);

// An interactive session: one simulator kept running while directives arrive one at a time.
class Session {
 public:
  Session(const RunOptions& options, std::ostream& out, std::ostream& err);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Runs the directives of `text` (a line, or a directive with its heredoc), then prints what they changed:
  // the simulated time, the head datarefs, the windows; "ok" when nothing of that changed and the directive
  // printed nothing itself. A directive that cannot run is reported on `err`; false then.
  bool Run(std::string_view text);
  // Stops a started plugin and checks what it left registered, prints the closing line and returns the
  // exit status.
  int End();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace sim::scenario
