// One scenario on its own simulator: the run loop, and what the directives' entries use to run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "XPWidgetDefs.h"
#include "directive.h"
#include "host.h"
#include "runner.h"
#include "values.h"
#include "widgets.h"

namespace sim::scenario {

struct Recording;

// The `udp` directives' ports held and their sender, until the scenario ends.
class UdpScript {
 public:
  UdpScript() = default;
  UdpScript(const UdpScript&) = delete;
  UdpScript& operator=(const UdpScript&) = delete;
  ~UdpScript();

  // D with `$UDP_PORT` replaced in its texts and read again once a port was chosen; nullopt when nothing
  // changes.
  std::optional<Directive> Substitute(const Directive& d) const;

  // Each throws ScenarioError naming LINE when the system refuses.
  void ChooseFreePort(int line);
  void Hold(int line, const std::string& port);
  void SendBytes(int line, const std::string& port, const std::string& bytes);

 private:
  int Port(int line, const std::string& port) const;
  std::intptr_t Sender(int line);

  std::optional<int> chosen_;
  std::intptr_t sender_ = -1;
  std::vector<std::intptr_t> held_;
};

class ScenarioRun {
 public:
  ScenarioRun(const RunOptions& options, std::string name, RunTotals& totals, Recording* recording,
              std::ostream& out, std::ostream& err);

  void Run(std::string_view text);
  // More directives on the same simulator, numbered on from `firstLine`, for an interactive session: one
  // that cannot run is reported and the session goes on. The line of the last, nullopt when one could not
  // run.
  std::optional<int> RunMore(std::string_view text, int firstLine);
  // The end of an interactive session: the plugin stopped and its leftovers checked, the simulator gone.
  void End(int line);

  Host* current() { return host_.get(); }
  // How many lines of their own the directives have printed (values, pictures, the account).
  int said() const { return said_; }

  // --- for the directives ---
  const RunOptions& options() const { return options_; }
  // What the simulator is made with, from the directives before it is needed.
  HostOptions& pending() { return pending_; }
  // The simulator, made on first use.
  Host& host(const Directive& d);
  UdpScript& udp() { return udp_; }
  std::ostream& out() { return out_; }
  std::string Where(int line) const { return line > 0 ? name_ + ":" + std::to_string(line) : name_; }

  void Check(const Directive& d, bool holds, const std::string& why);
  void Failure(const Directive& d, const std::string& why) { Failure(d.line, d.source, why); }
  void Failure(int line, const std::string& what, const std::string& why);
  // A line of the directive's own, shown unless quiet.
  void Say(const Directive& d, const std::string& text);
  // A line shown even when quiet (`step`, `say`).
  void Tell(const std::string& text);
  [[noreturn]] static void Fail(const Directive& d, const std::string& message);

  // `only`: whether the lines from here on are skipped, and the platform named.
  void Section(bool skipping, std::string only) {
    skipping_ = skipping;
    only_ = std::move(only);
  }
  bool& pluginLoaded() { return loaded_; }
  int NextStep() { return ++steps_; }

  std::string PluginName() const;
  std::filesystem::path LogPath(const Directive& d);

  void RequireDataRef(const Directive& d, const DataRefName& ref);
  std::pair<ValueType, double> ReadScalar(const Directive& d, const DataRefName& ref);

  XPWidgetID Window(const Directive& d, const std::string& caption);
  XPWidgetID Widget(const Directive& d, const std::string& window, const WidgetName& widget);
  WidgetInfo Info(const Directive& d, XPWidgetID id, const std::string& written);

 private:
  void Step(const Directive& d);
  void Error(int line, const std::string& message);
  void Close();
  void Finish(int line);

  const RunOptions& options_;
  std::string name_;
  RunTotals& totals_;
  Recording* recording_;
  std::ostream& out_;
  std::ostream& err_;
  HostOptions pending_;
  std::unique_ptr<Host> host_;
  bool loaded_ = false;
  bool skipping_ = false;
  std::string only_;
  int steps_ = 0;
  int said_ = 0;
  UdpScript udp_;
};

}  // namespace sim::scenario
