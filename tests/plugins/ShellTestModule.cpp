#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "tests/plugins/SmallTestModules.h"
#include "tests/plugins/TestControl.h"

namespace {

constexpr TPublishedMethod kMethods[] = {
    Published<&TShellTestModule::ShellInstanciate>("ShellInstanciate"),
};

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TShellTestModule",
      "ShellTestModule",
      {
          {"EffectName", "Shell"},
          {"PlugCategory", TIdent{"cgShell"}},
          {"UniqueID", "Shel"},
          {"ShellPlugins",
           TCollectionValue{{
               {{"DisplayName", "Alpha"},
                {"UniqueID", "AAAA"},
                {"numInputs", std::int64_t{-1}},
                {"numOutputs", std::int64_t{4}},
                {"PlugCategory", TIdent{"cgSynth"}},
                {"OnInstanciate", THandler{"ShellInstanciate"}}},
               {{"DisplayName", "Beta"}, {"UniqueID", "BBBB"}, {"numInputs", std::int64_t{1}}},
           }}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TShellTestModule", &Description};

}  // namespace

const TModuleClass TShellTestModule::Class{"TShellTestModule", &TVSTModule::Class, kMethods};

void TShellTestModule::ShellInstanciate(TObject*, const std::string& UID) {
  std::string text = "Instanciate:" + UID;
  HostVendorSpecific(kTrace, 0, text.data(), 0.0f);
}

QUILLO_VST_PLUGIN(TShellTestModule)
