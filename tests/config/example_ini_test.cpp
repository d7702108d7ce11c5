// The commented Talvenor.ini that pilots get in the package (examples/Talvenor.ini) names every setting with
// the value the plugin uses without a file, and binds no hotkey: putting it in place changes nothing until
// the pilot edits it, and each line shows what there is to edit.
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>

#include "config/setup_file.h"
#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"

namespace talvenor::testing {
namespace {

// The settings are compared word by word, so a setting added later is covered without a change here.
static_assert(std::is_trivially_copyable_v<SetupSettings> &&
              sizeof(SetupSettings) % sizeof(std::uint32_t) == 0);
constexpr std::size_t kWords = sizeof(SetupSettings) / sizeof(std::uint32_t);

std::string ExampleText() {
  const auto path = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / "Talvenor.ini";
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ExampleIniTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ResetState();
  }
  void TearDown() override {
    PluginTest::TearDown();
    ResetState();
  }
};

TEST_F(ExampleIniTest, SetsEverySettingToItsDefaultAndBindsNoHotkey) {
  const std::string example = ExampleText();
  ASSERT_NE(example.find("[CONFIG]"), std::string::npos)
      << "examples/Talvenor.ini not found beside the tests";
  WriteFile("parser/Talvenor.ini", example);

  // Every setting away from its default first: one the example leaves out keeps this value and shows.
  SetupSettings& settings = Settings();
  std::array<unsigned char, sizeof(SetupSettings)> scrambled;
  scrambled.fill(0x5A);
  std::memcpy(&settings, scrambled.data(), sizeof settings);
  {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    ASSERT_EQ(ParseSetupFile(host().resolve("parser/Talvenor.ini").string().c_str()), kSetupApplied);
  }

  const SetupSettings defaults{};
  std::uint32_t read[kWords];
  std::uint32_t expected[kWords];
  std::memcpy(read, &settings, sizeof read);
  std::memcpy(expected, &defaults, sizeof expected);
  for (std::size_t word = 0; word < kWords; ++word) {
    EXPECT_EQ(read[word], expected[word]) << "SetupSettings word " << word << " (byte " << word * 4
                                          << ") differs from its default after reading the example";
  }
  for (int slot = 0; slot < kHotkeySlots; ++slot) {
    EXPECT_EQ(settings.hotkeys[slot].enabled, 0) << "hotkey slot " << slot;
  }
}

TEST_F(ExampleIniTest, StartWithTheExampleLogsAndRegistersAsWithoutAFile) {
  Start();
  const std::string withoutFile = Log();
  const int hotkeysWithoutFile = host().hotkeys().count();
  host().stop();

  WriteSetupFile(ExampleText());
  Start();
  EXPECT_EQ(Log(), withoutFile);
  EXPECT_EQ(host().hotkeys().count(), hotkeysWithoutFile);
  EXPECT_EQ(host().hotkeys().count(), 0);
}

}  // namespace
}  // namespace talvenor::testing
