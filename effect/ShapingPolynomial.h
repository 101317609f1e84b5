#pragma once

#include <array>

// The effect's waveshaper: one polynomial of degree 8 whose coefficients are
// chosen so that a full-scale sine x = sin θ comes out as a mix of harmonics.
// Level k (k = 0..7) sets the amplitude of harmonic n = k + 1, which
// contributes sin(nθ) for odd n and cos(nθ) for even n; level 0 is the
// fundamental. There is no normalisation and no limiting: inputs beyond ±1
// are shaped by the same polynomial and grow with its highest power.
//
// Everything here is a pure function over fixed-size arrays, so the caller
// owns the state and can keep a private set on the audio thread. None of
// them allocates, locks or throws. Gains and coefficients are computed only
// when a parameter changes; Evaluate is the only per-sample operation.
class TShapingPolynomial {
 public:
  static constexpr int kHarmonicCount = 8;
  static constexpr int kCoefficientCount = kHarmonicCount + 1;

  // A level at or below this many dB switches its harmonic off (gain 0).
  static constexpr float kOffLevel = -140.0f;

  // Signed linear amplitude g_k of harmonic k + 1; 0 means off.
  using TGains = std::array<double, kHarmonicCount>;
  // Factor s_k applied to gain k: +1 normal, -1 inverted, anything between
  // scales the harmonic.
  using TPhaseSigns = std::array<double, kHarmonicCount>;
  // c0..c8 of P(u) = c0 + c1·u + c2·u² + … + c8·u⁸.
  using TPolynomialCoefficients = std::array<double, kCoefficientCount>;
  // The eight levels in dB, as the parameters hold them.
  using TLevels = std::array<float, kHarmonicCount>;

  TShapingPolynomial() = delete;

  // Gain of a harmonic at `level` dB with phase sign `sign`: 10^(level/20) ·
  // sign. A level that is not above kOffLevel (NaN included) gives 0, and so
  // does a product that is not finite. Large finite gains are not limited.
  static double LevelToGain(float level, double sign) noexcept;

  // Sign for a phase switch value p: 1 - 2p, unrounded, so 0.5 silences.
  static double PhaseToSign(float phase) noexcept;

  // c0..c8 from the eight gains.
  static TPolynomialCoefficients GainsToCoefficients(const TGains& gains) noexcept;

  // Full recomputation: every gain from its level and sign, in order, then
  // every coefficient. The signs are only read.
  static void CalculateCoefficients(const TLevels& levels, const TPhaseSigns& signs, TGains& gains,
                                    TPolynomialCoefficients& coefficients) noexcept;

  // Partial recomputation after level `level` (0..7, unchecked) changed to
  // `value`: sets that gain and recomputes only the coefficients it feeds.
  // Starting from a consistent set, the result is bit-identical to
  // CalculateCoefficients with the new level.
  static void UpdateLevel(int level, float value, const TPhaseSigns& signs, TGains& gains,
                          TPolynomialCoefficients& coefficients) noexcept;

  // Recomputes the coefficients that gain `level` (0..7, unchecked) feeds,
  // in ascending order, and leaves the others alone.
  static void RecalculateCoefficientsOfLevel(int level, const TGains& gains,
                                             TPolynomialCoefficients& coefficients) noexcept;

  // P(u) by Horner's scheme from the highest coefficient. Inline because it
  // runs twice per sample and channel: eight multiplications, eight
  // additions, no branch.
  static double Evaluate(const TPolynomialCoefficients& c, double u) noexcept {
    double y = u * c[8];
    y = (y + c[7]) * u;
    y = (y + c[6]) * u;
    y = (y + c[5]) * u;
    y = (y + c[4]) * u;
    y = (y + c[3]) * u;
    y = (y + c[2]) * u;
    y = (y + c[1]) * u;
    return y + c[0];
  }
};
