#include "dsp/PolyPhaseFilter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "dsp/PolyphaseIir2Designer.h"

void TPolyPhaseFilter::AssignCoefficients(const TDoubleArray& values) {
  const int count = static_cast<int>(values.size());
  if (count == CoefficientCount) {
    for (std::size_t i = 0; i < values.size(); ++i)
      Coefficients[i] = values[i];
    return;
  }
  // Allocate first, so that a failed allocation leaves the filter untouched.
  TDoubleArray coefficients(values);
  TDoubleArray inputState(values.size());
  TDoubleArray outputState(values.size());
  Coefficients.swap(coefficients);
  InputState.swap(inputState);
  OutputState.swap(outputState);
  CoefficientCount = count;
  SelectSampleRoutines();
}

void TPolyPhaseFilter::ClearState() {
  std::fill(InputState.begin(), InputState.end(), 0.0);
  std::fill(OutputState.begin(), OutputState.end(), 0.0);
}

bool TPolyPhaseFilter::StateIsFinite() const {
  const auto finite = [](double value) { return std::isfinite(value); };
  return std::all_of(InputState.begin(), InputState.end(), finite) &&
         std::all_of(OutputState.begin(), OutputState.end(), finite);
}

void TPolyPhaseFilter::DesignCoefficients(int count, double transitionBandwidth) {
  TDoubleArray designed(static_cast<std::size_t>(count > 0 ? count : 0));
  TPolyphaseIir2Designer::ComputeSectionCoefficients(designed, count, transitionBandwidth);
  AssignCoefficients(designed);
}

void TPolyPhaseFilter::RunSections(int count, const double* a, double* x, double* y, double& even,
                                   double& odd) {
  int i = 0;
  for (; i + 1 < count; i += 2) {
    even = StepSection(a[i], x[i], y[i], even);
    odd = StepSection(a[i + 1], x[i + 1], y[i + 1], odd);
  }
  if (i < count) even = StepSection(a[i], x[i], y[i], even);
}
