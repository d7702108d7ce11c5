// The guides, the install text and the shipped setup files name commands, menu items, setup keys and their
// defaults; each name is checked against the plugin's own tables and readers, so a guide that drifts from
// the code fails here with its file and line.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "config/setup_file.h"
#include "plugin/commands.h"
#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"
#include "tracker/external_data.h"
#include "udp_settings.h"

namespace talvenor::testing {
namespace {

constexpr const char* kGuides[] = {"README.md",
                                   "docs/pilots-guide.md",
                                   "docs/developers-guide.md",
                                   "docs/architecture.md",
                                   "docs/scenario-language.md",
                                   "packaging/INSTALL.txt",
                                   "examples/Talvenor.ini",
                                   "companion/udp/TalvenorUDP.ini"};

// One line of a guide, with the header and cells of the table row it is, if it is one.
struct GuideLine {
  std::string where;
  std::string text;
  std::vector<std::string> header;
  std::vector<std::string> cells;
  std::string Cell(const char* column) const {
    for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i)
      if (header[i] == column) return cells[i];
    return "";
  }
};

std::vector<std::string> Matches(const std::string& text, const char* pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
    found.push_back((*it)[it->size() > 1 ? 1 : 0]);
  return found;
}

std::vector<std::string> Cells(const std::string& row) {
  return Matches(row, "\\| *([^|]*?) *(?=\\|)");
}

std::vector<GuideLine> GuideLines() {
  const auto root = std::filesystem::path(__FILE__).parent_path() / ".." / "..";
  std::vector<GuideLine> lines;
  for (const char* name : kGuides) {
    std::ifstream in(root / name);
    EXPECT_TRUE(in) << name;
    std::vector<std::string> header;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
      GuideLine line{std::string(name) + ":" + std::to_string(number), text, {}, {}};
      const bool row = text.rfind('|', 0) == 0;
      if (row && header.empty()) {
        header = Cells(text);
      } else if (row && text.rfind("|---", 0) != 0) {
        line.header = header;
        line.cells = Cells(text);
      } else if (!row) {
        header.clear();
      }
      lines.push_back(line);
    }
  }
  return lines;
}

std::string LastPart(const char* path) {
  return std::strrchr(path, '/') + 1;
}

class GuidesTest : public PluginTest {
 protected:
  // Whether the reader of the file that has SECTION takes KEY = VALUE without a complaint, and leaves every
  // setting at its default.
  bool Reads(const std::string& section, const std::string& key, const std::string& value, bool& atDefault) {
    std::FILE* file = std::tmpfile();
    std::fputs(("[" + section + "]\n" + key + " = " + value + "\n").c_str(), file);
    std::rewind(file);
    bool read = false;
    if (section == "UDP" || section == "AXES") {
      udp::SettingsReport report;
      const udp::UdpSettings got = udp::ReadUdpSettings(file, report);
      const udp::UdpSettings defaults;
      static_assert(sizeof defaults == 16 + sizeof defaults.axes, "no padding between the settings");
      atDefault = std::memcmp(&got, &defaults, sizeof defaults) == 0;
      read = report.problems == 0;
    } else {
      sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
      ResetState();
      read = ParseSetupStream(file) == kSetupApplied;
      const SetupSettings defaults{};
      atDefault = std::memcmp(&Settings(), &defaults, sizeof defaults) == 0;
      if (key == "HOTKEY") read = read && LookupKeyName(value.c_str()) != 0;
      if (key == "HOTKEYMODIFIERS") read = read && ParseModifiers(value.c_str()) != 0;
    }
    (void)std::fclose(file);
    return read;
  }
};

TEST_F(GuidesTest, NameOnlyCommandsAndDatarefsThePluginMakes) {
  std::set<std::string> paths, commands;
  for (const CommandSpec& command : kPluginCommands)
    paths.insert(command.path), commands.insert(LastPart(command.path));
  for (const char* name : kExternalDataRefNames) paths.insert(name);
  for (const GuideLine& line : GuideLines()) {
    for (const std::string& path : Matches(line.text, "quorlend/talvenor/[a-z0-9_]+")) {
      const auto next = paths.lower_bound(path);  // a family named by the start of its names
      const bool family = path.back() == '_' && next != paths.end() && next->rfind(path, 0) == 0;
      EXPECT_TRUE(paths.count(path) == 1 || family) << line.where << ": no command or dataref " << path;
    }
    for (const std::string& name : Matches(line.Cell("command"), "`([a-z]+_[a-z0-9_]+|preset[0-9])`"))
      EXPECT_EQ(commands.count(name), 1u) << line.where << ": no command quorlend/talvenor/" << name;
  }
}

TEST_F(GuidesTest, NameOnlyMenuItemsOfEitherSource) {
  std::set<std::string> items;
  for (const char* setup : {"", "[CONFIG]\nENABLEEXTERNALDATA = 1\n"}) {
    WriteSetupFile(setup);
    Start();
    for (const sim::MenuItemInfo& item : MenuItems()) items.insert(item.text);
    host().stop();
  }
  for (const GuideLine& line : GuideLines()) {
    std::vector<std::string> named = Matches(line.text, "Talvenor > \\*\\*([^*]+)\\*\\*");
    for (const std::string& item : Matches(line.text, "\"Talvenor\" > \"([^\"]+)\"")) named.push_back(item);
    if (!line.Cell("item").empty()) named.push_back(line.Cell("item"));
    for (const std::string& item : named)
      EXPECT_EQ(items.count(item), 1u) << line.where << ": the menu Talvenor has no item \"" << item << "\"";
  }
}

TEST_F(GuidesTest, NameSetupKeysTheReadersTakeWithTheirDefaults) {
  bool atDefault = false;
  for (const GuideLine& line : GuideLines()) {
    // KEY = VALUE as a pilot would copy it into one of the two setup files.
    for (const std::string& setting :
         Matches(line.text, "\\b[A-Z][A-Z0-9_]*[A-Z0-9] = [^\\s`,;)\"]*[^\\s`,;)\".]")) {
      const std::string key = setting.substr(0, setting.find(' ')), value = setting.substr(key.size() + 3);
      bool taken = key == "KEY";
      for (const char* section : {"DEBUG", "CONFIG", "PRESET1", "UDP", "AXES"})
        taken = taken || Reads(section, key, value, atDefault);
      EXPECT_TRUE(taken) << line.where << ": no setup file takes " << setting;
    }
    // A table of sections, keys (the later ones of a cell may name only their end) and defaults.
    const std::vector<std::string> keys = Matches(line.Cell("key"), "`([A-Z0-9_]+)`");
    const std::string fallback = keys.empty() ? "HOTKEY" : keys.front();
    const std::string value = keys.empty() ? "A" : line.Cell("default");
    for (const std::string& section : Matches(line.Cell("section"), "`([A-Z0-9_]+)`")) {
      std::string prefix;
      for (const std::string& written : keys.empty() ? std::vector<std::string>{fallback} : keys) {
        std::string key = written;
        if (!Reads(section, key, value, atDefault) && written.size() < fallback.size()) {
          if (prefix.empty()) prefix = fallback.substr(0, fallback.size() - written.size());
          key = prefix + written;
        }
        EXPECT_TRUE(Reads(section, key, value, atDefault))
            << line.where << ": [" << section << "] has no " << key;
        EXPECT_TRUE(keys.empty() || value == "none" || atDefault)
            << line.where << ": the default of [" << section << "] " << key << " is not " << value;
      }
    }
  }
}

}  // namespace
}  // namespace talvenor::testing
