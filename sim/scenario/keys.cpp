#include "keys.h"

#include <array>
#include <cctype>
#include <utility>
#include <vector>

namespace sim::scenario {
namespace {

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

const std::vector<std::pair<std::string, int>>& KeyTable() {
  static const std::vector<std::pair<std::string, int>> table = [] {
    std::vector<std::pair<std::string, int>> keys = {
        {"BACK", 8}, {"TAB", 9}, {"CLEAR", 12}, {"RETURN", 13}, {"ESCAPE", 27}};
    const std::array<const char*, 16> navigation = {
        "SPACE", "PRIOR",  "NEXT",  "END",     "HOME",     "LEFT",   "UP",     "RIGHT",
        "DOWN",  "SELECT", "PRINT", "EXECUTE", "SNAPSHOT", "INSERT", "DELETE", "HELP"};
    for (std::size_t i = 0; i < navigation.size(); ++i)
      keys.emplace_back(navigation[i], 32 + static_cast<int>(i));
    for (int i = 0; i < 10; ++i) keys.emplace_back(std::string(1, static_cast<char>('0' + i)), 48 + i);
    for (int i = 0; i < 26; ++i) keys.emplace_back(std::string(1, static_cast<char>('A' + i)), 65 + i);
    for (int i = 0; i < 10; ++i) keys.emplace_back("NUMPAD" + std::to_string(i), 96 + i);
    const std::array<const char*, 6> keypad = {"MULTIPLY", "ADD",     "SEPARATOR",
                                               "SUBTRACT", "DECIMAL", "DIVIDE"};
    for (std::size_t i = 0; i < keypad.size(); ++i) keys.emplace_back(keypad[i], 106 + static_cast<int>(i));
    for (int i = 1; i <= 24; ++i) keys.emplace_back("F" + std::to_string(i), 111 + i);
    const std::array<const char*, 14> marks = {"EQUAL",     "MINUS",     "RBRACE",     "LBRACE",   "QUOTE",
                                               "SEMICOLON", "BACKSLASH", "COMMA",      "SLASH",    "PERIOD",
                                               "BACKQUOTE", "ENTER",     "NUMPAD_ENT", "NUMPAD_EQ"};
    for (std::size_t i = 0; i < marks.size(); ++i) keys.emplace_back(marks[i], 176 + static_cast<int>(i));
    return keys;
  }();
  return table;
}

constexpr std::array<std::pair<const char*, int>, 5> kFlags = {
    {{"SHIFT", 1}, {"ALT", 2}, {"CONTROL", 4}, {"DOWN", 8}, {"UP", 16}}};

}  // namespace

std::optional<int> KeyCode(std::string_view name) {
  const std::string upper = Upper(name);
  for (const auto& [key, code] : KeyTable()) {
    if (key == upper) return code;
  }
  return std::nullopt;
}

std::optional<int> KeyFlags(std::string_view names) {
  int flags = 0;
  while (true) {
    const std::size_t plus = names.find('+');
    const std::string name = Upper(names.substr(0, plus));
    bool known = false;
    for (const auto& [flagName, flag] : kFlags) {
      if (name == flagName) {
        flags |= flag;
        known = true;
      }
    }
    if (!known) return std::nullopt;
    if (plus == std::string_view::npos) return flags;
    names.remove_prefix(plus + 1);
  }
}

std::string KeyName(int code) {
  for (const auto& [key, value] : KeyTable()) {
    if (value == code) return key;
  }
  return std::to_string(code);
}

std::string FlagNames(int flags) {
  std::string text;
  for (const auto& [name, flag] : kFlags) {
    if ((flags & flag) == 0) continue;
    if (!text.empty()) text += '+';
    text += name;
  }
  return text;
}

}  // namespace sim::scenario
