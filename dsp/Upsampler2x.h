#pragma once

#include "dsp/DDSPBase.h"
#include "dsp/PolyPhaseFilter.h"

// Doubles the sample rate: each input sample gives the two output samples that
// follow at twice the rate, the earlier from the even chain and the later from
// the odd chain. The passband comes out at the amplitude it went in with.
//
// Usage: construct, DesignCoefficients (or AssignCoefficients), then call
// UpsampleSingle or UpsampleDouble once per input sample. Both advance the same
// double-precision state. The routine behind them is chosen when the count
// changes, never per sample; a filter without coefficients passes the input
// through to both outputs.
class TUpsampler2x : public TPolyPhaseFilter {
 public:
  using TSingleSampleRoutine = void (*)(TUpsampler2x& filter, float input, float* output);
  using TDoubleSampleRoutine = void (*)(TUpsampler2x& filter, double input, double* output);

  TUpsampler2x();

  // Writes output[0] (earlier) and output[1] (later) at the doubled rate.
  void UpsampleSingle(float input, float* output) { SingleSampleRoutine(*this, input, output); }
  void UpsampleDouble(double input, double* output) { DoubleSampleRoutine(*this, input, output); }

 protected:
  void SelectSampleRoutines() override;

 private:
  struct TRoutines;

  TSingleSampleRoutine SingleSampleRoutine;
  TDoubleSampleRoutine DoubleSampleRoutine;
};
