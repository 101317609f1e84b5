#include "effect/ShapingPolynomial.h"

#include <cmath>
#include <cstddef>

#include "dsp/PortableMath.h"

namespace {

using TShaper = TShapingPolynomial;

// ln(10)/20 to nine significant digits: exp(v · this) is 10^(v/20) within
// 1e-7 relative from -140 to +1 dB, and exactly 1 at 0 dB. The exponential
// is our own, not the C library's, so that a level gives the same gain to
// the bit on every system.
constexpr double kNepersPerDecibel = 0.115129254;

// Row i holds the integer weights of g0..g7 in c_i. Column k is the power
// series of h_{k+1}, where h_n(sin θ) = sin(nθ) for odd n and cos(nθ) for even
// n; h_n is ±T_n, the Chebyshev polynomial of the first kind. Odd levels (even
// harmonics) therefore feed only even coefficients and vice versa.
constexpr int kCoefficientWeights[TShaper::kCoefficientCount][TShaper::kHarmonicCount] = {
    {0, 1, 0, 1, 0, 1, 0, 1},        // c0
    {1, 0, 3, 0, 5, 0, 7, 0},        // c1
    {0, -2, 0, -8, 0, -18, 0, -32},  // c2
    {0, 0, -4, 0, -20, 0, -56, 0},   // c3
    {0, 0, 0, 8, 0, 48, 0, 160},     // c4
    {0, 0, 0, 0, 16, 0, 112, 0},     // c5
    {0, 0, 0, 0, 0, -32, 0, -256},   // c6
    {0, 0, 0, 0, 0, 0, -64, 0},      // c7
    {0, 0, 0, 0, 0, 0, 0, 128},      // c8
};

// One coefficient, summed left to right over the gains it depends on,
// starting from its first term, so that full and partial recomputation
// perform the very same operations.
double Coefficient(int row, const TShaper::TGains& gains) {
  const int* weights = kCoefficientWeights[row];
  double sum = 0.0;
  bool first = true;
  for (int k = 0; k < TShaper::kHarmonicCount; ++k) {
    if (weights[k] == 0) continue;
    const double term = static_cast<double>(weights[k]) * gains[static_cast<std::size_t>(k)];
    sum = first ? term : sum + term;
    first = false;
  }
  return sum;
}

}  // namespace

double TShapingPolynomial::LevelToGain(float level, double sign) noexcept {
  // The comparison is made on the 32-bit level, and a NaN fails it.
  if (!(level > kOffLevel)) return 0.0;
  const double gain = TPortableMath::Exp(static_cast<double>(level) * kNepersPerDecibel) * sign;
  // A host value far outside the range overflows exp; that harmonic is off
  // rather than turning every coefficient it feeds into infinity or NaN.
  return std::isfinite(gain) ? gain : 0.0;
}

double TShapingPolynomial::PhaseToSign(float phase) noexcept {
  return 1.0 - 2.0 * static_cast<double>(phase);
}

TShapingPolynomial::TPolynomialCoefficients TShapingPolynomial::GainsToCoefficients(
    const TGains& gains) noexcept {
  TPolynomialCoefficients coefficients{};
  for (int row = 0; row < kCoefficientCount; ++row) {
    coefficients[static_cast<std::size_t>(row)] = Coefficient(row, gains);
  }
  return coefficients;
}

void TShapingPolynomial::CalculateCoefficients(const TLevels& levels, const TPhaseSigns& signs,
                                               TGains& gains,
                                               TPolynomialCoefficients& coefficients) noexcept {
  for (std::size_t k = 0; k < gains.size(); ++k)
    gains[k] = LevelToGain(levels[k], signs[k]);
  coefficients = GainsToCoefficients(gains);
}

void TShapingPolynomial::UpdateLevel(int level, float value, const TPhaseSigns& signs,
                                     TGains& gains,
                                     TPolynomialCoefficients& coefficients) noexcept {
  const auto k = static_cast<std::size_t>(level);
  gains[k] = LevelToGain(value, signs[k]);
  RecalculateCoefficientsOfLevel(level, gains, coefficients);
}

void TShapingPolynomial::RecalculateCoefficientsOfLevel(
    int level, const TGains& gains, TPolynomialCoefficients& coefficients) noexcept {
  // No other coefficient depends on this gain, so the rest stay valid.
  for (int row = 0; row < kCoefficientCount; ++row) {
    if (kCoefficientWeights[row][level] == 0) continue;
    coefficients[static_cast<std::size_t>(row)] = Coefficient(row, gains);
  }
}
