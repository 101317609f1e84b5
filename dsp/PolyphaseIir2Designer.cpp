#include "dsp/PolyphaseIir2Designer.h"

#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "dsp/PortableMath.h"

namespace {

// The transcendental functions are our own rather than the C library's, so
// that the coefficients come out the same to the bit on every system.
using TMath = TPortableMath;

constexpr double kPi = 3.14159265358979323846;

// A series stops after the first term whose magnitude is at most this. It lies
// far below machine epsilon on purpose: the series run until the powers of q
// are negligible even beside it.
constexpr double kSeriesStopThreshold = 1e-100;

// True while a series has to go on. A non-finite term (only reachable through
// unchecked arguments) ends it as well, so that no argument loops forever.
bool TermIsSignificant(double term) {
  return std::isfinite(term) && std::fabs(term) > kSeriesStopThreshold;
}

// Exact integer power by repeated squaring.
double IntegerPower(double base, int exponent) {
  double result = 1.0;
  while (exponent > 0) {
    if (exponent & 1) result *= base;
    base *= base;
    exponent >>= 1;
  }
  return result;
}

}  // namespace

void TPolyphaseIir2Designer::ComputeSectionCoefficients(TDoubleArray& target, int count,
                                                        double transitionBandwidth) {
  // Outside (0, 0.5) the design yields NaN or divides by zero; the negated test
  // also catches NaN.
  if (!(transitionBandwidth > 0.0 && transitionBandwidth < 0.5))
    throw std::invalid_argument("Transition bandwidth must lie between 0 and 0.5");
  if (count <= 0) return;
  if (target.size() < static_cast<std::size_t>(count))
    throw std::invalid_argument("Coefficient array is shorter than the coefficient count");

  double k = 0.0;
  double q = 0.0;
  ComputeTransitionParameters(transitionBandwidth, k, q);
  const int order = 2 * count + 1;
  for (int index = 0; index < count; ++index)
    target[static_cast<std::size_t>(index)] = ComputeSectionCoefficient(index, order, k, q);
}

void TPolyphaseIir2Designer::ComputeTransitionParameters(double transitionBandwidth, double& k,
                                                         double& q) {
  k = TMath::Tan((1.0 - 2.0 * transitionBandwidth) * kPi / 4.0);
  k = k * k;
  const double r = TMath::FourthRoot(1.0 - k * k);
  const double e = 0.5 * (1.0 - r) / (1.0 + r);
  const double e2 = e * e;
  const double e4 = e2 * e2;
  q = (((150.0 * e4 + 15.0) * e4 + 2.0) * e4 + 1.0) * e;
}

double TPolyphaseIir2Designer::ComputeSectionCoefficient(int index, int order, double k, double q) {
  const int h = index + 1;
  const double num = SumNumeratorSeries(order, h, q) * TMath::FourthRoot(q);
  const double den = SumDenominatorSeries(order, h, q) + 0.5;
  const double w = (num * num) / (den * den);
  const double x = std::sqrt((1.0 - w * k) * (1.0 - w / k)) / (1.0 + w);
  return (1.0 - x) / (1.0 + x);
}

double TPolyphaseIir2Designer::SumNumeratorSeries(int order, int h, double q) {
  double sum = 0.0;
  double sign = 1.0;
  for (int m = 0;; ++m) {
    const double power = IntegerPower(q, m * (m + 1));
    const double angle = static_cast<double>((2 * m + 1) * h) * kPi / order;
    const double term = TMath::Sin(angle) * sign * power;
    sum += term;
    if (!TermIsSignificant(term)) return sum;
    sign = -sign;
  }
}

double TPolyphaseIir2Designer::SumDenominatorSeries(int order, int h, double q) {
  double sum = 0.0;
  double sign = -1.0;
  for (int m = 1;; ++m) {
    const double power = IntegerPower(q, m * m);
    const double angle = static_cast<double>(2 * m * h) * kPi / order;
    const double term = TMath::Cos(angle) * power * sign;
    sum += term;
    if (!TermIsSignificant(term)) return sum;
    sign = -sign;
  }
}
