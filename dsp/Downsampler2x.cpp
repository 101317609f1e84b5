#include "dsp/Downsampler2x.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

// The per-sample routines. The even chain starts from the later sample and the
// odd chain from the earlier one; the low band is the mean of the two chains'
// final outputs, and the high band what the chain ending in the last section
// has beyond it. An empty chain passes its input on.
struct TDownsampler2x::TRoutines {
  // Runs the sections on the pair; afterwards even and odd are the chain outputs.
  template <int Count>
  static void Run(TDownsampler2x& f, double earlier, double later, double& even, double& odd) {
    even = later;
    odd = earlier;
    if constexpr (Count < 0) {
      RunSections(f.CoefficientCount, f.Coefficients.data(), f.InputState.data(),
                  f.OutputState.data(), even, odd);
    } else {
      RunSections<Count>(f.Coefficients.data(), f.InputState.data(), f.OutputState.data(), even,
                         odd);
    }
  }

  template <int Count>
  static double Double(TDownsampler2x& f, const double* input) {
    double even;
    double odd;
    Run<Count>(f, input[0], input[1], even, odd);
    return 0.5 * (even + odd);
  }

  template <int Count>
  static float Single(TDownsampler2x& f, const float* input) {
    double even;
    double odd;
    Run<Count>(f, static_cast<double>(input[0]), static_cast<double>(input[1]), even, odd);
    return static_cast<float>(0.5 * (even + odd));
  }

  template <int Count>
  static void Split(TDownsampler2x& f, float& low, float& high, const float* input) {
    double even;
    double odd;
    Run<Count>(f, static_cast<double>(input[0]), static_cast<double>(input[1]), even, odd);
    const int count = Count < 0 ? f.CoefficientCount : Count;
    const double last = (count % 2 == 1) ? even : odd;
    low = static_cast<float>(0.5 * (even + odd));
    high = static_cast<float>(last - static_cast<double>(low));
  }

  // Count < 0 stands for the looped form, which reads the count from the
  // filter at every call.
  static constexpr int kLooped = -1;

  // Binds a count that has routines of its own: the double-precision routine
  // is unrolled up to eight sections (eight is what the effect runs on every
  // sample; unrolled it takes a third less time than the loop, with the same
  // results), the single-precision one up to eight and for twelve, the band
  // split for every such count.
  template <int Count>
  static void BindEntered(TDownsampler2x& f) {
    f.SplitRoutine = &Split<Count>;
    f.SingleSampleRoutine = &Single<((Count <= 8 || Count == 12) ? Count : kLooped)>;
    f.DoubleSampleRoutine = &Double<(Count <= 8 ? Count : kLooped)>;
  }

  static void BindLooped(TDownsampler2x& f) {
    f.SplitRoutine = &Split<kLooped>;
    f.SingleSampleRoutine = &Single<kLooped>;
    f.DoubleSampleRoutine = &Double<kLooped>;
  }

  // Counts 0 to 8, 12, 16, 24 and 32 have routines of their own.
  static constexpr int kEnteredLimit = 32;

  template <int Count>
  static constexpr bool IsEntered =
      Count <= 8 || Count == 12 || Count == 16 || Count == 24 || Count == 32;

  using TBinder = void (*)(TDownsampler2x& f);

  template <int Count>
  static constexpr TBinder BinderFor() {
    if constexpr (IsEntered<Count>)
      return &BindEntered<Count>;
    else
      return &BindLooped;
  }

  template <int... Count>
  static constexpr std::array<TBinder, sizeof...(Count)> MakeBinders(
      std::integer_sequence<int, Count...>) {
    return {BinderFor<Count>()...};
  }
};

TDownsampler2x::TDownsampler2x()
    : SplitRoutine(&TRoutines::Split<0>),
      SingleSampleRoutine(&TRoutines::Single<0>),
      DoubleSampleRoutine(&TRoutines::Double<0>) {}

void TDownsampler2x::SelectSampleRoutines() {
  static constexpr auto entered =
      TRoutines::MakeBinders(std::make_integer_sequence<int, TRoutines::kEnteredLimit + 1>{});
  if (CoefficientCount < static_cast<int>(entered.size()))
    entered[static_cast<std::size_t>(CoefficientCount)](*this);
  else
    TRoutines::BindLooped(*this);
}
