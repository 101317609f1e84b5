#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "effect/ShapingPolynomial.h"

// The shaping polynomial judged by what it does to a full-scale sine, and the
// partial recomputation judged against the full one, bit for bit.
namespace {

using TShaper = TShapingPolynomial;
using TGains = TShaper::TGains;
using TSigns = TShaper::TPhaseSigns;
using TCoefficients = TShaper::TPolynomialCoefficients;
using TLevels = TShaper::TLevels;

constexpr double kPi = 3.14159265358979323846;
constexpr int kHarmonics = TShaper::kHarmonicCount;
constexpr int kPeriod = 256;             // samples in the analysed sine period
constexpr int kHighestMeasured = 16;     // harmonics above 8 must be absent
constexpr double kMeasureFloor = 1e-11;  // rounding in evaluation and DFT
constexpr double kGainAccuracy = 1e-7;   // relative, of the dB-to-gain rule
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::uint64_t Bits(double value) {
  return std::bit_cast<std::uint64_t>(value);
}

double ReferenceGain(float level, float phase) {
  if (!(level > -140.0f)) return 0.0;
  return std::pow(10.0, static_cast<double>(level) / 20.0) * (1.0 - 2.0 * phase);
}

TCoefficients Shaper(const TLevels& levels, const std::array<float, kHarmonics>& phases) {
  TSigns signs;
  for (int k = 0; k < kHarmonics; ++k)
    signs[k] = TShaper::PhaseToSign(phases[k]);
  TGains gains;
  TCoefficients coefficients;
  TShaper::CalculateCoefficients(levels, signs, gains, coefficients);
  return coefficients;
}

TCoefficients Shaper(const TLevels& levels) {
  return Shaper(levels, {});
}

TLevels AllOff() {
  TLevels levels;
  levels.fill(-140.0f);
  return levels;
}

TLevels OnlyLevel(int k, float level) {
  TLevels levels = AllOff();
  levels[k] = level;
  return levels;
}

// One full period of P(sin θ), analysed by a DFT. Harmonic n contributes
// Sine[n]·sin(nθ) + Cosine[n]·cos(nθ); Cosine[0] is the mean.
struct TSpectrum {
  std::array<double, kHighestMeasured + 1> Sine{};
  std::array<double, kHighestMeasured + 1> Cosine{};
};

TSpectrum Measure(const TCoefficients& coefficients) {
  std::vector<double> output(kPeriod);
  for (int m = 0; m < kPeriod; ++m) {
    output[m] = TShaper::Evaluate(coefficients, std::sin(2.0 * kPi * m / kPeriod));
  }
  TSpectrum spectrum;
  for (int n = 0; n <= kHighestMeasured; ++n) {
    double sine = 0.0;
    double cosine = 0.0;
    for (int m = 0; m < kPeriod; ++m) {
      const double angle = 2.0 * kPi * ((n * m) % kPeriod) / kPeriod;
      sine += output[m] * std::sin(angle);
      cosine += output[m] * std::cos(angle);
    }
    const double scale = (n == 0 ? 1.0 : 2.0) / kPeriod;
    spectrum.Sine[n] = sine * scale;
    spectrum.Cosine[n] = cosine * scale;
  }
  return spectrum;
}

// Harmonic n of a sine is sin(nθ) for odd n and cos(nθ) for even n; checks
// each measured component against the expected amplitude of harmonic n.
void ExpectHarmonicMix(const TSpectrum& spectrum, const std::array<double, kHarmonics>& expected) {
  EXPECT_NEAR(spectrum.Cosine[0], 0.0, kMeasureFloor) << "DC";
  for (int n = 1; n <= kHighestMeasured; ++n) {
    const double amplitude = n <= kHarmonics ? expected[n - 1] : 0.0;
    const double tolerance = kGainAccuracy * std::abs(amplitude) + kMeasureFloor;
    const bool odd = n % 2 == 1;
    EXPECT_NEAR(odd ? spectrum.Sine[n] : spectrum.Cosine[n], amplitude, tolerance) << "n=" << n;
    EXPECT_NEAR(odd ? spectrum.Cosine[n] : spectrum.Sine[n], 0.0, kMeasureFloor) << "n=" << n;
  }
}

// --- Level to gain ---------------------------------------------------------

TEST(LevelToGain, IsAnExactZeroAtAndBelowTheOffLevel) {
  for (const float level : {-140.0f, -140.00002f, -200.0f, -kInf, kNaN}) {
    for (const double sign : {1.0, -1.0}) {
      const double gain = TShaper::LevelToGain(level, sign);
      EXPECT_EQ(Bits(gain), Bits(0.0)) << level << " dB, sign " << sign;
    }
  }
}

TEST(LevelToGain, StartsJustAboveTheOffLevel) {
  const float justAbove = std::nextafter(-140.0f, 0.0f);
  EXPECT_NEAR(TShaper::LevelToGain(justAbove, 1.0), 1e-7, 1e-12);
  EXPECT_NEAR(TShaper::LevelToGain(-139.9f, 1.0), 1.0116e-7, 1e-11);
}

TEST(LevelToGain, FollowsTheThirtyTwoBitLevel) {
  // -139.9999 is held as -139.99989318847656, whose gain is 1.0000124e-7;
  // the decimal value itself would give 1.0000116e-7.
  EXPECT_NEAR(TShaper::LevelToGain(-139.9999f, 1.0), 1.0000124e-7, 0.5e-14);
}

TEST(LevelToGain, IsTheSignItselfAtZeroDecibels) {
  for (const double sign : {1.0, -1.0, 0.02, 0.0}) {
    EXPECT_EQ(TShaper::LevelToGain(0.0f, sign), sign);
  }
}

TEST(LevelToGain, MatchesTenToTheLevelOverTwentyOverTheWholeRange) {
  for (int centi = -13990; centi <= 100; ++centi) {
    const float level = static_cast<float>(centi) / 100.0f;
    const double expected = ReferenceGain(level, 0.0f);
    ASSERT_NEAR(TShaper::LevelToGain(level, 1.0), expected, kGainAccuracy * expected) << level;
    ASSERT_NEAR(TShaper::LevelToGain(level, -1.0), -expected, kGainAccuracy * expected) << level;
  }
}

TEST(LevelToGain, DoesNotLimitLargeFiniteLevels) {
  struct TCase {
    float Level;
    double Gain;
  };
  for (const TCase& c : {TCase{1.0f, 1.1220184543019633}, TCase{120.0f, 1e6}, TCase{600.0f, 1e30},
                         TCase{6000.0f, 1e300}}) {
    // The nine-digit constant drifts by a few parts per million at 6000 dB.
    EXPECT_NEAR(TShaper::LevelToGain(c.Level, 1.0) / c.Gain, 1.0, 1e-5) << c.Level;
  }
}

TEST(LevelToGain, CountsANonFiniteGainAsOff) {
  struct TCase {
    float Level;
    double Sign;
  };
  constexpr double kSignNaN = std::numeric_limits<double>::quiet_NaN();
  for (const TCase& c :
       {TCase{kInf, 1.0}, TCase{1e30f, -1.0}, TCase{7000.0f, 1.0},
        TCase{std::numeric_limits<float>::max(), 1.0}, TCase{1e30f, 0.0}, TCase{0.0f, kSignNaN},
        TCase{0.0f, std::numeric_limits<double>::infinity()},
        TCase{0.0f, TShaper::PhaseToSign(kNaN)}}) {
    EXPECT_EQ(Bits(TShaper::LevelToGain(c.Level, c.Sign)), Bits(0.0))
        << c.Level << " dB, sign " << c.Sign;
  }
}

// --- Phase to sign ---------------------------------------------------------

TEST(PhaseToSign, IsOneMinusTwiceTheUnroundedPhase) {
  struct TCase {
    float Phase;
    double Sign;
  };
  for (const TCase& c : {TCase{0.0f, 1.0}, TCase{1.0f, -1.0}, TCase{0.5f, 0.0}, TCase{0.25f, 0.5},
                         TCase{0.75f, -0.5}, TCase{0.49f, 0.02}}) {
    EXPECT_NEAR(TShaper::PhaseToSign(c.Phase), c.Sign, 1e-7) << c.Phase;
  }
  EXPECT_EQ(Bits(TShaper::PhaseToSign(0.5f)), Bits(0.0));
}

// --- Gains to coefficients -------------------------------------------------

TEST(Coefficients, EachHarmonicIsItsSignedChebyshevPolynomial) {
  // T_n(sin θ) = cos(n(π/2 - θ)), which is (-1)^(n/2)·cos(nθ) for even n and
  // (-1)^((n-1)/2)·sin(nθ) for odd n; so h_n = (-1)^⌊n/2⌋·T_n.
  std::array<std::array<double, kHarmonics + 1>, kHarmonics + 1> chebyshev{};
  chebyshev[0][0] = 1.0;
  chebyshev[1][1] = 1.0;
  for (int n = 2; n <= kHarmonics; ++n) {
    for (int i = 0; i <= n; ++i) {
      chebyshev[n][i] = (i > 0 ? 2.0 * chebyshev[n - 1][i - 1] : 0.0) - chebyshev[n - 2][i];
    }
  }
  for (int k = 0; k < kHarmonics; ++k) {
    const int n = k + 1;
    const double sign = (n / 2) % 2 == 0 ? 1.0 : -1.0;
    TGains gains{};
    gains[k] = 1.0;
    const TCoefficients coefficients = TShaper::GainsToCoefficients(gains);
    for (int i = 0; i <= kHarmonics; ++i) {
      EXPECT_EQ(coefficients[i], sign * chebyshev[n][i]) << "level " << k << ", c" << i;
    }
  }
}

// --- The shaper on signals -------------------------------------------------

TEST(Shaper, OutputsExactlyZeroWithEveryLevelOff) {
  const TCoefficients coefficients = Shaper(AllOff());
  for (const double c : coefficients)
    EXPECT_EQ(c, 0.0);
  for (const double u : {0.0, 1e-30, 1.0, -1.0, 0.5, 3.0, -1e6, 1e100}) {
    EXPECT_EQ(TShaper::Evaluate(coefficients, u), 0.0) << u;
  }
}

TEST(Shaper, IsTheIdentityWithOnlyTheFundamentalAtZeroDecibels) {
  const TCoefficients coefficients = Shaper(OnlyLevel(0, 0.0f));
  for (const double u : {0.0, 1e-30, 1.0, -1.0, 0.5, 3.0, -1e6, 1e100}) {
    EXPECT_EQ(TShaper::Evaluate(coefficients, u), u) << u;
  }
}

TEST(Shaper, SecondHarmonicAloneIsOneMinusTwiceTheSquare) {
  const TCoefficients coefficients = Shaper(OnlyLevel(1, 0.0f));
  for (const double u : {0.25, -0.5, 1.0, 2.0, -3.0}) {
    EXPECT_DOUBLE_EQ(TShaper::Evaluate(coefficients, u), 1.0 - 2.0 * u * u) << u;
  }
  // Silence comes out as the constant c0.
  EXPECT_EQ(TShaper::Evaluate(coefficients, 0.0), 1.0);
  EXPECT_EQ(TShaper::Evaluate(coefficients, 1e-30), 1.0);
}

TEST(Shaper, SilenceGivesTheSumOfTheEvenHarmonicsGains) {
  const TLevels levels = {-3.0f, -6.0f, 0.0f, -20.0f, -1.0f, 1.0f, -40.0f, -12.0f};
  const std::array<float, kHarmonics> phases = {0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.25f, 1.0f, 0.0f};
  double expected = 0.0;
  for (int k = 1; k < kHarmonics; k += 2)
    expected += ReferenceGain(levels[k], phases[k]);
  EXPECT_NEAR(TShaper::Evaluate(Shaper(levels, phases), 0.0), expected, 1e-7);
}

TEST(Shaper, TurnsAFullScaleSineIntoEachSingleHarmonic) {
  for (int k = 0; k < kHarmonics; ++k) {
    for (const float phase : {0.0f, 1.0f}) {
      SCOPED_TRACE(testing::Message() << "level " << k << ", phase " << phase);
      std::array<float, kHarmonics> phases{};
      phases[k] = phase;
      std::array<double, kHarmonics> expected{};
      expected[k] = phase == 0.0f ? 1.0 : -1.0;
      ExpectHarmonicMix(Measure(Shaper(OnlyLevel(k, 0.0f), phases)), expected);
    }
  }
}

TEST(Shaper, TurnsAFullScaleSineIntoTheChosenMix) {
  std::mt19937 random(5);
  std::uniform_real_distribution<float> level(-60.0f, 1.0f);
  std::uniform_real_distribution<float> fraction(0.0f, 1.0f);
  for (int trial = 0; trial < 50; ++trial) {
    TLevels levels;
    std::array<float, kHarmonics> phases;
    std::array<double, kHarmonics> expected;
    for (int k = 0; k < kHarmonics; ++k) {
      levels[k] = random() % 8 == 0 ? -140.0f : level(random);
      const unsigned choice = random() % 4;
      phases[k] = choice == 0 ? 0.0f : choice == 1 ? 1.0f : choice == 2 ? 0.5f : fraction(random);
      expected[k] = ReferenceGain(levels[k], phases[k]);
    }
    SCOPED_TRACE(testing::Message() << "trial " << trial);
    ExpectHarmonicMix(Measure(Shaper(levels, phases)), expected);
  }
}

TEST(Shaper, HalfPhaseSilencesItsHarmonicAtZeroDecibels) {
  for (int k = 0; k < kHarmonics; ++k) {
    SCOPED_TRACE(testing::Message() << "level " << k);
    TLevels levels;
    levels.fill(0.0f);
    std::array<float, kHarmonics> phases{};
    phases[k] = 0.5f;
    std::array<double, kHarmonics> expected;
    expected.fill(1.0);
    expected[k] = 0.0;
    ExpectHarmonicMix(Measure(Shaper(levels, phases)), expected);
  }
}

TEST(Shaper, PeaksAtMostAtTheSumOfTheGainsAndIsNotLimitedBeyondFullScale) {
  TLevels levels;
  levels.fill(0.0f);
  const TCoefficients coefficients = Shaper(levels);
  double peak = 0.0;
  constexpr int kSteps = 100000;
  for (int m = 0; m < kSteps; ++m) {
    const double x = std::sin(2.0 * kPi * m / kSteps);
    peak = std::max(peak, std::abs(TShaper::Evaluate(coefficients, x)));
  }
  EXPECT_LE(peak, 8.0 + 1e-12);
  EXPECT_GT(peak, 1.0);
  // Far beyond ±1 the top power takes over.
  for (const double u : {1e3, -1e3}) {
    EXPECT_NEAR(TShaper::Evaluate(coefficients, u) / (coefficients[8] * std::pow(u, 8)), 1.0, 1e-3);
  }
}

// --- Partial recomputation -------------------------------------------------

// Random levels and signs, including the values that switch a harmonic off.
struct TRandomShaper {
  std::mt19937 Random{42};

  float Level() {
    switch (Random() % 8) {
      case 0:
        return -140.0f;
      case 1:
        return kNaN;
      case 2:
        return 1e30f;
      default:
        return std::uniform_real_distribution<float>(-150.0f, 10.0f)(Random);
    }
  }

  double Sign() {
    switch (Random() % 4) {
      case 0:
        return 1.0;
      case 1:
        return -1.0;
      case 2:
        return 0.0;
      default:
        return TShaper::PhaseToSign(std::uniform_real_distribution<float>(0, 1)(Random));
    }
  }
};

void ExpectBitIdentical(const TGains& gains, const TCoefficients& coefficients,
                        const TGains& fullGains, const TCoefficients& fullCoefficients) {
  for (int k = 0; k < kHarmonics; ++k)
    EXPECT_EQ(Bits(gains[k]), Bits(fullGains[k])) << "g" << k;
  for (int i = 0; i <= kHarmonics; ++i) {
    EXPECT_EQ(Bits(coefficients[i]), Bits(fullCoefficients[i])) << "c" << i;
  }
}

TEST(PartialRecomputation, WritesOnlyTheCoefficientsThatTheLevelFeeds) {
  const std::array<std::vector<int>, kHarmonics> fed = {
      {{1}, {0, 2}, {1, 3}, {0, 2, 4}, {1, 3, 5}, {0, 2, 4, 6}, {1, 3, 5, 7}, {0, 2, 4, 6, 8}}};
  TRandomShaper random;
  for (int level = 0; level < kHarmonics; ++level) {
    TGains gains;
    for (double& g : gains)
      g = random.Sign() * 0.75;
    const TCoefficients full = TShaper::GainsToCoefficients(gains);
    TCoefficients partial;
    partial.fill(std::numeric_limits<double>::quiet_NaN());
    TShaper::RecalculateCoefficientsOfLevel(level, gains, partial);
    for (int i = 0; i <= kHarmonics; ++i) {
      const bool written = std::find(fed[level].begin(), fed[level].end(), i) != fed[level].end();
      if (written) {
        EXPECT_EQ(Bits(partial[i]), Bits(full[i])) << "level " << level << ", c" << i;
      } else {
        EXPECT_TRUE(std::isnan(partial[i])) << "level " << level << " wrote c" << i;
      }
    }
  }
}

TEST(PartialRecomputation, EqualsTheFullOneForEveryLevel) {
  TRandomShaper random;
  for (int level = 0; level < kHarmonics; ++level) {
    for (int trial = 0; trial < 200; ++trial) {
      SCOPED_TRACE(testing::Message() << "level " << level << ", trial " << trial);
      TLevels levels;
      TSigns signs;
      for (int k = 0; k < kHarmonics; ++k) {
        levels[k] = random.Level();
        signs[k] = random.Sign();
      }
      TGains gains;
      TCoefficients coefficients;
      TShaper::CalculateCoefficients(levels, signs, gains, coefficients);

      levels[level] = random.Level();
      TShaper::UpdateLevel(level, levels[level], signs, gains, coefficients);

      TGains fullGains;
      TCoefficients fullCoefficients;
      TShaper::CalculateCoefficients(levels, signs, fullGains, fullCoefficients);
      ExpectBitIdentical(gains, coefficients, fullGains, fullCoefficients);
    }
  }
}

TEST(PartialRecomputation, ARunOfLevelChangesStaysEqualToTheFullOne) {
  TRandomShaper random;
  TLevels levels = AllOff();
  TSigns signs;
  for (double& s : signs)
    s = random.Sign();
  TGains gains;
  TCoefficients coefficients;
  TShaper::CalculateCoefficients(levels, signs, gains, coefficients);
  for (int step = 0; step < 2000; ++step) {
    const int level = static_cast<int>(random.Random() % kHarmonics);
    levels[level] = random.Level();
    TShaper::UpdateLevel(level, levels[level], signs, gains, coefficients);

    TGains fullGains;
    TCoefficients fullCoefficients;
    TShaper::CalculateCoefficients(levels, signs, fullGains, fullCoefficients);
    SCOPED_TRACE(testing::Message() << "step " << step);
    ExpectBitIdentical(gains, coefficients, fullGains, fullCoefficients);
    if (HasFailure()) break;
  }
}

}  // namespace
