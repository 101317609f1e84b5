#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "tools/demo/HarmonicAnalysis.h"

// The demo's measurement, on signals whose harmonics are known.

namespace {

constexpr std::size_t kPeriod = 100;
constexpr double kDbTolerance = 0.01;
constexpr double kAmplitudeTolerance = 1e-12;
// What a harmonic that is absent measures at most: rounding noise only.
constexpr double kAbsentDb = -250.0;

struct TPartial {
  int Harmonic;
  double Amplitude;
  double Phase;
};

// Sum of sines at harmonics of the period, plus an offset.
std::vector<double> Signal(std::size_t length, const std::vector<TPartial>& partials,
                           double offset = 0.0) {
  std::vector<double> signal(length, offset);
  for (std::size_t n = 0; n < length; ++n) {
    const double theta = 2.0 * std::numbers::pi * static_cast<double>(n) / kPeriod;
    for (const TPartial& p : partials) {
      signal[n] += p.Amplitude * std::sin(p.Harmonic * theta + p.Phase);
    }
  }
  return signal;
}

void ExpectOnly(const std::vector<double>& amplitudes, const std::vector<TPartial>& partials) {
  for (std::size_t k = 0; k < amplitudes.size(); ++k) {
    double expected = 0.0;
    for (const TPartial& p : partials) {
      if (p.Harmonic == static_cast<int>(k) + 1) expected = p.Amplitude;
    }
    if (expected > 0.0) {
      EXPECT_NEAR(amplitudes[k], expected, kAmplitudeTolerance) << "harmonic " << k + 1;
    } else {
      EXPECT_LT(AmplitudeToDb(amplitudes[k]), kAbsentDb) << "harmonic " << k + 1;
    }
  }
}

}  // namespace

TEST(HarmonicAnalysis, HalfSineAndTenthCosineOfTheThirdMeasureTheirLevels) {
  // 0.5 sin(theta) + 0.1 cos(3 theta).
  const auto signal = Signal(20 * kPeriod, {{1, 0.5, 0.0}, {3, 0.1, std::numbers::pi / 2}});
  const auto amplitudes = HarmonicAmplitudes(signal, kPeriod, 0, 8);
  ASSERT_EQ(amplitudes.size(), 8u);
  EXPECT_NEAR(AmplitudeToDb(amplitudes[0]), -6.0206, kDbTolerance);
  EXPECT_NEAR(AmplitudeToDb(amplitudes[2]), -20.0, kDbTolerance);
  ExpectOnly(amplitudes, {{1, 0.5, 0.0}, {3, 0.1, 0.0}});
}

class EachHarmonicAlone : public ::testing::TestWithParam<int> {};

TEST_P(EachHarmonicAlone, IsFoundAtItsOwnNumberWhateverItsPhase) {
  const int harmonic = GetParam();
  for (const double phase : {0.0, 0.7, 2.0, -1.3}) {
    const std::vector<TPartial> partials = {{harmonic, 0.25 + 0.05 * harmonic, phase}};
    ExpectOnly(HarmonicAmplitudes(Signal(10 * kPeriod, partials), kPeriod, 0, 8), partials);
  }
}

INSTANTIATE_TEST_SUITE_P(OneToEight, EachHarmonicAlone, ::testing::Range(1, 9));

TEST(HarmonicAnalysis, OffsetDoesNotLeakIntoTheHarmonics) {
  const std::vector<TPartial> partials = {{2, 0.3, 0.4}, {5, 0.01, 1.0}};
  ExpectOnly(HarmonicAmplitudes(Signal(10 * kPeriod, partials, 0.8), kPeriod, 0, 8), partials);
}

TEST(HarmonicAnalysis, PartialPeriodAtTheEndIsLeftOut) {
  // 10.37 periods: a DFT over every sample would smear the fundamental.
  const std::vector<TPartial> partials = {{1, 1.0, 0.3}, {4, 0.001, 0.0}};
  ExpectOnly(HarmonicAmplitudes(Signal(1037, partials), kPeriod, 0, 8), partials);
}

TEST(HarmonicAnalysis, SettlingSamplesAreNotMeasured) {
  const std::vector<TPartial> partials = {{1, 0.9, 0.0}, {7, 0.0316, 0.5}};
  auto signal = Signal(12 * kPeriod, partials);
  const std::size_t settle = 2 * kPeriod + 37;
  for (std::size_t n = 0; n < settle; ++n)
    signal[n] = (n % 3 == 0) ? 5.0 : -2.0;
  ExpectOnly(HarmonicAmplitudes(signal, kPeriod, settle, 8), partials);
}

TEST(HarmonicAnalysis, RefusesWhatItCannotMeasure) {
  const auto signal = Signal(kPeriod - 1, {{1, 1.0, 0.0}});
  EXPECT_THROW(HarmonicAmplitude(signal, kPeriod, 1), std::invalid_argument);
  const auto longer = Signal(2 * kPeriod, {{1, 1.0, 0.0}});
  EXPECT_THROW(HarmonicAmplitude(longer, kPeriod, kPeriod / 2), std::invalid_argument);
  EXPECT_THROW(HarmonicAmplitude(longer, kPeriod, 0), std::invalid_argument);
  EXPECT_THROW(HarmonicAmplitudes(longer, kPeriod, 2 * kPeriod, 8), std::invalid_argument);
}

TEST(HarmonicAnalysis, DecibelsOfFullScaleTenthAndSilence) {
  EXPECT_DOUBLE_EQ(AmplitudeToDb(1.0), 0.0);
  EXPECT_NEAR(AmplitudeToDb(0.1), -20.0, 1e-12);
  EXPECT_EQ(AmplitudeToDb(0.0), -std::numeric_limits<double>::infinity());
}
