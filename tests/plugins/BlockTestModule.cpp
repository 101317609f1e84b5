#include <algorithm>
#include <charconv>

#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "frame/VSTModule.h"
#include "tests/plugins/TestControl.h"
#include "tests/plugins/TraceLog.h"

// A module in block mode whose processing handlers pass their input through
// and log the first channel of every block they get. Its processing mode,
// block size, overlap and output count can be changed through
// effVendorSpecific.
class TBlockTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;

  VstInt32 VSTModuleVendorSpecific(TObject* Sender, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg,
                                   float floatArg);
  void BlockProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs, VstInt32 sampleframes);
  void BlockProcessDouble(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                          VstInt32 sampleframes);

 private:
  template <class Arrays>
  void PassThrough(const char* name, Arrays inputs, Arrays outputs, VstInt32 sampleframes);

  TTraceLog Log;
};

namespace {

using M = TBlockTestModule;

constexpr TPublishedMethod kMethods[] = {
    Published<&M::VSTModuleVendorSpecific>("VSTModuleVendorSpecific"),
    Published<&M::BlockProcess>("BlockProcess"),
    Published<&M::BlockProcessDouble>("BlockProcessDouble"),
};

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TBlockTestModule",
      "BlockTestModule",
      {
          {"Flags", TIdentSet{{"effFlagsCanReplacing", "effFlagsCanDoubleReplacing"}}},
          {"EffectName", "Block Test"},
          {"UniqueID", "BlTs"},
          // The published order: the mode first, so the block size shrinks
          // from its default while block mode is already on.
          {"ProcessingMode", TIdent{"pmBlockSave"}},
          {"BlockModeSize", std::int64_t{4}},
          {"BlockModeOverlap", std::int64_t{0}},
          {"OnVendorSpecific", THandler{"VSTModuleVendorSpecific"}},
          {"OnProcess", THandler{"BlockProcess"}},
          {"OnProcessReplacing", THandler{"BlockProcess"}},
          {"OnProcessDoubleReplacing", THandler{"BlockProcessDouble"}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TBlockTestModule", &Description};

std::string Number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof(text), value);
  return std::string(text, result.ptr);
}

}  // namespace

const TModuleClass TBlockTestModule::Class{"TBlockTestModule", &TVSTModule::Class, kMethods};

VstInt32 M::VSTModuleVendorSpecific(TObject*, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg, float) {
  if (Log.HandleRequest(lArg1, lArg2, ptrArg)) return 1;
  switch (lArg1) {
    case kSetMode:
      SetProcessingMode(static_cast<TProcessingMode>(lArg2));
      return ProcessingMode();
    case kSetBlockSize:
      SetBlockModeSize(lArg2);
      return BlockModeSize();
    case kSetOverlap:
      SetBlockModeOverlap(lArg2);
      return BlockModeOverlap();
    case kSetOutputs:
      SetNumOutputs(lArg2);
      return numOutputs();
    case kSetDelay:
      SetInitialDelay(lArg2);
      return InitialDelay();
    case kQueueEvents:
      OutputEvents().numEvents = lArg2;
      return 1;
    default:
      return 0;
  }
}

template <class Arrays>
void M::PassThrough(const char* name, Arrays inputs, Arrays outputs, VstInt32 sampleframes) {
  std::string entry = name;
  for (VstInt32 i = 0; i < sampleframes; ++i) {
    entry += i == 0 ? ':' : ',';
    entry += Number(inputs[0][i]);
  }
  Log.Add(*this, entry);
  for (VstInt32 c = 0; c < std::min(numInputs(), numOutputs()); ++c)
    std::copy_n(inputs[c], sampleframes, outputs[c]);
}

void M::BlockProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                     VstInt32 sampleframes) {
  PassThrough("Block", inputs, outputs, sampleframes);
}

void M::BlockProcessDouble(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                           VstInt32 sampleframes) {
  PassThrough("BlockDouble", inputs, outputs, sampleframes);
}

QUILLO_VST_PLUGIN(TBlockTestModule)
