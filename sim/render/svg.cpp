#include "svg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace sim::render {

std::string Fixed(double value, int decimals) {
  std::array<char, 64> buffer{};
  if (std::fabs(value) < 1e-12) value = 0;  // no "-0"
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

std::string Escape(std::string_view text) {
  static constexpr std::array<std::pair<char, std::string_view>, 7> kReplacements{
      {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\n', " "}, {'\r', " "}, {'\t', " "}}};
  std::string escaped;
  for (const char c : text) {
    const auto found = std::find_if(kReplacements.begin(), kReplacements.end(),
                                    [c](const auto& replacement) { return replacement.first == c; });
    escaped += found == kReplacements.end() ? std::string_view(&c, 1) : found->second;
  }
  return escaped;
}

}  // namespace sim::render
