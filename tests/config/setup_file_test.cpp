// Talvenor.ini as the user writes it: line ends, letters, comments, sections, values and hotkeys, and what
// the log shows when a reading stops. Parser tests read real files from the simulator folder; the outcome
// lines come from a real start of the plugin.
#include "config/setup_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "config/log.h"
#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"

namespace talvenor::testing {
namespace {

constexpr char kStartLines[] = "+++ LOGGING STARTED +++\nTalvenor v1.70\n";
constexpr char kDebugOn[] = "[DEBUG]\nDEBUGLOGENABLED = 1\n";

class SetupParserTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ResetState();
  }
  void TearDown() override {
    PluginTest::TearDown();
    ResetState();
  }
  // Writes the bytes as a setup file and parses it as plugin code would.
  int Parse(const std::string& bytes) {
    WriteFile("parser/Talvenor.ini", bytes);
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    return ParseSetupFile(host().resolve("parser/Talvenor.ini").string().c_str());
  }
  const SetupSettings& Parsed() const { return Settings(); }
  // The log lines between the identification line and the debug-logging line of a start.
  std::string SetupLinesOfStart(const std::string& setup) {
    WriteSetupFile(setup);
    Start();
    std::string log = Log();
    host().stop();
    if (log.rfind(kStartLines, 0) != 0) return "unexpected start: " + log;
    // The start's probe finds no tracker after the setup's lines.
    const std::string noTracker = "TrackIR Interface : DLL Location key not present\n";
    if (log.ends_with(noTracker)) log.resize(log.size() - noTracker.size());
    return log.substr(std::strlen(kStartLines));
  }
};

TEST_F(SetupParserTest, AllFourLineEndsReadTheSame) {
  const char* lines[] = {"[CONFIG]",  "AUTOSTART = 1", "AXISXINCREMENT = 0.25", "; remark = 3", "",
                         "[preset2]", "HOTKEY = A",    "HOTKEYMODIFIERS = ALT"};
  for (const char* end : {"\n", "\r", "\r\n", "\n\r"}) {
    std::string file;
    for (const char* line : lines) file += std::string(line) + end;
    file += "[PRESET3]" + std::string(end) + "HOTKEY = B";  // the last line without a line end
    ASSERT_EQ(Parse(file), kSetupApplied);
    const SetupSettings& settings = Parsed();
    EXPECT_EQ(settings.autoStart, 1);
    EXPECT_EQ(settings.axisXIncrement, 0.25f);
    EXPECT_EQ(settings.hotkeys[1].virtualKey, XPLM_VK_A);
    EXPECT_EQ(settings.hotkeys[1].modifiers, xplm_OptionAltFlag);
    EXPECT_EQ(settings.hotkeys[1].enabled, 1);
    EXPECT_EQ(settings.hotkeys[2].virtualKey, XPLM_VK_B);
    ResetState();
  }
}

TEST_F(SetupParserTest, LettersBlanksAndCommentsAsTheUserWritesThem) {
  ASSERT_EQ(Parse("[Preset1]\nhotkey = numpad 5\n"
                  "[config]\nAxis Y Increment = 0.5\nTRACKIRENABLEXAXIS = 1 0\n"
                  "[PRESET2]\nHOTKEY = F2 ; the second preset\n"
                  "not a key line\n   \n\t\n"),
            kSetupApplied);
  const SetupSettings& settings = Parsed();
  EXPECT_EQ(settings.hotkeys[0].virtualKey, 101);
  EXPECT_EQ(settings.hotkeys[0].enabled, 1);
  EXPECT_EQ(settings.axisYIncrement, 0.5f);
  EXPECT_EQ(settings.trackIrEnableXAxis, 10);
  EXPECT_EQ(settings.hotkeys[1].enabled, 0);  // the line with a semicolon is skipped whole
}

TEST_F(SetupParserTest, OnlyCommentsHeadersAndBlankLinesApplyNothing) {
  ASSERT_EQ(Parse("; settings\n\n[CONFIG]\n[PRESET1]\n;HOTKEY = F1\n   \n"), kSetupApplied);
  const SetupSettings defaults;
  EXPECT_EQ(std::memcmp(&Parsed(), &defaults, sizeof defaults), 0);
}

TEST_F(SetupParserTest, ValuesAreClampedAndBadNumbersReadAsZero) {
  ASSERT_EQ(Parse("[CONFIG]\nENGINEVIBRATIONSCALERX = 12\nENGINEVIBRATIONSCALERY = -3\n"
                  "ENGINEVIBRATIONSCALERZ = 2.5\nAXISINCREMENTCHANGE = -1\nAXISYINCREMENT = nan\n"
                  "AXISZINCREMENT = inf\nAXISHEADINGINCREMENT = 1e39\nAXISPITCHINCREMENT = 2,5\n"
                  "AXISROLLINCREMENT = abc\nAUTOSTART = 99999999999\nENGINEVIBRATION = -2\n"),
            kSetupApplied);
  const SetupSettings& settings = Parsed();
  EXPECT_EQ(settings.engineVibrationScalerX, 10.0f);
  EXPECT_EQ(settings.engineVibrationScalerY, 0.0f);
  EXPECT_EQ(settings.engineVibrationScalerZ, 2.5f);
  EXPECT_EQ(settings.axisIncrementChange, 0.0f);
  EXPECT_EQ(settings.axisYIncrement, 0.0f);
  EXPECT_EQ(settings.axisZIncrement, 0.0f);
  EXPECT_EQ(settings.axisHeadingIncrement, 0.0f);
  EXPECT_EQ(settings.axisPitchIncrement, 2.0f);
  EXPECT_EQ(settings.axisRollIncrement, 0.0f);
  EXPECT_EQ(settings.autoStart, 0);
  EXPECT_EQ(settings.engineVibration, -2);
  // A scaler that is not a number is no exception to the bounds.
  ASSERT_EQ(Parse("[CONFIG]\nENGINEVIBRATIONSCALERX = -nan\nENGINEVIBRATIONSCALERY = 1e400\n"),
            kSetupApplied);
  EXPECT_EQ(Parsed().engineVibrationScalerX, 0.0f);
  EXPECT_EQ(Parsed().engineVibrationScalerY, 0.0f);
}

TEST_F(SetupParserTest, KeyNamesAndModifiers) {
  EXPECT_EQ(ParseModifiers("SHIFT+CONTROL"), 5);
  EXPECT_EQ(ParseModifiers("SHIFT+SHIFT"), 2);
  EXPECT_EQ(ParseModifiers("WIN"), 0);
  EXPECT_EQ(ParseModifiers("SHIFT+WIN+ALT"), 3);
  EXPECT_EQ(ParseModifiers("++UP+"), 16);
  EXPECT_EQ(ParseModifiers("SHIFTY"), 0);
  EXPECT_EQ(ParseModifiers(""), 0);
  EXPECT_EQ(ParseModifiers("DOWN+UP+CONTROL+ALT+SHIFT"), 31);
  EXPECT_EQ(LookupKeyName("F24"), 135);
  EXPECT_EQ(LookupKeyName("F25"), 0);
  EXPECT_EQ(LookupKeyName("NUMPAD_EQ"), 189);
  EXPECT_EQ(LookupKeyName("0"), 48);
  EXPECT_EQ(LookupKeyName("f1"), 0);  // the parser folds case before it looks a name up

  ASSERT_EQ(Parse("[PRESET8]\nHOTKEY = F25\nHOTKEYMODIFIERS = SHIFT+SHIFT\n"
                  "[LIMITS_TOGGLE]\nHOTKEYMODIFIERS = CONTROL\n"),
            kSetupApplied);
  const SetupSettings& settings = Parsed();
  EXPECT_EQ(settings.hotkeys[7].enabled, 1);
  EXPECT_EQ(settings.hotkeys[7].virtualKey, 0);
  EXPECT_EQ(settings.hotkeys[7].modifiers, 2);
  EXPECT_EQ(settings.hotkeys[kSlotLimitsToggle].modifiers, 4);
  EXPECT_EQ(settings.hotkeys[kSlotLimitsToggle].enabled, 0);
}

TEST_F(SetupParserTest, SectionGivenTwiceAppliesBothRunsLaterValuesWin) {
  ASSERT_EQ(Parse("[PRESET1]\nHOTKEY = F1\nHOTKEYMODIFIERS = ALT\n[PRESET2]\nHOTKEY = F2\n"
                  "[PRESET1]\nHOTKEY = F3\n[CONFIG]\nAUTOSTART = 1\n[CONFIG]\nAUTOSTART = 2\n"),
            kSetupApplied);
  const SetupSettings& settings = Parsed();
  EXPECT_EQ(settings.hotkeys[0].virtualKey, XPLM_VK_F3);
  EXPECT_EQ(settings.hotkeys[0].modifiers, xplm_OptionAltFlag);
  EXPECT_EQ(settings.hotkeys[1].virtualKey, XPLM_VK_F2);
  EXPECT_EQ(settings.autoStart, 2);
}

TEST_F(SetupParserTest, ErrorStopsAtTheOffendingEntryAndKeepsWhatCameBefore) {
  EXPECT_EQ(Parse("[PRESET1]\nHOTKEY = F1\n[CONFIG]\nAUTOSTART = 1\nBOGUS = 1\nENABLEEXTERNALDATA = 1\n"
                  "[PRESET2]\nHOTKEY = F2\n"),
            kSetupBadConfigKey);
  EXPECT_EQ(Parsed().hotkeys[0].enabled, 1);
  EXPECT_EQ(Parsed().autoStart, 1);
  EXPECT_EQ(Parsed().enableExternalData, 0);
  EXPECT_EQ(Parsed().hotkeys[1].enabled, 0);

  // An invalid header without key lines is never compared; one with key lines stops the reading.
  EXPECT_EQ(Parse("[NOWHERE]\n[PRESET1]\nHOTKEY = F1\n[ALSO NOWHERE]\n"), kSetupApplied);
  EXPECT_EQ(Parse(" [PRESET1]\nHOTKEY = F1\n"), kSetupBadSection);
  // Without "]" the header is no header, so the key line after it stands in no section.
  EXPECT_EQ(Parse("[PRESET1\nHOTKEY = F1\n"), kSetupBadSection);
  EXPECT_EQ(Parse("[DEBUG]\nDEBUGLOG = 1\n"), kSetupBadDebugKey);
  EXPECT_EQ(Parse("[TL_TOGGLE]\nHOTKEY=F1\n"), 4);
  EXPECT_EQ(Parse("[VIBRATION_EFFECT_TOGGLE]\nHOTKEYMODIFIER = ALT\n"), 19);
  // The file stays unread when it cannot be opened, and nothing changes.
  Settings().hotkeys[3].enabled = 1;
  sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
  EXPECT_EQ(ParseSetupFile(host().resolve("parser/missing.ini").string().c_str()), kSetupNotOpened);
  EXPECT_EQ(Parsed().hotkeys[3].enabled, 1);
}

TEST_F(SetupParserTest, EveryErrorStopIsLoggedWithItsLabel) {
  const std::pair<const char*, const char*> sections[] = {
      {"DEBUG", "DEBUG section"},
      {"CONFIG", "CONFIG section"},
      {"PRESET1", "Preset 1 data"},
      {"PRESET8", "Preset 8 data"},
      {"TL_TOGGLE", "TL Toggle data"},
      {"TRACKIR_TOGGLE", "TrackIR Toggle data"},
      {"EFFECTS_TOGGLE", "Effects Toggle data"},
      {"CONTROL_PANEL_TOGGLE", "Control Panel Toggle Data"},
      {"DATA_PANEL_TOGGLE", "Data Panel Toggle Data"},
      {"EFFECTS_PANEL_TOGGLE", "Effects Panel Toggle Data"},
      {"LIMITS_TOGGLE", "Limits Toggle data"},
      {"VIBRATION_EFFECT_TOGGLE", "Vibration Toggle data"},
  };
  for (const auto& [section, label] : sections) {
    EXPECT_EQ(
        SetupLinesOfStart(std::string(kDebugOn) + "[" + section + "]\nHOTKEY=F1\n"),
        "HOTKE is an invalid field\nParse Error in " + std::string(label) + "\nDebug Logging is enabled\n")
        << section;
  }
  EXPECT_EQ(SetupLinesOfStart(std::string(kDebugOn) + " [PRESET1]\nHOTKEY = F1\n"),
            "[PRESET1 is an invalid section name\nParse Error in Section Name\nDebug Logging is enabled\n");
}

TEST_F(SetupParserTest, DebugSwitchesActAtOnce) {
  // The view switch alone sends the error to the debugger output and not to the file.
  WriteSetupFile("[DEBUG]\nDEBUGVIEWENABLED = 1\n[CONFIG]\nBOGUS = 1\n");
  Start();
  EXPECT_NE(Debug().find("BOGUS is an invalid field\nParse Error in CONFIG section\n"), std::string::npos);
  EXPECT_EQ(Debug().find("Parsing Setup file"), std::string::npos);
  EXPECT_EQ(Log(), std::string(kStartLines) + "Debug Logging is disabled\n");
  host().stop();

  // Switched on and off again within the file: the error comes after, unlogged.
  EXPECT_EQ(SetupLinesOfStart("[DEBUG]\nDEBUGLOGENABLED = 1\nDEBUGLOGENABLED = 0\n[CONFIG]\nBOGUS = 1\n"),
            "Debug Logging is disabled\n");
  // A DEBUG section behind the error never takes effect.
  EXPECT_EQ(SetupLinesOfStart("[CONFIG]\nBOGUS = 1\n[DEBUG]\nDEBUGLOGENABLED = 1\n"),
            "Debug Logging is disabled\n");
  EXPECT_EQ(SetupLinesOfStart(std::string(kDebugOn) + "; nothing else\n"),
            "Parsing Successful\nDebug Logging is enabled\n");
}

// Lines the file format leaves without a name: they are reported like any invalid section or key.
TEST_F(SetupParserTest, LinesWithoutANameStopTheReadingVisibly) {
  EXPECT_EQ(
      SetupLinesOfStart(std::string(kDebugOn) + "]\nHOTKEY = F1\n"),
      "(no section) is an invalid section name\nParse Error in Section Name\nDebug Logging is enabled\n");
  EXPECT_EQ(
      SetupLinesOfStart(std::string(kDebugOn) + "[]\nHOTKEY = F1\n"),
      "(no section) is an invalid section name\nParse Error in Section Name\nDebug Logging is enabled\n");
  EXPECT_EQ(SetupLinesOfStart(std::string(kDebugOn) + "[PRESET1]\n=F1\n"),
            " is an invalid field\nParse Error in Preset 1 data\nDebug Logging is enabled\n");
  // Key lines before the first header belong to no section; the DEBUG line after them is not applied.
  ResetState();
  EXPECT_EQ(Parse("AUTOSTART = 1\n[DEBUG]\nDEBUGLOGENABLED = 1\n"), kSetupBadSection);
  EXPECT_EQ(Parsed().autoStart, 0);
  EXPECT_EQ(Parsed().debugLogEnabled, 0);
}

TEST_F(SetupParserTest, LongLinesAreCutAfter255CharactersAndGoOnAsTheNextLine) {
  // The 255 characters before HOTKEY form a line of their own; one fewer or more would spoil the key.
  ASSERT_EQ(Parse("[PRESET1]\n" + std::string(255, 'X') + "HOTKEY = F1\n"), kSetupApplied);
  EXPECT_EQ(Parsed().hotkeys[0].virtualKey, XPLM_VK_F1);
  // A line of exactly 255 characters: its line end comes as an empty line.
  ASSERT_EQ(Parse("[PRESET1]\nHOTKEY = F2" + std::string(244, ' ') + "\r\nHOTKEYMODIFIERS = UP\n"),
            kSetupApplied);
  EXPECT_EQ(Parsed().hotkeys[0].virtualKey, XPLM_VK_F2);
  EXPECT_EQ(Parsed().hotkeys[0].modifiers, 16);
  // A 5000-character key: the pieces without "=" are skipped, the last piece is the key line.
  const std::string longKey(5000, 'K');
  EXPECT_EQ(SetupLinesOfStart(std::string(kDebugOn) + "[CONFIG]\n" + longKey + " = 1\n"),
            std::string(5000 % 255, 'K') +
                " is an invalid field\nParse Error in CONFIG section\nDebug Logging is enabled\n");
}

TEST_F(SetupParserTest, NulBytesEndTheirLineAndAreLogged) {
  std::string file = std::string(kDebugOn) + "[PRESET1]\nHOTKEY = F1";
  file += '\0';
  file += "; ignored = 3\nHOTKEYMODIFIERS = ALT\n";
  EXPECT_EQ(SetupLinesOfStart(file),
            "Talvenor.ini holds a NUL character; the rest of that line was ignored\nParsing Successful\n"
            "Debug Logging is enabled\n");
  ASSERT_EQ(Parse(file), kSetupApplied);
  EXPECT_EQ(Parsed().hotkeys[0].virtualKey, XPLM_VK_F1);
  EXPECT_EQ(Parsed().hotkeys[0].modifiers, xplm_OptionAltFlag);
}

TEST_F(SetupParserTest, KeyLinesBeyondTheTableAreNotAppliedAndTheEventIsLogged) {
  std::string file = std::string(kDebugOn) + "[PRESET1]\n";  // one key line so far
  for (int line = 2; line < kSetupEntries; ++line) file += "HOTKEYMODIFIERS = SHIFT\n";
  file += "HOTKEY = F1\n";  // line 1024: the last one the table holds
  EXPECT_EQ(SetupLinesOfStart(file), "Parsing Successful\nDebug Logging is enabled\n");
  file += "HOTKEY = F2\n[PRESET2]\nHOTKEY = F3\n";
  EXPECT_EQ(SetupLinesOfStart(file),
            "Talvenor.ini has more than 1024 key lines, the rest of the file is ignored\nDebug Logging is "
            "enabled\n");
  ASSERT_EQ(Parse(file), kSetupTooManyLines);
  EXPECT_EQ(Parsed().hotkeys[0].virtualKey, XPLM_VK_F1);
  EXPECT_EQ(Parsed().hotkeys[1].enabled, 0);
}

// A stream whose reads fail after `good` bytes, as a failing disk or network share would.
struct FailingSource {
  std::string bytes;
  std::size_t good = 0;
  std::size_t position = 0;
};

std::FILE* OpenFailingAfter(FailingSource& source) {
  cookie_io_functions_t functions{};
  functions.read = [](void* cookie, char* buffer, std::size_t size) -> ssize_t {
    auto& s = *static_cast<FailingSource*>(cookie);
    if (s.position >= s.good) return -1;
    const std::size_t count = std::min({size, s.good - s.position, s.bytes.size() - s.position});
    std::memcpy(buffer, s.bytes.data() + s.position, count);
    s.position += count;
    return static_cast<ssize_t>(count);
  };
  return fopencookie(&source, "r", functions);
}

TEST_F(SetupParserTest, ReadErrorKeepsTheWholeLinesReadBeforeIt) {
  FailingSource source{"[PRESET1]\nHOTKEY = F1\nHOTKEYMODIFIERS = SHIFT+ALT\n[PRESET2]\nHOTKEY = F2\n", 0, 0};
  source.good = source.bytes.find("ALT");  // the error strikes in the middle of the modifiers line
  std::FILE* file = OpenFailingAfter(source);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ParseSetupStream(file), kSetupReadError);
  std::fclose(file);
  EXPECT_EQ(Parsed().hotkeys[0].virtualKey, XPLM_VK_F1);
  EXPECT_EQ(Parsed().hotkeys[0].modifiers, 0);  // the cut line is not applied
  EXPECT_EQ(Parsed().hotkeys[1].enabled, 0);

  // The line reader itself: a whole line, then nothing once the source fails.
  FailingSource lines{"HOTKEY = F1\r\nHOTKEY", 18, 0};
  file = OpenFailingAfter(lines);
  char buffer[256];
  ASSERT_NE(ReadSetupLine(buffer, sizeof buffer, file), nullptr);
  EXPECT_STREQ(buffer, "HOTKEY = F1\r");
  EXPECT_EQ(ReadSetupLine(buffer, sizeof buffer, file), nullptr);
  std::fclose(file);
}

TEST_F(SetupParserTest, UnreadableSetupFileIsAReadErrorAndTheStartGoesOn) {
  // A folder in the place of the file opens but cannot be read.
  std::filesystem::create_directories(host().resolve("Resources/plugins/Talvenor/Talvenor.ini"));
  {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    EXPECT_EQ(ParseSetupFile(host().resolve("Resources/plugins/Talvenor/Talvenor.ini").string().c_str()),
              kSetupReadError);
  }
  Start();
  EXPECT_EQ(Log(), std::string(kStartLines) + "Debug Logging is disabled\n");
  EXPECT_TRUE(Hotkeys().empty());
  EXPECT_EQ(MenuItems().size(), 7u);
}

TEST_F(SetupParserTest, StripBlanksAndLineReaderStayInsideTheirBuffers) {
  char result[kSetupTextSize];
  std::memset(result, 'x', sizeof result);
  StripBlanks(" A B\tC ", result);
  EXPECT_STREQ(result, "AB\tC");
  EXPECT_EQ(result[kSetupTextSize - 1], '\0');
  const std::string longText(1000, 'Z');
  StripBlanks(longText.c_str(), result);
  EXPECT_EQ(std::strlen(result), 255u);

  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fputs("ABCDEFG\n\rX", file);
  std::rewind(file);
  char small[4];
  ASSERT_NE(ReadSetupLine(small, sizeof small, file), nullptr);
  EXPECT_STREQ(small, "ABC");
  ASSERT_NE(ReadSetupLine(small, sizeof small, file), nullptr);
  EXPECT_STREQ(small, "DEF");
  ASSERT_NE(ReadSetupLine(small, sizeof small, file), nullptr);
  EXPECT_STREQ(small, "G\n");  // the CR after the LF is part of the same line end
  ASSERT_NE(ReadSetupLine(small, sizeof small, file), nullptr);
  EXPECT_STREQ(small, "X");
  EXPECT_EQ(ReadSetupLine(small, sizeof small, file), nullptr);
  EXPECT_EQ(ReadSetupLine(small, 1, file), nullptr);
  std::fclose(file);

  // A text in memory splits into the same lines, lengths and results as a stream of its bytes.
  using namespace std::string_literals;
  for (const std::string& bytes : {"ABCDEFG\n\rX"s, "A\r\nB\n\nC\r\rD"s, "ABC\nDE\r"s, "A\0B\nC"s, ""s}) {
    for (const int size : {2, 4, kSetupTextSize}) {
      std::FILE* stream = std::tmpfile();
      ASSERT_NE(stream, nullptr);
      std::fwrite(bytes.data(), 1, bytes.size(), stream);
      std::rewind(stream);
      SetupText text{bytes, false};
      for (SetupLineRead read = SetupLineRead::kLine; read == SetupLineRead::kLine;) {
        char fromStream[kSetupTextSize], fromText[kSetupTextSize];
        int streamLength = -1, textLength = -1;
        read = ReadSetupLineCounted(fromStream, size, stream, streamLength);
        ASSERT_EQ(ReadSetupLineCounted(fromText, size, text, textLength), read) << bytes << " " << size;
        ASSERT_EQ(textLength, streamLength);
        if (read == SetupLineRead::kLine) {
          EXPECT_EQ(std::memcmp(fromText, fromStream, streamLength + 1), 0);
        }
      }
      std::fclose(stream);
    }
  }
  SetupText failed{"AB", true};
  int length = 0;
  EXPECT_EQ(ReadSetupLineCounted(small, sizeof small, failed, length), SetupLineRead::kError);
}

}  // namespace
}  // namespace talvenor::testing
