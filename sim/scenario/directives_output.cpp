// What a scenario shows: pictures of the windows, the steps of its account, texts with values filled in,
// datarefs, a widget and the plugin's log.
#include <sstream>

#include "XPStandardWidgets.h"
#include "datarefs.h"
#include "directive.h"
#include "parser.h"
#include "scenario_run.h"
#include "svg.h"
#include "values.h"
#include "widget_names.h"
#include "widget_picture.h"

namespace fs = std::filesystem;

namespace sim::scenario {
namespace {

// A `{DATAREF}` or `{DATAREF:DECIMALS}` in a text to say: where it stands and what it names.
struct Placeholder {
  std::size_t at = 0, length = 0;
  std::string written;
  bool valid = false;
  std::string dataref;
  int decimals = -1;  // -1: as `print` shows it
};

std::vector<Placeholder> FindPlaceholders(std::string_view text) {
  std::vector<Placeholder> found;
  for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
    Placeholder p;
    p.at = open;
    const std::size_t close = text.find('}', open);
    p.length = close == std::string_view::npos ? text.size() - open : close + 1 - open;
    p.written = std::string(text.substr(open, p.length));
    if (close != std::string_view::npos) {
      std::string_view inner = text.substr(open + 1, close - open - 1);
      const std::size_t colon = inner.find(':');
      p.valid = true;
      if (colon != std::string_view::npos) {
        const std::optional<long long> decimals = ParseInteger(inner.substr(colon + 1));
        p.valid = decimals && *decimals >= 0 && *decimals <= 9;
        p.decimals = p.valid ? static_cast<int>(*decimals) : -1;
        inner = inner.substr(0, colon);
      }
      p.dataref = std::string(inner);
      p.valid = p.valid && !p.dataref.empty() && p.dataref.find_first_of(" {\"") == std::string::npos;
    }
    found.push_back(std::move(p));
    if (close == std::string_view::npos) break;
    open = close;
  }
  return found;
}

std::string Shown(ValueType type, double value) {
  return type == ValueType::Float ? FormatFloat(static_cast<float>(value)) : FormatDouble(value);
}

// A value as `print` shows it, an array's as the list of its elements.
std::string ShowDataRef(ScenarioRun& run, const Directive& d, const DataRefName& ref) {
  run.RequireDataRef(d, ref);
  const int size = run.host(d).datarefs().arraySize(ref.name);
  if (ref.index || size == 0) {
    const auto [type, value] = run.ReadScalar(d, ref);
    return Shown(type, value);
  }
  std::string text = "[";
  for (int i = 0; i < size; ++i) {
    const std::optional<DataValue> value = run.host(d).datarefs().read(ref.name, i);
    if (i > 0) text += ", ";
    text += value ? Shown(value->type == xplmType_Float ? ValueType::Float : ValueType::Double, value->value)
                  : "?";
  }
  return text + "]";
}

void Render(ScenarioRun& run, const Directive& d) {
  const Picture& picture = d.as<Picture>();
  const Widgets& widgets = run.host(d).widgets();
  std::string svg;
  if (picture.window.empty()) {
    svg = render::ScreenSvg(render::VisibleWindows(widgets));
  } else {
    const render::WindowLook look = render::LookOf(widgets, run.Window(d, picture.window));
    if (look.empty())
      ScenarioRun::Fail(d,
                        "the window " + Quote(picture.window) + " is hidden: show it before it is pictured");
    svg = render::WindowSvg(look);
  }
  const fs::path path = run.options().out.empty() ? fs::path(picture.file) : run.options().out / picture.file;
  if (!WriteFile(path, svg)) ScenarioRun::Fail(d, "cannot write the picture " + path.string());
  run.Say(d, "pictured " + (picture.window.empty() ? std::string("the screen") : Quote(picture.window)) +
                 " in " + path.generic_string());
}

// `{DATAREF}` and `{DATAREF:DECIMALS}` in a text to say are filled in when it is said; their form is checked
// as it is read.
Args ReadText(const Reader& r) {
  r.Count(1, 1, 1);
  for (const Placeholder& p : FindPlaceholders(r.Text(1))) {
    if (!p.valid) r.Fail("a value to say is written {DATAREF} or {DATAREF:DECIMALS}, not " + p.written);
  }
  return Text{r.Text(1)};
}

// The text of a `say`, with each {DATAREF} or {DATAREF:DECIMALS} replaced by the dataref's value.
std::string Filled(ScenarioRun& run, const Directive& d) {
  const std::string& said = d.as<Text>().text;
  std::string text;
  std::size_t from = 0;
  for (const Placeholder& p : FindPlaceholders(said)) {
    text += said.substr(from, p.at - from);
    from = p.at + p.length;
    DataRefName ref{p.dataref, std::nullopt, p.dataref};
    const std::size_t open = p.dataref.find('[');
    if (open != std::string::npos) {
      const std::optional<long long> index =
          ParseInteger(std::string_view(p.dataref).substr(open + 1, p.dataref.size() - open - 2));
      if (!p.dataref.ends_with("]") || !index || *index < 0 || *index > 65535)
        ScenarioRun::Fail(d, "a dataref element is written NAME[INDEX], not " + p.dataref);
      ref.name = p.dataref.substr(0, open);
      ref.index = static_cast<int>(*index);
    }
    text +=
        p.decimals < 0 ? ShowDataRef(run, d, ref) : render::Fixed(run.ReadScalar(d, ref).second, p.decimals);
  }
  return text + said.substr(from);
}

std::string DescribeWidget(ScenarioRun& run, const Directive& d) {
  const WidgetTarget& target = d.as<WidgetTarget>();
  const XPWidgetID id = run.Widget(d, target.window, target.widget);
  const WidgetInfo info = run.Info(d, id, target.widget.written);
  int exists = 0;
  std::string text = target.window + " " + target.widget.written + ": " + ClassName(info.widgetClass) + " " +
                     Quote(info.descriptor) + (info.ownVisible ? " shown" : " hidden") +
                     (info.visible ? "" : " (not visible)");
  const intptr_t state = run.host(d).widgets().getProperty(id, xpProperty_ButtonState, &exists);
  if (exists != 0) text += ", state " + std::to_string(state);
  const intptr_t enabled = run.host(d).widgets().getProperty(id, xpProperty_Enabled, &exists);
  if (exists != 0 && enabled == 0) text += ", disabled";
  return text + ", at " + std::to_string(info.left) + "," + std::to_string(info.top) + " to " +
         std::to_string(info.right) + "," + std::to_string(info.bottom);
}

void PrintLog(ScenarioRun& run, const Directive& d) {
  const fs::path path = run.LogPath(d);
  const std::optional<std::string> log = ReadFile(path);
  if (run.options().quiet) return;
  const std::string shown = fs::relative(path, run.host(d).root()).generic_string();
  if (!log) {
    run.Say(d, "no log file " + shown);
    return;
  }
  run.Say(d, "log " + shown + ":");
  std::istringstream lines(*log);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    run.out() << "  | " << line << '\n';
  }
}

constexpr DirectiveType kOutput[] = {
    {"render", "render FILE.svg [WINDOW]", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(1, 1, 2);
       Picture picture{r.Text(1), r.size() == 3 ? r.Text(2) : std::string()};
       if (!picture.file.ends_with(".svg")) r.Fail("a picture is written to a FILE.svg, not " + r.Written(1));
       return picture;
     },
     Render},
    {"step", "step TITLE", Role::Event, ReadText,
     [](ScenarioRun& run, const Directive& d) {
       run.Tell("\n" + std::to_string(run.NextStep()) + ". " + d.as<Text>().text);
     }},
    {"say", "say TEXT", Role::Act, ReadText,
     [](ScenarioRun& run, const Directive& d) { run.Tell("   " + Filled(run, d)); }},
    {"print", "print DATAREF...", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(1, 1, 100000, "print DATAREF..., print widget WINDOW WIDGET or print log");
       DataRefList list;
       for (std::size_t i = 1; i < r.size(); ++i) list.refs.push_back(r.DataRef(i));
       return list;
     },
     [](ScenarioRun& run, const Directive& d) {
       for (const DataRefName& ref : d.as<DataRefList>().refs)
         run.Say(d, ref.written + " = " + ShowDataRef(run, d, ref));
     }},
    {"print widget", "print widget WINDOW WIDGET", Role::Act,
     Fields<WidgetTarget, &Reader::Text, &Reader::Widget>,
     [](ScenarioRun& run, const Directive& d) { run.Say(d, DescribeWidget(run, d)); }},
    {"print log", "print log", Role::Act, ReadNone, PrintLog},
};

}  // namespace

const std::span<const DirectiveType> kOutputDirectives = kOutput;

}  // namespace sim::scenario
