// Paths, the log and the aircraft queries of the simulated host; and the SDK without a host.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "XPLMDataAccess.h"
#include "XPLMPlanes.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "flight_loops.h"
#include "host.h"
#include "host_test_support.h"
#include "plugins.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HostPaths, SystemPathIsTheRootWithTrailingSeparator) {
  Host host;
  char path[512];
  XPLMGetSystemPath(path);
  EXPECT_STREQ(XPLMGetDirectorySeparator(), "/");
  ASSERT_GT(std::strlen(path), 1u);
  EXPECT_EQ(path[std::strlen(path) - 1], '/');
  EXPECT_TRUE(fs::equivalent(path, host.root()));
  // The plugin's folder is composed from it as plugins do.
  EXPECT_TRUE(fs::is_directory(std::string(path) + "Resources/plugins"));

  char prefs[512];
  XPLMGetPrefsPath(prefs);
  EXPECT_EQ(std::string(prefs), std::string(path) + "Output/preferences/Set X-Plane.prf");
  char* file = XPLMExtractFileAndPath(prefs);
  EXPECT_STREQ(file, "Set X-Plane.prf");
  EXPECT_EQ(std::string(prefs), std::string(path) + "Output/preferences");
}

TEST(HostPaths, LongPathsAreCutToTheBufferNotOverrun) {
  fs::path root = fs::temp_directory_path() / "talvenor-long";
  for (int i = 0; i < 3; ++i) root /= std::string(200, static_cast<char>('a' + i));
  {
    HostOptions options;
    options.root = root;
    Host host(options);
    char path[512 + 8];
    std::memset(path, '#', sizeof path);
    XPLMGetSystemPath(path);
    EXPECT_EQ(std::strlen(path), 511u);
    EXPECT_EQ(path[512], '#');
  }
  fs::remove_all(fs::temp_directory_path() / "talvenor-long");
}

TEST(HostPaths, ExtractFileAndPathSplitsInPlace) {
  Host host;
  char full[] = "/x/Aircraft/C172/C172.acf";
  char* file = XPLMExtractFileAndPath(full);
  EXPECT_STREQ(file, "C172.acf");
  EXPECT_STREQ(full, "/x/Aircraft/C172");
  EXPECT_EQ(file, full + std::strlen("/x/Aircraft/C172/"));

  char folder[] = "/x/Aircraft/";
  EXPECT_STREQ(XPLMExtractFileAndPath(folder), "");
  EXPECT_STREQ(folder, "/x/Aircraft");

  char bare[] = "C172.acf";
  EXPECT_EQ(XPLMExtractFileAndPath(bare), bare);
  EXPECT_STREQ(bare, "C172.acf");
  EXPECT_EQ(XPLMExtractFileAndPath(nullptr), nullptr);
}

TEST(HostAircraft, UserAircraftIsIndexZeroWithItsFullPath) {
  Host host;
  char name[256];
  char path[512];
  XPLMGetNthAircraftModel(0, name, path);
  EXPECT_STREQ(name, "Default.acf");
  EXPECT_EQ(fs::path(path), host.root() / "Aircraft" / "Default" / "Default.acf");
  EXPECT_TRUE(fs::is_regular_file(path));
  XPLMExtractFileAndPath(path);
  EXPECT_EQ(fs::path(path), host.root() / "Aircraft" / "Default");

  host.setAircraft("Aircraft/Laminar Research/Cessna 172SP/Cessna_172SP.acf");
  XPLMGetNthAircraftModel(0, name, path);
  EXPECT_STREQ(name, "Cessna_172SP.acf");
  EXPECT_EQ(fs::path(path),
            host.root() / "Aircraft" / "Laminar Research" / "Cessna 172SP" / "Cessna_172SP.acf");

  std::memset(name, 'x', sizeof name);
  std::memset(path, 'x', sizeof path);
  XPLMGetNthAircraftModel(1, name, path);
  EXPECT_STREQ(name, "");
  EXPECT_STREQ(path, "");

  int total = -1, active = -1;
  XPLMPluginID controller = -1;
  XPLMCountAircraft(&total, &active, &controller);
  EXPECT_EQ(total, 1);
  EXPECT_EQ(active, 1);
  EXPECT_EQ(controller, 0);
}

TEST(HostLog, DebugStringAppendsToLogTxtAsWritten) {
  Host host;
  XPLMDebugString("Probe: started\n");
  XPLMDebugString("no line end");
  XPLMDebugString(nullptr);
  EXPECT_EQ(ReadFile(host.root() / "Log.txt"), "Probe: started\nno line end");
}

void OnError(const char*) {}

TEST(HostLog, ErrorCallbackIsKept) {
  Host host;
  EXPECT_EQ(host.plugins().errorCallback(), nullptr);
  XPLMSetErrorCallback(OnError);
  EXPECT_EQ(host.plugins().errorCallback(), &OnError);
}

float NeverCalled(float, float, int, void*) {
  return 0;
}

TEST(NoHost, SdkFunctionsAreInertWithoutAHost) {
  ASSERT_EQ(Host::current(), nullptr);
  EXPECT_EQ(XPLMFindDataRef(test::kHeadX), nullptr);
  int local = 0;
  EXPECT_EQ(XPLMGetDataf(&local), 0.0f);
  XPLMSetDatai(&local, 5);
  EXPECT_EQ(local, 0);
  XPLMRegisterFlightLoopCallback(NeverCalled, -1, nullptr);
  EXPECT_EQ(XPLMGetElapsedTime(), 0.0f);
  EXPECT_EQ(XPLMFindPluginBySignature("xplanesdk.examples.DataRefEditor"), XPLM_NO_PLUGIN_ID);
  EXPECT_EQ(XPLMFindSymbol("XPLMFindDataRef"), nullptr);
  EXPECT_EQ(XPLMGetDirectorySeparator(), nullptr);
  char path[512] = "untouched";
  XPLMGetSystemPath(path);
  EXPECT_STREQ(path, "untouched");
  XPLMDebugString("lost\n");
  Host host;
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 0);  // the earlier registration went nowhere
  EXPECT_FALSE(fs::exists(host.root() / "Log.txt"));
}

}  // namespace
}  // namespace sim
