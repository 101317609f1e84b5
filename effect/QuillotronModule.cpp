#include "effect/QuillotronModule.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "editor/QuillotronGUI.h"
#include "effect/FactoryPrograms.h"
#include "widgets/AudioChart.h"
#include "widgets/TimeDomain.h"

namespace {

using M = TQuillotronVSTModule;

constexpr std::size_t kFixedMethods = 8;

// The handlers the stored description binds by name: the eight level names
// all lead to one method, which tells the levels apart by their index.
constexpr auto MakeMethods() {
  std::array<TPublishedMethod, kFixedMethods + kHarmonicCount> methods = {{
      Published<&M::VSTModuleCreate>("VSTModuleCreate"),
      Published<&M::VSTModuleDestroy>("VSTModuleDestroy"),
      Published<&M::VSTModuleInitialize>("VSTModuleInitialize"),
      Published<&M::VST_EditOpen>("VST_EditOpen"),
      Published<&M::VST2ModuleProcess>("VST2ModuleProcess"),
      Published<&M::VSTModuleProcessDoubleReplacing>("VSTModuleProcessDoubleReplacing"),
      Published<&M::HarmonicPhaseChange>(kPhaseHandler),
      Published<&M::QuillotronVSTModuleCustomParameterDisplay>(kPhaseDisplayHandler),
  }};
  for (std::size_t k = 0; k < kHarmonics.size(); ++k)
    methods[kFixedMethods + k] = Published<&M::HarmonicLevelChange>(kHarmonics[k].LevelHandler);
  return methods;
}

constexpr auto kMethods = MakeMethods();

// Eight all-pass sections per half-band filter with a transition band of 1 %
// of the oversampled rate: over 69 dB of alias rejection.
constexpr int kResamplerCoefficients = 8;
constexpr double kResamplerTransition = 0.01;
// Added to every input sample so that silence never drives the recursive
// filters into subnormal numbers.
constexpr double kDenormalOffset = 1e-30;
constexpr float kInvertedFrom = 0.5f;
constexpr std::uint32_t kAllLevels = (1u << kHarmonicCount) - 1;
// One period of the waveform display: the rotation step 2 pi / 512.
constexpr double kWaveformStep = 0.01227184630308513;

}  // namespace

const TModuleClass TQuillotronVSTModule::Class{"TQuillotronVSTModule", &TVSTModule::Class,
                                               kMethods};

void M::VSTModuleCreate(TObject*) {
  for (int channel = 0; channel < kChannels; ++channel) {
    Upsamplers[channel] = std::make_unique<TUpsampler2x>();
    Downsamplers[channel] = std::make_unique<TDownsampler2x>();
    Upsamplers[channel]->DesignCoefficients(kResamplerCoefficients, kResamplerTransition);
    Downsamplers[channel]->DesignCoefficients(kResamplerCoefficients, kResamplerTransition);
  }
  TUpsampler2x* upsamplers[kChannels] = {Upsamplers[0].get(), Upsamplers[1].get()};
  TDownsampler2x* downsamplers[kChannels] = {Downsamplers[0].get(), Downsamplers[1].get()};
  BlockChain.Setup(upsamplers, downsamplers, kDenormalOffset);
  ChangedLevels.store(0, std::memory_order_relaxed);
  CalculateCoefficients();
  // Hosts ask for the editor's size before they open it.
  int width = 0;
  int height = 0;
  TVSTGUI::DeclaredClientSize(width, height);
  SetEditorSize(width, height);
}

void M::VSTModuleDestroy(TObject*) {
  BlockChain.Release();
  for (int channel = 0; channel < kChannels; ++channel) {
    Upsamplers[channel].reset();
    Downsamplers[channel].reset();
  }
}

void M::VSTModuleInitialize(TObject*) {
  WriteFactoryPrograms(*this);
}

void M::VST_EditOpen(TObject*, std::unique_ptr<TEditorForm>& GUI) {
  auto gui = std::make_unique<TVSTGUI>();
  gui->Module = this;
  GUI = std::move(gui);
}

void M::CalculateCoefficients() {
  TShapingPolynomial::TLevels levels{};
  for (int k = 0; k < kHarmonicCount; ++k) {
    levels[k] = GetParameterValue(k);
    PhaseSigns[k] = TShapingPolynomial::PhaseToSign(GetParameterValue(kFirstPhaseParameter + k));
  }
  TShapingPolynomial::CalculateCoefficients(levels, PhaseSigns, Gains, PolynomialCoefficients);
}

void M::UpdateWaveform() {
  auto* gui = dynamic_cast<TVSTGUI*>(EditorForm());
  if (gui == nullptr || gui->TimeDomain == nullptr || gui->TimeDomain->ChannelCount() < 1) return;
  // The audio thread's coefficients are its own; the display gets a set
  // computed here from the same stored values.
  TShapingPolynomial::TLevels levels{};
  TShapingPolynomial::TPhaseSigns signs{};
  TShapingPolynomial::TGains gains{};
  TShapingPolynomial::TPolynomialCoefficients c{};
  for (int k = 0; k < kHarmonicCount; ++k) {
    levels[k] = GetParameterValue(k);
    signs[k] = TShapingPolynomial::PhaseToSign(GetParameterValue(kFirstPhaseParameter + k));
  }
  TShapingPolynomial::CalculateCoefficients(levels, signs, gains, c);
  // Rotating (x, y) = (sin i·step, -cos i·step) by one step per sample
  // gives sample i = P(sin((i + 1)·step)): one period of the shaper's
  // output for a full-scale sine.
  const double sn = std::sin(kWaveformStep);
  const double cs = std::cos(kWaveformStep);
  double x = 0.0;
  double y = -1.0;
  TTimeDomainChannel& channel = gui->TimeDomain->Channel(0);
  float* samples = channel.Data();
  const int count = std::min(gui->TimeDomain->MaximumTime(), channel.Count());
  for (int i = 0; i < count; ++i) {
    const double nextX = cs * x - sn * y;
    const double nextY = sn * x + cs * y;
    x = nextX;
    y = nextY;
    samples[i] = static_cast<float>(TShapingPolynomial::Evaluate(c, x));
  }
  gui->TimeDomain->Changed();
  if (gui->AC != nullptr) gui->AC->Invalidate();
}

std::uint32_t M::TakeEditorChanges() {
  return EditorChanges.exchange(0, std::memory_order_acquire);
}

// Parameter handlers run on whichever thread changed the parameter, while the
// audio thread evaluates the polynomial. They therefore never touch the
// coefficients: the new value is already stored (atomically) by the frame,
// and the handler only marks its level as changed (a phase change marks all
// of them, since it alters a sign). At the start of each processing call the
// audio thread takes the marks and recomputes its own gains, signs and
// coefficients from the stored values: only the coefficients of a changed
// level, or everything after a phase change or a change of several levels
// (the results are the same to the bit). Processing thus always evaluates a
// complete coefficient set, picks a change up at the next block, loses no
// change whichever threads set parameters or switch programs, and takes no
// lock.
void M::MarkChanged(std::uint32_t levels, VstInt32 parameter) {
  ChangedLevels.fetch_or(levels, std::memory_order_release);
  if (parameter >= 0 && parameter < 2 * kHarmonicCount)
    EditorChanges.fetch_or(1u << parameter, std::memory_order_release);
}

void M::PickUpParameterChanges() {
  const std::uint32_t changed = ChangedLevels.exchange(0, std::memory_order_acquire);
  if (changed == 0) return;
  if ((changed & (changed - 1)) != 0) {
    CalculateCoefficients();
    return;
  }
  const int level = std::countr_zero(changed);
  TShapingPolynomial::UpdateLevel(level, GetParameterValue(level), PhaseSigns, Gains,
                                  PolynomialCoefficients);
}

void M::HarmonicLevelChange(TObject*, VstInt32 Index, float&) {
  if (Index >= 0 && Index < kHarmonicCount) MarkChanged(1u << Index, Index);
}

void M::HarmonicPhaseChange(TObject*, VstInt32 Index, float&) {
  MarkChanged(kAllLevels, Index);
}

void M::QuillotronVSTModuleCustomParameterDisplay(TObject*, VstInt32 Index,
                                                  std::string& PreDefined) {
  // A value that is not a number fails the comparison and reads "Norm.".
  PreDefined = GetParameterValue(Index) >= kInvertedFrom ? "Inv." : "Norm.";
}

template <class Sample>
void M::Process(TChannelArrays<Sample> inputs, TChannelArrays<Sample> outputs, VstInt32 frames) {
  PickUpParameterChanges();
  const int channels = std::min({numInputs(), numOutputs(), kChannels});
  if (channels < 1 || frames < 1) return;
  const TShapingPolynomial::TPolynomialCoefficients& c = PolynomialCoefficients;
  if (channels == kChannels && BlockChain.Ready()) {
    // Both channels at once, with the same results as the loop below.
    const Sample* in[kChannels] = {inputs[0], inputs[1]};
    Sample* out[kChannels] = {outputs[0], outputs[1]};
    BlockChain.Process(in, out, frames, c.data());
  } else {
    for (int channel = 0; channel < channels; ++channel) {
      TUpsampler2x& upsampler = *Upsamplers[channel];
      TDownsampler2x& downsampler = *Downsamplers[channel];
      const Sample* in = inputs[channel];
      Sample* out = outputs[channel];
      for (VstInt32 n = 0; n < frames; ++n) {
        const double x = static_cast<double>(in[n]) + kDenormalOffset;
        double pair[2];
        upsampler.UpsampleDouble(x, pair);
        pair[0] = TShapingPolynomial::Evaluate(c, pair[0]);
        pair[1] = TShapingPolynomial::Evaluate(c, pair[1]);
        out[n] = static_cast<Sample>(downsampler.DownsampleDouble(pair));
      }
    }
  }
  // A non-finite input would leave the recursive filters silent for good;
  // a channel whose state went non-finite starts afresh.
  for (int channel = 0; channel < channels; ++channel) {
    TUpsampler2x& upsampler = *Upsamplers[channel];
    TDownsampler2x& downsampler = *Downsamplers[channel];
    if (!upsampler.StateIsFinite() || !downsampler.StateIsFinite()) {
      upsampler.ClearState();
      downsampler.ClearState();
    }
  }
}

void M::VST2ModuleProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                          VstInt32 sampleframes) {
  Process(inputs, outputs, sampleframes);
}

void M::VSTModuleProcessDoubleReplacing(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                                        VstInt32 sampleframes) {
  Process(inputs, outputs, sampleframes);
}
