#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "dsp/Downsampler2x.h"
#include "dsp/StereoOversampledChain.h"
#include "dsp/Upsampler2x.h"
#include "effect/Harmonics.h"
#include "effect/ShapingPolynomial.h"
#include "frame/VSTModule.h"

// The harmonic-distortion effect. Every sample of each channel gets a tiny
// offset (keeping the filters out of subnormal numbers on silence), is
// upsampled to two samples, shaped by the polynomial and downsampled again.
// Its behaviour hangs entirely on the events its stored description binds.
class TQuillotronVSTModule : public TVSTModule {
 public:
  static const TModuleClass Class;
  static constexpr int kChannels = 2;

  // The shaper state the audio thread evaluates with (see PickUpParameterChanges).
  TShapingPolynomial::TGains Gains{};
  TShapingPolynomial::TPhaseSigns PhaseSigns{};
  TShapingPolynomial::TPolynomialCoefficients PolynomialCoefficients{};
  std::array<std::unique_ptr<TUpsampler2x>, kChannels> Upsamplers;
  std::array<std::unique_ptr<TDownsampler2x>, kChannels> Downsamplers;
  // The block path through both channels' resamplers, bound once they are designed.
  TStereoOversampledChain BlockChain;

  void VSTModuleCreate(TObject* Sender);
  void VSTModuleDestroy(TObject* Sender);
  void VSTModuleInitialize(TObject* Sender);
  void VST_EditOpen(TObject* Sender, std::unique_ptr<TEditorForm>& GUI);
  void VST2ModuleProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                         VstInt32 sampleframes);
  void VSTModuleProcessDoubleReplacing(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                                       VstInt32 sampleframes);
  // Bound under the eight level handler names; Index says which level.
  void HarmonicLevelChange(TObject* Sender, VstInt32 Index, float& Value);
  // Bound under the phase handler name shared by the eight switches.
  void HarmonicPhaseChange(TObject* Sender, VstInt32 Index, float& Value);
  void QuillotronVSTModuleCustomParameterDisplay(TObject* Sender, VstInt32 Index,
                                                 std::string& PreDefined);

  // Gains, signs and coefficients from the stored parameter values.
  void CalculateCoefficients();
  // Regenerates the editor's waveform display when the editor is open, from
  // coefficients computed for it from the stored values. Editor thread only.
  void UpdateWaveform();
  // The parameters changed since the last call (bit i for parameter i), for
  // the editor to follow; marks made while it is closed are kept.
  std::uint32_t TakeEditorChanges();

 private:
  void MarkChanged(std::uint32_t levels, VstInt32 parameter);
  void PickUpParameterChanges();
  template <class Sample>
  void Process(TChannelArrays<Sample> inputs, TChannelArrays<Sample> outputs, VstInt32 frames);

  // The levels changed since the audio thread last computed its
  // coefficients: bit k for level k, every bit after a phase change. Set by
  // the parameter handlers on whatever thread changed a parameter, taken by
  // the audio thread.
  std::atomic<std::uint32_t> ChangedLevels{0};
  // The parameters changed since the editor last looked: bit i for
  // parameter i. Set on any thread, taken on the editor's.
  std::atomic<std::uint32_t> EditorChanges{0};
};
