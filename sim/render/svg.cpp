#include "svg.h"

#include <array>
#include <charconv>
#include <cmath>

namespace sim::render {

std::string Fixed(double value, int decimals) {
  std::array<char, 64> buffer{};
  if (std::fabs(value) < 1e-12) value = 0;  // no "-0"
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\n':
      case '\r':
      case '\t':
        escaped += ' ';
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace sim::render
