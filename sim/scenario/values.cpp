#include "values.h"

#include <array>
#include <charconv>
#include <cmath>

namespace sim::scenario {

std::optional<double> ParseDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<long long> ParseInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r') {
      ++pos;
      continue;
    }
    if (pos + 2 > text.size()) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data() + pos, text.data() + pos + 2, value, 16);
    if (error != std::errc() || end != text.data() + pos + 2) return std::nullopt;
    bytes += static_cast<char>(value);
    pos += 2;
  }
  return bytes;
}

std::string HexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const char c : bytes) {
    if (!text.empty()) text += ' ';
    const auto byte = static_cast<unsigned char>(c);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

template <class T>
std::string Shortest(T value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatDouble(double value) {
  return Shortest(value);
}

std::string FormatFloat(float value) {
  return Shortest(value);
}

Comparison CompareValue(ValueType type, double actual, double expected, std::optional<double> tolerance) {
  Comparison result;
  result.found = type == ValueType::Float ? FormatFloat(static_cast<float>(actual)) : FormatDouble(actual);
  if (std::isnan(actual) || std::isnan(expected) || (tolerance && std::isnan(*tolerance))) return result;
  if (tolerance && type == ValueType::Float) {
    // In float arithmetic, so that a bound written in decimals holds for the float nearest to it.
    const float a = static_cast<float>(actual);
    const float e = static_cast<float>(expected);
    result.holds = std::fabs(a - e) <= static_cast<float>(*tolerance) || a == e;
  } else if (tolerance) {
    result.holds = std::fabs(actual - expected) <= *tolerance || actual == expected;
  } else if (type == ValueType::Float) {
    result.holds = static_cast<float>(actual) == static_cast<float>(expected);
  } else {
    result.holds = actual == expected;
  }
  return result;
}

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  // Each of these characters is written as a backslash and the letter in the same place of the second.
  constexpr std::string_view kEscaped = "\"\\\n\r\t", kLetters = "\"\\nrt";
  for (const char c : text) {
    const std::size_t escape = kEscaped.find(c);
    if (escape != std::string_view::npos) quoted += '\\';
    quoted += escape != std::string_view::npos ? kLetters[escape] : c;
  }
  return quoted + "\"";
}

}  // namespace sim::scenario
