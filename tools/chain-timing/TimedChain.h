#pragma once

#include "dsp/Downsampler2x.h"
#include "dsp/StereoOversampledChain.h"
#include "dsp/Upsampler2x.h"
#include "effect/ShapingPolynomial.h"

// The effect's oversampled stereo chain as the effect builds it (eight
// sections, transition 0.01), every harmonic at -6 dB: what the timing
// program and the benchmark measure, through the block path (`Block`) or,
// as the reference, one routine call per sample and channel.
struct TTimedChain {
  static constexpr int kChannels = 2;
  static constexpr double kOffset = 1e-30;

  TTimedChain();

  template <class Sample>
  void ProcessPerSample(const Sample* const* in, Sample* const* out, int frames) {
    for (int ch = 0; ch < kChannels; ++ch) {
      for (int n = 0; n < frames; ++n) {
        double pair[2];
        Up[ch].UpsampleDouble(static_cast<double>(in[ch][n]) + kOffset, pair);
        pair[0] = TShapingPolynomial::Evaluate(Shape, pair[0]);
        pair[1] = TShapingPolynomial::Evaluate(Shape, pair[1]);
        out[ch][n] = static_cast<Sample>(Down[ch].DownsampleDouble(pair));
      }
    }
  }

  TUpsampler2x Up[kChannels];
  TDownsampler2x Down[kChannels];
  TStereoOversampledChain Block;
  TShapingPolynomial::TPolynomialCoefficients Shape{};
};
