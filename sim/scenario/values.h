// Numbers, byte strings and value comparisons of the scenario language, independent of the process locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim::scenario {

// A decimal number with "." as the decimal point (an optional sign, exponent, "nan", "inf"); the whole text
// must be the number.
std::optional<double> ParseDecimal(std::string_view text);
// An integer: decimal with an optional sign, or hexadecimal after "0x".
std::optional<long long> ParseInteger(std::string_view text);
// Bytes given as hexadecimal pairs, blanks allowed between pairs.
std::optional<std::string> ParseHexBytes(std::string_view text);
std::string HexBytes(std::string_view bytes);  // "0a 41 ..."

// TEXT in double quotes with the scenario language's escapes, as messages show a text.
std::string Quote(std::string_view text);

// The shortest text that reads back as the same value.
std::string FormatDouble(double value);
std::string FormatFloat(float value);

// A value type as X-Plane stores it; the comparison follows it.
enum class ValueType { Int, Float, Double };

struct Comparison {
  bool holds = false;
  std::string found;  // the actual value as the type shows it
};

// Int: exactly equal; Float: equal as 32-bit floats; Double: equal. With a tolerance: within it (inclusive).
// Fails when either value is NaN.
Comparison CompareValue(ValueType type, double actual, double expected, std::optional<double> tolerance);

}  // namespace sim::scenario
