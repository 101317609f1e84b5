#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "dsp/PortableMath.h"

namespace {

using TMath = TPortableMath;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

enum TFunction { fnExp, fnSin, fnCos, fnTan, fnFourthRoot };

const char* Name(TFunction f) {
  static constexpr const char* kNames[] = {"Exp", "Sin", "Cos", "Tan", "FourthRoot"};
  return kNames[f];
}

double Portable(TFunction f, double x) {
  switch (f) {
    case fnExp:
      return TMath::Exp(x);
    case fnSin:
      return TMath::Sin(x);
    case fnCos:
      return TMath::Cos(x);
    case fnTan:
      return TMath::Tan(x);
    case fnFourthRoot:
      return TMath::FourthRoot(x);
  }
  return kNaN;
}

double Library(TFunction f, double x) {
  switch (f) {
    case fnExp:
      return std::exp(x);
    case fnSin:
      return std::sin(x);
    case fnCos:
      return std::cos(x);
    case fnTan:
      return std::tan(x);
    case fnFourthRoot:
      return std::pow(x, 0.25);
  }
  return kNaN;
}

std::uint64_t Bits(double x) {
  return std::bit_cast<std::uint64_t>(x);
}

// Distance in units in the last place between two finite doubles.
std::uint64_t UlpDistance(double a, double b) {
  const auto position = [](double x) {
    const auto bits = static_cast<std::int64_t>(Bits(x) & ~(std::uint64_t{1} << 63));
    return std::signbit(x) ? -bits : bits;
  };
  const std::int64_t pa = position(a);
  const std::int64_t pb = position(b);
  return pa > pb ? static_cast<std::uint64_t>(pa - pb) : static_cast<std::uint64_t>(pb - pa);
}

// Correctly rounded results, computed with 200-bit arithmetic. Most are
// arguments where a common C library rounds the other way; the first is the
// resampler design's tangent, and the exponential of -49 dB a level a user
// types.
TEST(PortableMath, RoundsCorrectlyWhereLibrariesDiffer) {
  struct TCase {
    TFunction Function;
    double X;
    double Expected;
  };
  const TCase cases[] = {
      {fnTan, 0x1.8a14d57b373dfp-1, 0x1.f0299ac0eedd0p-1},
      {fnExp, -0x1.690b9b7019a9bp+2, 0x1.d10f9f0773bd1p-9},
      {fnExp, -0x1.653c6611f9730p+1, 0x1.f6b50237a305ep-5},
      {fnExp, -0x1.bbd0a1b686d28p+2, 0x1.fe6576977943dp-11},
      {fnExp, -0x1.f8a8eac3350c0p+3, 0x1.2ff96568e9963p-23},
      {fnSin, -0x1.3d81330493858p+3, 0x1.e873e5639be29p-2},
      {fnSin, -0x1.4348750ea97a3p+4, -0x1.f431b455cbfc5p-1},
      {fnSin, 0x1.6263016a2dcf4p+4, -0x1.42490693b846bp-3},
      {fnSin, 0x1.e848000000000p+19, -0x1.6664b2568d867p-2},
      {fnSin, 0x1.c6bf526340000p+49, 0x1.b76f88136cebap-1},
      {fnSin, 0x1.f6a7a2955385ep+4, -0x1.60fafbfd97309p-50},
      {fnCos, 0x1.17bb19baae6a8p+4, 0x1.9fbdb0e473393p-3},
      {fnCos, 0x1.b5bb83bb2d300p+0, -0x1.1bf384de15df1p-3},
      {fnCos, 0x1.1c497305c2a34p+4, 0x1.e12c47b020ef1p-2},
      {fnCos, 0x1.9000000000000p+6, 0x1.b981dbf665fdfp-1},
      {fnTan, 0x1.da0dec144404dp-3, 0x1.e2b4d3173a199p-3},
      {fnTan, 0x1.839bcc244fcadp-1, 0x1.e3c32e17d6d3bp-1},
      {fnTan, 0x1.14ff165523b4cp-4, 0x1.156b625f7a8fdp-4},
      {fnFourthRoot, 0x1.db0c50fd0a0ccp-1, 0x1.f6803cecdc6fdp-1},
      {fnFourthRoot, 0x1.0372cb7a7175dp-1, 0x1.affb48bc33e99p-1},
      {fnFourthRoot, 0x1.8b5aea9822e40p-6, 0x1.939760e513fd0p-2},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Bits(Portable(c.Function, c.X)), Bits(c.Expected))
        << Name(c.Function) << "(" << std::hexfloat << c.X << ") = " << Portable(c.Function, c.X)
        << ", expected " << c.Expected;
}

// Where the C library is within one unit of the exact value, so are we: a
// wrong quadrant, reduction or series shows as far more. MinGW's sine and
// cosine use the x87 instructions, whose reduction by pi is inexact (11
// units off at -9 pi, five digits at 1e6 near a zero): the Windows builds
// compare those two only at small arguments.
// The arguments of the sine and cosine sweeps: around 0, and far out.
#ifdef _WIN32
constexpr double kTrigonometryAround0 = 1.5;
constexpr double kTrigonometryFarOut = 0.0;
#else
constexpr double kTrigonometryAround0 = 100.0;
constexpr double kTrigonometryFarOut = 1e6;
#endif

TEST(PortableMath, StaysWithinOneUnitOfTheCLibraryOverItsRange) {
  struct TRange {
    TFunction Function;
    double From;
    double To;
  };
  constexpr int kSteps = 20000;
  constexpr double kAround0 = kTrigonometryAround0;
  constexpr double kFarOut = kTrigonometryFarOut;
  constexpr double kFarOutWidth = 1.5;
  const TRange ranges[] = {
      {fnExp, -745.0, 709.7},
      {fnExp, -17.0, 0.2},
      {fnSin, -kAround0, kAround0},
      {fnCos, -kAround0, kAround0},
      {fnSin, kFarOut, kFarOut + kFarOutWidth},
      {fnTan, -1.5, 1.5},
      {fnTan, 0.0, 0.7854},
      {fnFourthRoot, 0.0, 1.0},
      {fnFourthRoot, 1.0, 1e300},
  };
  for (const TRange& range : ranges) {
    std::uint64_t worst = 0;
    double worstX = 0.0;
    for (int i = 0; i <= kSteps; ++i) {
      // An irrational step, so that the arguments are not round numbers.
      const double x =
          range.From + (range.To - range.From) * std::fmod(i * 0.6180339887498949, 1.0);
      const std::uint64_t distance =
          UlpDistance(Portable(range.Function, x), Library(range.Function, x));
      if (distance > worst) {
        worst = distance;
        worstX = x;
      }
    }
    EXPECT_LE(worst, 1u) << Name(range.Function) << " at " << std::hexfloat << worstX;
  }
}

TEST(PortableMath, HandlesTheEndsOfTheRange) {
  struct TCase {
    TFunction Function;
    double X;
    double Expected;
  };
  const TCase cases[] = {
      {fnExp, 0.0, 1.0},
      {fnExp, -0.0, 1.0},
      {fnExp, kInf, kInf},
      {fnExp, -kInf, 0.0},
      {fnExp, 710.0, kInf},
      {fnExp, -746.0, 0.0},
      {fnExp, 709.78, 0x1.fe9ce5c4c52b4p+1023},
      {fnExp, -740.0, 0x0.0000000000055p-1022},
      {fnSin, 0.0, 0.0},
      {fnCos, 0.0, 1.0},
      {fnTan, 0.0, 0.0},
      {fnFourthRoot, 0.0, 0.0},
      {fnFourthRoot, 16.0, 2.0},
      {fnFourthRoot, 0x1p-1072, 0x1p-268},
      {fnFourthRoot, kInf, kInf},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Bits(Portable(c.Function, c.X)), Bits(c.Expected))
        << Name(c.Function) << "(" << c.X << ")";
  for (TFunction f : {fnExp, fnSin, fnCos, fnTan, fnFourthRoot})
    EXPECT_TRUE(std::isnan(Portable(f, kNaN))) << Name(f);
  for (double x : {kInf, -kInf, 0x1p53, 1e300})
    for (TFunction f : {fnSin, fnCos, fnTan})
      EXPECT_TRUE(std::isnan(Portable(f, x))) << Name(f) << "(" << x << ")";
  EXPECT_TRUE(std::isnan(TMath::FourthRoot(-1.0)));
}

}  // namespace
