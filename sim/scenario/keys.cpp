#include "keys.h"

#include <cctype>

#include "config/key_names.h"

namespace sim::scenario {
namespace {

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace

std::optional<int> KeyCode(std::string_view name) {
  const std::string upper = Upper(name);
  for (const talvenor::KeyName& key : talvenor::kKeyNameTable) {
    if (key.name == upper) return key.code;
  }
  return std::nullopt;
}

std::optional<int> KeyFlags(std::string_view names) {
  int flags = 0;
  while (true) {
    const std::size_t plus = names.find('+');
    const std::string name = Upper(names.substr(0, plus));
    bool known = false;
    for (const talvenor::KeyName& flag : talvenor::kModifierNameTable) {
      if (name == flag.name) {
        flags |= flag.code;
        known = true;
      }
    }
    if (!known) return std::nullopt;
    if (plus == std::string_view::npos) return flags;
    names.remove_prefix(plus + 1);
  }
}

std::string KeyName(int code) {
  for (const talvenor::KeyName& key : talvenor::kKeyNameTable) {
    if (key.code == code) return key.name;
  }
  return std::to_string(code);
}

std::string FlagNames(int flags) {
  std::string text;
  for (const talvenor::KeyName& flag : talvenor::kModifierNameTable) {
    if ((flags & flag.code) == 0) continue;
    if (!text.empty()) text += '+';
    text += flag.name;
  }
  return text;
}

}  // namespace sim::scenario
