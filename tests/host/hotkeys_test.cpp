// Hotkeys as a plugin registers them and the user presses them, message by message as X-Plane 12 sends them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "XPLMDisplay.h"
#include "XPLMProcessing.h"
#include "host.h"
#include "hotkeys.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string>* g_log = nullptr;

// The refcon is the hotkey's own text, as the plugin registers its slot texts.
void Record(void* refcon) {
  g_log->push_back(std::string(static_cast<const char*>(refcon)) + "@" +
                   std::to_string(sim::Host::current()->caller()));
}

class HotkeysTest : public ::testing::Test {
 protected:
  HotkeysTest() { g_log = &log_; }
  ~HotkeysTest() override { g_log = nullptr; }

  XPLMHotKeyID Register(int key, XPLMKeyFlags flags, const char* text) {
    return XPLMRegisterHotKey(static_cast<char>(key), flags, text, Record, const_cast<char*>(text));
  }

  sim::Host host_;
  sim::Hotkeys& hotkeys_ = host_.hotkeys();
  std::vector<std::string> log_;
};

float RecordLoop(float, float, int, void*) {
  g_log->push_back("loop");
  return -1;
}

TEST_F(HotkeysTest, APressIsDownThenARepeatInEachCycleHeldThenUpWithTheModifiersHeld) {
  Register(XPLM_VK_F1, xplm_ShiftFlag | xplm_DownFlag, "down");
  Register(XPLM_VK_F1, xplm_ShiftFlag | xplm_UpFlag, "up");
  Register(XPLM_VK_F1, xplm_ShiftFlag, "repeat");
  Register(XPLM_VK_F1, xplm_DownFlag, "unshifted");
  Register(XPLM_VK_F2, xplm_ShiftFlag | xplm_DownFlag, "f2");
  XPLMRegisterFlightLoopCallback(RecordLoop, -1, nullptr);

  EXPECT_EQ(hotkeys_.tap(XPLM_VK_F1, xplm_ShiftFlag), 2);
  EXPECT_EQ(hotkeys_.hold(XPLM_VK_F1, xplm_ShiftFlag, 2), 4);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_F1, xplm_ShiftFlag | xplm_ControlFlag | xplm_DownFlag), 0);
  EXPECT_THAT(log_, ElementsAre("down@1", "up@1", "down@1", "repeat@1", "loop", "repeat@1", "loop", "up@1"));
  EXPECT_THROW(hotkeys_.tap(XPLM_VK_F1, xplm_DownFlag), std::invalid_argument);
  XPLMUnregisterFlightLoopCallback(RecordLoop, nullptr);
}

TEST_F(HotkeysTest, KeyCodesAboveSevenBitsMatchAsUnsignedBytes) {
  Register(XPLM_VK_EQUAL, 0, "equal");
  Register(XPLM_VK_F24, xplm_DownFlag, "f24");
  EXPECT_EQ(hotkeys_.send(XPLM_VK_EQUAL, 0), 1);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_EQUAL - 256, 0), 1);  // the same byte as a signed char
  EXPECT_EQ(hotkeys_.send(XPLM_VK_F24, xplm_DownFlag), 1);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_EQUAL & 0x7F, 0), 0);
  EXPECT_THAT(log_, ElementsAre("equal@1", "equal@1", "f24@1"));
  ASSERT_EQ(hotkeys_.list(sim::kPluginUnderTest).size(), 2u);
  EXPECT_EQ(hotkeys_.list(sim::kPluginUnderTest)[0].virtualKey, XPLM_VK_EQUAL);
}

TEST_F(HotkeysTest, UnregisteredHotkeysAreGoneAndIdsAreNeverReused) {
  XPLMHotKeyID first = Register(XPLM_VK_F1, 0, "first");
  XPLMHotKeyID second = Register(XPLM_VK_F1, 0, "second");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(XPLMCountHotKeys(), 2);
  EXPECT_EQ(XPLMGetNthHotKey(0), first);
  EXPECT_EQ(XPLMGetNthHotKey(1), second);
  EXPECT_EQ(XPLMGetNthHotKey(2), nullptr);
  EXPECT_EQ(XPLMGetNthHotKey(-1), nullptr);

  XPLMUnregisterHotKey(first);
  XPLMUnregisterHotKey(first);  // unknown by now: ignored
  XPLMUnregisterHotKey(nullptr);
  EXPECT_EQ(XPLMCountHotKeys(), 1);
  EXPECT_EQ(XPLMGetNthHotKey(0), second);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_F1, 0), 1);
  EXPECT_THAT(log_, ElementsAre("second@1"));

  XPLMHotKeyID third = Register(XPLM_VK_F1, 0, "third");
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
  EXPECT_EQ(XPLMRegisterHotKey(XPLM_VK_F1, 0, "no callback", nullptr, nullptr), nullptr);
  EXPECT_EQ(XPLMCountHotKeys(), 2);
}

TEST_F(HotkeysTest, InfoReportsTheRegistration) {
  XPLMHotKeyID id = Register(XPLM_VK_NUMPAD5, xplm_ShiftFlag | xplm_OptionAltFlag, "03");
  char key = 0;
  XPLMKeyFlags flags = 0;
  std::array<char, 512> description{};
  XPLMPluginID plugin = -1;
  XPLMGetHotKeyInfo(id, &key, &flags, description.data(), &plugin);
  EXPECT_EQ(static_cast<unsigned char>(key), XPLM_VK_NUMPAD5);
  EXPECT_EQ(flags, xplm_ShiftFlag | xplm_OptionAltFlag);
  EXPECT_STREQ(description.data(), "03");
  EXPECT_EQ(plugin, sim::kPluginUnderTest);
  XPLMGetHotKeyInfo(id, nullptr, nullptr, nullptr, nullptr);
  flags = 99;
  XPLMGetHotKeyInfo(nullptr, &key, &flags, description.data(), &plugin);
  EXPECT_EQ(flags, 99);  // unknown: nothing written

  // A long description is cut at 255 characters and terminated.
  const std::string longText(400, 'x');
  XPLMHotKeyID longId = Register(XPLM_VK_F9, 0, longText.c_str());
  description.fill('#');
  XPLMGetHotKeyInfo(longId, nullptr, nullptr, description.data(), nullptr);
  EXPECT_EQ(std::strlen(description.data()), 255u);
  EXPECT_EQ(description[256], '#');
}

TEST_F(HotkeysTest, ANewCombinationMovesTheHotkey) {
  XPLMHotKeyID id = Register(XPLM_VK_F1, 0, "moved");
  Register(XPLM_VK_F2, xplm_ControlFlag, "stays");
  XPLMSetHotKeyCombination(id, XPLM_VK_F2, xplm_ControlFlag);
  XPLMSetHotKeyCombination(nullptr, XPLM_VK_F3, 0);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_F1, 0), 0);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_F2, xplm_ControlFlag), 2);
  EXPECT_THAT(log_, ElementsAre("moved@1", "stays@1"));  // still in registration order
}

XPLMHotKeyID g_victim = nullptr;

void UnregisterVictim(void* refcon) {
  Record(refcon);
  XPLMUnregisterHotKey(g_victim);
}

TEST_F(HotkeysTest, ACallbackMayUnregisterHotkeysDuringAPress) {
  XPLMHotKeyID self = XPLMRegisterHotKey(XPLM_VK_A, 0, "a", UnregisterVictim, const_cast<char*>("killer"));
  g_victim = Register(XPLM_VK_A, 0, "victim");
  Register(XPLM_VK_A, 0, "bystander");
  EXPECT_EQ(hotkeys_.send(XPLM_VK_A, 0), 2);
  EXPECT_THAT(log_, ElementsAre("killer@1", "bystander@1"));

  log_.clear();
  g_victim = self;  // now it removes itself
  EXPECT_EQ(hotkeys_.send(XPLM_VK_A, 0), 2);
  EXPECT_EQ(hotkeys_.send(XPLM_VK_A, 0), 1);
  EXPECT_THAT(log_, ElementsAre("killer@1", "bystander@1", "bystander@1"));
}

TEST_F(HotkeysTest, RegistrationsAreReportedPerPluginAndGoWithIt) {
  Register(XPLM_VK_F1, xplm_ShiftFlag, "03");
  Register(XPLM_VK_NUMPAD5, 0, "04");
  Register(XPLM_VK_EQUAL, xplm_ControlFlag | xplm_OptionAltFlag, "05");
  {
    sim::Host::PluginCall call(host_, 2);
    Register(XPLM_VK_F1, xplm_ShiftFlag, "stub");
  }
  EXPECT_THAT(
      hotkeys_.registrations(sim::kPluginUnderTest),
      ElementsAre("hotkey F1 (SHIFT) \"03\"", "hotkey NUMPAD5 \"04\"", "hotkey EQUAL (ALT+CONTROL) \"05\""));
  EXPECT_THAT(hotkeys_.registrations(2), ElementsAre("hotkey F1 (SHIFT) \"stub\""));
  EXPECT_EQ(hotkeys_.send(XPLM_VK_F1, xplm_ShiftFlag), 2);
  EXPECT_THAT(log_, ElementsAre("03@1", "stub@2"));  // each runs as its own plugin

  hotkeys_.removePlugin(sim::kPluginUnderTest);
  EXPECT_THAT(hotkeys_.registrations(sim::kPluginUnderTest), IsEmpty());
  EXPECT_EQ(XPLMCountHotKeys(), 1);
  EXPECT_EQ(sim::Hotkeys::describe(0xE5, xplm_DownFlag | xplm_UpFlag), "0xE5 (DOWN+UP)");
}

TEST(HotkeysWithoutHost, CallsDoNothing) {
  ASSERT_EQ(sim::Host::current(), nullptr);
  EXPECT_EQ(XPLMRegisterHotKey(XPLM_VK_F1, 0, "x", Record, nullptr), nullptr);
  EXPECT_EQ(XPLMCountHotKeys(), 0);
  EXPECT_EQ(XPLMGetNthHotKey(0), nullptr);
  XPLMKeyFlags flags = 7;
  XPLMGetHotKeyInfo(nullptr, nullptr, &flags, nullptr, nullptr);
  EXPECT_EQ(flags, 7);
  XPLMUnregisterHotKey(nullptr);
}

}  // namespace
