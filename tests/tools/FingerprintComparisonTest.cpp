#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <sstream>
#include <string>

#include "tools/fingerprint/PrintComparison.h"
#include "tools/fingerprint/PrintFormat.h"

namespace {

std::string Print(std::initializer_list<std::pair<const char*, double>> lines) {
  std::ostringstream out;
  for (const auto& [name, value] : lines)
    (TPrintLine(name) << value << static_cast<float>(value)).WriteTo(out);
  return out.str();
}

TPrintComparison Compare(const std::string& reference, const std::string& other,
                         const std::map<std::string, TPrintBound>& bounds = {}) {
  std::istringstream a(reference);
  std::istringstream b(other);
  return ComparePrints(a, b, bounds);
}

double Next(double x) {
  return std::nextafter(x, std::numeric_limits<double>::infinity());
}

TEST(FingerprintComparison, ReadsBackWhatItWrote) {
  std::ostringstream out;
  (TPrintLine("audio-float/44100/program-1/7") << 0.1f << -0.0 << 1e-310).WriteTo(out);
  EXPECT_EQ(out.str(),
            "audio-float/44100/program-1/7 3dcccccd 8000000000000000 000012688b70e62b\n");
  TParsedLine parsed;
  ASSERT_TRUE(ParsePrintLine(out.str().substr(0, out.str().size() - 1) + "\r", parsed));
  EXPECT_EQ(parsed.Name, "audio-float/44100/program-1/7");
  ASSERT_EQ(parsed.Values.size(), 3u);
  EXPECT_EQ(parsed.Values[0].AsDouble(), static_cast<double>(0.1f));
  EXPECT_EQ(std::bit_cast<std::uint64_t>(parsed.Values[1].AsDouble()),
            std::bit_cast<std::uint64_t>(-0.0));
  EXPECT_EQ(parsed.Values[2].AsDouble(), 1e-310);
  EXPECT_EQ(PrintGroup(parsed.Name), "audio-float");
  for (const char* bad : {"", "name", "name 3f8", "name 3f80000g", "name 3f800000 12"})
    EXPECT_FALSE(ParsePrintLine(bad, parsed)) << bad;
}

// Each row changes the Windows-side print against the Linux one; the table
// says whether the comparison holds and how far the worst value lies.
TEST(FingerprintComparison, FailsOnEveryDifferenceBeyondItsGroupsBound) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const std::string reference = Print({{"design/k", 0.939}, {"audio-double/1", 0.25}});
  struct TCase {
    const char* Name;
    std::string Reference;
    std::string Other;
    std::map<std::string, TPrintBound> Bounds;
    bool Within;
    std::uint64_t DesignUlps;
  };
  const std::string oneUnitOff = Print({{"design/k", Next(0.939)}, {"audio-double/1", 0.25}});
  const TCase cases[] = {
      {"identical", reference, reference, {}, true, 0},
      {"one unit off", reference, oneUnitOff, {}, false, 1},
      {"one unit within a bound of one", reference, oneUnitOff, {{"design", {1, 0.0}}}, true, 1},
      {"within an absolute bound",
       reference,
       Print({{"design/k", 0.9390001}, {"audio-double/1", 0.25}}),
       {{"design", {0, 1e-6}}},
       true,
       0},
      {"the sign of zero",
       reference + Print({{"design/z", 0.0}}),
       reference + Print({{"design/z", -0.0}}),
       {},
       false,
       0},
      {"a NaN against a number",
       reference,
       Print({{"design/k", kNaN}, {"audio-double/1", 0.25}}),
       {},
       false,
       std::numeric_limits<std::uint64_t>::max()},
      {"a line short", reference, Print({{"design/k", 0.939}}), {}, false, 0},
      {"another name",
       reference,
       Print({{"design/q", 0.939}, {"audio-double/1", 0.25}}),
       {},
       false,
       0},
      {"empty", "", "", {}, false, 0},
  };
  for (const TCase& c : cases) {
    const TPrintComparison comparison = Compare(c.Reference, c.Other, c.Bounds);
    EXPECT_EQ(comparison.WithinBounds(), c.Within) << c.Name;
    if (comparison.Mismatch.empty() && comparison.Groups.count("design") != 0 &&
        c.DesignUlps != 0) {
      EXPECT_EQ(comparison.Groups.at("design").MaxUlps, c.DesignUlps) << c.Name;
    }
  }
  // Any NaN matches any NaN: their payloads depend on operand order.
  const double otherNaN = std::bit_cast<double>(std::bit_cast<std::uint64_t>(kNaN) | 1);
  EXPECT_TRUE(Compare(Print({{"design/k", kNaN}}), Print({{"design/k", otherNaN}})).WithinBounds());
}

}  // namespace
