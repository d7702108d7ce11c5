// The host functions looked up at run time: X-Plane's SDK library loaded by its path, and the 23 names asked
// of its XPLMFindSymbol.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "plugin/host_functions.h"
#include "plugin/plugin.h"
#include "long_path_fixture.h"
#include "plugin_fixture.h"

namespace talvenor::testing {
namespace {

const std::vector<std::string> kNamesInOrder = {
    "XPLMCreateWindowEx",
    "XPLMMeasureString",
    "XPLMCreateProbe",
    "XPLMDestroyProbe",
    "XPLMProbeTerrainXYZ",
    "XPLMLoadObject",
    "XPLMDrawObjects",
    "XPLMUnloadObject",
    "XPLMLookupObjects",
    "XPLMSetErrorCallback",
    "XPLMLoadDataFile",
    "XPLMSaveDataFile",
    "XPLMFindCommand",
    "XPLMCommandBegin",
    "XPLMCommandEnd",
    "XPLMCommandOnce",
    "XPLMCreateCommand",
    "XPLMRegisterCommandHandler",
    "XPLMUnregisterCommandHandler",
    "XPLMHasFeature",
    "XPLMIsFeatureEnabled",
    "XPLMEnableFeature",
    "XPLMEnumerateFeatures",
};

std::vector<std::string> g_asked;
int g_marker = 0;

// A lookup that finds nothing and remembers what it was asked.
void* RecordingLookup(const char* name) {
  g_asked.emplace_back(name);
  return nullptr;
}

// A lookup that finds every name.
void* FindEverything(const char*) {
  return &g_marker;
}

class HostFunctionsTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ResetState();
    g_asked.clear();
  }
  std::string LibraryPath() { return (host().root() / "Resources/plugins/XPLM_64.so").string(); }
  void FillAll() { ASSERT_EQ(FillOptionalHostFunctions(&FindEverything), 1); }
  int NullEntries() const {
    int count = 0;
    for (void* entry : HostFunctions().entries) count += entry == nullptr ? 1 : 0;
    return count;
  }
};

TEST_F(HostFunctionsTest, AsksForTheTwentyThreeNamesInOrder) {
  EXPECT_EQ(FillOptionalHostFunctions(&RecordingLookup), 1);  // 1 even though the host offers none
  EXPECT_EQ(g_asked, kNamesInOrder);
  EXPECT_EQ(NullEntries(), 23);
}

TEST_F(HostFunctionsTest, TheHostsLibraryGivesItsCommandFunctions) {
  if (sim::Host::platform() != sim::Platform::Linux) GTEST_SKIP() << "the library name is the Linux one";
  EXPECT_EQ(LoadOptionalHostFunctions(LibraryPath().c_str()), 1);
  const OptionalHostFunctions& table = HostFunctions();
  EXPECT_EQ(reinterpret_cast<void*>(table.createCommand()), reinterpret_cast<void*>(&XPLMCreateCommand));
  EXPECT_EQ(reinterpret_cast<void*>(table.findCommand()), reinterpret_cast<void*>(&XPLMFindCommand));
  EXPECT_EQ(reinterpret_cast<void*>(table.registerCommandHandler()),
            reinterpret_cast<void*>(&XPLMRegisterCommandHandler));
  EXPECT_EQ(reinterpret_cast<void*>(table.unregisterCommandHandler()),
            reinterpret_cast<void*>(&XPLMUnregisterCommandHandler));
  EXPECT_EQ(table.entries[kHostCommandOnce], reinterpret_cast<void*>(&XPLMCommandOnce));
  // Names this host does not implement stay null.
  EXPECT_EQ(table.entries[kHostCreateWindowEx], nullptr);
  EXPECT_EQ(table.entries[kHostProbeTerrainXYZ], nullptr);
}

TEST_F(HostFunctionsTest, LibraryWithoutFindSymbolEmptiesTheTable) {
  if (sim::Host::platform() != sim::Platform::Linux) GTEST_SKIP() << "the library name is the Linux one";
  host().setOfferFindSymbol(false);
  FillAll();
  EXPECT_EQ(LoadOptionalHostFunctions(LibraryPath().c_str()), 0);
  EXPECT_EQ(NullEntries(), 23);
}

TEST_F(HostFunctionsTest, MissingOrEmptyPathLeavesTheTableAsItWas) {
  FillAll();
  EXPECT_EQ(
      LoadOptionalHostFunctions((host().root() / "Resources/plugins/NoSuchLibrary.so").string().c_str()), 0);
  EXPECT_EQ(LoadOptionalHostFunctions(""), 0);  // a path too long for its buffer is kept empty
  EXPECT_EQ(LoadOptionalHostFunctions(nullptr), 0);
  // A file that is no library.
  WriteFile("Resources/plugins/Broken.so", "not a library");
  EXPECT_EQ(LoadOptionalHostFunctions((host().root() / "Resources/plugins/Broken.so").string().c_str()), 0);
  EXPECT_EQ(NullEntries(), 0);
}

TEST_F(HostFunctionsTest, NullLookupEmptiesTheTable) {
  FillAll();
  EXPECT_EQ(FillOptionalHostFunctions(nullptr), 0);
  EXPECT_EQ(NullEntries(), 23);
}

// A simulator folder deep enough that Resources/plugins/XPLM_64.so (28 characters) does or does not fit the
// 512-character path buffer.
class LibraryPathLengthTest : public LongPathTest {};

class LongestLibraryPathTest : public LibraryPathLengthTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return WithSystemPathLength(483); }
};

TEST_F(LongestLibraryPathTest, LibraryIsFoundAndTheCommandsExist) {
  if (sim::Host::platform() != sim::Platform::Linux) GTEST_SKIP() << "the library name is the Linux one";
  ASSERT_EQ(host().systemPath().size(), 483u);
  Start();
  EXPECT_TRUE(host().commands().exists("quorlend/talvenor/enable_toggle"));
  EXPECT_EQ(Debug().find("XPLM library is too long"), std::string::npos);
}

class TooLongLibraryPathTest : public LibraryPathLengthTest {
 protected:
  sim::HostOptions HostOptionsForTest() const override { return WithSystemPathLength(484); }
};

TEST_F(TooLongLibraryPathTest, NoLibraryIsOpenedAndThereAreNoCommands) {
  if (sim::Host::platform() != sim::Platform::Linux) GTEST_SKIP() << "the library name is the Linux one";
  ASSERT_EQ(host().systemPath().size(), 484u);
  Start();
  EXPECT_FALSE(host().commands().exists("quorlend/talvenor/enable_toggle"));
  EXPECT_EQ(host().commands().handlerCount("sim/general/left"), 0);
  EXPECT_NE(Debug().find("The path of the XPLM library is too long, no commands\n"), std::string::npos);
}

}  // namespace
}  // namespace talvenor::testing
