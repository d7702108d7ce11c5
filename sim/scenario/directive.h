// A directive of the scenario language: the entry that reads and runs it, its arguments and their reader.
// Each family of directives (setup, plugin life, time and input, tracker, UDP, output, expectations) keeps
// its entries in a table of its own file; the registry joins the tables in one explicit list.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "lexer.h"

namespace sim::scenario {

class ScenarioRun;
struct DirectiveType;

// "NAME" or "NAME[i]".
struct DataRefName {
  std::string name;
  std::optional<int> index;
  std::string written;
};

// What a widget named by a kind word is: `button "CAPTION"` is the button with that caption, the other
// kinds carry no caption of their own and are named by the label ("LABEL", a caption or a button) they stand
// beside on its row.
enum class WidgetKind { Any, Button, Field, Box, Caption };

// "CAPTION", "CAPTION"#K, KIND "LABEL", KIND "LABEL"#K or @DL,DT.
struct WidgetName {
  WidgetKind kind = WidgetKind::Any;
  std::string caption;  // the caption, or with a kind other than Button the label
  int ordinal = 1;
  bool byOffset = false;
  int dl = 0, dt = 0;
  std::string written;
};

// The fields a `tracker frame` gives; the others stay as in the previous frame.
struct TrackerFields {
  std::optional<long long> status, number;
  std::optional<double> roll, pitch, heading, x, y, z;
};

struct NoArgs {};
// A path, signature, command, window caption, tracker entry or one word of a fixed set.
struct Named {
  std::string name;
};
struct FileText {
  std::string path;
  std::string text;  // written, or looked for
};
struct DiskFull {
  std::optional<std::uint64_t> bytes;  // nullopt: off
};
struct Fps {
  int fps = 0;
};
struct PlaneIndex {
  int index = 0;
};
struct Frames {
  long long cycles = 0;
};
struct Seconds {
  double seconds = 0;
};
struct CommandHold {
  std::string command;
  long long cycles = 0;
};
struct KeyPress {
  int key = 0;
  int modifiers = 0;
  long long cycles = 0;  // held, for `key hold`
};
struct MenuPick {
  std::string title, item;
};
struct WidgetTarget {
  std::string window;
  WidgetName widget;
};
// A text typed into a widget, or expected as its descriptor.
struct WidgetText {
  std::string window;
  WidgetName widget;
  std::string text;
};
struct SetValues {
  DataRefName ref;
  std::vector<double> values;  // one, or a whole array
};
struct TrackerFail {
  std::string entry;
  int result = 1;
};
struct TrackerVersion {
  std::uint16_t version = 0;
};
struct UdpPort {
  std::string port;  // a number, or the chosen port's name
};
struct UdpPose {
  std::string port;
  std::array<double, 6> pose{};
  long long cycles = 0;  // streamed, for `udp stream`
};
struct UdpBytes {
  std::string port;
  std::string bytes;
};
struct UdpFlood {
  std::string port;
  long long poses = 0;
};
struct Picture {
  std::string file;
  std::string window;  // empty: the whole screen
};
struct Text {
  std::string text;
};
struct DataRefList {
  std::vector<DataRefName> refs;
};
struct ValueExpect {
  DataRefName ref;
  double value = 0;
  std::optional<double> tolerance;
};
struct WidgetStateExpect {
  std::string window;
  WidgetName widget;
  int state = 0;
};
struct WidgetShownExpect {
  std::string window;
  WidgetName widget;
  bool visible = true;
};
// A window, command or feature and the state it is expected in.
struct StateExpect {
  std::string name, state;
};
struct MenuItemExpect {
  std::string title, item, state;
};
// How many of something (a command's handlers, hotkeys, a stub's messages) are expected.
struct CountExpect {
  std::string name;
  long long count = 0;
};
struct TrackerWindowExpect {
  std::optional<std::uint64_t> handle;  // nullopt: none
};
struct HotkeyExpect {
  int key = 0;
  int flags = 0;
  std::string description;
};
struct MessageExpect {
  std::string signature;
  long long k = 1;
  long long number = 0;
  std::string text;
};
struct LogExpect {
  std::string how;  // contains, lacks or equals
  std::string text;
};

using Args = std::variant<NoArgs, Named, FileText, DiskFull, Fps, PlaneIndex, Frames, Seconds, CommandHold,
                          KeyPress, MenuPick, WidgetTarget, WidgetText, SetValues, TrackerFields, TrackerFail,
                          TrackerVersion, UdpPort, UdpPose, UdpBytes, UdpFlood, Picture, Text, DataRefList,
                          ValueExpect, WidgetStateExpect, WidgetShownExpect, StateExpect, MenuItemExpect,
                          CountExpect, TrackerWindowExpect, HotkeyExpect, MessageExpect, LogExpect>;

// One lexed line being read into a directive's arguments; every complaint names the line.
class Reader {
 public:
  explicit Reader(const Line& line);

  [[noreturn]] void Fail(const std::string& message) const;

  // The entry the line was matched to; its usage is what a wrong count shows.
  void Use(const DirectiveType& type);
  // How many words the entry's keyword has: its arguments follow them.
  std::size_t first() const { return first_; }
  // Where the entry's N arguments stand: in its keyword's words of a choice ("_" or "a|b"), then after it,
  // where there must be the rest of them (otherwise the usage is shown).
  std::vector<std::size_t> Places(std::size_t n) const;

  std::size_t size() const { return args_.size(); }
  const Arg& At(std::size_t i) const { return args_.at(i); }
  bool IsWord(std::size_t i, std::string_view word) const;
  // Arguments from `first` on must number between min and max; otherwise the usage (the entry's unless given)
  // is shown.
  void Count(std::size_t first, std::size_t min, std::size_t max, std::string_view usage = {}) const;

  std::string Text(std::size_t i) const;
  std::string Written(std::size_t i) const;
  long long Integer(std::size_t i, std::string_view what, long long min,
                    long long max = std::numeric_limits<long long>::max()) const;
  double Decimal(std::string_view text, std::string_view what, std::size_t i) const;
  DataRefName DataRef(std::size_t i) const;
  WidgetName Widget(std::size_t i) const;
  // The hexadecimal pairs of every argument from `first` on.
  std::string Bytes(std::size_t first) const;
  int Key(std::size_t i) const;
  int Flags(std::size_t i) const;
  // The modifiers a key is pressed with: the host sends DOWN and UP itself.
  int Modifiers(std::size_t i) const;
  // One of the words; fails with them listed.
  std::string OneOf(std::size_t i, std::initializer_list<std::string_view> words) const;

 private:
  void FoldWidgetKind();

  const Line& line_;
  std::vector<Arg> args_;
  WidgetKind kind_ = WidgetKind::Any;
  std::string kindWord_;
  std::size_t kindAt_ = 0;
  const DirectiveType* type_ = nullptr;
  std::size_t first_ = 1;
  std::vector<std::size_t> choices_;  // the keyword's words of a choice
};

// A directive's arguments read in their order into its own type T, each by its reader: a function of the
// Reader such as &Reader::Text, or a Whole.
template <class T, auto... read>
Args Fields(const Reader& r) {
  const std::vector<std::size_t> places = r.Places(sizeof...(read));
  [[maybe_unused]] std::size_t i = 0;
  return T{std::invoke(read, r, places[i++])...};
}

// The name of a number as its complaints give it, to be a template's argument.
template <std::size_t N>
struct What {
  char text[N];
  constexpr What(const char (&name)[N]) { std::copy_n(name, N, text); }
};

// The least int, where a Whole takes any.
inline constexpr int kIntMin = std::numeric_limits<int>::min();

// A whole number from MIN to MAX.
template <What what, class Int = long long, Int min = 0, Int max = std::numeric_limits<Int>::max()>
Int Whole(const Reader& r, std::size_t i) {
  return static_cast<Int>(r.Integer(i, what.text, min, max));
}

// The arguments of the many directives that take none, one NAME, or an optional NAME.
inline constexpr auto ReadNone = &Fields<NoArgs>;
inline constexpr auto ReadName = &Fields<Named, &Reader::Text>;
Args ReadOptionalName(const Reader& r);

// What a directive is to the run: an expectation is counted as skipped in a section of another platform,
// an event (input, the plugin's life, a step) marks the plot, a section runs even where its section skips.
enum class Role { Act, Event, Expect, Section };

struct Directive;

struct DirectiveType {
  // The words a line starts with: "_" stands for any argument, "a|b" for one of the words.
  std::string_view keyword;
  std::string_view usage;  // as the language's guide writes it
  Role role = Role::Act;
  Args (*parse)(const Reader& r) = nullptr;
  void (*run)(ScenarioRun& run, const Directive& d) = nullptr;
};

struct Directive {
  int line = 0;
  std::string source;
  std::vector<Arg> words;  // as written, so that a chosen port can be put in and the line read again
  const DirectiveType* type = nullptr;
  Args args;

  std::string_view keyword() const { return type->keyword; }
  template <class T>
  const T& as() const {
    return std::get<T>(args);
  }
};

// Each family's table, from its own file.
extern const std::span<const DirectiveType> kSetupDirectives, kPluginDirectives, kInputDirectives,
    kTrackerDirectives, kUdpDirectives, kOutputDirectives, kExpectDirectives;

// Every directive, family by family.
const std::vector<const DirectiveType*>& Directives();

}  // namespace sim::scenario
