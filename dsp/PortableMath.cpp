#include "dsp/PortableMath.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// A value hi + lo with |lo| at most half a unit in the last place of hi.
struct TDD {
  double Hi;
  double Lo;
};

// 2^27 + 1: splits a double into two halves of 26 bits whose products are
// exact.
constexpr double kSplitter = 134217729.0;

TDD QuickTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

TDD TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

void Split(double a, double& hi, double& lo) {
  const double c = kSplitter * a;
  hi = c - (c - a);
  lo = a - hi;
}

// The exact product, without a fused multiply-add (which would be quicker
// but is not in every build's instruction set).
TDD TwoProduct(double a, double b) {
  const double p = a * b;
  double ah, al, bh, bl;
  Split(a, ah, al);
  Split(b, bh, bl);
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

TDD Add(TDD a, TDD b) {
  TDD s = TwoSum(a.Hi, b.Hi);
  const TDD t = TwoSum(a.Lo, b.Lo);
  s.Lo += t.Hi;
  s = QuickTwoSum(s.Hi, s.Lo);
  s.Lo += t.Lo;
  return QuickTwoSum(s.Hi, s.Lo);
}

TDD Negate(TDD a) {
  return {-a.Hi, -a.Lo};
}

TDD Subtract(TDD a, TDD b) {
  return Add(a, Negate(b));
}

TDD Multiply(TDD a, TDD b) {
  TDD p = TwoProduct(a.Hi, b.Hi);
  p.Lo += a.Hi * b.Lo + a.Lo * b.Hi;
  return QuickTwoSum(p.Hi, p.Lo);
}

TDD Multiply(TDD a, double b) {
  TDD p = TwoProduct(a.Hi, b);
  p.Lo += a.Lo * b;
  return QuickTwoSum(p.Hi, p.Lo);
}

// Long division: three quotient digits.
TDD Divide(TDD a, TDD b) {
  const double q1 = a.Hi / b.Hi;
  TDD r = Subtract(a, Multiply(b, q1));
  const double q2 = r.Hi / b.Hi;
  r = Subtract(r, Multiply(b, q2));
  const double q3 = r.Hi / b.Hi;
  return Add(QuickTwoSum(q1, q2), TDD{q3, 0.0});
}

TDD Divide(TDD a, double b) {
  return Divide(a, TDD{b, 0.0});
}

// One Newton step from the double square root: s + (a - s^2) / (2s).
TDD SquareRoot(TDD a) {
  if (a.Hi == 0.0) return {a.Hi, 0.0};
  const double s = std::sqrt(a.Hi);
  const TDD residual = Subtract(a, TwoProduct(s, s));
  return Add(TDD{s, 0.0}, TDD{residual.Hi / (2.0 * s), 0.0});
}

// 2^n as a double, for n in the normal exponent range.
double PowerOfTwo(int n) {
  constexpr int kExponentBias = 1023;
  constexpr int kMantissaBits = 52;
  return std::bit_cast<double>(static_cast<std::uint64_t>(n + kExponentBias) << kMantissaBits);
}

// Nearest integer of a value well inside the range of long long, ties away
// from zero.
long long NearestInteger(double x) {
  return static_cast<long long>(x >= 0.0 ? x + 0.5 : x - 0.5);
}

// ln 2 and pi/2 in three parts each, together far beyond double-double
// precision, so that reducing an argument by a multiple loses nothing.
constexpr double kLn2[3] = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56, 0x1.7b57a079a1934p-111};
constexpr double kInverseLn2 = 0x1.71547652b82fep+0;
constexpr double kHalfPi[3] = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54,
                               -0x1.f1976b7ed8fbcp-110};
constexpr double kInverseHalfPi = 0x1.45f306dc9c883p-1;

// x - n * c for a constant c in three parts; the products of n with the
// first two parts are taken exactly.
TDD Reduce(double x, long long n, const double (&c)[3]) {
  const double m = static_cast<double>(n);
  TDD r = Subtract(TDD{x, 0.0}, TwoProduct(m, c[0]));
  r = Subtract(r, TwoProduct(m, c[1]));
  return Subtract(r, TDD{m * c[2], 0.0});
}

// The series stop once a term is this small beside the sum: below the
// last bit of a double-double.
constexpr double kSeriesEnd = 1e-34;

// 1/k! for k = 0..25 as double-doubles: the Taylor coefficients of e^r.
// With |r| <= ln(2)/2 the first term left out is below 1e-35.
constexpr TDD kInverseFactorials[] = {
    {0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.0000000000000p+0, 0x0.0p+0},
    {0x1.0000000000000p-1, 0x0.0p+0},
    {0x1.5555555555555p-3, 0x1.5555555555555p-57},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76},
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {0x1.93974a8c07c9dp-37, 0x1.05d6f8a2efd1fp-92},
    {0x1.ae7f3e733b81fp-41, 0x1.1d8656b0ee8cbp-97},
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},
    {0x1.6827863b97d97p-53, 0x1.eec01221a8b0bp-107},
    {0x1.2f49b46814157p-57, 0x1.2650f61dbdcb4p-112},
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},
    {0x1.0ce396db7f853p-70, -0x1.aebcdbd20331cp-124},
    {0x1.761b41316381ap-75, -0x1.3423c7d91404fp-130},
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},
};

// e^r for |r| <= ln(2)/2 by Horner's scheme over its Taylor series: no
// division, so that a gain costs well under a microsecond.
TDD ExpSeries(TDD r) {
  constexpr int kTerms = static_cast<int>(sizeof kInverseFactorials / sizeof kInverseFactorials[0]);
  TDD sum = kInverseFactorials[kTerms - 1];
  for (int k = kTerms - 2; k >= 0; --k)
    sum = Add(Multiply(sum, r), kInverseFactorials[k]);
  return sum;
}

// sin r and cos r for |r| <= pi/4 (and a little beyond), by their Taylor
// series: first is r (sine) or 1 (cosine), each further term the last one
// times -r^2 / ((k + 1)(k + 2)).
TDD TrigonometricSeries(TDD r, bool sine) {
  const TDD minusSquare = Negate(Multiply(r, r));
  TDD term = sine ? r : TDD{1.0, 0.0};
  TDD sum = term;
  for (int k = sine ? 1 : 0; std::fabs(term.Hi) > kSeriesEnd * std::fabs(sum.Hi) && k < 1000;
       k += 2) {
    term = Divide(Multiply(term, minusSquare), static_cast<double>((k + 1) * (k + 2)));
    sum = Add(sum, term);
  }
  return sum;
}

// From here on every double is an even integer and the reduction has no
// bits left to work with.
constexpr double kLargestReduced = 0x1p52;

// Sine (quadrantShift 0) or cosine (quadrantShift 1) of x: x = n pi/2 + r.
double SineOrCosine(double x, int quadrantShift, TDD* sine = nullptr, TDD* cosine = nullptr) {
  if (!(std::fabs(x) < kLargestReduced)) return std::numeric_limits<double>::quiet_NaN();
  const long long n = NearestInteger(x * kInverseHalfPi);
  const TDD r = Reduce(x, n, kHalfPi);
  const TDD s = TrigonometricSeries(r, true);
  const TDD c = TrigonometricSeries(r, false);
  // sin(r + n pi/2) and cos(r + n pi/2) by the quadrant n mod 4.
  const auto quadrant = static_cast<int>(((n % 4) + 4) % 4);
  static constexpr int kSineFrom[4] = {0, 1, 0, 1};  // 0: from sin r, 1: from cos r
  static constexpr int kSineSign[4] = {1, 1, -1, -1};
  static constexpr int kCosineSign[4] = {1, -1, -1, 1};
  const TDD sinX = kSineFrom[quadrant] == 0 ? s : c;
  const TDD cosX = kSineFrom[quadrant] == 0 ? c : s;
  const TDD signedSin = kSineSign[quadrant] > 0 ? sinX : Negate(sinX);
  const TDD signedCos = kCosineSign[quadrant] > 0 ? cosX : Negate(cosX);
  if (sine != nullptr) *sine = signedSin;
  if (cosine != nullptr) *cosine = signedCos;
  return quadrantShift == 0 ? signedSin.Hi : signedCos.Hi;
}

// e^x overflows above the largest double's logarithm and is 0 below the
// smallest subnormal's.
constexpr double kExpOverflow = 0x1.62e42fefa39efp+9;
constexpr double kExpUnderflow = -0x1.74910d52d3052p+9;
constexpr int kLowestNormalExponent = -1022;
constexpr int kHighestExponent = 1023;

}  // namespace

double TPortableMath::Exp(double x) noexcept {
  if (std::isnan(x)) return x;
  if (x > kExpOverflow) return std::numeric_limits<double>::infinity();
  if (x < kExpUnderflow) return 0.0;
  // x = n ln 2 + r, e^x = 2^n e^r.
  const auto n = static_cast<int>(NearestInteger(x * kInverseLn2));
  const double mantissa = ExpSeries(Reduce(x, n, kLn2)).Hi;
  // The scaling is exact while 2^n is normal; it is split in two for the
  // ends of the range.
  if (n > kHighestExponent) return mantissa * PowerOfTwo(n - 1) * 2.0;
  if (n < kLowestNormalExponent)
    return mantissa * PowerOfTwo(n - kLowestNormalExponent) * PowerOfTwo(kLowestNormalExponent);
  return mantissa * PowerOfTwo(n);
}

double TPortableMath::Sin(double x) noexcept {
  return SineOrCosine(x, 0);
}

double TPortableMath::Cos(double x) noexcept {
  return SineOrCosine(x, 1);
}

double TPortableMath::Tan(double x) noexcept {
  TDD s{};
  TDD c{};
  if (std::isnan(SineOrCosine(x, 0, &s, &c))) return std::numeric_limits<double>::quiet_NaN();
  return Divide(s, c).Hi;
}

double TPortableMath::FourthRoot(double x) noexcept {
  if (std::isnan(x) || x < 0.0) return std::numeric_limits<double>::quiet_NaN();
  if (x == 0.0 || std::isinf(x)) return x;
  return SquareRoot(SquareRoot(TDD{x, 0.0})).Hi;
}
