// A fresh simulated X-Plane and a fresh Talvenor, linked into the test, for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "XPLMDefs.h"
#include "commands.h"
#include "datarefs.h"
#include "file_faults.h"
#include "flight_loops.h"
#include "host.h"
#include "host/host_test_support.h"
#include "hotkeys.h"
#include "menus.h"
#include "plugin/entry_points.h"
#include "plugins.h"
#include "widgets.h"

namespace talvenor::testing {

using sim::test::kControlPanelCaption;
using sim::test::kHeadHeading;
using sim::test::kHeadPitch;
using sim::test::kHeadRoll;
using sim::test::kHeadX;
using sim::test::kHeadY;
using sim::test::kHeadZ;
using sim::test::kViewType;

// One record of Talvenor.dat or TalvenorLimits.dat: a flag, then six floats (a preset's x, y, z, pitch,
// heading, roll; a slot's X1, X2, Y1, Y2, Z1, Z2).
struct FileRecord {
  std::int32_t flag = 0;
  float values[6] = {};
};

// A per-aircraft file built field by field, independent of the plugin's own records, so that a change of
// their layout shows: RECORDS in slot order, each 28 bytes.
inline std::string FileBytes(const std::vector<FileRecord>& records) {
  std::string bytes(28 * records.size(), '\0');
  for (std::size_t slot = 0; slot < records.size(); ++slot) {
    std::memcpy(bytes.data() + 28 * slot, &records[slot].flag, 4);
    std::memcpy(bytes.data() + 28 * slot + 4, records[slot].values, 24);
  }
  return bytes;
}
// TalvenorEffects.dat: its switch and six divisors as 32-bit integers.
inline std::string IntBytes(const std::vector<std::int32_t>& values) {
  std::string bytes(4 * values.size(), '\0');
  if (!values.empty()) std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}
// The record of SLOT in a file's BYTES; a file too short for it fails the test.
inline FileRecord RecordAt(const std::string& bytes, int slot) {
  FileRecord record;
  if (bytes.size() < static_cast<std::size_t>(28 * (slot + 1))) {
    ADD_FAILURE() << "the file holds " << bytes.size() << " bytes, no slot " << slot;
    return record;
  }
  std::memcpy(&record.flag, bytes.data() + 28 * slot, 4);
  std::memcpy(record.values, bytes.data() + 28 * slot + 4, 24);
  return record;
}

class PluginTest : public ::testing::Test {
 protected:
  // A test fixture that needs another simulator folder, frame rate or aircraft overrides this.
  virtual sim::HostOptions HostOptionsForTest() const { return {}; }

  void SetUp() override {
    host_ = std::make_unique<sim::Host>(HostOptionsForTest());
    host_->linkPlugin({&XPluginStart, &XPluginStop, &XPluginEnable, &XPluginDisable, &XPluginReceiveMessage});
  }
  void TearDown() override {
    if (host_->started()) {
      const auto left = host_->stop();
      EXPECT_TRUE(left.empty()) << "left registered: " << (left.empty() ? "" : left.front());
    }
    // X-Plane frees a destroyed widget: touching one afterwards would crash the simulator.
    EXPECT_EQ(host_->widgets().staleCalls(), 0) << "the plugin used widgets it had destroyed";
    host_.reset();
  }

  sim::Host& host() { return *host_; }

  // Writes Talvenor.ini into the plugin's folder before the start.
  void WriteSetupFile(const std::string& text) { WriteFile("Resources/plugins/Talvenor/Talvenor.ini", text); }
  void WriteFile(const std::string& relative, const std::string& bytes) {
    const auto path = host_->resolve(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string ReadFile(const std::string& relative) const {
    std::ifstream in(host_->resolve(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The default aircraft's file NAME (Talvenor.dat, TalvenorLimits.dat, TalvenorEffects.dat).
  void WriteAircraftFile(const std::string& name, const std::string& bytes) {
    WriteFile("Aircraft/Default/" + name, bytes);
  }
  FileRecord RecordOf(const std::string& name, int slot) const {
    return RecordAt(ReadFile("Aircraft/Default/" + name), slot);
  }
  std::string Log() const { return ReadFile("Resources/plugins/Talvenor/TalvenorLog.txt"); }

  void Start() { ASSERT_EQ(host_->start(), 1); }
  float Float(const char* dataref) { return static_cast<float>(host_->datarefs().read(dataref)->value); }
  int Int(const char* dataref) { return static_cast<int>(host_->datarefs().read(dataref)->value); }
  void Set(const char* dataref, double value) { ASSERT_TRUE(host_->datarefs().write(dataref, value)); }

  // What the plugin sent to the debugger output so far.
  std::string Debug() const { return host_->debug().text(); }

  // The plugin's menu "Talvenor" as the user sees it (empty when it does not exist).
  std::vector<sim::MenuItemInfo> MenuItems(const char* title = "Talvenor") const {
    return host_->menus().items(title).value_or(std::vector<sim::MenuItemInfo>{});
  }
  // Picks an item of the plugin's menu by text or "#INDEX"; true when a handler was called.
  bool Pick(const std::string& item) {
    bool handled = false;
    return host_->menus().pick("Talvenor", item, &handled) && handled;
  }

  // The hotkeys the plugin holds, and a tap of a key (down, then up); the result is how many callbacks ran.
  std::vector<sim::HotkeyInfo> Hotkeys() const { return host_->hotkeys().list(sim::kPluginUnderTest); }
  int Press(int virtualKey, XPLMKeyFlags modifiers = 0) {
    return host_->hotkeys().tap(virtualKey, modifiers);
  }

 private:
  std::unique_ptr<sim::Host> host_;
};

}  // namespace talvenor::testing
