// Numbers in setup values and widget texts: "." is the decimal point whatever the locale, and text that is
// not a finite number in range reads as 0.
#include "config/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace talvenor {
namespace {

TEST(NumberText, ReadsDecimalNumbersLikeTheRuntime) {
  EXPECT_DOUBLE_EQ(TextToDouble("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(TextToDouble("  -0.25xyz"), -0.25);
  EXPECT_DOUBLE_EQ(TextToDouble("+.5"), 0.5);
  EXPECT_DOUBLE_EQ(TextToDouble("7."), 7.0);
  EXPECT_DOUBLE_EQ(TextToDouble("2.5E2"), 250.0);
  EXPECT_DOUBLE_EQ(TextToDouble("1e-2"), 0.01);
  EXPECT_DOUBLE_EQ(TextToDouble("3e"), 3.0);  // an exponent without digits is not part of the number
  EXPECT_DOUBLE_EQ(TextToDouble("1,5"), 1.0);
  EXPECT_DOUBLE_EQ(TextToFloat("0.01"), static_cast<double>(0.01f));
}

TEST(NumberText, TextThatIsNotAFiniteNumberInRangeReadsAsZero) {
  for (const char* text : {"", "abc", ".", "-", "+-1", "- 1", "nan", "NAN", "-nan", "inf", "INF", "-Infinity",
                           "0x10", "1e400", "-1e400", "\t"}) {
    EXPECT_EQ(TextToDouble(text), 0.0) << text;
  }
  EXPECT_EQ(TextToDouble(nullptr), 0.0);
  EXPECT_EQ(TextToFloat("1e39"), 0.0f);  // fits a double, not a float
  EXPECT_EQ(TextToFloat("-1e39"), 0.0f);
  EXPECT_EQ(TextToFloat("3e38"), 3e38f);
}

TEST(NumberText, ReadsBaseTenIntegers) {
  EXPECT_EQ(TextToInt("42"), 42);
  EXPECT_EQ(TextToInt(" -17abc"), -17);
  EXPECT_EQ(TextToInt("+5"), 5);
  EXPECT_EQ(TextToInt("1.9"), 1);
  EXPECT_EQ(TextToInt("010"), 10);  // base 10, not octal
  EXPECT_EQ(TextToInt("0x1F"), 0);
  EXPECT_EQ(TextToInt("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(TextToInt("2147483648"), 0);
  EXPECT_EQ(TextToInt("-2147483649"), 0);
  EXPECT_EQ(TextToInt("99999999999999999999999"), 0);
  EXPECT_EQ(TextToInt("0000000000000000000000007"), 7);
  EXPECT_EQ(TextToInt("x1"), 0);
  EXPECT_EQ(TextToInt(nullptr), 0);
}

TEST(NumberText, ClampedIntegersHoldAtTheBoundsInsteadOfReadingZero) {
  EXPECT_EQ(TextToIntClamped(" -3.9"), -3);
  EXPECT_EQ(TextToIntClamped("2147483647"), 2147483647);
  EXPECT_EQ(TextToIntClamped("2147483648"), 2147483647);
  EXPECT_EQ(TextToIntClamped("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(TextToIntClamped("-99999999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(TextToIntClamped("0000000000000000000000007"), 7);
  EXPECT_EQ(TextToIntClamped("nan"), 0);
  EXPECT_EQ(TextToIntClamped(nullptr), 0);
}

TEST(NumberText, FormatsAsPrintfDoesInTheCLocale) {
  for (double value : {0.0, -0.0, 1.0, -1.5, 0.1, 1e-7, 5e-7, 0.0000005, 2.0000005, 123456.789012345, 1e20,
                       -3.4028234663852886e38, 0.009999999776482582, 1.0 / 3.0}) {
    char mine[64];
    char theirs[64];
    std::snprintf(theirs, sizeof theirs, "%f", value);
    FormatFloat(mine, value);
    EXPECT_STREQ(mine, theirs) << value;
  }
  char text[16];
  EXPECT_EQ(FormatInt(text, -2147483647 - 1), 11u);
  EXPECT_STREQ(text, "-2147483648");
  FormatInt(text, 0);
  EXPECT_STREQ(text, "0");
}

// Widget numbers are floats, which take a shorter path; it must give printf's text for every float, halfway
// cases (rounded to even), subnormals and the largest included.
TEST(NumberText, FloatsFormatAsPrintfDoes) {
  std::vector<std::uint32_t> patterns = {0x00000001, 0x007FFFFF, 0x7F7FFFFF, 0xFF7FFFFF, 0x3C000000,
                                         0x3CC00000, 0xBC400000, 0x35000000, 0x358637BD, 0x80000000};
  std::uint64_t state = 88172645463325252u;
  for (int i = 0; i < 300000; ++i) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    patterns.push_back(static_cast<std::uint32_t>(state >> (i % 3 == 0 ? 32 : 16)) |
                       (i % 2 ? 0 : 0x30000000));
  }
  for (const std::uint32_t bits : patterns) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    char mine[64];
    char theirs[64];
    std::snprintf(theirs, sizeof theirs, "%f", static_cast<double>(value));
    FormatFloat(mine, value);
    ASSERT_STREQ(mine, theirs) << std::hex << bits;
  }
}

TEST(NumberText, FormattingIsCutToTheBufferAndAlwaysTerminated) {
  char small[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(FormatFloat(small, 123.5), 4u);
  EXPECT_STREQ(small, "123.");
  char one[1] = {'x'};
  EXPECT_EQ(FormatInt(one, 7), 0u);
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(FormatFloat(nullptr, 0, 1.0), 0u);
  char huge[400];
  const std::size_t length = FormatFloat(huge, 1.7976931348623157e308);
  EXPECT_EQ(length, 309u + 7u);
  EXPECT_EQ(std::string(huge).substr(length - 7), ".000000");
}

// A locale whose decimal point is ",": from the system when it has one, else built into a temporary folder.
bool UseCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
  }
  const auto folder = std::filesystem::temp_directory_path() / "talvenor-locale";
  std::filesystem::create_directories(folder);
  if (!std::filesystem::exists(folder / "de_DE.UTF-8")) {
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(folder / "de_DE.UTF-8")) return false;
  }
  setenv("LOCPATH", folder.c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

TEST(NumberText, IgnoresTheProcessLocale) {
  if (!UseCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma on this machine";
  char printed[32];
  std::snprintf(printed, sizeof printed, "%f", 1.5);
  const bool comma = std::string(printed) == "1,500000";
  char mine[32];
  FormatFloat(mine, 1.5);
  const double read = TextToDouble("2.75");
  const float readFloat = TextToFloat("-0.125");
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_TRUE(comma) << "the locale did not change printf: " << printed;
  EXPECT_STREQ(mine, "1.500000");
  EXPECT_EQ(read, 2.75);
  EXPECT_EQ(readFloat, -0.125f);
}

}  // namespace
}  // namespace talvenor
