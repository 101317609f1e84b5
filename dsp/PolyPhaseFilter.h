#pragma once

#include <type_traits>
#include <utility>

#include "dsp/DDSPBase.h"

// Common base of the 2x resamplers: owns the coefficients of a polyphase IIR
// half-band filter, H(z) = 1/2 (E(z^2) + z^-1 O(z^2)), and the arithmetic of
// its first-order all-pass sections.
//
// Section i has coefficient a[i] and remembers its previous input x[i] and
// output y[i]; one step with input v gives r = x[i] + (v - y[i]) * a[i] and
// stores x[i] = v, y[i] = r. Even-indexed sections form the even chain E and
// odd-indexed ones the odd chain O: sections 0 and 1 head the chains, section
// i >= 2 takes what section i - 2 has just produced.
//
// The base also keeps the section state; a derived resampler binds its
// per-sample routines whenever the count changes (SelectSampleRoutines), so
// that the audio path costs one direct call per sample.
class TPolyPhaseFilter {
 public:
  TPolyPhaseFilter() = default;
  virtual ~TPolyPhaseFilter() = default;

  // Takes over a coefficient set; its length becomes the coefficient count.
  // A set of the current length keeps the running state; a set of another
  // length zeroes it and rebinds the routines.
  void AssignCoefficients(const TDoubleArray& values);

  // Designs count coefficients for the transition bandwidth (a fraction of
  // the doubled rate) and assigns them. If the design throws, the filter is
  // left exactly as it was.
  void DesignCoefficients(int count, double transitionBandwidth);

  const TDoubleArray& GetCoefficients() const { return Coefficients; }
  int GetCoefficientCount() const { return CoefficientCount; }

  void ClearState();
  // False once a non-finite value has entered the sections.
  bool StateIsFinite() const;

  // The section state itself, CoefficientCount values each: block routines
  // take it into their own layout for a block and write it back afterwards.
  double* SectionInputs() { return InputState.data(); }
  double* SectionOutputs() { return OutputState.data(); }

 protected:
  // Copying is for the derived resamplers; a copy through the base would slice.
  TPolyPhaseFilter(const TPolyPhaseFilter&) = default;
  TPolyPhaseFilter& operator=(const TPolyPhaseFilter&) = default;

  // Binds the per-sample routines for the current count. Nothing to bind here.
  virtual void SelectSampleRoutines() {}

  static double StepSection(double a, double& x, double& y, double v) {
    const double r = x + (v - y) * a;
    x = v;
    y = r;
    return r;
  }

  // Advances sections 0 .. Count - 1 by one step, fully unrolled. On entry
  // even and odd are the inputs of the two chain heads; on return they hold
  // the chains' final outputs (an empty chain passes its input on).
  template <int Count>
  static void RunSections(const double* a, double* x, double* y, double& even, double& odd);

  // The same for a count known only at run time.
  static void RunSections(int count, const double* a, double* x, double* y, double& even,
                          double& odd);

  TDoubleArray Coefficients;
  int CoefficientCount = 0;
  TDoubleArray InputState;
  TDoubleArray OutputState;
};

template <int Count>
void TPolyPhaseFilter::RunSections(const double* a, double* x, double* y, double& even,
                                   double& odd) {
  const auto step = [&]<int Index>(std::integral_constant<int, Index>) {
    double& chain = Index % 2 == 0 ? even : odd;
    chain = StepSection(a[Index], x[Index], y[Index], chain);
  };
  [&]<int... Index>(std::integer_sequence<int, Index...>) {
    (step(std::integral_constant<int, Index>{}), ...);
  }
  (std::make_integer_sequence<int, Count>{});
}
