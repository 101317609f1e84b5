#include "dsp/StereoOversampledChain.h"

#include "dsp/Downsampler2x.h"
#include "dsp/InstructionSetProbe.h"
#include "dsp/Upsampler2x.h"

namespace {

using TLanes = TStereoChainLanes;
constexpr int kPairs = TLanes::kPairs;

// Lane of channel c and chain position p (0 or 1) within a section pair.
constexpr int Lane(int channel, int position) {
  return 2 * channel + position;
}

// The section of pair k that lane position p holds: the upsampler keeps the
// even section first, the downsampler the odd one.
constexpr int UpSection(int pair, int position) {
  return 2 * pair + position;
}
constexpr int DownSection(int pair, int position) {
  return 2 * pair + 1 - position;
}

const TInstructionSets& MachineSets() {
  static const TInstructionSets sets = TInstructionSetProbe::Probe();
  return sets;
}

}  // namespace

struct TStereoOversampledChain::TPiece {
  alignas(32) double Samples[TLanes::kPieceFrames * TLanes::kLanes];
};

TStereoOversampledChain::TStereoOversampledChain() = default;
TStereoOversampledChain::~TStereoOversampledChain() = default;

void TStereoOversampledChain::Setup(TUpsampler2x* const* upsamplers,
                                    TDownsampler2x* const* downsamplers, double inputOffset) {
  Release();
  for (int c = 0; c < kChannels; ++c) {
    if (upsamplers[c]->GetCoefficientCount() != kSections ||
        downsamplers[c]->GetCoefficientCount() != kSections)
      return;
  }
  if (!PieceBuffer) PieceBuffer = std::make_unique<TPiece>();
  Lanes.Piece = PieceBuffer->Samples;
  Lanes.InputOffset = inputOffset;
  for (int c = 0; c < kChannels; ++c) {
    Upsamplers[c] = upsamplers[c];
    Downsamplers[c] = downsamplers[c];
  }
  SelectRoutine(FastestRoutine());
}

void TStereoOversampledChain::Release() {
  for (int c = 0; c < kChannels; ++c) {
    Upsamplers[c] = nullptr;
    Downsamplers[c] = nullptr;
  }
}

bool TStereoOversampledChain::RoutineAvailable(TChainRoutine routine) {
  switch (routine) {
    case crPortable:
      return true;
    case crSse2:
#if QUILLO_CHAIN_SSE2
      return MachineSets().Sse2;
#else
      return false;
#endif
    case crAvx256:
#if QUILLO_CHAIN_AVX256
      return MachineSets().Avx;
#else
      return false;
#endif
  }
  return false;
}

TChainRoutine TStereoOversampledChain::FastestRoutine() {
  for (TChainRoutine routine : {crAvx256, crSse2})
    if (RoutineAvailable(routine)) return routine;
  return crPortable;
}

bool TStereoOversampledChain::SelectRoutine(TChainRoutine routine) {
  if (!RoutineAvailable(routine)) return false;
  switch (routine) {
    case crPortable:
      SingleKernel = &StereoChainPortableSingle;
      DoubleKernel = &StereoChainPortableDouble;
      break;
    case crSse2:
#if QUILLO_CHAIN_SSE2
      SingleKernel = &StereoChainSse2Single;
      DoubleKernel = &StereoChainSse2Double;
#endif
      break;
    case crAvx256:
#if QUILLO_CHAIN_AVX256
      SingleKernel = &StereoChainAvx256Single;
      DoubleKernel = &StereoChainAvx256Double;
#endif
      break;
  }
  Selected = routine;
  return true;
}

void TStereoOversampledChain::Gather(const double* shape) {
  for (int c = 0; c < kChannels; ++c) {
    const double* upA = Upsamplers[c]->GetCoefficients().data();
    const double* upX = Upsamplers[c]->SectionInputs();
    const double* upY = Upsamplers[c]->SectionOutputs();
    const double* downA = Downsamplers[c]->GetCoefficients().data();
    const double* downX = Downsamplers[c]->SectionInputs();
    const double* downY = Downsamplers[c]->SectionOutputs();
    for (int k = 0; k < kPairs; ++k) {
      for (int p = 0; p < 2; ++p) {
        const int lane = Lane(c, p);
        Lanes.UpA[k][lane] = upA[UpSection(k, p)];
        Lanes.UpX[k][lane] = upX[UpSection(k, p)];
        Lanes.UpY[k][lane] = upY[UpSection(k, p)];
        Lanes.DownA[k][lane] = downA[DownSection(k, p)];
        Lanes.DownX[k][lane] = downX[DownSection(k, p)];
        Lanes.DownY[k][lane] = downY[DownSection(k, p)];
      }
    }
  }
  for (int i = 0; i < TLanes::kShapeCoefficients; ++i)
    Lanes.Shape[i] = shape[i];
}

void TStereoOversampledChain::Scatter() {
  for (int c = 0; c < kChannels; ++c) {
    double* upX = Upsamplers[c]->SectionInputs();
    double* upY = Upsamplers[c]->SectionOutputs();
    double* downX = Downsamplers[c]->SectionInputs();
    double* downY = Downsamplers[c]->SectionOutputs();
    for (int k = 0; k < kPairs; ++k) {
      for (int p = 0; p < 2; ++p) {
        const int lane = Lane(c, p);
        upX[UpSection(k, p)] = Lanes.UpX[k][lane];
        upY[UpSection(k, p)] = Lanes.UpY[k][lane];
        downX[DownSection(k, p)] = Lanes.DownX[k][lane];
        downY[DownSection(k, p)] = Lanes.DownY[k][lane];
      }
    }
  }
}

void TStereoOversampledChain::Process(const float* const* inputs, float* const* outputs, int frames,
                                      const double* shape) {
  if (frames < 1) return;
  Gather(shape);
  SingleKernel(Lanes, inputs, outputs, frames);
  Scatter();
}

void TStereoOversampledChain::Process(const double* const* inputs, double* const* outputs,
                                      int frames, const double* shape) {
  if (frames < 1) return;
  Gather(shape);
  DoubleKernel(Lanes, inputs, outputs, frames);
  Scatter();
}

void TStereoOversampledChain::ClearState() {
  for (int c = 0; c < kChannels; ++c) {
    Upsamplers[c]->ClearState();
    Downsamplers[c]->ClearState();
  }
}
