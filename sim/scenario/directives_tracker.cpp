// The substitute tracker client: the frames it returns, entry points that fail or are missing, its version
// and the registry value that points to it.
#include <algorithm>

#include "directive.h"
#include "scenario_run.h"
#include "tracker_script.h"
#include "values.h"

namespace sim::scenario {
namespace {

Args ReadFrame(const Reader& r) {
  TrackerFields frame;
  for (std::size_t i = 2; i < r.size(); ++i) {
    const std::string arg = r.Text(i);
    const std::size_t equals = arg.find('=');
    if (equals == std::string::npos)
      r.Fail("a tracker frame field is written NAME=VALUE, not " + r.Written(i));
    const std::string field = arg.substr(0, equals);
    const std::string value = arg.substr(equals + 1);
    if (field == "status" || field == "number") {
      const std::optional<long long> n = ParseInteger(value);
      if (!n || *n < 0 || *n > 0xFFFF)
        r.Fail(field + " must be a whole number from 0 to 65535, not " + value);
      (field == "status" ? frame.status : frame.number) = *n;
      continue;
    }
    std::optional<double>* target = field == "roll"      ? &frame.roll
                                    : field == "pitch"   ? &frame.pitch
                                    : field == "heading" ? &frame.heading
                                    : field == "x"       ? &frame.x
                                    : field == "y"       ? &frame.y
                                    : field == "z"       ? &frame.z
                                                         : nullptr;
    if (target == nullptr) {
      r.Fail("unknown tracker frame field " + field + " (status, number, roll, pitch, heading, x, y, z)");
    }
    *target = r.Decimal(value, field, i);
  }
  return frame;
}

void SetFrame(ScenarioRun& run, const Directive& d) {
  const TrackerFields& given = d.as<TrackerFields>();
  TrackerFrame frame = run.host(d).tracker().frame();
  frame.number =
      given.number ? static_cast<std::uint16_t>(*given.number) : static_cast<std::uint16_t>(frame.number + 1);
  if (given.status) frame.status = static_cast<std::uint16_t>(*given.status);
  for (const auto& [value, field] : {std::pair{given.roll, &frame.roll}, std::pair{given.pitch, &frame.pitch},
                                     std::pair{given.heading, &frame.heading}, std::pair{given.x, &frame.x},
                                     std::pair{given.y, &frame.y}, std::pair{given.z, &frame.z}}) {
    if (value) *field = static_cast<float>(*value);
  }
  run.host(d).tracker().setFrame(frame);
}

// An entry point the client does not have cannot fail or be missing.
const std::string& Entry(const Directive& d, const std::string& entry) {
  const std::vector<std::string>& entries = TrackerScript::entryPoints();
  if (!entries.empty() && std::find(entries.begin(), entries.end(), entry) == entries.end()) {
    std::string list;
    for (const std::string& known : entries) list += (list.empty() ? "" : ", ") + known;
    ScenarioRun::Fail(d, "the tracker client has no entry point " + entry + " (" + list + ")");
  }
  return entry;
}

Args ReadVersion(const Reader& r) {
  r.Count(2, 1, 1);
  std::string hex = r.Text(2);
  if (!hex.starts_with("0x") && !hex.starts_with("0X")) hex = "0x" + hex;
  const std::optional<long long> version = ParseInteger(hex);
  if (!version || *version < 0 || *version > 0xFFFF) {
    r.Fail("the version must be hexadecimal from 0 to FFFF, not " + r.Written(2));
  }
  return TrackerVersion{static_cast<std::uint16_t>(*version)};
}

constexpr DirectiveType kTracker[] = {
    {"tracker frame", "tracker frame [status=N] [number=N] [roll=V] [pitch=V] [heading=V] [x=V] [y=V] [z=V]",
     Role::Event, ReadFrame, SetFrame},
    {"tracker fail", "tracker fail ENTRY [RESULT]", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(2, 1, 2);
       return TrackerFail{r.Text(2), r.size() == 4 ? Whole<"RESULT", int, kIntMin>(r, 3) : 1};
     },
     [](ScenarioRun& run, const Directive& d) {
       const TrackerFail& fail = d.as<TrackerFail>();
       run.host(d).tracker().fail(Entry(d, fail.entry), fail.result);
     }},
    {"tracker missing", "tracker missing ENTRY", Role::Act, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       run.host(d).tracker().setMissing(Entry(d, d.as<Named>().name));
     }},
    {"tracker version", "tracker version HEX", Role::Act, ReadVersion,
     [](ScenarioRun& run, const Directive& d) {
       run.host(d).tracker().setVersion(d.as<TrackerVersion>().version);
     }},
    {"tracker registry-value", "tracker registry-value KIND", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(2, 1, 1, "tracker registry-value empty|long|binary|number");
       return Named{r.OneOf(2, {"empty", "long", "binary", "number"})};
     },
     [](ScenarioRun& run, const Directive& d) {
       std::string error;
       if (!run.host(d).tracker().setRegistryValue(d.as<Named>().name, &error)) ScenarioRun::Fail(d, error);
     }},
};

}  // namespace

const std::span<const DirectiveType> kTrackerDirectives = kTracker;

}  // namespace sim::scenario
