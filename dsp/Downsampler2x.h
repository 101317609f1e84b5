#pragma once

#include "dsp/DDSPBase.h"
#include "dsp/PolyPhaseFilter.h"

// Halves the sample rate: each call takes two consecutive samples at the high
// rate (input[0] the earlier) and gives one at the low rate, lowpassed by the
// same half-band filter as TUpsampler2x. The odd chain takes the earlier
// sample, the even chain the later one, so that an upsampler feeding a
// downsampler with the same coefficients forms an all-pass.
//
// SplitBandsSingle keeps the upper half as well: Low is the downsampled signal
// and High the complementary band, half the difference of the two chains.
//
// All three routines advance the same double-precision state. They are chosen
// when the count changes, never per sample; a filter without coefficients
// returns the mean of the pair.
class TDownsampler2x : public TPolyPhaseFilter {
 public:
  using TSplitRoutine = void (*)(TDownsampler2x& filter, float& low, float& high,
                                 const float* input);
  using TSingleSampleRoutine = float (*)(TDownsampler2x& filter, const float* input);
  using TDoubleSampleRoutine = double (*)(TDownsampler2x& filter, const double* input);

  TDownsampler2x();

  float DownsampleSingle(const float* input) { return SingleSampleRoutine(*this, input); }
  double DownsampleDouble(const double* input) { return DoubleSampleRoutine(*this, input); }
  void SplitBandsSingle(float& low, float& high, const float* input) {
    SplitRoutine(*this, low, high, input);
  }

 protected:
  void SelectSampleRoutines() override;

 private:
  struct TRoutines;

  TSplitRoutine SplitRoutine;
  TSingleSampleRoutine SingleSampleRoutine;
  TDoubleSampleRoutine DoubleSampleRoutine;
};
