#include "frame/DescriptionRegistry.h"

namespace {

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TFullTestModule",
      "FullTestModule",
      {
          {"Flags",
           TIdentSet{{"effFlagsHasEditor", "effFlagsCanReplacing", "effFlagsCanDoubleReplacing"}}},
          {"Version", "2.3"},
          {"EffectName", "Frame Test"},
          {"VendorName", "Quillotron Tests"},
          {"VersionMajor", std::int64_t{2}},
          {"VersionMinor", std::int64_t{3}},
          {"VersionRelease", std::int64_t{4}},
          {"PlugCategory", TIdent{"cgEffect"}},
          {"TailSize", std::int64_t{77}},
          {"CanDos", TIdentSet{{"plugAsChannelInsert", "plugAsSend", "_2in2out"}}},
          {"SampleRate", 44100.0},
          {"KeysRequired", true},
          {"UniqueID", "FrTs"},
          {"Programs",
           TCollectionValue{{
               {{"DisplayName", "First"}, {"OnInitialize", THandler{"ProgramInitialize"}}},
               {{"DisplayName", "Second"}},
               {{"DisplayName", "Third"}, {"OnInitialize", THandler{"ProgramInitialize"}}},
           }}},
          {"OnCreate", THandler{"VSTModuleCreate"}},
          {"OnDestroy", THandler{"VSTModuleDestroy"}},
          {"OnInitialize", THandler{"VSTModuleInitialize"}},
          {"OnOpen", THandler{"VSTModuleOpen"}},
          {"OnClose", THandler{"VSTModuleClose"}},
          {"OnDispatcher", THandler{"VSTModuleDispatcher"}},
          {"OnGetVU", THandler{"VSTModuleGetVU"}},
          {"OnCanDo", THandler{"VSTModuleCanDo"}},
          {"OnOutputProperties", THandler{"VSTModuleOutputProperties"}},
          {"OnResume", THandler{"VSTModuleResume"}},
          {"OnSuspend", THandler{"VSTModuleSuspend"}},
          {"OnEditOpen", THandler{"VSTModuleEditOpen"}},
          {"OnEditClose", THandler{"VSTModuleEditClose"}},
          {"OnEditIdle", THandler{"VSTModuleEditIdle"}},
          {"OnEditTop", THandler{"VSTModuleEditTop"}},
          {"OnEditorKeyDown", THandler{"VSTModuleKeyDown"}},
          {"OnProcessMidi", THandler{"VSTModuleProcessMidi"}},
          {"OnStartProcess", THandler{"VSTModuleStartProcess"}},
          {"OnSetPanLaw", THandler{"VSTModuleSetPanLaw"}},
          {"OnVendorSpecific", THandler{"VSTModuleVendorSpecific"}},
          {"OnSampleRateChange", THandler{"VSTModuleSampleRateChange"}},
          {"OnBlockSizeChanged", THandler{"VSTModuleBlockSizeChange"}},
          {"OnInConnected", THandler{"VSTModuleInConnected"}},
          {"OnBeginLoadBank", THandler{"VSTModuleBeginLoadBank"}},
          {"OnProcess", THandler{"VSTModuleProcess"}},
          {"OnProcessReplacing", THandler{"VSTModuleProcess"}},
          {"OnProcessDoubleReplacing", THandler{"VSTModuleProcessDouble"}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TFullTestModule", &Description};

}  // namespace
