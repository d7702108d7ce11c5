#include "parser.h"

#include <cmath>
#include <limits>

#include "keys.h"
#include "values.h"

namespace sim::scenario {
namespace {

// One line being read into a directive; every complaint names the line.
class Reader {
 public:
  explicit Reader(const Line& line) : line_(line), args_(line.args) { FoldWidgetKind(); }

  [[noreturn]] void Fail(const std::string& message) const { throw ScenarioError(line_.number, message); }

  std::size_t size() const { return args_.size(); }
  // Arguments from `first` on must number between min and max; otherwise the usage is shown.
  void Count(std::size_t first, std::size_t min, std::size_t max, std::string_view usage) const {
    const std::size_t n = size() - first;
    if (n < min || n > max) {
      Fail("wrong number of arguments, expected: " + std::string(usage));
    }
  }
  const Arg& At(std::size_t i) const { return args_.at(i); }
  bool IsWord(std::size_t i, std::string_view word) const {
    return i < size() && !At(i).quoted && !At(i).ordinal && At(i).text == word;
  }

  std::string Text(std::size_t i) const {
    if (At(i).ordinal) Fail("\"...\"#K only names a widget: " + Written(i));
    return At(i).text;
  }
  std::string Written(std::size_t i) const {
    const Arg& arg = At(i);
    std::string text = arg.quoted ? "\"" + arg.text + "\"" : arg.text;
    if (arg.ordinal) text += "#" + std::to_string(*arg.ordinal);
    return !kindWord_.empty() && i == kindAt_ ? kindWord_ + " " + text : text;
  }

  long long Integer(std::size_t i, std::string_view what, long long min,
                    long long max = std::numeric_limits<long long>::max()) const {
    const std::optional<long long> value = ParseInteger(Text(i));
    if (!value) Fail(std::string(what) + " must be a whole number, not " + Written(i));
    if (*value < min || *value > max) {
      Fail(std::string(what) + " must be " +
           (max == std::numeric_limits<long long>::max()
                ? "at least " + std::to_string(min)
                : "from " + std::to_string(min) + " to " + std::to_string(max)) +
           ", not " + Written(i));
    }
    return *value;
  }

  double Decimal(std::string_view text, std::string_view what, std::size_t i) const {
    const std::optional<double> value = ParseDecimal(text);
    if (!value)
      Fail(std::string(what) + " must be a number (with \".\" as the decimal point), not " + Written(i));
    return *value;
  }

  DataRefName DataRef(std::size_t i) const {
    DataRefName result;
    result.written = Text(i);
    std::string_view text = result.written;
    if (text.empty()) Fail("a dataref name is empty");
    const std::size_t open = text.find('[');
    if (open != std::string_view::npos) {
      if (text.back() != ']' || open == 0)
        Fail("a dataref element is written NAME[INDEX], not " + result.written);
      const std::optional<long long> index = ParseInteger(text.substr(open + 1, text.size() - open - 2));
      if (!index || *index < 0 || *index > std::numeric_limits<int>::max()) {
        Fail("a dataref element index must be a whole number from 0, not " + result.written);
      }
      result.index = static_cast<int>(*index);
      text = text.substr(0, open);
    }
    result.name = std::string(text);
    return result;
  }

  WidgetName Widget(std::size_t i) const {
    const Arg& arg = At(i);
    WidgetName result;
    result.written = Written(i);
    if (!arg.quoted && arg.text.starts_with("@")) {
      const std::string_view rest = std::string_view(arg.text).substr(1);
      const std::size_t comma = rest.find(',');
      const std::optional<long long> dl = ParseInteger(rest.substr(0, comma));
      const std::optional<long long> dt =
          comma == std::string_view::npos ? std::nullopt : ParseInteger(rest.substr(comma + 1));
      if (!dl || !dt || std::llabs(*dl) > 100000 || std::llabs(*dt) > 100000) {
        Fail("a widget by position is written @DL,DT, not " + result.written);
      }
      result.byOffset = true;
      result.dl = static_cast<int>(*dl);
      result.dt = static_cast<int>(*dt);
      return result;
    }
    result.caption = arg.text;
    result.ordinal = arg.ordinal.value_or(1);
    if (!kindWord_.empty() && i == kindAt_) result.kind = kind_;
    return result;
  }

  std::string Bytes(std::size_t first) const {
    std::string hex;
    for (std::size_t i = first; i < size(); ++i) hex += Text(i) + " ";
    const std::optional<std::string> bytes = ParseHexBytes(hex);
    if (!bytes) Fail("bytes must be hexadecimal pairs, not " + hex.substr(0, hex.size() - 1));
    return *bytes;
  }

  int Key(std::size_t i) const {
    const std::optional<int> code = KeyCode(Text(i));
    if (!code) Fail("unknown key " + Written(i));
    return *code;
  }

  int Flags(std::size_t i) const {
    const std::optional<int> flags = KeyFlags(Text(i));
    if (!flags) Fail("unknown modifiers " + Written(i) + " (SHIFT, ALT, CONTROL, DOWN, UP joined by +)");
    return *flags;
  }

  // The modifiers a key is pressed with: the host sends DOWN and UP itself.
  int Modifiers(std::size_t i) const {
    const int flags = Flags(i);
    if ((flags & kDownAndUpFlags) != 0)
      Fail("a key is pressed with SHIFT, ALT and CONTROL only, not " + Written(i) +
           ": the host sends DOWN and UP");
    return flags;
  }

  // One of the words; fails with them listed.
  std::string OneOf(std::size_t i, std::initializer_list<std::string_view> words) const {
    const std::string text = Text(i);
    std::string list;
    for (const std::string_view word : words) {
      if (text == word) return text;
      list += (list.empty() ? "" : ", ") + std::string(word);
    }
    Fail("expected one of " + list + ", not " + Written(i));
  }

 private:
  // A kind word and the quoted label after it, where a directive names its widget, read as one argument so
  // that the arguments after them keep their places.
  void FoldWidgetKind() {
    const bool widgetWord = args_.size() > 1 && !args_[1].quoted && args_[1].text == "widget";
    const std::string first = args_.empty() || args_[0].quoted ? "" : args_[0].text;
    const std::size_t at = first == "click" || first == "type"                     ? 2
                           : (first == "expect" || first == "print") && widgetWord ? 3
                                                                                   : 0;
    if (at == 0 || at + 1 >= args_.size() || args_[at].quoted || !args_[at + 1].quoted) return;
    const std::string& word = args_[at].text;
    const WidgetKind kind = word == "button"    ? WidgetKind::Button
                            : word == "field"   ? WidgetKind::Field
                            : word == "box"     ? WidgetKind::Box
                            : word == "caption" ? WidgetKind::Caption
                                                : WidgetKind::Any;
    if (kind == WidgetKind::Any) return;
    kind_ = kind;
    kindWord_ = word;
    kindAt_ = at;
    args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(at));
  }

  const Line& line_;
  std::vector<Arg> args_;
  WidgetKind kind_ = WidgetKind::Any;
  std::string kindWord_;
  std::size_t kindAt_ = 0;
};

// `{DATAREF}` and `{DATAREF:DECIMALS}` in a text to say are filled in when it is said; their form is checked
// here.
void CheckPlaceholders(const Reader& r, std::string_view text) {
  for (const Placeholder& p : FindPlaceholders(text)) {
    if (!p.valid) r.Fail("a value to say is written {DATAREF} or {DATAREF:DECIMALS}, not " + p.written);
  }
}

void ParseSetValues(const Reader& r, std::size_t i, Directive& d) {
  const std::string text = r.Text(i);
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    d.values.push_back(r.Decimal(std::string_view(text).substr(start, comma - start), "a value", i));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (d.values.size() > 1 && d.datarefs.front().index)
    r.Fail("a list of values sets a whole array, not one element");
}

void ParseTrackerFrame(const Reader& r, Directive& d) {
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
      (field == "status" ? d.frame.status : d.frame.number) = *n;
      continue;
    }
    std::optional<double>* target = field == "roll"      ? &d.frame.roll
                                    : field == "pitch"   ? &d.frame.pitch
                                    : field == "heading" ? &d.frame.heading
                                    : field == "x"       ? &d.frame.x
                                    : field == "y"       ? &d.frame.y
                                    : field == "z"       ? &d.frame.z
                                                         : nullptr;
    if (target == nullptr) {
      r.Fail("unknown tracker frame field " + field + " (status, number, roll, pitch, heading, x, y, z)");
    }
    *target = r.Decimal(value, field, i);
  }
}

void ParseExpect(const Reader& r, Directive& d) {
  if (r.size() < 2)
    r.Fail("expect what? expected: expect DATAREF VALUE [~TOL], expect widget ..., expect log ...");
  if (r.IsWord(1, "widget")) {
    r.Count(2, 3, 4, "expect widget WINDOW WIDGET text TEXT|state N|visible|hidden");
    d.name = r.Text(2);
    d.widget = r.Widget(3);
    const std::string what = r.OneOf(4, {"text", "state", "visible", "hidden"});
    const std::size_t extra = what == "text" || what == "state" ? 1 : 0;
    if (r.size() != 5 + extra)
      r.Fail("wrong number of arguments, expected: expect widget WINDOW WIDGET " + what +
             (extra != 0 ? (what == "text" ? " TEXT" : " N") : ""));
    if (what == "text") {
      d.op = Op::ExpectWidgetText;
      d.text = r.Text(5);
    } else if (what == "state") {
      d.op = Op::ExpectWidgetState;
      d.count = r.Integer(5, "the state", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    } else {
      d.op = what == "visible" ? Op::ExpectWidgetVisible : Op::ExpectWidgetHidden;
    }
  } else if (r.IsWord(1, "window")) {
    r.Count(2, 2, 2, "expect window WINDOW visible|hidden|absent");
    d.op = Op::ExpectWindow;
    d.name = r.Text(2);
    d.state = r.OneOf(3, {"visible", "hidden", "absent"});
  } else if (r.IsWord(1, "menu")) {
    r.Count(2, 3, 3, "expect menu TITLE ITEM enabled|disabled|absent, or expect menu TITLE items N");
    d.name = r.Text(2);
    const std::string last = r.Text(4);
    if (r.IsWord(3, "items") && last != "enabled" && last != "disabled" && last != "absent") {
      d.op = Op::ExpectMenuItems;
      d.count = r.Integer(4, "the number of items", 0);
    } else {
      d.op = Op::ExpectMenuItem;
      d.item = r.Text(3);
      d.state = r.OneOf(4, {"enabled", "disabled", "absent"});
    }
  } else if (r.IsWord(1, "command")) {
    r.Count(2, 2, 2, "expect command NAME exists|absent");
    d.op = Op::ExpectCommand;
    d.name = r.Text(2);
    d.state = r.OneOf(3, {"exists", "absent"});
  } else if (r.IsWord(1, "feature")) {
    r.Count(2, 2, 2, "expect feature NAME on|off|absent");
    d.op = Op::ExpectFeature;
    d.name = r.Text(2);
    d.state = r.OneOf(3, {"on", "off", "absent"});
  } else if (r.IsWord(1, "handlers") || r.IsWord(1, "sim-action") || r.IsWord(1, "messages")) {
    const std::string what = r.Text(1);
    r.Count(2, 2, 2, what == "messages" ? "expect messages SIGNATURE N" : "expect " + what + " NAME N");
    d.op = what == "handlers"     ? Op::ExpectHandlers
           : what == "sim-action" ? Op::ExpectSimAction
                                  : Op::ExpectMessages;
    d.name = r.Text(2);
    d.count = r.Integer(3, "the count", 0);
  } else if (r.IsWord(1, "hotkeys") || r.IsWord(1, "flightloops")) {
    r.Count(2, 1, 1, "expect " + r.Text(1) + " N");
    d.op = r.IsWord(1, "hotkeys") ? Op::ExpectHotkeys : Op::ExpectFlightLoops;
    d.count = r.Integer(2, "the count", 0);
  } else if (r.IsWord(1, "tracker")) {
    r.Count(2, 2, 2, "expect tracker window HEX|none");
    r.OneOf(2, {"window"});
    d.op = Op::ExpectTrackerWindow;
    if (r.Text(3) == "none") {
      d.state = "none";
    } else {
      const std::optional<long long> handle = ParseInteger(r.Text(3));
      if (!handle || *handle < 0) r.Fail("the window handle must be a number such as 0x200001234, or none");
      d.number = *handle;
    }
  } else if (r.IsWord(1, "hotkey")) {
    r.Count(2, 2, 3, "expect hotkey KEY [MODS] DESCRIPTION");
    d.op = Op::ExpectHotkey;
    d.count = r.Key(2);
    d.number = r.size() == 5 ? r.Flags(3) : 0;
    d.item = r.Text(r.size() - 1);
  } else if (r.IsWord(1, "message")) {
    r.Count(2, 4, 4, "expect message SIGNATURE K NUMBER TEXT");
    d.op = Op::ExpectMessage;
    d.name = r.Text(2);
    d.count = r.Integer(3, "K", 1);
    d.number =
        r.Integer(4, "the message number", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    d.item = r.Text(5);
  } else if (r.IsWord(1, "log")) {
    r.Count(2, 2, 2, "expect log contains|lacks|equals TEXT");
    const std::string how = r.OneOf(2, {"contains", "lacks", "equals"});
    d.op = how == "contains" ? Op::ExpectLogContains
           : how == "lacks"  ? Op::ExpectLogLacks
                             : Op::ExpectLogEquals;
    d.text = r.Text(3);
  } else if (r.IsWord(1, "debug")) {
    r.Count(2, 2, 2, "expect debug contains|lacks TEXT");
    d.op = r.OneOf(2, {"contains", "lacks"}) == "contains" ? Op::ExpectDebugContains : Op::ExpectDebugLacks;
    d.text = r.Text(3);
  } else if (r.IsWord(1, "file")) {
    r.Count(2, 2, 100000, "expect file PATH size N|bytes HEX|absent|contains TEXT");
    d.name = r.Text(2);
    const std::string what = r.OneOf(3, {"size", "bytes", "absent", "contains"});
    if (what == "absent") {
      r.Count(2, 2, 2, "expect file PATH absent");
      d.op = Op::ExpectFileAbsent;
    } else if (what == "bytes") {
      r.Count(2, 3, 100000, "expect file PATH bytes HEX");
      d.op = Op::ExpectFileBytes;
      d.text = r.Bytes(4);
    } else {
      r.Count(2, 3, 3, "expect file PATH " + what + (what == "size" ? " N" : " TEXT"));
      d.op = what == "size" ? Op::ExpectFileSize : Op::ExpectFileContains;
      if (what == "size") {
        d.count = r.Integer(4, "the size", 0);
      } else {
        d.text = r.Text(4);
      }
    }
  } else {
    // expect [prefs] DATAREF VALUE [~TOL]
    const std::size_t at = r.IsWord(1, "prefs") ? 2 : 1;
    r.Count(at, 2, 3, at == 2 ? "expect prefs DATAREF VALUE [~TOL]" : "expect DATAREF VALUE [~TOL]");
    d.op = at == 2 ? Op::ExpectPrefs : Op::ExpectDataRef;
    d.datarefs.push_back(r.DataRef(at));
    d.values.push_back(r.Decimal(r.Text(at + 1), "the expected value", at + 1));
    if (r.size() == at + 3) {
      const std::string tolerance = r.Text(at + 2);
      if (!tolerance.starts_with("~")) r.Fail("a tolerance is written ~TOL, not " + r.Written(at + 2));
      d.tolerance = r.Decimal(std::string_view(tolerance).substr(1), "the tolerance", at + 2);
      if (!(*d.tolerance >= 0)) r.Fail("the tolerance must not be negative");
    }
  }
}

// udp free-port | hold PORT | send PORT X Y Z YAW PITCH ROLL | send-bytes PORT HEX | stream PORT N X Y Z YAW
// PITCH ROLL | flood PORT N
void ParseUdp(const Reader& r, Directive& d) {
  constexpr std::string_view usage =
      "udp free-port, udp hold PORT, udp send PORT X Y Z YAW PITCH ROLL, udp send-bytes PORT HEX or "
      "udp stream PORT N X Y Z YAW PITCH ROLL or udp flood PORT N";
  if (r.size() < 2) r.Fail("udp what? expected: " + std::string(usage));
  const std::string how = r.OneOf(1, {"free-port", "hold", "send", "send-bytes", "stream", "flood"});
  if (how == "free-port") {
    r.Count(2, 0, 0, "udp free-port");
    d.op = Op::UdpFreePort;
    return;
  }
  if (r.size() < 3) r.Fail("wrong number of arguments, expected: " + std::string(usage));
  d.name = r.Text(2);
  if (d.name != kUdpPortName) r.Integer(2, "PORT", 1, 65535);
  std::size_t pose = 3;
  if (how == "hold") {
    r.Count(2, 1, 1, "udp hold PORT");
    d.op = Op::UdpHold;
    return;
  }
  if (how == "send-bytes") {
    r.Count(2, 2, 100000, "udp send-bytes PORT HEX");
    d.op = Op::UdpSendBytes;
    d.text = r.Bytes(3);
    return;
  }
  if (how == "flood") {
    r.Count(2, 2, 2, "udp flood PORT N");
    d.op = Op::UdpFlood;
    d.count = r.Integer(3, "N", 1, 100000);
    return;
  }
  if (how == "stream") {
    r.Count(2, 8, 8, "udp stream PORT N X Y Z YAW PITCH ROLL");
    d.op = Op::UdpStream;
    d.cycles = r.Integer(3, "N", 0);
    pose = 4;
  } else {
    r.Count(2, 7, 7, "udp send PORT X Y Z YAW PITCH ROLL");
    d.op = Op::UdpSend;
  }
  for (std::size_t i = pose; i < r.size(); ++i) d.values.push_back(r.Decimal(r.Text(i), "a pose value", i));
}

Directive ParseLine(const Line& line) {
  const Reader r(line);
  Directive d;
  d.line = line.number;
  d.source = line.source;
  const std::string word = r.Text(0);
  auto one = [&](Op op, std::string_view usage) {
    r.Count(1, 1, 1, usage);
    d.op = op;
    d.name = r.Text(1);
  };
  auto none = [&](Op op) {
    r.Count(1, 0, 0, word);
    d.op = op;
  };

  if (word == "root") {
    one(Op::Root, "root DIR");
  } else if (word == "write") {
    r.Count(1, 2, 2, "write PATH TEXT");
    d.op = Op::Write;
    d.name = r.Text(1);
    d.text = r.Text(2);
  } else if (word == "write-bytes") {
    r.Count(1, 1, 100000, "write-bytes PATH HEX");
    d.op = Op::WriteBytes;
    d.name = r.Text(1);
    d.text = r.Bytes(2);
  } else if (word == "remove") {
    one(Op::Remove, "remove PATH");
  } else if (word == "readonly") {
    one(Op::ReadOnly, "readonly PATH");
  } else if (word == "writable") {
    one(Op::Writable, "writable PATH");
  } else if (word == "disk-full") {
    r.Count(1, 0, 1, "disk-full [BYTES] or disk-full off");
    d.op = Op::DiskFull;
    if (r.size() == 1) {
      d.diskBytes = 0;
    } else if (!r.IsWord(1, "off")) {
      d.diskBytes = static_cast<std::uint64_t>(r.Integer(1, "BYTES", 0));
    }
  } else if (word == "aircraft") {
    one(Op::Aircraft, "aircraft PATH");
  } else if (word == "stub-plugin") {
    one(Op::StubPlugin, "stub-plugin SIGNATURE");
  } else if (word == "load-plugin") {
    one(Op::LoadPlugin, "load-plugin PATH");
  } else if (word == "fps") {
    r.Count(1, 1, 1, "fps N");
    d.op = Op::Fps;
    d.count = r.Integer(1, "fps", 1, 100000);
  } else if (word == "only") {
    r.Count(1, 1, 1, "only linux|windows|all");
    d.op = Op::Only;
    d.name = r.OneOf(1, {"linux", "windows", "all"});
  } else if (word == "no-command-functions") {
    none(Op::NoCommandFunctions);
  } else if (word == "no-feature") {
    one(Op::NoFeature, "no-feature NAME");
  } else if (word == "simulator") {
    r.Count(1, 1, 1, "simulator xp12|older");
    d.op = Op::Simulator;
    d.name = r.OneOf(1, {"xp12", "older"});
  } else if (word == "tracker-library") {
    one(Op::TrackerLibrary, "tracker-library DIR");
  } else if (word == "no-tracker") {
    none(Op::NoTracker);
  } else if (word == "start") {
    none(Op::Start);
  } else if (word == "stop") {
    none(Op::Stop);
  } else if (word == "disable-plugin" || word == "enable-plugin") {
    const bool disable = word == "disable-plugin";
    r.Count(1, 0, 1, disable ? "disable-plugin [NAME]" : "enable-plugin [NAME]");
    d.op = disable ? Op::DisablePlugin : Op::EnablePlugin;
    if (r.size() == 2) d.name = r.Text(1);
  } else if (word == "write-prefs") {
    none(Op::WritePrefs);
  } else if (word == "quit") {
    none(Op::Quit);
  } else if (word == "plane-loaded") {
    r.Count(1, 0, 1, "plane-loaded [INDEX]");
    d.op = Op::PlaneLoaded;
    if (r.size() == 2) d.count = r.Integer(1, "INDEX", 0, std::numeric_limits<int>::max());
  } else if (word == "frames") {
    r.Count(1, 1, 1, "frames N");
    d.op = Op::Frames;
    d.count = r.Integer(1, "N", 0);
  } else if (word == "seconds") {
    r.Count(1, 1, 1, "seconds S");
    d.op = Op::Seconds;
    d.seconds = r.Decimal(r.Text(1), "S", 1);
    if (!(d.seconds >= 0) || !std::isfinite(d.seconds)) r.Fail("S must be a finite number from 0");
  } else if (word == "command") {
    r.Count(1, 2, 3, "command begin|end|once NAME, or command hold NAME N");
    const std::string how = r.OneOf(1, {"begin", "end", "once", "hold"});
    d.name = r.Text(2);
    if (how == "hold") {
      r.Count(1, 3, 3, "command hold NAME N");
      d.op = Op::CommandHold;
      d.count = r.Integer(3, "N", 0);
    } else {
      r.Count(1, 2, 2, "command " + how + " NAME");
      d.op = how == "begin" ? Op::CommandBegin : how == "end" ? Op::CommandEnd : Op::CommandOnce;
    }
  } else if (word == "key" && r.IsWord(1, "hold")) {
    r.Count(2, 2, 3, "key hold KEY [MODS] N");
    d.op = Op::KeyHold;
    d.count = r.Key(2);
    if (r.size() == 5) d.number = r.Modifiers(3);
    d.cycles = r.Integer(r.size() - 1, "N", 0);
  } else if (word == "key") {
    r.Count(1, 1, 2, "key KEY [MODS], or key hold KEY [MODS] N");
    d.op = Op::Key;
    d.count = r.Key(1);
    if (r.size() == 3) d.number = r.Modifiers(2);
  } else if (word == "menu") {
    r.Count(1, 2, 2, "menu TITLE ITEM");
    d.op = Op::Menu;
    d.name = r.Text(1);
    d.item = r.Text(2);
  } else if (word == "click") {
    r.Count(1, 2, 2, "click WINDOW WIDGET");
    d.op = Op::Click;
    d.name = r.Text(1);
    d.widget = r.Widget(2);
  } else if (word == "type") {
    r.Count(1, 3, 3, "type WINDOW WIDGET TEXT");
    d.op = Op::Type;
    d.name = r.Text(1);
    d.widget = r.Widget(2);
    d.text = r.Text(3);
  } else if (word == "close") {
    one(Op::Close, "close WINDOW");
  } else if (word == "set") {
    r.Count(1, 2, 2, "set DATAREF VALUE (DATAREF[i] for an element, VALUE,VALUE,... for an array)");
    d.op = Op::Set;
    d.datarefs.push_back(r.DataRef(1));
    ParseSetValues(r, 2, d);
  } else if (word == "tracker") {
    if (r.size() < 2) r.Fail("tracker what? expected: tracker frame|fail|missing|version|registry-value ...");
    const std::string how = r.OneOf(1, {"frame", "fail", "missing", "version", "registry-value"});
    if (how == "frame") {
      d.op = Op::TrackerFrame;
      ParseTrackerFrame(r, d);
    } else if (how == "fail") {
      r.Count(2, 1, 2, "tracker fail ENTRY [RESULT]");
      d.op = Op::TrackerFail;
      d.name = r.Text(2);
      d.number = r.size() == 4 ? r.Integer(3, "RESULT", std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max())
                               : 1;
    } else if (how == "registry-value") {
      r.Count(2, 1, 1, "tracker registry-value empty|long|binary|number");
      d.op = Op::TrackerRegistryValue;
      d.name = r.OneOf(2, {"empty", "long", "binary", "number"});
    } else if (how == "missing") {
      r.Count(2, 1, 1, "tracker missing ENTRY");
      d.op = Op::TrackerMissing;
      d.name = r.Text(2);
    } else {
      r.Count(2, 1, 1, "tracker version HEX");
      d.op = Op::TrackerVersion;
      std::string hex = r.Text(2);
      if (!hex.starts_with("0x") && !hex.starts_with("0X")) hex = "0x" + hex;
      const std::optional<long long> version = ParseInteger(hex);
      if (!version || *version < 0 || *version > 0xFFFF) {
        r.Fail("the version must be hexadecimal from 0 to FFFF, not " + r.Written(2));
      }
      d.number = *version;
    }
  } else if (word == "udp") {
    ParseUdp(r, d);
  } else if (word == "render") {
    r.Count(1, 1, 2, "render FILE.svg [WINDOW]");
    d.op = Op::Render;
    d.name = r.Text(1);
    if (!d.name.ends_with(".svg")) r.Fail("a picture is written to a FILE.svg, not " + r.Written(1));
    if (r.size() == 3) d.item = r.Text(2);
  } else if (word == "step" || word == "say") {
    r.Count(1, 1, 1, word == "step" ? "step TITLE" : "say TEXT");
    d.op = word == "step" ? Op::Step : Op::Say;
    d.text = r.Text(1);
    CheckPlaceholders(r, d.text);
  } else if (word == "print") {
    if (r.IsWord(1, "widget")) {
      r.Count(2, 2, 2, "print widget WINDOW WIDGET");
      d.op = Op::PrintWidget;
      d.name = r.Text(2);
      d.widget = r.Widget(3);
    } else if (r.IsWord(1, "log")) {
      r.Count(2, 0, 0, "print log");
      d.op = Op::PrintLog;
    } else {
      r.Count(1, 1, 100000, "print DATAREF..., print widget WINDOW WIDGET or print log");
      d.op = Op::PrintDataRefs;
      for (std::size_t i = 1; i < r.size(); ++i) d.datarefs.push_back(r.DataRef(i));
    }
  } else if (word == "expect") {
    ParseExpect(r, d);
  } else {
    r.Fail("unknown directive " + r.Written(0));
  }
  return d;
}

}  // namespace

bool IsExpectation(Op op) {
  return op >= Op::ExpectDataRef;
}

bool IsEvent(Op op) {
  switch (op) {
    case Op::Start:
    case Op::Stop:
    case Op::PlaneLoaded:
    case Op::DisablePlugin:
    case Op::EnablePlugin:
    case Op::WritePrefs:
    case Op::Quit:
    case Op::CommandBegin:
    case Op::CommandEnd:
    case Op::CommandOnce:
    case Op::CommandHold:
    case Op::Key:
    case Op::KeyHold:
    case Op::Menu:
    case Op::Click:
    case Op::Type:
    case Op::Close:
    case Op::Set:
    case Op::TrackerFrame:
    case Op::Step:
    case Op::UdpSend:
    case Op::UdpSendBytes:
    case Op::UdpStream:
    case Op::UdpFlood:
      return true;
    default:
      return false;
  }
}

std::vector<Directive> Parse(const std::vector<Line>& lines) {
  std::vector<Directive> directives;
  directives.reserve(lines.size());
  for (const Line& line : lines) directives.push_back(ParseLine(line));
  return directives;
}

std::vector<Directive> Parse(std::string_view text) {
  return Parse(Lex(text));
}

}  // namespace sim::scenario

namespace sim::scenario {

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

}  // namespace sim::scenario
