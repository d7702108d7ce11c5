// Scenario texts run through the runner in this process against the SDK probe plugin, and talvenor-sim
// itself for its command line.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "XPStandardWidgets.h"
#include "runner.h"
#include "widget_names.h"

namespace sim::scenario {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int code = -1;
  std::string out, err;
  RunTotals totals;
  // How many printed lines contain the text.
  int Lines(std::string_view text) const {
    int n = 0;
    std::istringstream lines(out + err);
    for (std::string line; std::getline(lines, line);) n += line.find(text) != std::string::npos ? 1 : 0;
    return n;
  }
};

RunOptions ProbeOptions() {
  RunOptions options;
  options.plugin = TALVENOR_TEST_PLUGIN;
  return options;
}

Outcome RunScenario(std::string_view text, RunOptions options = ProbeOptions()) {
  Outcome outcome;
  std::ostringstream out, err;
  RunText(options, "t.scn", text, outcome.totals, out, err);
  outcome.code = ExitCode(outcome.totals);
  outcome.out = out.str();
  outcome.err = err.str();
  return outcome;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "runner-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return path_ / name;
  }

 private:
  fs::path path_;
};

TEST(ScenarioRun, FilesAndDataRefsPassAndFailWithWhatWasFound) {
  const Outcome o = RunScenario(R"(
write Output/a.txt "one\ntwo\n"
write-bytes Output/b.bin "00 ff" 7a
expect file Output/a.txt size 8
expect file Output/a.txt contains "two\n"
expect file Output/b.bin bytes 00ff7a
expect file Output/none.txt absent
remove Output/a.txt
expect file Output/a.txt absent
start
set probe/float_value 0.1
expect probe/float_value 0.1
expect probe/float_value 0.1000001 ~0.000001
set probe/float_array 1,2,3
expect probe/float_array[2] 3
set probe/int_array[1] 7
expect probe/int_array[1] 7
expect sim/graphics/view/view_type 1026
expect probe/float_value 0.2
expect file Output/b.bin size 4
expect probe/readonly_int nan
)");
  EXPECT_EQ(o.code, 1) << o.out << o.err;
  EXPECT_EQ(o.totals.passed, 10) << o.out;
  EXPECT_EQ(o.totals.failed, 3) << o.out;
  EXPECT_EQ(o.Lines("t.scn:19: FAIL expect probe/float_value 0.2: expected 0.2, found 0.1"), 1) << o.out;
  EXPECT_EQ(o.Lines("t.scn:20: FAIL expect file Output/b.bin size 4: expected 4, found 3"), 1) << o.out;
  EXPECT_EQ(o.Lines("t.scn:21: FAIL expect probe/readonly_int nan: expected nan, found 42"), 1) << o.out;
  EXPECT_EQ(o.Lines("t.scn:12: PASS expect probe/float_value 0.1"), 1) << o.out;
  EXPECT_TRUE(o.err.empty()) << o.err;
}

TEST(ScenarioRun, QuietPrintsOnlyFailures) {
  RunOptions options = ProbeOptions();
  options.quiet = true;
  const Outcome o = RunScenario(
      "expect sim/graphics/view/view_type 1026\nexpect sim/graphics/view/view_type 1000\n"
      "print sim/graphics/view/view_type\n",
      options);
  EXPECT_EQ(o.out, "t.scn:2: FAIL expect sim/graphics/view/view_type 1000: expected 1000, found 1026\n");
  EXPECT_EQ(o.code, 1);
}

TEST(ScenarioRun, ProblemsOfTheScenarioStopItWithExitTwo) {
  const std::pair<const char*, const char*> cases[] = {
      {"expect no/such/dataref 1", "t.scn:2: error: no dataref no/such/dataref"},
      {"set sim/graphics/view/view_type[0] 1", "is not an array"},
      {"expect sim/flightmodel/engine/ENGN_N1_ 0", "is an array"},
      {"expect sim/flightmodel/engine/ENGN_N1_[99] 0", "out of range"},
      {"command once no/such/command", "no command no/such/command"},
      {"menu \"SDK Probe\" Nothing", "no item \"Nothing\" in menu \"SDK Probe\""},
      {"menu Nowhere Count", "no menu \"Nowhere\""},
      {"click \"No Window\" \"Press Me\"", "no window \"No Window\""},
      {"expect widget \"SDK Probe\" \"Press Me\" visible", "no window \"SDK Probe\" (no window is open)"},
      {"expect messages some.stub 0", "no stub plugin some.stub"},
      {"start", "already started"},
      {"root elsewhere", "root must come before"},
      {"plane-loaded x", "whole number"},
      {"tracker fail NP_Nothing", "no entry point NP_Nothing"},
  };
  for (const auto& [line, expected] : cases) {
    const Outcome o =
        RunScenario(std::string("start\n") + line + "\nexpect sim/graphics/view/view_type 1026\n");
    EXPECT_EQ(o.code, 2) << line;
    EXPECT_NE(o.err.find(expected), std::string::npos) << line << " gave: " << o.err;
    EXPECT_NE(o.err.find("t.scn:2: error: "), std::string::npos) << o.err;
    EXPECT_EQ(o.totals.passed, 0) << line << ": nothing runs after the error";
  }
  const Outcome stop = RunScenario("stop\n");
  EXPECT_EQ(stop.code, 2);
  EXPECT_NE(stop.err.find("t.scn:1: error: the plugin is not started"), std::string::npos);
  // A form error stops the file before its first directive runs.
  const Outcome form = RunScenario("expect sim/graphics/view/view_type 1026\nframes x\n");
  EXPECT_EQ(form.code, 2);
  EXPECT_EQ(form.totals.passed, 0);
  EXPECT_NE(form.err.find("t.scn:2: error:"), std::string::npos);
  RunOptions missing = ProbeOptions();
  missing.plugin = "/no/such/plugin.xpl";
  const Outcome load = RunScenario("start\n", missing);
  EXPECT_EQ(load.code, 2);
  EXPECT_NE(load.err.find("t.scn:1: error:"), std::string::npos);
}

TEST(ScenarioRun, WidgetsThroughWindowsCaptionsAndPositions) {
  const Outcome o = RunScenario(R"(
start
expect window "SDK Probe" absent
command once probe/window
expect window "SDK Probe" visible
expect widget "SDK Probe" "idle" visible
click "SDK Probe" "Press Me"
click "SDK Probe" @10,30
expect widget "SDK Probe" @10,120 text "pressed 2"
click "SDK Probe" "Check Me"#1
expect widget "SDK Probe" "Check Me" state 1
expect widget "SDK Probe" "checked 1" text "checked 1"
type "SDK Probe" @10,90 "hello there"
expect widget "SDK Probe" @10,90 text "hello there"
click "SDK Probe" @10,120
close "SDK Probe"
expect window "SDK Probe" hidden
click "SDK Probe" "Press Me"
expect widget "SDK Probe" "Press Me" state 0
expect widget "SDK Probe" "Press Me" hidden
print widget "SDK Probe" "Check Me"
stop
)");
  EXPECT_EQ(o.totals.passed, 9) << o.out << o.err;
  // A click on a caption and one in a hidden window are failed checks saying why; the last check fails too.
  EXPECT_EQ(o.totals.failed, 3) << o.out << o.err;
  EXPECT_EQ(o.Lines("t.scn:15: FAIL click \"SDK Probe\" @10,120: the widget is a caption, not a push button"),
            1)
      << o.out;
  EXPECT_EQ(o.Lines("t.scn:18: FAIL click \"SDK Probe\" \"Press Me\": the widget's window is hidden"), 1)
      << o.out;
  EXPECT_EQ(o.Lines("t.scn:20: FAIL expect widget \"SDK Probe\" \"Press Me\" hidden: the widget is shown"), 1)
      << o.out;
  EXPECT_EQ(
      o.Lines(
          "t.scn:21: SDK Probe \"Check Me\": button \"Check Me\" shown (not visible), state 1, at 110,540 to "
          "210,520"),
      1)
      << o.out;
  EXPECT_EQ(o.code, 1);
  const Outcome unknown =
      RunScenario("start\ncommand once probe/window\nclick \"SDK Probe\" \"Press Me\"#2\n");
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("t.scn:3: error: no widget \"Press Me\"#2 in window \"SDK Probe\""),
            std::string::npos)
      << unknown.err;
}

TEST(ScenarioRun, WidgetsByKindAndLabel) {
  const Outcome o = RunScenario(R"(
start
command once probe/window
click "SDK Probe" button "Press Me"
expect widget "SDK Probe" caption "Check Me" text "pressed 1"
type "SDK Probe" field "Check Me" hi
expect widget "SDK Probe" field "Check Me" text hi
click "SDK Probe" box "Press Me"
expect widget "SDK Probe" "Check Me" state 1
click "SDK Probe" field "Nothing"
)");
  EXPECT_EQ(o.totals.passed, 3) << o.out << o.err;
  EXPECT_EQ(o.code, 2);
  EXPECT_NE(o.err.find("t.scn:10: error: no widget field \"Nothing\" in window \"SDK Probe\""),
            std::string::npos)
      << o.err;
}

TEST(ScenarioWidgetNames, TheLabelsRowComesFirstAndATieIsAmbiguous) {
  Host host;
  const XPWidgetID window = XPCreateWidget(0, 300, 300, 0, 1, "W", 1, nullptr, xpWidgetClass_MainWindow);
  auto make = [&](int left, int top, XPWidgetClass widgetClass) {
    return XPCreateWidget(left, top, left + 40, top - 20, 1,
                          widgetClass == xpWidgetClass_Caption ? "Size" : "", 0, window, widgetClass);
  };
  make(100, 280, xpWidgetClass_Caption);
  make(100, 258, xpWidgetClass_TextField);  // below the label, nearer than either on its row
  const XPWidgetID right = make(150, 280, xpWidgetClass_TextField);
  const XPWidgetID left = make(50, 280, xpWidgetClass_TextField);
  WidgetName name;
  name.kind = WidgetKind::Field;
  name.caption = "Size";
  const NamedWidget tie = FindNamedWidget(host.widgets(), window, name);
  EXPECT_TRUE(tie.ambiguous);
  EXPECT_EQ(tie.id, nullptr);
  XPSetWidgetGeometry(left, 40, 280, 80, 260);
  EXPECT_EQ(FindNamedWidget(host.widgets(), window, name).id, right);
}

TEST(ScenarioRun, MenusHotkeysAndCommands) {
  RunOptions options = ProbeOptions();
  options.trace = true;
  const Outcome o = RunScenario(R"(
start
expect menu Plugins items 1
expect menu "SDK Probe" items 7
expect menu "SDK Probe" Count enabled
expect menu "SDK Probe" "#5" enabled
expect menu "SDK Probe" Nothing absent
menu "SDK Probe" "Disable Count"
expect menu "SDK Probe" Count disabled
menu "SDK Probe" Count
expect probe/menu_picks 1
expect hotkeys 4
expect hotkey F8 DOWN "SDK Probe: count"
expect hotkey p shift+control+down "SDK Probe: window"
expect hotkey F8 SHIFT+DOWN "SDK Probe: count"
key F8
key F8 SHIFT
expect probe/hotkey_calls[0] 1
expect command probe/count exists
expect command probe/nothing absent
expect handlers sim/general/left 2
command hold probe/count 3
expect probe/count_before[1] 3
expect sim-action sim/general/up 0
command once sim/general/up
expect sim-action sim/general/up 2
expect flightloops 1
)",
                                options);
  EXPECT_EQ(o.totals.failed, 1) << o.out << o.err;
  EXPECT_EQ(o.totals.passed, 18) << o.out << o.err;
  EXPECT_EQ(
      o.Lines("t.scn:15: FAIL expect hotkey F8 SHIFT+DOWN \"SDK Probe: count\": registered: F8 DOWN \"SDK "
              "Probe: count\", P SHIFT+CONTROL+DOWN \"SDK Probe: window\", F8 UP \"SDK Probe: release\", F8 "
              "\"SDK Probe: repeat\""),
      1)
      << o.out;
  EXPECT_EQ(
      o.Lines("t.scn:10: the item \"Count\" is disabled or opens a submenu: the pick was delivered nowhere"),
      1)
      << o.out;
  EXPECT_EQ(o.Lines("t.scn:16: key F8 ran 2 hotkey callback(s)"), 1) << o.out;  // count and release
  EXPECT_EQ(o.Lines("t.scn:17: key F8 SHIFT ran 0 hotkey callback(s)"), 1) << o.out;
  EXPECT_EQ(o.Lines("t.scn:2: > start"), 1) << o.out;
}

TEST(ScenarioRun, LeftoversAtStopAreFailures) {
  // The leak is reported, then removed with the unloaded plugin, as X-Plane does.
  const Outcome explicitStop = RunScenario("start\ncommand once probe/leak\nstop\nexpect flightloops 0\n");
  EXPECT_GE(explicitStop.totals.failed, 3) << explicitStop.out;  // a flight loop, a hotkey, an accessor
  EXPECT_EQ(explicitStop.Lines("t.scn:3: FAIL stop: left "), explicitStop.totals.failed) << explicitStop.out;
  EXPECT_EQ(explicitStop.code, 1);
  const Outcome atEnd = RunScenario("start\ncommand once probe/leak\nframes 2\n");
  EXPECT_EQ(atEnd.Lines("t.scn:3: FAIL stop at the end of the scenario: left "), atEnd.totals.failed)
      << atEnd.out;
  EXPECT_GE(atEnd.totals.failed, 3);
  const Outcome clean = RunScenario("start\nframes 2\n");
  EXPECT_EQ(clean.code, 0) << clean.out;
  // A start after a stop loads the plugin afresh.
  const Outcome again =
      RunScenario("start\nset probe/int_value 5\nstop\nstart\nexpect probe/int_value 0\nstop\n");
  EXPECT_EQ(again.code, 0) << again.out << again.err;
  EXPECT_EQ(again.totals.passed, 1);
}

TEST(ScenarioRun, TimeFollowsTheFrameRate) {
  const Outcome o = RunScenario(R"(
fps 25
start
frames 5
expect sim/time/total_running_time_sec 0.2
seconds 1
expect sim/time/total_running_time_sec 1.2
fps 50
frames 5
expect sim/time/total_running_time_sec 1.3
command hold probe/count 10
expect sim/time/total_running_time_sec 1.5
plane-loaded 3
expect probe/last_plane_index 3
plane-loaded
expect probe/last_plane_index 0
)");
  EXPECT_EQ(o.code, 0) << o.out << o.err;
  EXPECT_EQ(o.totals.passed, 6);
}

TEST(ScenarioRun, LogDebugAndMessages) {
  const Outcome o = RunScenario(R"(
expect log lacks anything
expect log contains anything
write Resources/plugins/sdk_probe/TalvenorLog.txt <<END
first line
second line
END
expect log equals "first line\nsecond line\n"
expect log contains "line\nsecond"
expect log lacks "third"
stub-plugin xplanesdk.examples.DataRefEditor
start
expect debug contains "SDK Probe: start"
expect debug lacks "SDK Probe: stop"
command once probe/announce
expect messages xplanesdk.examples.DataRefEditor 4
expect message xplanesdk.examples.DataRefEditor 2 0x01000000 probe/float_value
expect message xplanesdk.examples.DataRefEditor 5 0x01000000 probe/float_value
print log
)");
  EXPECT_EQ(o.totals.passed, 8) << o.out << o.err;
  EXPECT_EQ(o.totals.failed, 2) << o.out << o.err;
  EXPECT_EQ(
      o.Lines("t.scn:3: FAIL expect log contains anything: there is no log file sdk_probe/TalvenorLog.txt"),
      1)
      << o.out;
  EXPECT_EQ(
      o.Lines("FAIL expect message xplanesdk.examples.DataRefEditor 5 0x01000000 probe/float_value: only 4"),
      1)
      << o.out;
  EXPECT_EQ(o.Lines("  | second line"), 1) << o.out;
}

TEST(ScenarioRun, TrackerFramesCountUpAndKeepFields) {
  const Outcome o = RunScenario(R"(
tracker-library Tracker
start
command once probe/tracker_connect
expect probe/tracker/loaded 1
command once probe/tracker_read
expect probe/tracker/number 0
tracker frame roll=1.5 x=-2
command once probe/tracker_read
expect probe/tracker/number 1
tracker frame pitch=3
command once probe/tracker_read
expect probe/tracker/number 2
expect probe/tracker/pose[0] 1.5
expect probe/tracker/pose[1] 3
expect probe/tracker/pose[3] -2
tracker frame number=40 status=1
command once probe/tracker_read
expect probe/tracker/number 40
expect probe/tracker/status 1
)");
  EXPECT_EQ(o.code, 0) << o.out << o.err;
  EXPECT_EQ(o.totals.passed, 9);
}

TEST(ScenarioRun, OnlyAnotherPlatformSkipsTheRest) {
  const char* other = Host::platform() == Platform::Windows ? "linux" : "windows";
  const char* mine = Host::platform() == Platform::Windows ? "windows" : "linux";
  const Outcome o =
      RunScenario(std::string("expect sim/graphics/view/view_type 1026\nonly ") + mine +
                  "\nexpect sim/graphics/view/view_type 1026\nonly " + other +
                  "\nexpect no/such/dataref 1\ncommand once no/such/command\nexpect hotkeys 9\n");
  EXPECT_EQ(o.code, 0) << o.out << o.err;
  EXPECT_EQ(o.totals.passed, 2);
  EXPECT_EQ(o.totals.skipped, 2);
  EXPECT_EQ(ClosingLine(o.totals), "2 passed, 0 failed, 2 skipped");
  EXPECT_EQ(o.Lines("t.scn:5: SKIP expect no/such/dataref 1 (only "), 1) << o.out;
}

TEST(ScenarioRun, OnlySectionsEndAtTheNextOnly) {
  const char* other = Host::platform() == Platform::Windows ? "linux" : "windows";
  const char* mine = Host::platform() == Platform::Windows ? "windows" : "linux";
  // The other platform's section first, then this one's, then both again.
  const Outcome o = RunScenario(std::string("only ") + other +
                                "\nexpect no/such/dataref 1\nexpect hotkeys 9\nonly " + mine +
                                "\nexpect sim/graphics/view/view_type 1026\nonly all\nexpect hotkeys 0\n"
                                "only " +
                                other + "\nexpect hotkeys 7\n");
  EXPECT_EQ(o.code, 0) << o.out << o.err;
  EXPECT_EQ(o.totals.passed, 2);
  EXPECT_EQ(o.totals.skipped, 3);
  EXPECT_EQ(o.Lines("t.scn:5: PASS"), 1) << o.out;
  EXPECT_EQ(o.Lines("t.scn:7: PASS"), 1) << o.out;
}

TEST(ScenarioRun, FilesRunOnFreshSimulatorsAndAddUp) {
  TempDir dir;
  const fs::path first = dir.Write("first.scn",
                                   "start\nset probe/int_value 5\nexpect probe/int_value 5\n"
                                   "write kept.txt x\nframes 3\nkey F8\n");
  const fs::path second = dir.Write("second.scn",
                                    "start\nexpect probe/int_value 0\nexpect file kept.txt absent\n"
                                    "frames 2\nexpect probe/int_value 1\n");
  RunOptions options = ProbeOptions();
  options.csv = dir.path() / "head.csv";
  options.plot = dir.path() / "head.svg";
  std::ostringstream out, err;
  const int code =
      RunFiles(options, {first.string(), second.string(), (dir.path() / "missing.scn").string()}, out, err);
  EXPECT_EQ(code, 2);  // the missing file
  EXPECT_NE(err.str().find("missing.scn: error: cannot read"), std::string::npos) << err.str();
  const std::string printed = out.str();
  EXPECT_TRUE(printed.ends_with("3 passed, 1 failed\n")) << printed;
  EXPECT_NE(printed.find("second.scn:5: FAIL"), std::string::npos) << printed;

  const std::string csv = Slurp(options.csv);
  std::istringstream rows(csv);
  std::vector<std::string> lines;
  for (std::string line; std::getline(rows, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6u) << csv;  // the header and five cycles
  EXPECT_EQ(lines[0],
            "scenario,cycle,time,pilots_head_x,pilots_head_y,pilots_head_z,pilots_head_the,pilots_head_psi,"
            "field_of_view_roll_deg");
  EXPECT_EQ(lines[1], first.string() + ",1,0.02,-0.3,1,-4,0,0,0");
  EXPECT_TRUE(lines[5].starts_with(second.string() + ",2,0.04,")) << lines[5];

  const std::string svg = Slurp(options.plot);
  EXPECT_TRUE(svg.starts_with("<svg xmlns=\"http://www.w3.org/2000/svg\"")) << svg.substr(0, 100);
  EXPECT_NE(svg.find("key F8"), std::string::npos);
  EXPECT_NE(svg.find(">pilots_head_psi</text>"), std::string::npos);
  EXPECT_NE(svg.find("second.scn"), std::string::npos);  // where the second scenario begins
}

TEST(ScenarioRun, KeepLeavesTheFolderAndSaysWhere) {
  RunOptions options = ProbeOptions();
  options.keep = true;
  options.quiet = true;
  const Outcome o = RunScenario("write marker.txt here\n", options);
  const std::string prefix = "t.scn: simulator folder kept: ";
  ASSERT_TRUE(o.out.starts_with(prefix)) << o.out;
  const fs::path root = o.out.substr(prefix.size(), o.out.find('\n') - prefix.size());
  EXPECT_EQ(Slurp(root / "marker.txt"), "here");
  fs::remove_all(root);
  TempDir dir;
  options.keep = false;
  options.root = dir.path() / "sim";
  EXPECT_EQ(RunScenario("write marker.txt there\n", options).code, 0);
  EXPECT_EQ(Slurp(dir.path() / "sim" / "marker.txt"), "there");
  EXPECT_EQ(RunScenario("root " + (dir.path() / "other").string() + "\nwrite m.txt x\n").code, 0);
  EXPECT_TRUE(fs::exists(dir.path() / "other" / "m.txt"));
}

// talvenor-sim run as a program: its options, output and exit status.
struct Program {
  int code = -1;
  std::string output;
};

Program RunSim(const std::string& arguments) {
  Program result;
  const std::string command = std::string(TALVENOR_SIM) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(TalvenorSim, OptionsAndExitStatus) {
  TempDir dir;
  const Program help = RunSim("--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.output.find("--plot PATH"), std::string::npos);
  EXPECT_EQ(RunSim("").code, 2);
  EXPECT_EQ(RunSim("--bogus x.scn").code, 2);
  EXPECT_EQ(RunSim("--csv").code, 2);

  const std::string plugin = std::string("--plugin ") + TALVENOR_TEST_PLUGIN + " ";
  const fs::path good = dir.Write("good.scn", "start\nexpect sim/graphics/view/view_type 1026\nstop\n");
  const fs::path bad = dir.Write("bad.scn", "start\nexpect sim/graphics/view/view_type 1\n");
  const fs::path broken = dir.Write("broken.scn", "start\nfly away\n");
  const Program ok = RunSim(plugin + good.string());
  EXPECT_EQ(ok.code, 0) << ok.output;
  EXPECT_EQ(ok.output,
            good.string() + ":2: PASS expect sim/graphics/view/view_type 1026\n1 passed, 0 failed\n");
  const Program failed = RunSim(plugin + "--quiet " + good.string() + " " + bad.string());
  EXPECT_EQ(failed.code, 1) << failed.output;
  EXPECT_EQ(failed.output, bad.string() +
                               ":2: FAIL expect sim/graphics/view/view_type 1: expected 1, found 1026\n"
                               "1 passed, 1 failed\n");
  const Program error = RunSim(plugin + "--quiet " + broken.string());
  EXPECT_EQ(error.code, 2);
  EXPECT_NE(error.output.find(broken.string() + ":2: error: unknown directive fly"), std::string::npos)
      << error.output;
  // The default plugin is this build's Talvenor, installed under its own name.
  const Program talvenor = RunSim(
      "--quiet " +
      dir.Write("t.scn",
                "start\nstop\nexpect file Resources/plugins/Talvenor/lin_x64/Talvenor.xpl contains \"\"\n")
          .string());
  EXPECT_EQ(talvenor.code, 0) << talvenor.output;
}

}  // namespace
}  // namespace sim::scenario
