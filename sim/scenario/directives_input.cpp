// Time and the user's input: cycles run, commands, keys, menu picks, clicks, typing, a window closed, a
// dataref set as the simulator or the user sets it.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "XPStandardWidgets.h"
#include "commands.h"
#include "datarefs.h"
#include "directive.h"
#include "hotkeys.h"
#include "keys.h"
#include "menus.h"
#include "plugins.h"
#include "scenario_run.h"
#include "values.h"
#include "widget_names.h"

namespace sim::scenario {
namespace {

Commands& Command(ScenarioRun& run, const Directive& d, const std::string& name) {
  Commands& commands = run.host(d).commands();
  if (!commands.exists(name)) ScenarioRun::Fail(d, "no command " + name);
  return commands;
}

// A command begun, ended or run once as the user does it.
template <bool (Commands::*act)(std::string_view)>
void Act(ScenarioRun& run, const Directive& d) {
  const std::string& name = d.as<Named>().name;
  (Command(run, d, name).*act)(name);
}

Args ReadSet(const Reader& r) {
  r.Count(1, 2, 2, "set DATAREF VALUE (DATAREF[i] for an element, VALUE,VALUE,... for an array)");
  SetValues set{r.DataRef(1), {}};
  const std::string text = r.Text(2);
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    set.values.push_back(r.Decimal(std::string_view(text).substr(start, comma - start), "a value", 2));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (set.values.size() > 1 && set.ref.index) r.Fail("a list of values sets a whole array, not one element");
  return set;
}

void Set(ScenarioRun& run, const Directive& d) {
  const auto& [ref, values] = d.as<SetValues>();
  run.RequireDataRef(d, ref);
  DataRefs& refs = run.host(d).datarefs();
  const bool array = refs.arraySize(ref.name) > 0;
  bool written = false;
  if (values.size() > 1 || (array && !ref.index)) {
    if (!array) ScenarioRun::Fail(d, ref.name + " is not an array: give it one value");
    if (static_cast<int>(values.size()) > refs.arraySize(ref.name)) {
      ScenarioRun::Fail(d, ref.name + " has only " + std::to_string(refs.arraySize(ref.name)) + " elements");
    }
    written = refs.writeArray(ref.name, values);
  } else {
    written = refs.write(ref.name, values.front(), ref.index);
  }
  if (!written) {
    const bool ints = (refs.types(ref.name) & (xplmType_Int | xplmType_IntArray)) != 0;
    const bool whole = std::all_of(values.begin(), values.end(), [](double v) { return v == std::trunc(v); });
    ScenarioRun::Fail(d, "cannot write " + ref.written + (ints && !whole ? ": it holds whole numbers" : ""));
  }
}

void Press(ScenarioRun& run, const Directive& d) {
  const KeyPress& press = d.as<KeyPress>();
  const auto modifiers = static_cast<XPLMKeyFlags>(press.modifiers);
  Hotkeys& hotkeys = run.host(d).hotkeys();
  const int called = d.keyword() == "key" ? hotkeys.tap(press.key, modifiers)
                                          : hotkeys.hold(press.key, modifiers, press.cycles);
  if (run.options().trace) {
    run.out() << run.Where(d.line) << ": key " << KeyName(press.key)
              << (press.modifiers != 0 ? " " + FlagNames(modifiers) : "") << " ran " << called
              << " hotkey callback(s)\n";
  }
}

void Pick(ScenarioRun& run, const Directive& d) {
  const MenuPick& pick = d.as<MenuPick>();
  bool handled = false;
  Menus& menus = run.host(d).menus();
  if (!menus.exists(pick.title)) ScenarioRun::Fail(d, "no menu " + Quote(pick.title));
  if (!menus.pick(pick.title, pick.item, &handled))
    ScenarioRun::Fail(d, "no item " + Quote(pick.item) + " in menu " + Quote(pick.title));
  if (!handled && run.options().trace) {
    run.out() << run.Where(d.line) << ": the item " << Quote(pick.item)
              << " is disabled or opens a submenu: the pick was delivered nowhere\n";
  }
}

// A user action that did not reach its widget is a failed check; one that had no widget cannot run.
void UserActed(ScenarioRun& run, const Directive& d, UserAction action, XPWidgetID id,
               const std::string& written, std::string_view wanted) {
  if (action == UserAction::Delivered) return;
  if (action == UserAction::NoWidget) ScenarioRun::Fail(d, "the widget is gone");
  const WidgetInfo info = run.Info(d, id, written);
  if (action == UserAction::WrongKind) {
    run.Failure(d, "the widget is a " + ClassName(info.widgetClass) + ", not " + std::string(wanted));
    return;
  }
  int exists = 0;
  const intptr_t enabled = run.host(d).widgets().getProperty(id, xpProperty_Enabled, &exists);
  run.Failure(d, !info.ownVisible                         ? "the widget is hidden"
                 : !run.host(d).pluginEnabled(info.owner) ? "the widget's plugin is disabled"
                 : !info.visible                          ? "the widget's window is hidden"
                 : exists != 0 && enabled == 0            ? "the widget is disabled"
                                                          : "the user cannot reach the widget");
}

Args ReadKey(const Reader& r) {
  r.Count(1, 1, 2, "key KEY [MODS], or key hold KEY [MODS] N");
  return KeyPress{r.Key(1), r.size() == 3 ? r.Modifiers(2) : 0, 0};
}

Args ReadKeyHold(const Reader& r) {
  r.Count(2, 2, 3);
  return KeyPress{r.Key(2), r.size() == 5 ? r.Modifiers(3) : 0, r.Integer(r.size() - 1, "N", 0)};
}

constexpr DirectiveType kInput[] = {
    {"frames", "frames N", Role::Act, Fields<Frames, Whole<"N">>,
     [](ScenarioRun& run, const Directive& d) { run.host(d).runCycles(d.as<Frames>().cycles); }},
    {"seconds", "seconds S", Role::Act,
     [](const Reader& r) -> Args {
       r.Count(1, 1, 1);
       const double seconds = r.Decimal(r.Text(1), "S", 1);
       if (!(seconds >= 0) || !std::isfinite(seconds)) r.Fail("S must be a finite number from 0");
       return Seconds{seconds};
     },
     [](ScenarioRun& run, const Directive& d) { run.host(d).runSeconds(d.as<Seconds>().seconds); }},
    {"command begin", "command begin NAME", Role::Event, ReadName, Act<&Commands::begin>},
    {"command end", "command end NAME", Role::Event, ReadName, Act<&Commands::end>},
    {"command once", "command once NAME", Role::Event, ReadName, Act<&Commands::once>},
    {"command hold", "command hold NAME N", Role::Event, Fields<CommandHold, &Reader::Text, Whole<"N">>,
     [](ScenarioRun& run, const Directive& d) {
       const CommandHold& hold = d.as<CommandHold>();
       Commands& commands = Command(run, d, hold.command);
       commands.begin(std::string_view(hold.command));
       run.host(d).runCycles(hold.cycles);
       commands.end(std::string_view(hold.command));
     }},
    {"key", "key KEY [MODS]", Role::Event, ReadKey, Press},
    {"key hold", "key hold KEY [MODS] N", Role::Event, ReadKeyHold, Press},
    {"menu", "menu TITLE ITEM", Role::Event, Fields<MenuPick, &Reader::Text, &Reader::Text>, Pick},
    {"click", "click WINDOW WIDGET", Role::Event, Fields<WidgetTarget, &Reader::Text, &Reader::Widget>,
     [](ScenarioRun& run, const Directive& d) {
       const WidgetTarget& target = d.as<WidgetTarget>();
       const XPWidgetID id = run.Widget(d, target.window, target.widget);
       UserActed(run, d, run.host(d).widgets().click(id), id, target.widget.written,
                 "a push button or check box");
     }},
    {"type", "type WINDOW WIDGET TEXT", Role::Event,
     Fields<WidgetText, &Reader::Text, &Reader::Widget, &Reader::Text>,
     [](ScenarioRun& run, const Directive& d) {
       const WidgetText& typing = d.as<WidgetText>();
       const XPWidgetID id = run.Widget(d, typing.window, typing.widget);
       UserActed(run, d, run.host(d).widgets().type(id, typing.text), id, typing.widget.written,
                 "a text field");
     }},
    {"close", "close WINDOW", Role::Event, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       const XPWidgetID window = run.Window(d, d.as<Named>().name);
       UserActed(run, d, run.host(d).widgets().close(window), window, "", "a window with a close box");
     }},
    {"set", "set DATAREF VALUE", Role::Event, ReadSet, Set},
};

}  // namespace

const std::span<const DirectiveType> kInputDirectives = kInput;

}  // namespace sim::scenario
