#include "tools/demo/HarmonicAnalysis.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

constexpr double kDbPerDecade = 20.0;

}  // namespace

double HarmonicAmplitude(std::span<const double> signal, std::size_t period, int harmonic) {
  if (period == 0 || signal.size() < period) {
    throw std::invalid_argument("The signal holds no whole period");
  }
  if (harmonic < 1 || 2 * static_cast<std::size_t>(harmonic) >= period) {
    throw std::invalid_argument("The harmonic is not between the fundamental and half the rate");
  }
  // The phase of sample n repeats every period samples, so one table of the
  // period's angles serves every sample exactly.
  std::vector<double> cosines(period);
  std::vector<double> sines(period);
  for (std::size_t k = 0; k < period; ++k) {
    const double angle =
        2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(period);
    cosines[k] = std::cos(angle);
    sines[k] = std::sin(angle);
  }
  const std::size_t length = signal.size() / period * period;
  const auto step = static_cast<std::size_t>(harmonic);
  double real = 0.0;
  double imaginary = 0.0;
  std::size_t phase = 0;
  for (std::size_t n = 0; n < length; ++n) {
    real += signal[n] * cosines[phase];
    imaginary += signal[n] * sines[phase];
    phase = (phase + step) % period;
  }
  // A sine of amplitude a puts a * length / 2 into its bin.
  return 2.0 * std::hypot(real, imaginary) / static_cast<double>(length);
}

std::vector<double> HarmonicAmplitudes(std::span<const double> signal, std::size_t period,
                                       std::size_t settle, int count) {
  if (settle >= signal.size()) throw std::invalid_argument("Nothing left after settling");
  const auto measured = signal.subspan(settle);
  std::vector<double> amplitudes;
  for (int harmonic = 1; harmonic <= count; ++harmonic) {
    amplitudes.push_back(HarmonicAmplitude(measured, period, harmonic));
  }
  return amplitudes;
}

double AmplitudeToDb(double amplitude) {
  return kDbPerDecade * std::log10(amplitude);
}
