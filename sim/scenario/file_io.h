// Whole files read and written by the runner (scenarios, the files a scenario writes or checks, output).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sim::scenario {

std::optional<std::string> ReadFile(const std::filesystem::path& path);
// Makes the folders on the way; false when any write or the close failed.
bool WriteFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace sim::scenario
