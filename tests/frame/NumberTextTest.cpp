#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/NumberText.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// The host's display buffer holds 7 characters and the terminating zero.
constexpr std::size_t kDisplay = 7;
// Wide enough for 15 significant digits in any notation.
constexpr std::size_t kWide = 32;

struct TFormatRow {
  double Value;
  std::size_t MaxLength;
  const char* Expected;
};

const TFormatRow kFormatRows[] = {
    // 32-bit floats as a host display shows them: rounded, never cut.
    {static_cast<double>(-97.7f), kDisplay, "-97.7"},
    {static_cast<double>(1e-5f), kDisplay, "1E-5"},
    {-139.999984741211, kDisplay, "-140"},
    {-140.0, kDisplay, "-140"},
    {-69.5, kDisplay, "-69.5"},
    {71.5, kDisplay, "71.5"},
    {-0.0, kDisplay, "0"},
    {0.0, kDisplay, "0"},
    {kNaN, kDisplay, "NAN"},
    {kInf, kDisplay, "INF"},
    {-kInf, kDisplay, "-INF"},
    {1234567.0, kDisplay, "1234567"},
    {-1234567.0, kDisplay, "-1.23E6"},
    {12345678.0, kDisplay, "1.235E7"},
    {0.000123456, kDisplay, "0.00012"},
    {static_cast<double>(3.14159265f), kDisplay, "3.14159"},
    {0.999999999, kDisplay, "1"},
    {1e-300, kDisplay, "1E-300"},
    // With room for all 15 digits: plain from 1E-4 up to below 1E15.
    {static_cast<double>(-97.7f), kWide, "-97.6999969482422"},
    {static_cast<double>(1e-5f), kWide, "9.99999974737875E-6"},
    {0.0001, kWide, "0.0001"},
    {0.00001, kWide, "1E-5"},
    {1.5e-5, kWide, "1.5E-5"},
    {0.1, kWide, "0.1"},
    {1.0 / 3.0, kWide, "0.333333333333333"},
    {-2.0 / 3.0, kWide, "-0.666666666666667"},
    {999999999999999.0, kWide, "999999999999999"},
    {1e15, kWide, "1E15"},
    {123456789012345678.0, kWide, "1.23456789012346E17"},
    {std::numeric_limits<double>::max(), kWide, "1.79769313486232E308"},
    {100.0, kWide, "100"},
};

TEST(NumberText, GeneralFormatKeepsTheMostDigitsThatFit) {
  for (const TFormatRow& row : kFormatRows)
    EXPECT_EQ(FormatGeneralNumber(row.Value, row.MaxLength, '.'), row.Expected)
        << row.Value << " in " << row.MaxLength;
}

TEST(NumberText, GeneralFormatUsesTheGivenSeparator) {
  EXPECT_EQ(FormatGeneralNumber(-69.5, kDisplay, ','), "-69,5");
  EXPECT_EQ(FormatGeneralNumber(1.5e-5, kWide, ','), "1,5E-5");
  EXPECT_EQ(FormatGeneralNumber(-140.0, kDisplay, ','), "-140");
}

struct TParseRow {
  const char* Text;
  float Expected;
};

const TParseRow kAccepted[] = {
    {"-12", -12.0f},        {"  3.5  ", 3.5f},
    {"+2", 2.0f},           {"0", 0.0f},
    {"-0", 0.0f},           {"1e3", 1000.0f},
    {"1E-2", 0.01f},        {"2.5e+1", 25.0f},
    {"-97.7", -97.7f},      {"0.00001", 1e-5f},
    {"1e-50", 0.0f},     // finite, though below the smallest float
    {"-1e-400", -0.0f},  // below the smallest double too
    {"0.000e-99999", 0.0f}, {"3.4028235e38", std::numeric_limits<float>::max()},
};

const char* const kRejected[] = {
    "",     "   ",   "-",      "+",     "1e",       "1e+",   "e5",  "12 dB",        "dB",  "0x10",
    "nan",  "NaN",   "inf",    "-inf",  "1,5",      "1.2.3", "--1", "+-1",          "1 2", "\t1",
    "1e39", "-1e39", "3.5e38", "1e400", "0.01e309", "١",     "1_0", "3.4028236e38",
};

TEST(NumberText, ParsingAcceptsOnlySignedDecimalNumbers) {
  for (const TParseRow& row : kAccepted) {
    const auto number = ParseRealNumber(row.Text, '.');
    ASSERT_TRUE(number.has_value()) << '"' << row.Text << '"';
    EXPECT_EQ(*number, row.Expected) << '"' << row.Text << '"';
  }
  for (const char* text : kRejected)
    EXPECT_FALSE(ParseRealNumber(text, '.').has_value()) << '"' << text << '"';
}

TEST(NumberText, ParsingTakesTheSeparatorAndThePoint) {
  EXPECT_EQ(ParseRealNumber("1,5", ','), 1.5f);
  EXPECT_EQ(ParseRealNumber("1.5", ','), 1.5f);
  EXPECT_FALSE(ParseRealNumber("1,5,0", ',').has_value());
  EXPECT_FALSE(ParseRealNumber("1,5", '.').has_value());
}

}  // namespace
