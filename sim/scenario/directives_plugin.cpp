// The plugin's life: loaded and started, stopped, told of a plane, disabled and enabled as in the plugin
// admin, the preferences written, the simulator quit.

#include "directive.h"
#include "plugins.h"
#include "scenario_run.h"
#include "values.h"

namespace sim::scenario {
namespace {

Host& Started(ScenarioRun& run, const Directive& d) {
  Host& host = run.host(d);
  if (!host.started()) ScenarioRun::Fail(d, "the plugin is not started");
  return host;
}

void Start(ScenarioRun& run, const Directive& d) {
  Host& h = run.host(d);
  if (h.started()) ScenarioRun::Fail(d, "the plugin is already started");
  if (!run.pluginLoaded()) {
    std::string error;
    if (run.options().plugin.empty()) ScenarioRun::Fail(d, "no plugin to load (give --plugin PATH)");
    if (!h.loadPlugin(run.options().plugin, &error)) ScenarioRun::Fail(d, error);
    run.pluginLoaded() = true;
  }
  if (h.start() == 0) run.Failure(d, "XPluginStart returned 0: the plugin refused to start");
}

// The plugin under test, or with a name the one `load-plugin` loaded from that library.
PluginId Chosen(ScenarioRun& run, const Directive& d) {
  const std::string& name = d.as<Named>().name;
  const PluginId plugin = name.empty() ? kPluginUnderTest : run.host(d).companionNamed(name);
  if (plugin == XPLM_NO_PLUGIN_ID)
    ScenarioRun::Fail(d, "no plugin " + Quote(name) + " was loaded with load-plugin");
  if (plugin == kPluginUnderTest && !run.host(d).started()) ScenarioRun::Fail(d, "the plugin is not started");
  return plugin;
}

constexpr DirectiveType kPlugin[] = {
    {"start", "start", Role::Event, ReadNone, Start},
    {"stop", "stop", Role::Event, ReadNone,
     [](ScenarioRun& run, const Directive& d) {
       for (const std::string& left : Started(run, d).stop()) run.Failure(d, "left " + left);
     }},
    {"plane-loaded", "plane-loaded [INDEX]", Role::Event,
     [](const Reader& r) -> Args {
       r.Count(1, 0, 1);
       return PlaneIndex{r.size() == 2 ? Whole<"INDEX", int>(r, 1) : 0};
     },
     [](ScenarioRun& run, const Directive& d) { Started(run, d).planeLoaded(d.as<PlaneIndex>().index); }},
    {"disable-plugin", "disable-plugin [NAME]", Role::Event, ReadOptionalName,
     [](ScenarioRun& run, const Directive& d) { run.host(d).disablePlugin(Chosen(run, d)); }},
    {"enable-plugin", "enable-plugin [NAME]", Role::Event, ReadOptionalName,
     [](ScenarioRun& run, const Directive& d) { run.host(d).enablePlugin(Chosen(run, d)); }},
    {"write-prefs", "write-prefs", Role::Event, ReadNone,
     [](ScenarioRun& run, const Directive& d) { run.host(d).writePreferences(); }},
    {"quit", "quit", Role::Event, ReadNone,
     [](ScenarioRun& run, const Directive& d) {
       for (const std::string& left : run.host(d).quit()) run.Failure(d, "left " + left);
     }},
};

}  // namespace

const std::span<const DirectiveType> kPluginDirectives = kPlugin;

}  // namespace sim::scenario
