#pragma once

#include "dsp/DDSPBase.h"

// Closed-form elliptic design of polyphase IIR half-band filters.
//
// The filter is made of 2N + 1 = order first-order all-pass sections split over
// two chains. A transition parameter pair (k, q) follows from the transition
// bandwidth, and each section coefficient from two fast-converging series in q.
// The coefficients come out strictly increasing in (0, 1); even indices form one
// chain and odd indices the other, so their order matters.
//
// The bandwidth is a fraction of the oversampled rate: the response is -3 dB at
// a quarter of that rate and the transition band spans a quarter +- half the
// bandwidth. The class holds no data; all operations are pure.
class TPolyphaseIir2Designer {
 public:
  TPolyphaseIir2Designer() = delete;

  // Writes count coefficients to target[0 .. count - 1], leaving later elements
  // alone. A count <= 0 writes nothing. Throws std::invalid_argument, before
  // writing anything, for a bandwidth that is NaN or outside (0, 0.5) and for a
  // target shorter than count.
  static void ComputeSectionCoefficients(TDoubleArray& target, int count,
                                         double transitionBandwidth);

  // The steps of the design, unchecked.
  static void ComputeTransitionParameters(double transitionBandwidth, double& k, double& q);
  static double ComputeSectionCoefficient(int index, int order, double k, double q);
  static double SumNumeratorSeries(int order, int h, double q);
  static double SumDenominatorSeries(int order, int h, double q);
};
