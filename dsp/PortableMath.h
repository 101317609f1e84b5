#pragma once

// The transcendental functions the filter design and the harmonic gains
// need, computed from additions, subtractions, multiplications, divisions
// and square roots alone, in double-double arithmetic (about 106 bits), and
// rounded once to double at the end. Every build that rounds each of those
// operations to double (SSE2 arithmetic, no contracted multiply-add) gets
// the very same bits on every system and processor, where the C libraries of
// Linux and Windows and the x87 instructions some of them use differ in the
// last place now and then. The results are correctly rounded except where
// the exact value lies within about 1e-30 (relative) of a rounding boundary.
//
// None of them allocates, locks or throws. NaN gives NaN.
class TPortableMath {
 public:
  TPortableMath() = delete;

  // e^x: +infinity above about 709.78, 0 below about -745.13; results in the
  // subnormal range are rounded twice and may be one unit off.
  static double Exp(double x) noexcept;

  // Sine, cosine and tangent of x radians, for |x| below 2^52 (beyond, and
  // for infinity, NaN). The reduction by multiples of pi/2 keeps full
  // precision while |x| is below about 1e15.
  static double Sin(double x) noexcept;
  static double Cos(double x) noexcept;
  static double Tan(double x) noexcept;

  // x^(1/4) for x >= 0 (+0 for +0, +infinity for +infinity); NaN for x < 0.
  static double FourthRoot(double x) noexcept;
};
