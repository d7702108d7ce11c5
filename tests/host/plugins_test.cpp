// Plugins, messages, symbol lookup and features of the simulated host.
#include "plugins.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "XPLMDataAccess.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "commands.h"
#include "flight_loops.h"
#include "host.h"

namespace sim {
namespace {

constexpr const char* kBrowser = "xplanesdk.examples.DataRefEditor";
constexpr const char* kProbeSignature = "quorlend.test.probe";
constexpr int kAddDataRef = 0x01000000;

// A plugin linked into the test: identifies itself and records what it receives, with the caller the host
// attributes the call to.
struct Received {
  PluginId from;
  int message;
  void* param;
  PluginId runningAs;
};
std::vector<Received> g_received;
int g_enableResult = 1;
int g_disableCalls = 0;

int ProbeStart(char* name, char* signature, char* description) {
  std::strcpy(name, "Probe");
  std::strcpy(signature, kProbeSignature);
  std::strcpy(description, "Records its messages");
  return 1;
}
void ProbeStop() {}
int ProbeEnable() {
  return g_enableResult;
}
void ProbeDisable() {
  ++g_disableCalls;
}
void ProbeReceive(XPLMPluginID from, int message, void* param) {
  g_received.push_back({from, message, param, Host::current()->caller()});
}

void LinkProbe(Host& host) {
  g_received.clear();
  host.linkPlugin({ProbeStart, ProbeStop, ProbeEnable, ProbeDisable, ProbeReceive}, "Probe");
}

TEST(PluginLookup, FindsTheLoadedPluginAndStubsBySignature) {
  Host host;
  LinkProbe(host);
  const PluginId browser = host.plugins().addStub(kBrowser);
  EXPECT_EQ(browser, 2);
  EXPECT_EQ(host.plugins().addStub("quorlend.other"), 3);
  EXPECT_EQ(XPLMFindPluginBySignature(kBrowser), browser);
  EXPECT_EQ(XPLMFindPluginBySignature("quorlend.other"), 3);
  EXPECT_EQ(XPLMFindPluginBySignature("nobody.here"), XPLM_NO_PLUGIN_ID);
  EXPECT_EQ(XPLMFindPluginBySignature(nullptr), XPLM_NO_PLUGIN_ID);
  EXPECT_EQ(XPLMFindPluginBySignature(kProbeSignature), XPLM_NO_PLUGIN_ID);  // not started yet
  EXPECT_EQ(XPLMCountPlugins(), 2);

  ASSERT_EQ(host.start(), 1);
  EXPECT_EQ(XPLMFindPluginBySignature(kProbeSignature), kPluginUnderTest);
  EXPECT_EQ(XPLMCountPlugins(), 3);
  EXPECT_EQ(XPLMGetNthPlugin(0), kPluginUnderTest);
  EXPECT_EQ(XPLMGetNthPlugin(2), 3);
  EXPECT_EQ(XPLMGetNthPlugin(3), XPLM_NO_PLUGIN_ID);
  EXPECT_EQ(XPLMIsPluginEnabled(kPluginUnderTest), 1);

  char name[256], path[256], signature[256], description[256];
  XPLMGetPluginInfo(kPluginUnderTest, name, path, signature, description);
  EXPECT_STREQ(name, "Probe");
  EXPECT_STREQ(signature, kProbeSignature);
  EXPECT_STREQ(description, "Records its messages");
  const std::string installed = (host.pluginFolder() / "lin_x64" / "Probe.xpl").string();
  EXPECT_EQ(path, installed);
  EXPECT_EQ(XPLMFindPluginByPath(installed.c_str()), kPluginUnderTest);
  EXPECT_EQ(XPLMFindPluginByPath("/elsewhere/Probe.xpl"), XPLM_NO_PLUGIN_ID);
  XPLMGetPluginInfo(browser, nullptr, nullptr, signature, nullptr);
  EXPECT_STREQ(signature, kBrowser);

  host.stop();
  EXPECT_EQ(XPLMFindPluginBySignature(kProbeSignature), XPLM_NO_PLUGIN_ID);
  EXPECT_EQ(XPLMIsPluginEnabled(kPluginUnderTest), 0);
}

TEST(PluginLookup, AFailedEnableLeavesThePluginLoadedButDisabled) {
  Host host;
  LinkProbe(host);
  g_enableResult = 0;
  g_disableCalls = 0;
  ASSERT_EQ(host.start(), 1);
  g_enableResult = 1;
  EXPECT_EQ(XPLMFindPluginBySignature(kProbeSignature), kPluginUnderTest);
  EXPECT_EQ(XPLMIsPluginEnabled(kPluginUnderTest), 0);
  host.planeLoaded();
  XPLMSendMessageToPlugin(kPluginUnderTest, 0x01000001, nullptr);
  EXPECT_TRUE(g_received.empty());
  host.stop();
  EXPECT_EQ(g_disableCalls, 0);
}

TEST(PluginLookup, MyIdIsThePluginWhoseCodeRuns) {
  Host host;
  EXPECT_EQ(XPLMGetMyID(), kPluginUnderTest);
  Host::PluginCall as(host, 2);
  EXPECT_EQ(XPLMGetMyID(), 2);
}

TEST(PluginMessages, StubRecordsTextOfPluginMessagesAndNumbersOfOthers) {
  Host host;
  host.plugins().addStub(kBrowser);
  const PluginId browser = XPLMFindPluginBySignature(kBrowser);
  char name[] = "quorlend/talvenor/external_x";
  XPLMSendMessageToPlugin(browser, kAddDataRef, name);
  XPLMSendMessageToPlugin(browser, XPLM_MSG_PLANE_LOADED, reinterpret_cast<void*>(intptr_t{3}));
  XPLMSendMessageToPlugin(browser, kAddDataRef, nullptr);
  XPLMSendMessageToPlugin(browser, 0x00FFFFFF, name);
  {
    Host::PluginCall as(host, 5);
    XPLMSendMessageToPlugin(browser, 0x00FFFFFE, name);
  }
  const std::vector<RecordedMessage>* got = host.plugins().messages(kBrowser);
  ASSERT_NE(got, nullptr);
  ASSERT_EQ(got->size(), 5u);
  EXPECT_EQ((*got)[0].from, kPluginUnderTest);
  EXPECT_EQ((*got)[0].number, kAddDataRef);
  EXPECT_EQ((*got)[0].text, "quorlend/talvenor/external_x");
  EXPECT_EQ((*got)[1].text, "3");
  EXPECT_EQ((*got)[1].param, 3);
  EXPECT_EQ((*got)[2].text, "0");
  EXPECT_EQ((*got)[3].text, "quorlend/talvenor/external_x");
  EXPECT_EQ((*got)[4].from, 5);
  EXPECT_EQ((*got)[4].text, std::to_string(reinterpret_cast<intptr_t>(name)));
  EXPECT_EQ(host.plugins().messages("nobody.here"), nullptr);

  XPLMDisablePlugin(browser);
  EXPECT_EQ(XPLMIsPluginEnabled(browser), 0);
  XPLMSendMessageToPlugin(browser, kAddDataRef, name);
  EXPECT_EQ(got->size(), 5u);
  EXPECT_EQ(XPLMEnablePlugin(browser), 1);
}

TEST(PluginMessages, MessagesToThePluginUnderTestCarryTheSender) {
  Host host;
  LinkProbe(host);
  const PluginId stub = host.plugins().addStub("quorlend.sender");
  int payload = 0;
  XPLMSendMessageToPlugin(kPluginUnderTest, 0x01000001, &payload);
  EXPECT_TRUE(g_received.empty());  // not started: nobody to receive it
  ASSERT_EQ(host.start(), 1);
  {
    Host::PluginCall as(host, stub);
    XPLMSendMessageToPlugin(kPluginUnderTest, 0x01000001, &payload);
  }
  XPLMSendMessageToPlugin(XPLM_NO_PLUGIN_ID, 0x01000002, nullptr);
  ASSERT_EQ(g_received.size(), 2u);
  EXPECT_EQ(g_received[0].from, stub);
  EXPECT_EQ(g_received[0].param, &payload);
  EXPECT_EQ(g_received[0].runningAs, kPluginUnderTest);
  EXPECT_EQ(g_received[1].message, 0x01000002);
  ASSERT_EQ(host.plugins().messages("quorlend.sender")->size(), 1u);  // the broadcast reached the stub
  EXPECT_EQ(host.plugins().messages("quorlend.sender")->at(0).number, 0x01000002);
  host.stop();
}

// The SDK probe's library loaded beside the linked plugin: a plugin of its own, and what it leaks is
// reported.
TEST(PluginCompanions, ALoadedLibraryRunsAsItsOwnPluginAndItsLeaksAreReportedAtItsStop) {
  Host host;
  std::string error;
  EXPECT_EQ(host.loadCompanion("no/such/plugin.xpl", &error), XPLM_NO_PLUGIN_ID);
  EXPECT_FALSE(error.empty());
  const PluginId id = host.loadCompanion(TALVENOR_TEST_PLUGIN, &error);
  ASSERT_NE(id, XPLM_NO_PLUGIN_ID) << error;
  EXPECT_EQ(XPLMFindPluginBySignature("talvenor.tests.sdk_probe"), id);
  EXPECT_EQ(host.flightLoops().count(kPluginUnderTest), 0);
  EXPECT_GT(host.flightLoops().count(id), 0);
  host.planeLoaded();  // the simulator's messages reach every enabled plugin, the plugin under test or not
  EXPECT_EQ(XPLMGetDatai(XPLMFindDataRef("probe/plane_loaded")), 1);
  ASSERT_TRUE(host.commands().once("probe/leak"));
  EXPECT_FALSE(host.stopCompanions().empty());
  EXPECT_EQ(host.flightLoops().count(id), 0);
}

TEST(PluginSymbols, FindSymbolGivesTheHostsSdkFunctionsOnly) {
  Host host;
  EXPECT_EQ(XPLMFindSymbol("XPLMFindDataRef"), reinterpret_cast<void*>(&XPLMFindDataRef));
  EXPECT_EQ(XPLMFindSymbol("XPLMRegisterFlightLoopCallback"),
            reinterpret_cast<void*>(&XPLMRegisterFlightLoopCallback));
  EXPECT_EQ(XPLMFindSymbol("XPLMSetErrorCallback"), reinterpret_cast<void*>(&XPLMSetErrorCallback));
  EXPECT_EQ(XPLMFindSymbol("XPLMCreateWindowEx"), nullptr);
  EXPECT_EQ(XPLMFindSymbol("XPLMProbeTerrainXYZ"), nullptr);
  EXPECT_EQ(XPLMFindSymbol("malloc"), nullptr);
  EXPECT_EQ(XPLMFindSymbol("_ZN3sim4Host7currentEv"), nullptr);  // the host's own C++ API
  EXPECT_EQ(XPLMFindSymbol(""), nullptr);
  EXPECT_EQ(XPLMFindSymbol(nullptr), nullptr);
}

void CollectFeature(const char* feature, void* ref) {
  static_cast<std::vector<std::string>*>(ref)->push_back(feature);
}

TEST(PluginFeatures, NativePathsCanBeSwitchedOnAndUnknownFeaturesAreIgnored) {
  Host host;
  EXPECT_EQ(XPLMHasFeature("XPLM_USE_NATIVE_PATHS"), 1);
  EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS"), 0);
  XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
  EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS"), 1);
  EXPECT_EQ(XPLMHasFeature("XPLM_NO_SUCH_THING"), 0);
  XPLMEnableFeature("XPLM_NO_SUCH_THING", 1);
  EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_NO_SUCH_THING"), 0);
  EXPECT_EQ(XPLMHasFeature(nullptr), 0);
  std::vector<std::string> names;
  XPLMEnumerateFeatures(CollectFeature, &names);
  EXPECT_EQ(names, (std::vector<std::string>{"XPLM_USE_NATIVE_PATHS", "XPLM_USE_NATIVE_WIDGET_WINDOWS"}));
  {
    Host::PluginCall other(host, host.plugins().addStub("other"));  // features of its own
    EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS"), 0);
  }
  // The older simulator lacks the widget-window one; a removed feature is off and cannot be enabled.
  host.setSimulator(Simulator::Older);
  EXPECT_EQ(XPLMHasFeature("XPLM_USE_NATIVE_WIDGET_WINDOWS"), 0);
  host.plugins().removeFeature("XPLM_USE_NATIVE_PATHS");
  XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
  EXPECT_EQ(XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS"), 0);
}

}  // namespace
}  // namespace sim
