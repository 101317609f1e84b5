#include "tools/fingerprint/TestSignal.h"

#include <cstddef>

namespace {

// Rotation by the angle 2·atan(t), from t by rational operations only.
struct TRotation {
  explicit TRotation(double t) : Cos((1.0 - t * t) / (1.0 + t * t)), Sin(2.0 * t / (1.0 + t * t)) {}
  TRotation(double c, double s) : Cos(c), Sin(s) {}
  TRotation operator*(const TRotation& other) const {
    return TRotation(Cos * other.Cos - Sin * other.Sin, Sin * other.Cos + Cos * other.Sin);
  }
  double Cos;
  double Sin;
};

// Half-angle tangents: the sweep's start and growth per frame, the two tones.
constexpr double kSweepStart = 0.006;
constexpr double kSweepGrowth = 0.00015;
constexpr double kToneLow = 0.02;
constexpr double kToneHigh = 0.11;
constexpr double kToneMix = 0.5;
// -30 dB, -12 dB, -3 dB and +1.6 dB.
constexpr double kLevels[] = {0.03125, 0.25, 0.71875, 1.203125};
constexpr int kLevelCount = static_cast<int>(sizeof kLevels / sizeof kLevels[0]);

}  // namespace

TTestSignal MakeTestSignal(int frames) {
  TTestSignal signal;
  const auto count = static_cast<std::size_t>(frames > 0 ? frames : 0);
  signal.Left.resize(count);
  signal.Right.resize(count);
  TRotation sweep(1.0, 0.0);
  TRotation sweepStep(kSweepStart);
  const TRotation sweepGrowth(kSweepGrowth);
  TRotation low(1.0, 0.0);
  TRotation high(1.0, 0.0);
  const TRotation lowStep(kToneLow);
  const TRotation highStep(kToneHigh);
  for (std::size_t n = 0; n < count; ++n) {
    const double level = kLevels[n * kLevelCount / count];
    signal.Left[n] = level * sweep.Sin;
    signal.Right[n] = level * kToneMix * (low.Sin + high.Sin);
    sweep = sweep * sweepStep;
    sweepStep = sweepStep * sweepGrowth;
    low = low * lowStep;
    high = high * highStep;
  }
  return signal;
}
