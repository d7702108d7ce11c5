// Numbers read from and written to texts (setup file values, widget fields) with "." as the decimal point,
// whatever the process locale. Nothing here allocates, so the per-frame path may use it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace talvenor {

// Reads a decimal number the way the runtime's text-to-double does (leading white space, sign, digits,
// ".", exponent; reading stops at the first character that does not fit). Text that is not a number,
// "nan", "inf", hexadecimal forms and numbers beyond the type's range all read as 0. A null text reads as 0.
double TextToDouble(const char* text);
float TextToFloat(const char* text);  // 0 also when the value is beyond a float's range
// The same reading as TextToDouble, false for a number beyond a double's range (so large, or so small, that
// it would read as 0 though it is none), where a reader should refuse the text rather than take 0.
bool TextToDoubleInRange(const char* text, double& value);
// Base-10 integer (leading white space, sign, digits); 0 when there are no digits or it does not fit.
std::int32_t TextToInt(const char* text);
// The same reading, but a number beyond 32 bits is held at the nearest bound instead of reading as 0.
std::int32_t TextToIntClamped(const char* text);

// "%f": fixed notation with six decimals ("-0.500000", "nan", "inf"). "%d": decimal integer.
// Both write into the caller's buffer, cut to size - 1 characters when it is too small, always terminated
// (nothing is written when size is 0), and return the number of characters written.
std::size_t FormatFloat(char* buffer, std::size_t size, double value);
std::size_t FormatInt(char* buffer, std::size_t size, std::int64_t value);

template <std::size_t N>
std::size_t FormatFloat(char (&buffer)[N], double value) {
  return FormatFloat(buffer, N, value);
}
template <std::size_t N>
std::size_t FormatInt(char (&buffer)[N], std::int64_t value) {
  return FormatInt(buffer, N, value);
}

}  // namespace talvenor
