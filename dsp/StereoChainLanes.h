#pragma once

// The state of the stereo oversampled chain as the block routines see it: two
// channels, each upsampled 2x by eight all-pass sections, shaped by a
// polynomial of degree 8 and downsampled by eight more sections.
//
// Four lanes per section pair: {left, right} x {two chains}. Upsampler pair k
// holds sections 2k (even chain) and 2k + 1 (odd chain) of each channel, so
// its lanes come out as {left earlier, left later, right earlier, right
// later}. The downsampler's lanes are ordered odd chain first (sections 2k + 1
// and 2k), so that the shaped samples feed it as they lie.
//
// This header holds data and declarations only: the 256-bit routine's file is
// compiled with its own instruction-set flags and must share no inline code.
struct TStereoChainLanes {
  static constexpr int kPairs = 4;
  static constexpr int kLanes = 4;
  static constexpr int kShapeCoefficients = 9;
  // Frames per internal piece: the piece buffer holds kLanes doubles each.
  static constexpr int kPieceFrames = 256;

  alignas(32) double UpA[kPairs][kLanes];
  alignas(32) double UpX[kPairs][kLanes];
  alignas(32) double UpY[kPairs][kLanes];
  alignas(32) double DownA[kPairs][kLanes];
  alignas(32) double DownX[kPairs][kLanes];
  alignas(32) double DownY[kPairs][kLanes];
  // c0..c8 of the shaping polynomial, evaluated by Horner's scheme.
  alignas(32) double Shape[kShapeCoefficients];
  // Added to every input sample before upsampling.
  double InputOffset;
  // kPieceFrames * kLanes doubles, 32-byte aligned.
  double* Piece;
};

using TStereoChainSingleKernel = void (*)(TStereoChainLanes& lanes, const float* const* inputs,
                                          float* const* outputs, int frames);
using TStereoChainDoubleKernel = void (*)(TStereoChainLanes& lanes, const double* const* inputs,
                                          double* const* outputs, int frames);

// Plain C++, for any processor.
void StereoChainPortableSingle(TStereoChainLanes& lanes, const float* const* inputs,
                               float* const* outputs, int frames);
void StereoChainPortableDouble(TStereoChainLanes& lanes, const double* const* inputs,
                               double* const* outputs, int frames);

// 128-bit SSE2 vectors, the baseline of x86-64 and of the i686 build.
void StereoChainSse2Single(TStereoChainLanes& lanes, const float* const* inputs,
                           float* const* outputs, int frames);
void StereoChainSse2Double(TStereoChainLanes& lanes, const double* const* inputs,
                           double* const* outputs, int frames);

// 256-bit AVX vectors, x86-64 only; call only where the probe reports AVX.
void StereoChainAvx256Single(TStereoChainLanes& lanes, const float* const* inputs,
                             float* const* outputs, int frames);
void StereoChainAvx256Double(TStereoChainLanes& lanes, const double* const* inputs,
                             double* const* outputs, int frames);
