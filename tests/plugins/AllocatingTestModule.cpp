#include <algorithm>
#include <memory>

#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "frame/VSTModule.h"

// A pass-through effect that allocates inside its processing when its one
// switch is on: the case an allocation check must catch. The allocation goes
// through the C++ library's operator new, as a plug-in's would.
class TAllocatingTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;

  void Process(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs, VstInt32 sampleframes);
  void ProcessDouble(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                     VstInt32 sampleframes);

 private:
  template <class Arrays>
  void PassThrough(Arrays inputs, Arrays outputs, VstInt32 sampleframes);

  // Kept between calls, so the allocation cannot be optimised away.
  std::unique_ptr<double[]> FScratch;
};

namespace {

using M = TAllocatingTestModule;

constexpr VstInt32 kAllocateParameter = 0;
constexpr float kSwitchedOn = 0.5f;

constexpr TPublishedMethod kMethods[] = {
    Published<&M::Process>("Process"),
    Published<&M::ProcessDouble>("ProcessDouble"),
};

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TAllocatingTestModule",
      "AllocatingTestModule",
      {
          {"Flags", TIdentSet{{"effFlagsCanReplacing", "effFlagsCanDoubleReplacing"}}},
          {"EffectName", "Allocating Test"},
          {"UniqueID", "AlTs"},
          {"ParameterProperties", TCollectionValue{{{
                                      {"Min", 0.0},
                                      {"Max", 1.0},
                                      {"DisplayName", "Allocate"},
                                      {"VSTModule", TIdent{"Owner"}},
                                  }}}},
          {"OnProcess", THandler{"Process"}},
          {"OnProcessReplacing", THandler{"Process"}},
          {"OnProcessDoubleReplacing", THandler{"ProcessDouble"}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TAllocatingTestModule", &Description};

}  // namespace

const TModuleClass TAllocatingTestModule::Class{"TAllocatingTestModule", &TVSTModule::Class,
                                                kMethods};

template <class Arrays>
void M::PassThrough(Arrays inputs, Arrays outputs, VstInt32 sampleframes) {
  if (sampleframes < 1) return;
  const auto frames = static_cast<std::size_t>(sampleframes);
  const bool allocate = GetParameterValue(kAllocateParameter) >= kSwitchedOn;
  for (int channel = 0; channel < std::min(numInputs(), numOutputs()); ++channel) {
    if (allocate) {
      FScratch = std::make_unique<double[]>(frames);
      std::copy(inputs[channel], inputs[channel] + frames, FScratch.get());
      std::copy(FScratch.get(), FScratch.get() + frames, outputs[channel]);
    } else {
      std::copy(inputs[channel], inputs[channel] + frames, outputs[channel]);
    }
  }
}

void M::Process(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs, VstInt32 sampleframes) {
  PassThrough(inputs, outputs, sampleframes);
}

void M::ProcessDouble(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                      VstInt32 sampleframes) {
  PassThrough(inputs, outputs, sampleframes);
}

QUILLO_VST_PLUGIN(TAllocatingTestModule)
