#pragma once

#include <memory>

#include "dsp/StereoChainLanes.h"

class TUpsampler2x;
class TDownsampler2x;

// Block routines chosen by the processor.
enum TChainRoutine { crPortable, crSse2, crAvx256 };

// The block path of the oversampled stereo chain: for each frame and channel
// add the input offset, upsample 2x, shape both samples by a polynomial of
// degree 8 and downsample, exactly as the per-sample routines of the four
// resamplers would, to the bit, but over whole blocks and with the two
// channels and the two chains of each resampler side by side.
//
// The resamplers keep owning coefficients and state: a block gathers them into
// lanes first and hands the state back when it ends, so their own routines
// and state checks go on working between blocks.
//
// Setup allocates; Process allocates nothing, makes no per-sample branch on
// settings and no indirect call per sample. The routine is chosen at Setup and
// on SelectRoutine, never per block.
class TStereoOversampledChain {
 public:
  static constexpr int kChannels = 2;
  // The section count the block routines are written for.
  static constexpr int kSections = 8;

  TStereoOversampledChain();
  ~TStereoOversampledChain();
  TStereoOversampledChain(const TStereoOversampledChain&) = delete;
  TStereoOversampledChain& operator=(const TStereoOversampledChain&) = delete;

  // Binds the four resamplers, allocates the piece buffer and selects the
  // fastest routine. Resamplers with another section count leave it unready.
  void Setup(TUpsampler2x* const* upsamplers, TDownsampler2x* const* downsamplers,
             double inputOffset);
  // Forgets the resamplers (before they are destroyed).
  void Release();
  bool Ready() const { return Upsamplers[0] != nullptr; }

  static bool RoutineAvailable(TChainRoutine routine);
  static TChainRoutine FastestRoutine();
  // Binds the given routine; false, and nothing changed, if the machine lacks it.
  bool SelectRoutine(TChainRoutine routine);
  TChainRoutine Routine() const { return Selected; }

  // Runs frames frames of both channels through the chain; shape holds c0..c8.
  void Process(const float* const* inputs, float* const* outputs, int frames, const double* shape);
  void Process(const double* const* inputs, double* const* outputs, int frames,
               const double* shape);

  // Zeroes the state of the four resamplers.
  void ClearState();

 private:
  struct TPiece;

  void Gather(const double* shape);
  void Scatter();

  TUpsampler2x* Upsamplers[kChannels] = {nullptr, nullptr};
  TDownsampler2x* Downsamplers[kChannels] = {nullptr, nullptr};
  std::unique_ptr<TPiece> PieceBuffer;
  TStereoChainLanes Lanes{};
  TChainRoutine Selected = crPortable;
  TStereoChainSingleKernel SingleKernel = &StereoChainPortableSingle;
  TStereoChainDoubleKernel DoubleKernel = &StereoChainPortableDouble;
};
