#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "dsp/PolyphaseIir2Designer.h"

namespace {

using Designer = TPolyphaseIir2Designer;

constexpr double kFigureTolerance = 1e-11;

TDoubleArray Design(int count, double bandwidth) {
  TDoubleArray coefficients(static_cast<std::size_t>(count));
  Designer::ComputeSectionCoefficients(coefficients, count, bandwidth);
  return coefficients;
}

TEST(PolyphaseIir2Designer, TransitionParametersMatchKnownFigures) {
  double k = 0.0;
  double q = 0.0;
  Designer::ComputeTransitionParameters(0.01, k, q);
  EXPECT_NEAR(k, 0.939091659067, kFigureTolerance);
  EXPECT_NEAR(q, 0.130500849890, kFigureTolerance);
  Designer::ComputeTransitionParameters(0.1, k, q);
  EXPECT_NEAR(k, 0.527864045000, kFigureTolerance);
  EXPECT_NEAR(q, 0.020402271399, kFigureTolerance);
}

struct DesignRow {
  int Count;
  double Bandwidth;
  TDoubleArray Expected;
};

TEST(PolyphaseIir2Designer, CoefficientsMatchKnownFigures) {
  const DesignRow rows[] = {
      {8,
       0.01,
       {0.077115079832, 0.265968526521, 0.482070625061, 0.665104153263, 0.796820471332,
        0.884101508551, 0.941251427774, 0.982005414189}},
      {1, 0.1, {0.545323651071}},
      {2, 0.1, {0.236471020997, 0.714542149713}},
      {3, 0.1, {0.128456349442, 0.429566740740, 0.790675503650}},
      {4, 0.1, {0.079866426236, 0.283829344874, 0.545323651071, 0.834411891481}},
  };
  for (const DesignRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "N = " << row.Count << ", bandwidth " << row.Bandwidth);
    const TDoubleArray coefficients = Design(row.Count, row.Bandwidth);
    for (std::size_t i = 0; i < row.Expected.size(); ++i)
      EXPECT_NEAR(coefficients[i], row.Expected[i], kFigureTolerance) << "index " << i;
  }
}

TEST(PolyphaseIir2Designer, CoefficientsRiseStrictlyInsideTheUnitInterval) {
  for (double bandwidth : {0.001, 0.01, 0.05, 0.1, 0.2, 0.3, 0.4, 0.45}) {
    for (int count = 1; count <= 32; ++count) {
      SCOPED_TRACE(testing::Message() << "N = " << count << ", bandwidth " << bandwidth);
      const TDoubleArray coefficients = Design(count, bandwidth);
      EXPECT_GT(coefficients.front(), 0.0);
      EXPECT_LT(coefficients.back(), 1.0);
      for (int i = 1; i < count; ++i)
        EXPECT_LT(coefficients[i - 1], coefficients[i]);
    }
  }
}

TEST(PolyphaseIir2Designer, WritesOnlyTheRequestedElements) {
  constexpr double kUntouched = -7.0;
  TDoubleArray target(6, kUntouched);
  Designer::ComputeSectionCoefficients(target, 4, 0.1);
  EXPECT_NEAR(target[3], 0.834411891481, kFigureTolerance);
  EXPECT_EQ(target[4], kUntouched);
  EXPECT_EQ(target[5], kUntouched);

  for (int count : {0, -3}) {
    TDoubleArray untouched(3, kUntouched);
    EXPECT_NO_THROW(Designer::ComputeSectionCoefficients(untouched, count, 0.1));
    EXPECT_EQ(untouched, TDoubleArray(3, kUntouched));
  }
}

TEST(PolyphaseIir2Designer, RejectsUnusableArgumentsBeforeWriting) {
  constexpr double kUntouched = -7.0;
  const double badBandwidths[] = {std::numeric_limits<double>::quiet_NaN(), 0.0, 0.5, -0.1, 0.7,
                                  std::numeric_limits<double>::infinity()};
  for (double bandwidth : badBandwidths) {
    TDoubleArray target(4, kUntouched);
    EXPECT_THROW(Designer::ComputeSectionCoefficients(target, 4, bandwidth), std::invalid_argument)
        << "bandwidth " << bandwidth;
    EXPECT_EQ(target, TDoubleArray(4, kUntouched));
  }
  TDoubleArray tooShort(3, kUntouched);
  EXPECT_THROW(Designer::ComputeSectionCoefficients(tooShort, 4, 0.1), std::invalid_argument);
  EXPECT_EQ(tooShort, TDoubleArray(3, kUntouched));
}

}  // namespace
