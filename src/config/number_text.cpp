#include "config/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace talvenor {
namespace {

// The white space the runtime's conversions skip (the "C" locale's isspace, without asking the locale).
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

const char* SkipSpace(const char* text) {
  while (IsSpace(*text)) ++text;
  return text;
}

std::size_t CopyOut(char* buffer, std::size_t size, const char* text, std::size_t length) {
  if (buffer == nullptr || size == 0) return 0;
  const std::size_t count = length < size - 1 ? length : size - 1;
  std::memcpy(buffer, text, count);
  buffer[count] = '\0';
  return count;
}

}  // namespace

namespace {

// TextToDouble; OUT_OF_RANGE tells a number beyond the range from a 0 that was written.
double ReadDouble(const char* text, bool& outOfRange) {
  outOfRange = false;
  if (text == nullptr) return 0.0;
  const char* p = SkipSpace(text);
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Only plain decimal forms count: this also keeps out "nan", "inf" and "0x" forms, which from_chars's
  // hexadecimal-free general format would take for "0".
  if (!IsDigit(*p) && !(*p == '.' && IsDigit(p[1]))) return 0.0;
  if (*p == '0' && (p[1] == 'x' || p[1] == 'X')) return 0.0;
  const char* end = p;
  while (*end != '\0') ++end;
  double value = 0.0;
  const auto result = std::from_chars(p, end, value, std::chars_format::general);
  if (result.ec != std::errc{} || !std::isfinite(value)) {
    outOfRange = result.ec == std::errc::result_out_of_range || !std::isfinite(value);
    return 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double TextToDouble(const char* text) {
  bool outOfRange = false;
  return ReadDouble(text, outOfRange);
}

bool TextToDoubleInRange(const char* text, double& value) {
  bool outOfRange = false;
  const double read = ReadDouble(text, outOfRange);
  if (outOfRange) return false;
  value = read;
  return true;
}

float TextToFloat(const char* text) {
  const double value = TextToDouble(text);
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) return 0.0f;
  return static_cast<float>(value);
}

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// The sign and the decimal digits at the start of TEXT; the magnitude stops growing two past the largest int,
// so that every caller can still tell a number beyond either end.
std::int64_t LeadingInteger(const char* text, bool* negative) {
  const char* p = SkipSpace(text);
  *negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  std::int64_t value = 0;
  for (; IsDigit(*p); ++p) value = std::min(value * 10 + (*p - '0'), kInt32Max + 2);
  return value;
}

}  // namespace

std::int32_t TextToInt(const char* text) {
  if (text == nullptr) return 0;
  bool negative = false;
  std::int64_t value = LeadingInteger(text, &negative);
  if (negative) value = -value;
  if (value > kInt32Max || value < -kInt32Max - 1) return 0;
  return static_cast<std::int32_t>(value);
}

std::int32_t TextToIntClamped(const char* text) {
  if (text == nullptr) return 0;
  bool negative = false;
  const std::int64_t value = LeadingInteger(text, &negative);
  return static_cast<std::int32_t>(negative ? -std::min(value, kInt32Max + 1) : std::min(value, kInt32Max));
}

namespace {

constexpr std::uint64_t kMillion = 1000000;
__extension__ typedef unsigned __int128 Wide;  // GCC's and Clang's 128-bit integer

// Decimal digits of VALUE at the end of the buffer that ends at END; returns where they start.
template <typename Unsigned>
char* DigitsBackwards(char* end, Unsigned value) {
  do {
    *--end = static_cast<char>('0' + static_cast<int>(value % 10));
    value /= 10;
  } while (value != 0);
  return end;
}

// "%f" of a finite value that a float holds exactly (the case of every widget number), the same text as the
// general conversion below at a fraction of its cost: the float is m * 2^e, so its value times 10^6 is
// computed exactly and rounded half to even, as the general conversion rounds. 0 when the value is no
// float, for the general conversion to write.
std::size_t FormatExactFloat(char (&text)[64], double value) {
  const auto single = static_cast<float>(value);
  if (!std::isfinite(value) || static_cast<double>(single) != value) return 0;
  std::uint32_t bits = 0;
  std::memcpy(&bits, &single, sizeof bits);
  const bool negative = (bits >> 31) != 0;
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  const std::uint64_t mantissa = (bits & 0x7FFFFF) | (biased != 0 ? 0x800000u : 0u);
  const int exponent = (biased != 0 ? biased : 1) - 150;

  Wide whole = 0;  // up to 2^128 for the largest float
  std::uint64_t millionths = 0;
  if (exponent >= 0) {
    whole = static_cast<Wide>(mantissa) << exponent;
  } else {
    const int shift = -exponent;
    const std::uint64_t scaled = mantissa * kMillion;  // below 2^44
    std::uint64_t units = 0;                           // the value in millionths, rounded
    if (shift < 64) {
      units = scaled >> shift;
      const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
      const std::uint64_t half = std::uint64_t{1} << (shift - 1);
      if (rest > half || (rest == half && (units & 1) != 0)) ++units;
    }  // from 2^-64 on, the value is below half a millionth
    whole = units / kMillion;
    millionths = units % kMillion;
  }

  char* const end = text + sizeof text;
  char* p = end;
  for (int digit = 0; digit < 6; ++digit) {
    *--p = static_cast<char>('0' + static_cast<int>(millionths % 10));
    millionths /= 10;
  }
  *--p = '.';
  p = whole <= UINT64_MAX ? DigitsBackwards(p, static_cast<std::uint64_t>(whole)) : DigitsBackwards(p, whole);
  if (negative) *--p = '-';
  const auto length = static_cast<std::size_t>(end - p);
  std::memmove(text, p, length);
  return length;
}

}  // namespace

std::size_t FormatFloat(char* buffer, std::size_t size, double value) {
  char exact[64];
  if (const std::size_t length = FormatExactFloat(exact, value)) return CopyOut(buffer, size, exact, length);
  // The largest double in fixed notation has 309 integer digits; with sign, point and six decimals it fits.
  char text[330];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  if (result.ec != std::errc{}) return CopyOut(buffer, size, "", 0);
  return CopyOut(buffer, size, text, static_cast<std::size_t>(result.ptr - text));
}

std::size_t FormatInt(char* buffer, std::size_t size, std::int64_t value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return CopyOut(buffer, size, text, static_cast<std::size_t>(result.ptr - text));
}

}  // namespace talvenor
