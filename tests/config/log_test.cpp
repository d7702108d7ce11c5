// TalvenorLog.txt and the debugger output as the user sees them: which message goes where under the two
// debug switches, what a start leaves in the file, and what happens when the file cannot be written.
#include "config/log.h"

#include <filesystem>
#include <random>
#include <string>

#include "config/setup_file.h"
#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"

namespace talvenor::testing {
namespace {

constexpr char kLogFile[] = "Resources/plugins/Talvenor/TalvenorLog.txt";

class LogTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ResetState();
  }
  void TearDown() override {
    PluginTest::TearDown();
    ResetState();
  }
  // Logging as plugin code does it, so that the host captures the debugger output and applies file faults.
  void Message(const char* text) {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    LogMessage(text);
  }
  void Always(const char* text) {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    LogAlways(text);
  }
  void Reset() {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    LogReset();
  }
  void Switches(int log, int view) {
    Settings().debugLogEnabled = log;
    Settings().debugViewEnabled = view;
  }
  bool LogExists() { return std::filesystem::exists(host().resolve(kLogFile)); }
};

TEST_F(LogTest, SwitchesSendMessagesToTheFileTheDebuggerBothOrNeither) {
  Reset();
  Switches(0, 0);
  Message("none\n");
  EXPECT_EQ(Log(), "");
  EXPECT_EQ(Debug(), "");
  Always("always\n");  // whatever the switches say

  Switches(0, 1);
  Message("debugger only\n");
  Switches(1, 0);
  Message("file only\n");
  Switches(1, 1);
  Message("both\n");
  Switches(7, -1);  // any value but 0 is on
  Message("both again\n");

  EXPECT_EQ(Log(), "always\nfile only\nboth\nboth again\n");
  EXPECT_EQ(Debug(), "always\ndebugger only\nboth\nboth again\n");
}

TEST_F(LogTest, MessagesAreAppendedAsTheyAre) {
  Reset();
  Switches(1, 0);
  Message("no line end, ");
  Message("");
  Message("same line\n");
  Always("\n");
  EXPECT_EQ(Log(), "no line end, same line\n\n");
  Reset();
  EXPECT_TRUE(LogExists());
  EXPECT_EQ(Log(), "");
}

TEST_F(LogTest, LongMessageIsCutAt511Characters) {
  Reset();
  Switches(1, 1);
  const std::string text(2000, 'm');
  Message(text.c_str());
  Always((std::string(600, 'a') + "\n").c_str());
  EXPECT_EQ(Log(), std::string(511, 'm') + std::string(511, 'a'));
  EXPECT_EQ(Debug(), Log());
  Always(nullptr);  // nothing to write, nothing breaks
  EXPECT_EQ(Log().size(), 1022u);
}

TEST_F(LogTest, StartEmptiesTheLogOfThePreviousRun) {
  WriteFile(kLogFile, "old run\n");
  Start();
  EXPECT_EQ(Log(), "+++ LOGGING STARTED +++\nTalvenor v1.70\nDebug Logging is disabled\n");
}

TEST_F(LogTest, FileThatCannotBeWrittenLeavesTheDebuggerOutputAndIsRetried) {
  Reset();
  Switches(1, 1);
  host().fileFaults().setReadOnly("Resources/plugins/Talvenor", true);
  std::filesystem::remove(host().resolve(kLogFile));
  Always("lost\n");
  Message("lost too\n");
  Reset();
  EXPECT_FALSE(LogExists());
  EXPECT_EQ(Debug(), "lost\nlost too\n");

  host().fileFaults().setReadOnly("Resources/plugins/Talvenor", false);
  Always("back\n");
  EXPECT_EQ(Log(), "back\n");
}

// A simulator folder whose system path has the given length (components of at most 200 characters).
class LongLogPathTest : public LogTest {
 protected:
  static std::filesystem::path Folder(std::size_t systemPathLength) {
    std::string folder = (std::filesystem::temp_directory_path() /
                          ("talvenor-log-" + std::to_string(std::random_device{}() % 1000000)))
                             .string();
    const std::size_t remaining = systemPathLength - 1 - folder.size();
    const std::size_t parts = (remaining + 200) / 201;
    const std::size_t letters = remaining - parts;
    for (std::size_t i = 0; i < parts; ++i) {
      folder += '/';
      folder.append(letters / parts + (i < letters % parts ? 1 : 0), 'l');
    }
    return folder;
  }
  void TearDown() override {
    const std::filesystem::path top = *std::next(host().root().begin(), 2);  // /tmp/talvenor-log-N
    LogTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / top, ignored);
  }
};

// "Resources/plugins/Talvenor/TalvenorLog.txt" adds 42 characters: with 470 the path needs 513.
class TooLongLogPathTest : public LongLogPathTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return {.root = Folder(470)}; }
};
class LongestLogPathTest : public LongLogPathTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return {.root = Folder(469)}; }
};

TEST_F(TooLongLogPathTest, LogIsNotOpenedAndTheDebuggerIsTold) {
  ASSERT_EQ(host().systemPath().size(), 470u);
  Start();
  EXPECT_FALSE(LogExists());
  // Nothing was written under a cut name either.
  for (const auto& entry :
       std::filesystem::directory_iterator(host().resolve("Resources/plugins/Talvenor"))) {
    EXPECT_EQ(entry.path().filename().string().find("TalvenorLog"), std::string::npos) << entry.path();
  }
  EXPECT_EQ(
      Debug().rfind("Talvenor: the path of TalvenorLog.txt is too long, nothing is logged to the file\n", 0),
      0u);
  EXPECT_NE(Debug().find("+++ LOGGING STARTED +++\n"), std::string::npos);
}

TEST_F(LongestLogPathTest, LogOfMaximumPathLengthIsWritten) {
  ASSERT_EQ(host().systemPath().size(), 469u);
  Start();
  EXPECT_EQ(Log(), "+++ LOGGING STARTED +++\nTalvenor v1.70\nDebug Logging is disabled\n");
  EXPECT_EQ(Debug().find("too long"), std::string::npos);
}

// A folder name with a byte that is no UTF-8 (Linux keeps names as bytes): no path through it is opened.
class NotUtf8PathTest : public LogTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return {.root = "Flug\xff/X-Plane 12"}; }
};

TEST_F(NotUtf8PathTest, NothingIsOpenedAndEachRefusalIsLogged) {
  Start();
  EXPECT_EQ(host().fileFaults().opens(), 0u);
  for (const char* line : {"Talvenor: the path of TalvenorLog.txt is not valid UTF-8, nothing is logged",
                           "The path of Talvenor.ini is not valid UTF-8, will use defaults\n",
                           "The path of the XPLM library is not valid UTF-8, no commands\n"}) {
    EXPECT_NE(Debug().find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace talvenor::testing
