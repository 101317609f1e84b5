#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>

#include "dsp/Downsampler2x.h"
#include "dsp/Upsampler2x.h"

namespace {

// A plain loop over all sections: section i takes the head input of its chain
// or what section i - 2 has just produced.
struct TReferenceSections {
  explicit TReferenceSections(const TDoubleArray& coefficients)
      : A(coefficients), X(coefficients.size()), Y(coefficients.size()) {}

  // Advances one step; even and odd go in as the chain heads' inputs and come
  // out as the chains' final outputs.
  void Run(double& even, double& odd) {
    for (std::size_t i = 0; i < A.size(); ++i) {
      double& chain = i % 2 == 0 ? even : odd;
      const double r = X[i] + (chain - Y[i]) * A[i];
      X[i] = chain;
      Y[i] = r;
      chain = r;
    }
  }

  TDoubleArray A;
  TDoubleArray X;
  TDoubleArray Y;
};

template <class T>
bool SameBits(T a, T b) {
  using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
  return std::bit_cast<Bits>(a) == std::bit_cast<Bits>(b);
}

TDoubleArray RandomCoefficients(std::mt19937& random, int count) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TDoubleArray coefficients(static_cast<std::size_t>(count));
  for (double& a : coefficients)
    a = unit(random);
  return coefficients;
}

// Every routine of every count, unrolled or looped, agrees bit for bit with
// the reference loop. The routines of one object are called in turn, so this
// also checks that they advance one shared state.
TEST(ResamplerRoutines, EveryRoutineMatchesThePlainLoopBitForBit) {
  std::mt19937 random(1);
  std::uniform_real_distribution<double> signal(-1.0, 1.0);
  for (int count = 0; count <= 33; ++count) {
    SCOPED_TRACE(testing::Message() << "N = " << count);
    const TDoubleArray coefficients = RandomCoefficients(random, count);
    TUpsampler2x up;
    TDownsampler2x down;
    up.AssignCoefficients(coefficients);
    down.AssignCoefficients(coefficients);
    TReferenceSections upReference(coefficients);
    TReferenceSections downReference(coefficients);
    int mismatches = 0;
    for (int n = 0; n < 200; ++n) {
      const double x = signal(random);
      const float xSingle = static_cast<float>(x);
      double even = n % 2 ? x : xSingle;
      double odd = even;
      upReference.Run(even, odd);
      if (n % 2) {
        double pair[2];
        up.UpsampleDouble(x, pair);
        mismatches += !SameBits(pair[0], even) || !SameBits(pair[1], odd);
      } else {
        float pair[2];
        up.UpsampleSingle(xSingle, pair);
        mismatches += !SameBits(pair[0], static_cast<float>(even)) ||
                      !SameBits(pair[1], static_cast<float>(odd));
      }

      // The downsampler's even chain starts from the later sample.
      const double pair[2] = {signal(random), x};
      const float pairSingle[2] = {static_cast<float>(pair[0]), xSingle};
      even = n % 3 == 0 ? pair[1] : pairSingle[1];
      odd = n % 3 == 0 ? pair[0] : pairSingle[0];
      downReference.Run(even, odd);
      const double low = 0.5 * (even + odd);
      if (n % 3 == 0) {
        mismatches += !SameBits(down.DownsampleDouble(pair), low);
      } else if (n % 3 == 1) {
        mismatches += !SameBits(down.DownsampleSingle(pairSingle), static_cast<float>(low));
      } else {
        // High is what the chain holding the last section has beyond Low.
        const double last = count % 2 == 1 ? even : odd;
        float lowSingle = 0.0f;
        float high = 0.0f;
        down.SplitBandsSingle(lowSingle, high, pairSingle);
        mismatches += !SameBits(lowSingle, static_cast<float>(low)) ||
                      !SameBits(high, static_cast<float>(last - static_cast<double>(lowSingle)));
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(ResamplerRoutines, ImpulsesThroughOneAndTwoSections) {
  constexpr double a = 0.3;
  const TDoubleArray two = {0.25, 0.75};
  const auto fresh = [](const TDoubleArray& coefficients) {
    TDownsampler2x down;
    down.AssignCoefficients(coefficients);
    return down;
  };
  double pair[2];

  TUpsampler2x up1;
  up1.AssignCoefficients({a});
  up1.UpsampleDouble(1.0, pair);
  EXPECT_EQ(pair[0], a);
  EXPECT_EQ(pair[1], 1.0);
  up1.UpsampleDouble(0.0, pair);
  EXPECT_DOUBLE_EQ(pair[0], 1.0 - a * a);
  EXPECT_EQ(pair[1], 0.0);
  for (double x : {0.1, -0.0, std::numeric_limits<double>::denorm_min(), -1e300}) {
    up1.UpsampleDouble(x, pair);
    EXPECT_TRUE(SameBits(pair[1], x)) << "a single section passes " << x << " on unchanged";
  }

  TUpsampler2x up2;
  up2.AssignCoefficients(two);
  up2.UpsampleDouble(1.0, pair);
  EXPECT_EQ(pair[0], two[0]);
  EXPECT_EQ(pair[1], two[1]);

  TDownsampler2x down1 = fresh({a});
  const double later[2] = {0.0, 1.0};
  const double silence[2] = {0.0, 0.0};
  EXPECT_DOUBLE_EQ(down1.DownsampleDouble(later), a / 2.0);
  EXPECT_DOUBLE_EQ(down1.DownsampleDouble(silence), (1.0 - a * a) / 2.0);

  const double earlier[2] = {1.0, 0.0};
  const float earlierSingle[2] = {1.0f, 0.0f};
  float low = 0.0f;
  float high = 0.0f;
  EXPECT_EQ(fresh({a}).DownsampleDouble(earlier), 0.5);
  fresh({a}).SplitBandsSingle(low, high, earlierSingle);
  EXPECT_EQ(low, 0.5f);
  EXPECT_EQ(high, -0.5f);
  EXPECT_DOUBLE_EQ(fresh(two).DownsampleDouble(earlier), two[1] / 2.0);
  fresh(two).SplitBandsSingle(low, high, earlierSingle);
  EXPECT_FLOAT_EQ(low, static_cast<float>(two[1] / 2.0));
  EXPECT_FLOAT_EQ(high, static_cast<float>(two[1] / 2.0));
}

// Before the first set, and again after an empty one, the filters pass the
// signal through instead of reading sections that do not exist.
TEST(ResamplerRoutines, EmptyFilterPassesThrough) {
  TUpsampler2x up;
  TDownsampler2x down;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    double pair[2];
    up.UpsampleDouble(0.75, pair);
    EXPECT_TRUE(pair[0] == 0.75 && pair[1] == 0.75);
    const float input[2] = {0.25f, 0.75f};
    EXPECT_EQ(down.DownsampleSingle(input), 0.5f);
    float low = 0.0f;
    float high = 0.0f;
    down.SplitBandsSingle(low, high, input);
    EXPECT_TRUE(low == 0.5f && high == -0.25f);

    up.DesignCoefficients(8, 0.01);
    down.DesignCoefficients(8, 0.01);
    up.UpsampleDouble(1.0, pair);
    up.AssignCoefficients({});
    down.AssignCoefficients({});
  }
}

// A set of the current length replaces the coefficients and keeps the state;
// a set of another length starts from zero state.
TEST(ResamplerState, AssignKeepsStateForTheSameLengthOnly) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> signal(-1.0, 1.0);
  TDoubleArray coefficients = RandomCoefficients(random, 8);
  TUpsampler2x up;
  TDownsampler2x down;
  up.AssignCoefficients(coefficients);
  down.AssignCoefficients(coefficients);
  TReferenceSections upReference(coefficients);
  TReferenceSections downReference(coefficients);

  for (int stage = 0; stage < 3; ++stage) {
    if (stage == 1) {
      coefficients = RandomCoefficients(random, 8);
      upReference.A = downReference.A = coefficients;
    } else if (stage == 2) {
      coefficients = RandomCoefficients(random, 7);
      upReference = downReference = TReferenceSections(coefficients);
    }
    if (stage > 0) {
      up.AssignCoefficients(coefficients);
      down.AssignCoefficients(coefficients);
    }
    for (int n = 0; n < 50; ++n) {
      double pair[2];
      double even = signal(random);
      double odd = even;
      up.UpsampleDouble(even, pair);
      upReference.Run(even, odd);
      ASSERT_TRUE(pair[0] == even && pair[1] == odd) << "stage " << stage;
      std::swap(even, odd);  // the downsampler's even chain takes the later sample
      downReference.Run(even, odd);
      ASSERT_EQ(down.DownsampleDouble(pair), 0.5 * (even + odd)) << "stage " << stage;
    }
  }
}

TEST(ResamplerState, FailedDesignLeavesTheFilterAsItWas) {
  TDownsampler2x down;
  down.DesignCoefficients(8, 0.01);
  const double ramp[2] = {0.5, 1.0};
  for (int n = 0; n < 10; ++n)
    down.DownsampleDouble(ramp);
  TDownsampler2x twin = down;

  EXPECT_THROW(down.DesignCoefficients(8, std::numeric_limits<double>::quiet_NaN()),
               std::invalid_argument);
  EXPECT_THROW(down.DesignCoefficients(3, 0.6), std::invalid_argument);
  EXPECT_EQ(down.GetCoefficientCount(), 8);
  EXPECT_EQ(down.GetCoefficients(), twin.GetCoefficients());
  for (int n = 0; n < 10; ++n)
    EXPECT_EQ(down.DownsampleDouble(ramp), twin.DownsampleDouble(ramp));
}

TEST(ResamplerState, ReportsNonFiniteStateUntilCleared) {
  TUpsampler2x up;
  TDownsampler2x down;
  up.DesignCoefficients(8, 0.01);
  down.DesignCoefficients(8, 0.01);
  EXPECT_TRUE(up.StateIsFinite() && down.StateIsFinite());

  double pair[2];
  up.UpsampleDouble(std::numeric_limits<double>::infinity(), pair);
  down.DownsampleDouble(pair);
  EXPECT_FALSE(up.StateIsFinite());
  EXPECT_FALSE(down.StateIsFinite());

  up.ClearState();
  down.DesignCoefficients(4, 0.1);  // another count clears as well
  EXPECT_TRUE(up.StateIsFinite() && down.StateIsFinite());
  up.UpsampleDouble(1.0, pair);
  EXPECT_TRUE(std::isfinite(pair[0]) && std::isfinite(pair[1]));
}

}  // namespace
