// Key and modifier names of the scenario language (the names the setup file uses), case-insensitive.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim::scenario {

// The virtual-key code of a name (`F1` 112, `NUMPAD5` 101, `A` 65, ...).
std::optional<int> KeyCode(std::string_view name);
// Modifier flags from names joined by "+": SHIFT 1, ALT 2, CONTROL 4, DOWN 8, UP 16.
std::optional<int> KeyFlags(std::string_view names);
// The flags of a press's first and last message, which the host sets itself.
inline constexpr int kDownAndUpFlags = 8 | 16;
// The name of a key code, or its number when it has none.
std::string KeyName(int code);
std::string FlagNames(int flags);  // "SHIFT+CONTROL"; empty for 0

}  // namespace sim::scenario
