#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "frame/VSTModule.h"
#include "tests/plugins/TestControl.h"
#include "tests/plugins/TraceLog.h"

// A module in program-chunk mode with three programs. It keeps each program's
// state as bytes (10, 0 and 3 of them at first), hands them out through
// OnStoreChunk and takes them back through OnLoadChunk; it owns the parameter
// values and answers them through OnGetChunkParameter.
class TChunkTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;

  void StoreChunk(TObject* Sender, VstInt32 Index, bool isPreset);
  void LoadChunk(TObject* Sender, VstInt32 Index, bool isPreset);
  float GetChunkParameter(TObject* Sender, VstInt32 Index);
  void VSTModuleParameterChange(TObject* Sender, VstInt32 Index, float& Value);
  void VSTModuleBeforeProgramChange(TObject* Sender);
  void VSTModuleAfterProgramChange(TObject* Sender);
  VstInt32 VSTModuleVendorSpecific(TObject* Sender, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg,
                                   float floatArg);

 private:
  static constexpr int kPrograms = 3;
  static constexpr int kParameters = 2;

  TTraceLog Log;
  std::array<std::vector<std::uint8_t>, kPrograms> State{
      std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
      std::vector<std::uint8_t>{},
      std::vector<std::uint8_t>{0x20, 0x21, 0x22},
  };
  std::array<float, kParameters> Values{};
};

namespace {

using M = TChunkTestModule;

constexpr TPublishedMethod kMethods[] = {
    Published<&M::StoreChunk>("StoreChunk"),
    Published<&M::LoadChunk>("LoadChunk"),
    Published<&M::GetChunkParameter>("GetChunkParameter"),
    Published<&M::VSTModuleParameterChange>("VSTModuleParameterChange"),
    Published<&M::VSTModuleBeforeProgramChange>("VSTModuleBeforeProgramChange"),
    Published<&M::VSTModuleAfterProgramChange>("VSTModuleAfterProgramChange"),
    Published<&M::VSTModuleVendorSpecific>("VSTModuleVendorSpecific"),
};

TPropertyList ChunkProgram(const char* name) {
  return {{"DisplayName", name},
          {"OnLoadChunk", THandler{"LoadChunk"}},
          {"OnStoreChunk", THandler{"StoreChunk"}}};
}

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TChunkTestModule",
      "ChunkTestModule",
      {
          // Before the programs, so that they hold chunks instead of values.
          {"Flags", TIdentSet{{"effFlagsProgramChunks", "effFlagsCanReplacing"}}},
          {"EffectName", "Chunk Test"},
          {"UniqueID", "ChTs"},
          {"Programs",
           TCollectionValue{{ChunkProgram("Ten"), ChunkProgram("None"), ChunkProgram("Three")}}},
          {"ParameterProperties",
           TCollectionValue{{
               {{"DisplayName", "Mix"}},
               {{"Min", -140.0}, {"Max", 1.0}, {"DisplayName", "Level"}, {"Units", "dB"}},
           }}},
          {"OnGetChunkParameter", THandler{"GetChunkParameter"}},
          {"OnParameterChange", THandler{"VSTModuleParameterChange"}},
          {"OnBeforeProgramChange", THandler{"VSTModuleBeforeProgramChange"}},
          {"OnAfterProgramChange", THandler{"VSTModuleAfterProgramChange"}},
          {"OnVendorSpecific", THandler{"VSTModuleVendorSpecific"}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TChunkTestModule", &Description};

std::string Number(float value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof(text), value);
  return std::string(text, result.ptr);
}

std::string ChunkEntry(const char* what, VstInt32 index, bool isPreset) {
  return std::string(what) + ":" + std::to_string(index) + (isPreset ? ",preset" : ",bank");
}

}  // namespace

const TModuleClass TChunkTestModule::Class{"TChunkTestModule", &TVSTModule::Class, kMethods};

void M::StoreChunk(TObject* Sender, VstInt32 Index, bool isPreset) {
  Log.Add(*this, ChunkEntry("Store", Index, isPreset));
  static_cast<TCustomVstProgram*>(Sender)->ChunkData() = State.at(static_cast<std::size_t>(Index));
}

void M::LoadChunk(TObject* Sender, VstInt32 Index, bool isPreset) {
  Log.Add(*this, ChunkEntry("Load", Index, isPreset));
  State.at(static_cast<std::size_t>(Index)) = static_cast<TCustomVstProgram*>(Sender)->ChunkData();
}

float M::GetChunkParameter(TObject*, VstInt32 Index) {
  Log.Add(*this, "Get:" + std::to_string(Index));
  return Index >= 0 && Index < kParameters ? Values[static_cast<std::size_t>(Index)] : -1.0f;
}

void M::VSTModuleParameterChange(TObject*, VstInt32 Index, float& Value) {
  Log.Add(*this, "Change:" + std::to_string(Index) + "=" + Number(Value));
  Values.at(static_cast<std::size_t>(Index)) = Value;
}

void M::VSTModuleBeforeProgramChange(TObject*) {
  Log.Add(*this, "Before:" + std::to_string(CurrentProgram()));
}

void M::VSTModuleAfterProgramChange(TObject*) {
  Log.Add(*this, "After:" + std::to_string(CurrentProgram()));
}

VstInt32 M::VSTModuleVendorSpecific(TObject*, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg, float) {
  if (Log.HandleRequest(lArg1, lArg2, ptrArg)) return 1;
  switch (lArg1) {
    default:
      return 0;
  }
}

QUILLO_VST_PLUGIN(TChunkTestModule)
