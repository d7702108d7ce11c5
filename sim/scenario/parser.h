// The directives of a scenario, checked for their form before anything runs: names, argument counts,
// numbers, key names and byte strings. What depends on the simulator (a dataref's existence, a widget) is
// checked when the directive runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexer.h"

namespace sim::scenario {

enum class Op {
  // Simulator set-up.
  Root,
  Write,
  WriteBytes,
  Remove,
  ReadOnly,
  Writable,
  DiskFull,
  Aircraft,
  StubPlugin,
  LoadPlugin,
  Fps,
  Only,
  NoCommandFunctions,
  NoFeature,
  Simulator,
  TrackerLibrary,
  NoTracker,
  // Plugin life.
  Start,
  Stop,
  PlaneLoaded,
  DisablePlugin,
  EnablePlugin,
  WritePrefs,
  Quit,
  // Time and input.
  Frames,
  Seconds,
  CommandBegin,
  CommandEnd,
  CommandOnce,
  CommandHold,
  Key,
  KeyHold,
  Menu,
  Click,
  Type,
  Close,
  Set,
  TrackerFrame,
  TrackerFail,
  TrackerMissing,
  TrackerVersion,
  TrackerRegistryValue,
  UdpFreePort,
  UdpHold,
  UdpSend,
  UdpSendBytes,
  UdpStream,
  UdpFlood,
  Render,
  Step,
  Say,
  PrintDataRefs,
  PrintWidget,
  PrintLog,
  // Expectations.
  ExpectDataRef,
  ExpectWidgetText,
  ExpectWidgetState,
  ExpectWidgetVisible,
  ExpectWidgetHidden,
  ExpectWindow,
  ExpectMenuItem,
  ExpectMenuItems,
  ExpectCommand,
  ExpectFeature,
  ExpectHandlers,
  ExpectSimAction,
  ExpectHotkeys,
  ExpectHotkey,
  ExpectFlightLoops,
  ExpectTrackerWindow,
  ExpectMessages,
  ExpectMessage,
  ExpectLogContains,
  ExpectLogLacks,
  ExpectLogEquals,
  ExpectDebugContains,
  ExpectDebugLacks,
  ExpectFileSize,
  ExpectFileBytes,
  ExpectFileAbsent,
  ExpectFileContains,
  ExpectPrefs,
};

bool IsExpectation(Op op);
// Directives that give the plugin input or change its life; they are the events of a plot.
bool IsEvent(Op op);

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

struct Directive {
  int line = 0;
  std::string source;
  Op op = Op::Start;
  std::string name;   // path, command, menu title, signature, window caption, tracker entry, platform
  std::string item;   // menu item, hotkey description, message text
  std::string text;   // text or bytes to write, type or look for
  std::string state;  // visible, hidden, absent, enabled, disabled, exists
  WidgetName widget;
  std::vector<DataRefName> datarefs;  // set and expect: one; print: any number
  std::vector<double> values;         // set: one or a whole array; expect: one
  std::optional<double> tolerance;
  long long count =
      0;  // frames, fps, cycles held, expected counts and sizes, message K, plane index, key code
  long long number = 0;  // message number, key flags, tracker result and version
  long long cycles = 0;  // key hold: cycles held
  double seconds = 0;
  std::optional<std::uint64_t> diskBytes;  // disk-full; nullopt: off
  TrackerFields frame;
};

// A `{DATAREF}` or `{DATAREF:DECIMALS}` in a text to say: where it stands and what it names.
struct Placeholder {
  std::size_t at = 0, length = 0;
  std::string written;
  bool valid = false;
  std::string dataref;
  int decimals = -1;  // -1: as `print` shows it
};
std::vector<Placeholder> FindPlaceholders(std::string_view text);

// Stands for the port `udp free-port` chose, in the texts of the directives after it.
inline constexpr std::string_view kUdpPortName = "$UDP_PORT";

// Throws ScenarioError naming the line.
std::vector<Directive> Parse(const std::vector<Line>& lines);
std::vector<Directive> Parse(std::string_view text);

}  // namespace sim::scenario
