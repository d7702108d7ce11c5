// Any bytes as the text of a widget field or a setup value: the readers never give NaN or infinity, agree
// with the C library's decimal conversions where those give a finite number in range, and what the "%f"
// writer makes of a value fits the buffer the plugin gives it and reads back as that value.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "config/number_text.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "number text fuzz: %s\n", what);
  std::abort();
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The text after its blanks and sign, where a decimal number would start.
const char* NumberStart(const char* text) {
  while (IsSpace(*text)) ++text;
  if (*text == '+' || *text == '-') ++text;
  return text;
}

// Plain decimal forms only: the C library also reads "inf", "nan" and "0x" forms, which read as 0 here.
bool DecimalForm(const char* text) {
  const char* p = NumberStart(text);
  if (*p == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
  return IsDigit(*p) || (*p == '.' && IsDigit(p[1]));
}

// Within two units in the last place: a C library whose conversion is not correctly rounded (an old
// Windows runtime) may differ in the last bit; a misread number differs by far more.
bool Close(double a, double b) {
  if (a == b) return true;
  return std::fabs(a - b) <= 2.0 * DBL_EPSILON * std::fmax(std::fabs(a), std::fabs(b));
}

void CheckTextToDouble(const char* text) {
  const double value = talvenor::TextToDouble(text);
  Check(std::isfinite(value), "TextToDouble gave a value that is not finite");
  if (!DecimalForm(text)) {
    Check(value == 0.0, "TextToDouble read a number from text that is no decimal number");
    return;
  }
  errno = 0;
  const double reference = std::strtod(text, nullptr);
  if (errno == ERANGE || !std::isfinite(reference)) {
    // Beyond the range reads as 0; below the smallest normal number either 0 or the tiny value.
    const bool tiny = std::fabs(reference) < DBL_MIN;
    Check(value == 0.0 || (tiny && Close(value, reference)), "TextToDouble out of range is not 0");
    return;
  }
  Check(Close(value, reference), "TextToDouble differs from the C library's conversion");
}

void CheckTextToFloat(const char* text) {
  const float value = talvenor::TextToFloat(text);
  Check(std::isfinite(value), "TextToFloat gave a value that is not finite");
  const double wide = talvenor::TextToDouble(text);
  if (std::fabs(wide) > static_cast<double>(FLT_MAX)) {
    Check(value == 0.0f, "TextToFloat beyond a float's range is not 0");
  } else {
    Check(value == static_cast<float>(wide), "TextToFloat is not the double narrowed");
  }
}

void CheckTextToInt(const char* text) {
  const std::int32_t value = talvenor::TextToInt(text);
  const char* p = NumberStart(text);
  if (!IsDigit(*p)) {
    Check(value == 0, "TextToInt read a number from text without digits");
    return;
  }
  errno = 0;
  const long long reference = std::strtoll(text, nullptr, 10);
  const bool fits = errno != ERANGE && reference >= std::numeric_limits<std::int32_t>::min() &&
                    reference <= std::numeric_limits<std::int32_t>::max();
  Check(value == (fits ? reference : 0), "TextToInt differs from the C library's base-10 conversion");
}

// "%f" of a finite value: six decimals, so reading it back is off by at most half a millionth (and the
// rounding of the decimal text to a double).
void CheckRoundTrip(double value, char* buffer, std::size_t size, const char* what) {
  const std::size_t length = talvenor::FormatFloat(buffer, size, value);
  Check(length + 1 < size && std::strlen(buffer) == length, what);
  const double back = talvenor::TextToDouble(buffer);
  Check(std::fabs(back - value) <= 0.5e-6 * (1.0 + 4.0 * DBL_EPSILON) + std::fabs(value) * 2.0 * DBL_EPSILON,
        what);
}

void CheckFormatting(const char* text, std::size_t cut) {
  // A float as the panels show it: their buffers hold 80 characters.
  char widget[80];
  CheckRoundTrip(static_cast<double>(talvenor::TextToFloat(text)), widget, sizeof widget,
                 "a float's \"%f\" does not fit 80 characters or does not read back");
  // Any double fits a buffer of 330 (309 digits, sign, point, six decimals).
  char whole[330];
  const double value = talvenor::TextToDouble(text);
  CheckRoundTrip(value, whole, sizeof whole, "a double's \"%f\" does not fit or does not read back");

  // A shorter buffer takes the start of the text, terminated.
  char part[330];
  std::memset(part, 'x', sizeof part);
  const std::size_t length = talvenor::FormatFloat(part, cut, value);
  if (cut == 0) {
    Check(length == 0 && part[0] == 'x', "a buffer of 0 characters was written");
  } else {
    Check(length < cut && part[length] == '\0', "a cut text is not terminated within its buffer");
    Check(std::strncmp(part, whole, length) == 0, "a cut text is not the start of the whole text");
    Check(part[cut] == 'x', "written beyond the buffer");
  }

  char integer[12];
  const std::int32_t number = talvenor::TextToInt(text);
  const std::size_t digits = talvenor::FormatInt(integer, number);
  Check(digits < sizeof integer && talvenor::TextToInt(integer) == number, "\"%d\" does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A text as a field hands it over: up to its first NUL. The first byte also picks a short buffer.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = size > 0 ? data[0] % 40 : 0;
  CheckTextToDouble(text.c_str());
  CheckTextToFloat(text.c_str());
  CheckTextToInt(text.c_str());
  CheckFormatting(text.c_str(), cut);
  return 0;
}
