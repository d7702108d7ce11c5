// The simulator's set-up: its folder and files, faults of the file system, the aircraft, other plugins,
// the frame rate, platform sections, what the simulator lacks and which simulator it is.
#include <system_error>

#include "directive.h"
#include "file_faults.h"
#include "platform.h"
#include "plugins.h"
#include "scenario_run.h"
#include "tracker_script.h"

namespace fs = std::filesystem;

namespace sim::scenario {
namespace {

Args ReadDiskFull(const Reader& r) {
  r.Count(1, 0, 1, "disk-full [BYTES] or disk-full off");
  if (r.size() == 1) return DiskFull{0};
  if (r.IsWord(1, "off")) return DiskFull{};
  return DiskFull{static_cast<std::uint64_t>(r.Integer(1, "BYTES", 0))};
}

// Before the simulator is made, a setting waits in the options it is made with.
template <auto set, auto option, class T>
void Setting(ScenarioRun& run, const T& value) {
  if (Host* host = run.current()) {
    (host->*set)(value);
  } else {
    run.pending().*option = value;
  }
}

void Remove(ScenarioRun& run, const Directive& d) {
  const std::string& path = d.as<Named>().name;
  std::error_code ec;
  fs::remove(run.host(d).resolve(path), ec);
  if (ec) ScenarioRun::Fail(d, "cannot remove " + path + ": " + ec.message());
}

void Write(ScenarioRun& run, const Directive& d) {
  const FileText& file = d.as<FileText>();
  if (!WriteFile(run.host(d).resolve(file.path), file.text))
    ScenarioRun::Fail(d, "cannot write " + file.path);
}

void LoadPlugin(ScenarioRun& run, const Directive& d) {
  const std::string& path = d.as<Named>().name;
  std::string error;
  if (run.host(d).loadCompanion(HostLibraryFolder() / fs::path(path), &error) == XPLM_NO_PLUGIN_ID)
    ScenarioRun::Fail(d, "cannot load the plugin " + path + ": " + error);
}

void Only(ScenarioRun& run, const Directive& d) {
  // Each `only` starts a section that lasts until the next one; `only all` ends the sections.
  const std::string& platform = d.as<Named>().name;
  run.Section(platform != "all" && platform != (Host::platform() == Platform::Windows ? "windows" : "linux"),
              platform);
}

void TrackerLibrary(ScenarioRun& run, const Directive& d) {
  std::string error;
  if (!run.host(d).tracker().installLibrary(d.as<Named>().name, &error))
    ScenarioRun::Fail(d, "cannot install the tracker library: " + error);
}

constexpr DirectiveType kSetup[] = {
    {"root", "root DIR", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       if (run.current() != nullptr)
         ScenarioRun::Fail(d, "root must come before anything that uses the simulator folder");
       run.pending().root =
           platform::PathFromUtf8(d.as<Named>().name);  // relative: in a fresh temporary folder
     }},
    {"write", "write PATH TEXT", Role::Act, Fields<FileText, &Reader::Text, &Reader::Text>, Write},
    {"write-bytes", "write-bytes PATH HEX", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(1, 1, 100000);
       return FileText{r.Text(1), r.Bytes(2)};
     },
     Write},
    {"remove", "remove PATH", Role::Act, ReadName, Remove},
    {"readonly", "readonly PATH", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       run.host(d).fileFaults().setReadOnly(run.host(d).resolve(d.as<Named>().name), true);
     }},
    {"writable", "writable PATH", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       run.host(d).fileFaults().setReadOnly(run.host(d).resolve(d.as<Named>().name), false);
     }},
    {"disk-full", "disk-full [BYTES]", Role::Act, ReadDiskFull,
     [](ScenarioRun& run, const Directive& d) {
       run.host(d).fileFaults().setDiskFull(d.as<DiskFull>().bytes);
     }},
    {"aircraft", "aircraft PATH", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       Setting<&Host::setAircraft, &HostOptions::aircraft>(run, d.as<Named>().name);
     }},
    {"stub-plugin", "stub-plugin SIGNATURE", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) { run.host(d).plugins().addStub(d.as<Named>().name); }},
    {"load-plugin", "load-plugin PATH", Role::Act, ReadName, LoadPlugin},
    {"fps", "fps N", Role::Act, Fields<Fps, Whole<"fps", int, 1, 100000>>,
     [](ScenarioRun& run, const Directive& d) {
       Setting<&Host::setFps, &HostOptions::fps>(run, d.as<Fps>().fps);
     }},
    {"only", "only PLATFORM", Role::Section,
     [](const Reader& r) -> Args {
       r.Count(1, 1, 1, "only linux|windows|all");
       return Named{r.OneOf(1, {"linux", "windows", "all"})};
     },
     Only},
    {"no-command-functions", "no-command-functions", Role::Act, ReadNone,
     [](ScenarioRun& run, const Directive&) {
       Setting<&Host::setOfferFindSymbol, &HostOptions::offerFindSymbol>(run, false);
     }},
    {"no-feature", "no-feature NAME", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) { run.host(d).plugins().removeFeature(d.as<Named>().name); }},
    {"simulator", "simulator xp12|older", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(1, 1, 1);
       return Named{r.OneOf(1, {"xp12", "older"})};
     },
     [](ScenarioRun& run, const Directive& d) {
       const Simulator simulator = d.as<Named>().name == "older" ? Simulator::Older : Simulator::XPlane12;
       Setting<&Host::setSimulator, &HostOptions::simulator>(run, simulator);
     }},
    {"tracker-library", "tracker-library DIR", Role::Act, ReadName, TrackerLibrary},
    {"no-tracker", "no-tracker", Role::Act, ReadNone,
     [](ScenarioRun& run, const Directive& d) { run.host(d).tracker().removeRegistryEntry(); }},
};

}  // namespace

const std::span<const DirectiveType> kSetupDirectives = kSetup;

}  // namespace sim::scenario
