#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "dsp/Downsampler2x.h"
#include "dsp/Upsampler2x.h"

// The resamplers measured by what they do to sines. Every sine is centred on
// a DFT bin of the analysis window, so a single bin gives its amplitude
// without leakage; a long lead-in lets the filters settle first.
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kEffectCount = 8;
constexpr double kEffectBandwidth = 0.01;

constexpr int kWindow = 4000;            // samples analysed, at the rate being measured
constexpr int kLeadIn = 8000;            // samples run before the window, at the same rate
constexpr double kPassbandEdge = 0.245;  // of the high rate
constexpr double kStopbandEdge = 0.255;
constexpr double kRequiredRejectionDb = 69.0;
constexpr double kPassbandToleranceDb = 0.001;

double Decibels(double amplitude) {
  return 20.0 * std::log10(amplitude);
}

double Sine(int bin, int length, long n) {
  // Reduce the phase exactly before scaling, so long runs stay bin-centred.
  const long cycle = (static_cast<long>(bin) * n) % length;
  return std::sin(2.0 * kPi * static_cast<double>(cycle) / length + 0.3);
}

// Amplitude of the component in DFT bin `bin` of the window.
double BinAmplitude(const std::vector<double>& window, int bin) {
  const int length = static_cast<int>(window.size());
  std::complex<double> sum = 0.0;
  for (int n = 0; n < length; ++n) {
    const long cycle = (static_cast<long>(bin) * n) % length;
    sum += window[static_cast<std::size_t>(n)] *
           std::polar(1.0, -2.0 * kPi * static_cast<double>(cycle) / length);
  }
  return 2.0 * std::abs(sum) / length;
}

// Response of the half-band filter at `bin` / kWindow of the high rate. Two
// downsamplers, one fed pairs shifted by a high-rate sample, together give
// the filter's output at every high-rate instant.
double HalfBandAmplitude(int bin) {
  TDownsampler2x odd;
  TDownsampler2x even;
  odd.DesignCoefficients(kEffectCount, kEffectBandwidth);
  even.DesignCoefficients(kEffectCount, kEffectBandwidth);
  std::vector<double> window;
  for (long m = 0; m < kLeadIn + kWindow; m += 2) {
    const double oddPair[2] = {Sine(bin, kWindow, m), Sine(bin, kWindow, m + 1)};
    const double evenPair[2] = {Sine(bin, kWindow, m + 1), Sine(bin, kWindow, m + 2)};
    const double atOdd = odd.DownsampleDouble(oddPair);     // output at m + 1
    const double atEven = even.DownsampleDouble(evenPair);  // output at m + 2
    if (m >= kLeadIn) {
      window.push_back(atOdd);
      window.push_back(atEven);
    }
  }
  return BinAmplitude(window, bin);
}

TEST(ResamplerResponse, HalfBandIsThreeDecibelsDownAtAQuarterOfTheHighRate) {
  EXPECT_NEAR(Decibels(HalfBandAmplitude(kWindow / 4)), -3.010, 0.001);
}

TEST(ResamplerResponse, DownsamplerPassbandIsFlatAndStopbandRejected) {
  for (int bin = 1; bin < kWindow / 2; bin += 3) {
    const double frequency = static_cast<double>(bin) / kWindow;
    if (frequency > kPassbandEdge && frequency < kStopbandEdge) continue;
    const double db = Decibels(HalfBandAmplitude(bin));
    if (frequency <= kPassbandEdge)
      EXPECT_NEAR(db, 0.0, kPassbandToleranceDb) << "at " << frequency;
    else
      EXPECT_LE(db, -kRequiredRejectionDb) << "at " << frequency;
  }
  EXPECT_LE(Decibels(HalfBandAmplitude(kWindow * 255 / 1000)), -kRequiredRejectionDb);
}

// A low-rate sine at f comes out at the doubled rate at f / 2 with its own
// amplitude; its mirror image at 1/2 - f / 2 must be rejected.
TEST(ResamplerResponse, UpsamplerKeepsTheSineAndRejectsItsImage) {
  const int highWindow = 2 * kWindow;
  for (int bin = 1; 2.0 * bin / highWindow <= kPassbandEdge; bin += 7) {
    TUpsampler2x upsampler;
    upsampler.DesignCoefficients(kEffectCount, kEffectBandwidth);
    std::vector<double> window;
    for (long n = 0; n < kLeadIn + kWindow; ++n) {
      double pair[2];
      upsampler.UpsampleDouble(Sine(bin, kWindow, n), pair);
      if (n >= kLeadIn) window.insert(window.end(), pair, pair + 2);
    }
    SCOPED_TRACE(testing::Message() << "input at " << static_cast<double>(bin) / kWindow);
    EXPECT_NEAR(Decibels(BinAmplitude(window, bin)), 0.0, kPassbandToleranceDb);
    EXPECT_LE(Decibels(BinAmplitude(window, kWindow - bin)), -kRequiredRejectionDb);
  }
}

// The band split's high band is the mirror of the low band: it passes the
// upper half and rejects the lower.
TEST(ResamplerResponse, SplitHighBandMirrorsTheLowBand) {
  for (int bin : {40, 600, 980, 1020, 1400, 1960}) {
    const double frequency = static_cast<double>(bin) / kWindow;
    TDownsampler2x downsampler;
    downsampler.DesignCoefficients(kEffectCount, kEffectBandwidth);
    std::vector<double> low;
    std::vector<double> high;
    for (long m = 0; m < kLeadIn + kWindow; m += 2) {
      const float pair[2] = {static_cast<float>(Sine(bin, kWindow, m)),
                             static_cast<float>(Sine(bin, kWindow, m + 1))};
      float lowSample = 0.0f;
      float highSample = 0.0f;
      downsampler.SplitBandsSingle(lowSample, highSample, pair);
      if (m >= kLeadIn) {
        low.push_back(lowSample);
        high.push_back(highSample);
      }
    }
    // Decimation folds the sine to this bin of the half-length window.
    const int folded = bin < kWindow / 4 ? bin : kWindow / 2 - bin;
    SCOPED_TRACE(testing::Message() << "at " << frequency);
    const double lowDb = Decibels(BinAmplitude(low, folded));
    const double highDb = Decibels(BinAmplitude(high, folded));
    if (frequency <= kPassbandEdge) {
      EXPECT_NEAR(lowDb, 0.0, kPassbandToleranceDb);
      EXPECT_LE(highDb, -kRequiredRejectionDb);
    } else {
      EXPECT_LE(lowDb, -kRequiredRejectionDb);
      EXPECT_NEAR(highDb, 0.0, kPassbandToleranceDb);
    }
  }
}

// An upsampler feeding a downsampler with the same coefficients is an
// all-pass: every sine comes back with its amplitude, whatever the design.
TEST(ResamplerResponse, UpsamplerIntoDownsamplerIsAnAllPass) {
  struct Design {
    int Count;
    double Bandwidth;
  };
  const Design designs[] = {{1, 0.1}, {2, 0.1}, {3, 0.1}, {5, 0.05}, {8, 0.01}, {12, 0.02}};
  for (const Design& design : designs) {
    for (int bin = 1; bin < kWindow / 2; bin += 37) {
      TUpsampler2x upsampler;
      TDownsampler2x downsampler;
      upsampler.DesignCoefficients(design.Count, design.Bandwidth);
      downsampler.DesignCoefficients(design.Count, design.Bandwidth);
      std::vector<double> window;
      for (long n = 0; n < kLeadIn + kWindow; ++n) {
        double pair[2];
        upsampler.UpsampleDouble(Sine(bin, kWindow, n), pair);
        const double y = downsampler.DownsampleDouble(pair);
        if (n >= kLeadIn) window.push_back(y);
      }
      EXPECT_NEAR(BinAmplitude(window, bin), 1.0, 1e-9)
          << "N = " << design.Count << ", at " << static_cast<double>(bin) / kWindow;
    }
  }
}

}  // namespace
