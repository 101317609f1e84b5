#include "dsp/Upsampler2x.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

// The per-sample routines. Both chain heads take the input; the even chain's
// final output is the earlier sample, the odd chain's the later one (the input
// itself while the odd chain is empty).
struct TUpsampler2x::TRoutines {
  template <int Count>
  static void DoubleUnrolled(TUpsampler2x& f, double input, double* output) {
    double even = input;
    double odd = input;
    RunSections<Count>(f.Coefficients.data(), f.InputState.data(), f.OutputState.data(), even, odd);
    output[0] = even;
    output[1] = odd;
  }

  template <int Count>
  static void SingleUnrolled(TUpsampler2x& f, float input, float* output) {
    double pair[2];
    DoubleUnrolled<Count>(f, static_cast<double>(input), pair);
    output[0] = static_cast<float>(pair[0]);
    output[1] = static_cast<float>(pair[1]);
  }

  static void DoubleLooped(TUpsampler2x& f, double input, double* output) {
    double even = input;
    double odd = input;
    RunSections(f.CoefficientCount, f.Coefficients.data(), f.InputState.data(),
                f.OutputState.data(), even, odd);
    output[0] = even;
    output[1] = odd;
  }

  static void SingleLooped(TUpsampler2x& f, float input, float* output) {
    double pair[2];
    DoubleLooped(f, static_cast<double>(input), pair);
    output[0] = static_cast<float>(pair[0]);
    output[1] = static_cast<float>(pair[1]);
  }

  template <int Count>
  static void BindUnrolled(TUpsampler2x& f) {
    f.SingleSampleRoutine = &SingleUnrolled<Count>;
    f.DoubleSampleRoutine = &DoubleUnrolled<Count>;
  }

  static void BindLooped(TUpsampler2x& f) {
    f.SingleSampleRoutine = &SingleLooped;
    f.DoubleSampleRoutine = &DoubleLooped;
  }

  // Counts up to this one have routines of their own.
  static constexpr int kUnrolledLimit = 8;

  using TBinder = void (*)(TUpsampler2x& f);

  template <int... Count>
  static constexpr std::array<TBinder, sizeof...(Count)> MakeBinders(
      std::integer_sequence<int, Count...>) {
    return {&BindUnrolled<Count>...};
  }
};

TUpsampler2x::TUpsampler2x()
    : SingleSampleRoutine(&TRoutines::SingleUnrolled<0>),
      DoubleSampleRoutine(&TRoutines::DoubleUnrolled<0>) {}

// Counts 1 to 8 are fully unrolled; every other count, the common 12, 16, 24
// and 32 included, runs the looped form.
void TUpsampler2x::SelectSampleRoutines() {
  static constexpr auto unrolled =
      TRoutines::MakeBinders(std::make_integer_sequence<int, TRoutines::kUnrolledLimit + 1>{});
  if (CoefficientCount < static_cast<int>(unrolled.size()))
    unrolled[static_cast<std::size_t>(CoefficientCount)](*this);
  else
    TRoutines::BindLooped(*this);
}
