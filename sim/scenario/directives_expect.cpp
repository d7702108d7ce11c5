// Expectations: what the simulator, the plugin's windows, menus, commands, hotkeys, messages, log and files
// hold at the moment the line runs. Each passes or fails; one that cannot be checked stops the scenario.
#include <algorithm>
#include <sstream>

#include "XPStandardWidgets.h"
#include "commands.h"
#include "directive.h"
#include "file_faults.h"
#include "flight_loops.h"
#include "hotkeys.h"
#include "keys.h"
#include "menus.h"
#include "platform.h"
#include "plugins.h"
#include "scenario_run.h"
#include "tracker_script.h"
#include "values.h"

namespace fs = std::filesystem;

namespace sim::scenario {
namespace {

// The one setting of the simulator's preferences the host keeps.
constexpr std::string_view kRollOffset = "sim/graphics/view/field_of_view_roll_deg";

std::string Counted(long long expected, long long found) {
  return "expected " + std::to_string(expected) + ", found " + std::to_string(found);
}

void CheckCount(ScenarioRun& run, const Directive& d, long long found) {
  const long long expected = d.as<CountExpect>().count;
  run.Check(d, found == expected, Counted(expected, found));
}

// [prefs] DATAREF VALUE [~TOL], from argument AT on.
Args ReadValue(const Reader& r, std::size_t at) {
  r.Count(at, 2, 3);
  ValueExpect expect{r.DataRef(at), r.Decimal(r.Text(at + 1), "the expected value", at + 1), std::nullopt};
  if (r.size() == at + 3) {
    const std::string tolerance = r.Text(at + 2);
    if (!tolerance.starts_with("~")) r.Fail("a tolerance is written ~TOL, not " + r.Written(at + 2));
    expect.tolerance = r.Decimal(std::string_view(tolerance).substr(1), "the tolerance", at + 2);
    if (!(*expect.tolerance >= 0)) r.Fail("the tolerance must not be negative");
  }
  return expect;
}

// The expected value, within its tolerance, against ACTUAL of TYPE.
void CheckValue(ScenarioRun& run, const Directive& d, ValueType type, double actual) {
  const ValueExpect& expect = d.as<ValueExpect>();
  const Comparison c = CompareValue(type, actual, expect.value, expect.tolerance);
  std::string expected = FormatDouble(expect.value);
  if (expect.tolerance) expected += " within " + FormatDouble(*expect.tolerance);
  run.Check(d, c.holds, "expected " + expected + ", found " + c.found);
}

void ExpectPrefs(ScenarioRun& run, const Directive& d) {
  const DataRefName& ref = d.as<ValueExpect>().ref;
  if (ref.name != kRollOffset || ref.index)
    ScenarioRun::Fail(d, "the simulator's preferences keep only " + std::string(kRollOffset));
  const std::optional<float> roll = run.host(d).preferencesRoll();
  if (!roll) {
    run.Failure(d, "the simulator has not written its preferences");
    return;
  }
  CheckValue(run, d, ValueType::Float, *roll);
}

void ExpectWindow(ScenarioRun& run, const Directive& d) {
  const StateExpect& expect = d.as<StateExpect>();
  const XPWidgetID window = run.host(d).widgets().findWindow(expect.name);
  const std::optional<WidgetInfo> info =
      window != nullptr ? run.host(d).widgets().info(window) : std::optional<WidgetInfo>();
  const std::string found = !info ? "absent" : info->ownVisible ? "visible" : "hidden";
  run.Check(d, found == expect.state, "the window is " + found);
}

void ExpectMenuItem(ScenarioRun& run, const Directive& d) {
  const MenuItemExpect& expect = d.as<MenuItemExpect>();
  const auto items = run.host(d).menus().items(expect.title);
  const MenuItemInfo* item = nullptr;
  if (items && expect.item.starts_with("#")) {
    const std::optional<long long> index = ParseInteger(std::string_view(expect.item).substr(1));
    if (!index) ScenarioRun::Fail(d, "a menu item index is written #INDEX, not " + expect.item);
    if (*index >= 0 && *index < static_cast<long long>(items->size())) item = &(*items)[*index];
  } else if (items) {
    const auto named = std::find_if(items->begin(), items->end(), [&](const MenuItemInfo& candidate) {
      return candidate.text == expect.item;
    });
    if (named != items->end()) item = &*named;
  }
  const std::string found = item == nullptr ? "absent" : item->enabled ? "enabled" : "disabled";
  std::string why = !items ? "no menu " + Quote(expect.title) : "the item is " + found;
  if (item == nullptr && items) {
    std::string texts;
    for (const MenuItemInfo& candidate : *items) texts += (texts.empty() ? "" : ", ") + Quote(candidate.text);
    why += " (items: " + (texts.empty() ? "none" : texts) + ")";
  }
  run.Check(d, found == expect.state, why);
}

// expect window|command|feature NAME STATE
constexpr auto ReadState = &Fields<StateExpect, &Reader::Text, &Reader::Text>;
constexpr auto ReadNamedCount = &Fields<CountExpect, &Reader::Text, Whole<"the count">>;

Args ReadCount(const Reader& r) {
  r.Count(2, 1, 1);
  return CountExpect{"", r.Integer(2, "the count", 0)};
}

// The handlers of a command or the count of its simulator's own action.
template <int (Commands::*counted)(std::string_view) const>
void ExpectCommandCount(ScenarioRun& run, const Directive& d) {
  const CountExpect& expect = d.as<CountExpect>();
  Commands& commands = run.host(d).commands();
  if (!commands.exists(expect.name)) {
    run.Check(d, false, "no command " + expect.name);
    return;
  }
  CheckCount(run, d, (commands.*counted)(expect.name));
}

Args ReadTrackerWindow(const Reader& r) {
  r.Count(3, 1, 1);
  if (r.Text(3) == "none") return TrackerWindowExpect{};
  const std::optional<long long> handle = ParseInteger(r.Text(3));
  if (!handle || *handle < 0) r.Fail("the window handle must be a number such as 0x200001234, or none");
  return TrackerWindowExpect{static_cast<std::uint64_t>(*handle)};
}

void ExpectTrackerWindow(ScenarioRun& run, const Directive& d) {
  const std::optional<std::uint64_t> given = run.host(d).tracker().windowHandle();
  const auto shown = [](std::optional<std::uint64_t> handle) {
    std::ostringstream text;
    text << "0x" << std::hex << handle.value_or(0);
    return handle ? text.str() : std::string("none");
  };
  const std::optional<std::uint64_t> expected = d.as<TrackerWindowExpect>().handle;
  run.Check(d, given == expected,
            "the tracker was handed the window " + shown(given) + ", expected " + shown(expected));
}

void ExpectHotkey(ScenarioRun& run, const Directive& d) {
  const HotkeyExpect& expect = d.as<HotkeyExpect>();
  std::string registered;
  bool holds = false;
  for (const HotkeyInfo& key : run.host(d).hotkeys().list(kPluginUnderTest)) {
    const int code = key.virtualKey & 0xFF;
    holds =
        holds || (code == expect.key && key.flags == expect.flags && key.description == expect.description);
    registered += (registered.empty() ? "" : ", ") + KeyName(code) +
                  (key.flags != 0 ? " " + FlagNames(key.flags) : "") + " " + Quote(key.description);
  }
  run.Check(d, holds, "registered: " + (registered.empty() ? "none" : registered));
}

const std::vector<RecordedMessage>& Messages(ScenarioRun& run, const Directive& d, const std::string& stub) {
  const std::vector<RecordedMessage>* messages = run.host(d).plugins().messages(stub);
  if (messages == nullptr) ScenarioRun::Fail(d, "no stub plugin " + stub + " (add it with stub-plugin)");
  return *messages;
}

void ExpectMessage(ScenarioRun& run, const Directive& d) {
  const MessageExpect& expect = d.as<MessageExpect>();
  const std::vector<RecordedMessage>& messages = Messages(run, d, expect.signature);
  const auto count = static_cast<long long>(messages.size());
  if (expect.k > count) {
    run.Check(d, false, "only " + std::to_string(count) + " message(s) received");
    return;
  }
  const RecordedMessage& message = messages[static_cast<std::size_t>(expect.k - 1)];
  run.Check(d, message.number == expect.number && message.text == expect.text,
            "expected " + std::to_string(expect.number) + " " + Quote(expect.text) + ", found " +
                std::to_string(message.number) + " " + Quote(message.text));
}

constexpr auto ReadLog = &Fields<LogExpect, &Reader::Text, &Reader::Text>;

// `contains` or `lacks`: whether the text is in WHOLE, shown as the WHERE.
void CheckContains(ScenarioRun& run, const Directive& d, const std::string& text, const std::string& whole,
                   const std::string& where) {
  const bool contains = whole.find(text) != std::string::npos;
  run.Check(d, contains == (d.as<LogExpect>().how == "contains"),
            std::string(contains ? "found" : "not found") + " in the " + where + " " + Quote(whole));
}

void ExpectLog(ScenarioRun& run, const Directive& d) {
  const LogExpect& expect = d.as<LogExpect>();
  std::string text = expect.text;
  if (Host::platform() == Platform::Windows) {
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    text = crlf;
  }
  const std::optional<std::string> log = ReadFile(run.LogPath(d));
  if (!log) {
    run.Check(d, expect.how == "lacks", "there is no log file " + run.PluginName() + "/TalvenorLog.txt");
    return;
  }
  if (expect.how == "equals") {
    run.Check(d, *log == text, "the log is " + Quote(*log));
    return;
  }
  CheckContains(run, d, text, *log, "log");
}

// The bytes of the file a `expect file` names; nullopt, with the expectation failed, when there are none.
std::optional<std::string> FileBytes(ScenarioRun& run, const Directive& d, const std::string& path) {
  const fs::path resolved = run.host(d).resolve(path);
  std::error_code ec;
  const bool exists = fs::exists(resolved, ec);
  std::optional<std::string> bytes = exists ? ReadFile(resolved) : std::nullopt;
  if (!bytes) run.Check(d, false, exists ? "the file cannot be read" : "the file does not exist");
  return bytes;
}

void ExpectFileSize(ScenarioRun& run, const Directive& d) {
  const CountExpect& expect = d.as<CountExpect>();
  if (const std::optional<std::string> bytes = FileBytes(run, d, expect.name)) {
    CheckCount(run, d, static_cast<long long>(bytes->size()));
  }
}

void ExpectFileBytes(ScenarioRun& run, const Directive& d) {
  const FileText& expect = d.as<FileText>();
  if (const std::optional<std::string> bytes = FileBytes(run, d, expect.path)) {
    run.Check(d, *bytes == expect.text,
              "the file holds " + HexBytes(bytes->substr(0, 256)) + (bytes->size() > 256 ? " ..." : ""));
  }
}

void ExpectFileContains(ScenarioRun& run, const Directive& d) {
  const FileText& expect = d.as<FileText>();
  if (const std::optional<std::string> bytes = FileBytes(run, d, expect.path)) {
    run.Check(d, bytes->find(expect.text) != std::string::npos,
              "not found in " + Quote(bytes->substr(0, 4096)));
  }
}

constexpr DirectiveType kExpect[] = {
    {"expect", "expect DATAREF VALUE [~TOL]", Role::Expect, [](const Reader& r) { return ReadValue(r, 1); },
     [](ScenarioRun& run, const Directive& d) {
       const auto [type, actual] = run.ReadScalar(d, d.as<ValueExpect>().ref);
       CheckValue(run, d, type, actual);
     }},
    {"expect prefs", "expect prefs DATAREF VALUE [~TOL]", Role::Expect,
     [](const Reader& r) { return ReadValue(r, 2); }, ExpectPrefs},
    {"expect widget _ _ text", "expect widget WINDOW WIDGET text TEXT", Role::Expect,
     Fields<WidgetText, &Reader::Text, &Reader::Widget, &Reader::Text>,
     [](ScenarioRun& run, const Directive& d) {
       const WidgetText& expect = d.as<WidgetText>();
       const WidgetInfo info =
           run.Info(d, run.Widget(d, expect.window, expect.widget), expect.widget.written);
       run.Check(d, info.descriptor == expect.text,
                 "expected " + Quote(expect.text) + ", found " + Quote(info.descriptor));
     }},
    {"expect widget _ _ state", "expect widget WINDOW WIDGET state N", Role::Expect,
     Fields<WidgetStateExpect, &Reader::Text, &Reader::Widget, Whole<"the state", int, kIntMin>>,
     [](ScenarioRun& run, const Directive& d) {
       const WidgetStateExpect& expect = d.as<WidgetStateExpect>();
       const XPWidgetID id = run.Widget(d, expect.window, expect.widget);
       int exists = 0;
       const intptr_t state = run.host(d).widgets().getProperty(id, xpProperty_ButtonState, &exists);
       run.Check(d, state == expect.state,
                 Counted(expect.state, state) + (exists == 0 ? " (the widget has no button state)" : ""));
     }},
    {"expect widget _ _ visible|hidden", "expect widget WINDOW WIDGET visible|hidden", Role::Expect,
     [](const Reader& r) -> Args {
       r.Count(2, 3, 3);
       return WidgetShownExpect{r.Text(2), r.Widget(3), r.IsWord(4, "visible")};
     },
     [](ScenarioRun& run, const Directive& d) {
       const WidgetShownExpect& expect = d.as<WidgetShownExpect>();
       const WidgetInfo info =
           run.Info(d, run.Widget(d, expect.window, expect.widget), expect.widget.written);
       run.Check(d, info.ownVisible == expect.visible,
                 std::string("the widget is ") + (info.ownVisible ? "shown" : "hidden"));
     }},
    {"expect window _ visible|hidden|absent", "expect window WINDOW visible|hidden|absent", Role::Expect,
     ReadState, ExpectWindow},
    {"expect menu _ _ enabled|disabled|absent", "expect menu TITLE ITEM enabled|disabled|absent",
     Role::Expect, Fields<MenuItemExpect, &Reader::Text, &Reader::Text, &Reader::Text>, ExpectMenuItem},
    {"expect menu _ items", "expect menu TITLE items N", Role::Expect,
     Fields<CountExpect, &Reader::Text, Whole<"the number of items">>,
     [](ScenarioRun& run, const Directive& d) {
       const CountExpect& expect = d.as<CountExpect>();
       const auto items = run.host(d).menus().items(expect.name);
       if (!items) {
         run.Check(d, false, "no menu " + Quote(expect.name));
         return;
       }
       CheckCount(run, d, static_cast<long long>(items->size()));
     }},
    {"expect command _ exists|absent", "expect command NAME exists|absent", Role::Expect, ReadState,
     [](ScenarioRun& run, const Directive& d) {
       const StateExpect& expect = d.as<StateExpect>();
       const bool exists = run.host(d).commands().exists(expect.name);
       run.Check(d, exists == (expect.state == "exists"), exists ? "the command exists" : "no such command");
     }},
    {"expect feature _ on|off|absent", "expect feature NAME on|off|absent", Role::Expect, ReadState,
     [](ScenarioRun& run, const Directive& d) {
       const StateExpect& expect = d.as<StateExpect>();
       const Plugins& plugins = run.host(d).plugins();
       const std::string state = !plugins.hasFeature(expect.name)                        ? "absent"
                                 : plugins.featureEnabled(kPluginUnderTest, expect.name) ? "on"
                                                                                         : "off";
       run.Check(d, state == expect.state, "the feature is " + state + " for the plugin");
     }},
    {"expect handlers", "expect handlers NAME N", Role::Expect, ReadNamedCount,
     ExpectCommandCount<&Commands::handlerCount>},
    {"expect sim-action", "expect sim-action NAME N", Role::Expect, ReadNamedCount,
     ExpectCommandCount<&Commands::simActionCount>},
    {"expect hotkeys", "expect hotkeys N", Role::Expect, ReadCount,
     [](ScenarioRun& run, const Directive& d) {
       CheckCount(run, d, static_cast<long long>(run.host(d).hotkeys().list(kPluginUnderTest).size()));
     }},
    {"expect hotkey", "expect hotkey KEY [MODS] DESCRIPTION", Role::Expect,
     [](const Reader& r) -> Args {
       r.Count(2, 2, 3);
       return HotkeyExpect{r.Key(2), r.size() == 5 ? r.Flags(3) : 0, r.Text(r.size() - 1)};
     },
     ExpectHotkey},
    {"expect flightloops", "expect flightloops N", Role::Expect, ReadCount,
     [](ScenarioRun& run, const Directive& d) {
       CheckCount(run, d, run.host(d).flightLoops().count(kPluginUnderTest));
     }},
    {"expect tracker window", "expect tracker window HEX|none", Role::Expect, ReadTrackerWindow,
     ExpectTrackerWindow},
    {"expect messages", "expect messages SIGNATURE N", Role::Expect, ReadNamedCount,
     [](ScenarioRun& run, const Directive& d) {
       CheckCount(run, d, static_cast<long long>(Messages(run, d, d.as<CountExpect>().name).size()));
     }},
    {"expect message", "expect message SIGNATURE K NUMBER TEXT", Role::Expect,
     Fields<MessageExpect, &Reader::Text, Whole<"K", long long, 1>, Whole<"the message number", int, kIntMin>,
            &Reader::Text>,
     ExpectMessage},
    {"expect log contains|lacks|equals", "expect log contains|lacks|equals TEXT", Role::Expect, ReadLog,
     ExpectLog},
    {"expect debug contains|lacks", "expect debug contains|lacks TEXT", Role::Expect, ReadLog,
     [](ScenarioRun& run, const Directive& d) {
       CheckContains(run, d, d.as<LogExpect>().text, run.host(d).debug().text(), "debugger output");
     }},
    {"expect file _ size", "expect file PATH size N", Role::Expect,
     Fields<CountExpect, &Reader::Text, Whole<"the size">>, ExpectFileSize},
    {"expect file _ bytes", "expect file PATH bytes HEX", Role::Expect,
     [](const Reader& r) -> Args {
       r.Count(2, 3, 100000);
       return FileText{r.Text(2), r.Bytes(4)};
     },
     ExpectFileBytes},
    {"expect file _ absent", "expect file PATH absent", Role::Expect, ReadName,
     [](ScenarioRun& run, const Directive& d) {
       std::error_code ec;
       run.Check(d, !fs::exists(run.host(d).resolve(d.as<Named>().name), ec), "the file exists");
     }},
    {"expect file _ contains", "expect file PATH contains TEXT", Role::Expect,
     Fields<FileText, &Reader::Text, &Reader::Text>, ExpectFileContains},
};

}  // namespace

const std::span<const DirectiveType> kExpectDirectives = kExpect;

}  // namespace sim::scenario
