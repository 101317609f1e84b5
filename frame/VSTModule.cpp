#include "frame/VSTModule.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "frame/DescriptionRegistry.h"
#include "frame/ModuleEnums.h"

const TModuleClass TVSTModule::Class{"TVSTModule", nullptr, {}};

namespace {

using M = TCustomVSTModule;
using Setter = TPropertySetter<M>;

template <class TItem, class TCollection>
void FillCollection(TCollection& collection, const TModuleClass& moduleClass,
                    const TProperty& property) {
  for (const TPropertyList& itemProperties : AsCollection(property).Items) {
    TItem& item = collection.Add();
    ApplyProperties<TItem>(item, TItem::Setters(), moduleClass, itemProperties);
  }
}

TEffFlags FlagsFrom(const TProperty& property) {
  TEffFlags flags = 0;
  for (const std::string& name : AsIdentSet(property))
    flags |= EnumByName(EffFlagNames(), name);
  return flags;
}

TVstCanDos CanDosFrom(const TProperty& property) {
  TVstCanDos canDos = 0;
  for (const std::string& name : AsIdentSet(property))
    canDos |= CanDoBit(CanDoByName(name));
  return canDos;
}

// Events are bound through the methods the module's class publishes.
#define QUILLO_EVENT(Name)                                                   \
  Setter {                                                                   \
#Name, [](M & m, const TModuleClass& c,                                  \
              const TProperty& p) { BindEvent(m, c, AsHandler(p), m.Name); } \
  }

const Setter kProperties[] = {
    {"Flags", [](M& m, const TModuleClass&, const TProperty& p) { m.SetFlags(FlagsFrom(p)); }},
    {"Version", [](M& m, const TModuleClass&, const TProperty& p) { m.SetVersion(AsText(p)); }},
    {"EffectName",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetEffectName(AsText(p)); }},
    {"ProductName",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetProductName(AsText(p)); }},
    {"VendorName",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetVendorName(AsText(p)); }},
    {"VersionMajor",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetVersionMajor(AsInteger(p)); }},
    {"VersionMinor",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetVersionMinor(AsInteger(p)); }},
    {"VersionRelease",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetVersionRelease(AsInteger(p)); }},
    {"PlugCategory",
     [](M& m, const TModuleClass&, const TProperty& p) {
       m.SetPlugCategory(EnumByName(PluginCategoryNames(), AsIdent(p)));
     }},
    {"TailSize",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetTailSize(AsInteger(p)); }},
    {"CanDos", [](M& m, const TModuleClass&, const TProperty& p) { m.SetCanDos(CanDosFrom(p)); }},
    {"SampleRate", [](M& m, const TModuleClass&,
                      const TProperty& p) { m.SetSampleRate(static_cast<float>(AsFloat(p))); }},
    {"BlockSize",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetBlockSize(AsInteger(p)); }},
    {"numInputs",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetNumInputs(AsInteger(p)); }},
    {"numOutputs",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetNumOutputs(AsInteger(p)); }},
    // The counts follow their collections; a stored value is ignored.
    {"numParams", [](M& m, const TModuleClass&, const TProperty&) { m.RefreshNumParams(); }},
    {"numPrograms", [](M& m, const TModuleClass&, const TProperty&) { m.RefreshNumPrograms(); }},
    {"CurrentProgram",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetCurrentProgram(AsInteger(p)); }},
    {"CurrentProgramName",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetCurrentProgramName(AsText(p)); }},
    {"ProcessingMode",
     [](M& m, const TModuleClass&, const TProperty& p) {
       m.SetProcessingMode(EnumByName(ProcessingModeNames(), AsIdent(p)));
     }},
    {"BlockModeSize",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetBlockModeSize(AsInteger(p)); }},
    {"BlockModeOverlap",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetBlockModeOverlap(AsInteger(p)); }},
    {"InitialDelay",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetInitialDelay(AsInteger(p)); }},
    {"KeysRequired",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetKeysRequired(AsBoolean(p)); }},
    {"RealQualities",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetRealQualities(AsInteger(p)); }},
    {"OffQualities",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetOffQualities(AsInteger(p)); }},
    {"IORatio", [](M& m, const TModuleClass&, const TProperty& p) { m.SetIORatio(AsInteger(p)); }},
    {"UniqueID", [](M& m, const TModuleClass&, const TProperty& p) { m.SetUniqueID(AsText(p)); }},
    {"ShellPlugins",
     [](M& m, const TModuleClass& c, const TProperty& p) {
       FillCollection<TCustomVstShellPlugin>(m.ShellPlugins(), c, p);
     }},
    {"Programs", [](M& m, const TModuleClass& c,
                    const TProperty& p) { FillCollection<TCustomVstProgram>(m.Programs(), c, p); }},
    {"ParameterProperties",
     [](M& m, const TModuleClass& c, const TProperty& p) {
       FillCollection<TCustomVstParameterProperty>(m.ParameterProperties(), c, p);
     }},
    {"OldCreateOrder",
     [](M& m, const TModuleClass&, const TProperty& p) { m.SetOldCreateOrder(AsBoolean(p)); }},
    QUILLO_EVENT(OnCreate),
    QUILLO_EVENT(OnDestroy),
    QUILLO_EVENT(OnInitialize),
    QUILLO_EVENT(OnOpen),
    QUILLO_EVENT(OnClose),
    QUILLO_EVENT(OnDispatcher),
    QUILLO_EVENT(OnEditOpen),
    QUILLO_EVENT(OnEditClose),
    QUILLO_EVENT(OnEditIdle),
    QUILLO_EVENT(OnEditTop),
    QUILLO_EVENT(OnEditSleep),
    QUILLO_EVENT(OnEditorKeyDown),
    QUILLO_EVENT(OnEditorKeyUp),
    QUILLO_EVENT(OnEditorKnobMode),
    QUILLO_EVENT(OnParameterChange),
    QUILLO_EVENT(OnParameterSizeFailed),
    QUILLO_EVENT(OnGetChunkParameter),
    QUILLO_EVENT(OnBeforeProgramChange),
    QUILLO_EVENT(OnAfterProgramChange),
    QUILLO_EVENT(OnBeginSetProgram),
    QUILLO_EVENT(OnEndSetProgram),
    QUILLO_EVENT(OnBeginLoadBank),
    QUILLO_EVENT(OnBeginLoadProgram),
    QUILLO_EVENT(OnResume),
    QUILLO_EVENT(OnSuspend),
    QUILLO_EVENT(OnSampleRateChange),
    QUILLO_EVENT(OnBlockSizeChanged),
    QUILLO_EVENT(OnProcess),
    QUILLO_EVENT(OnProcessReplacing),
    QUILLO_EVENT(OnProcessDoubleReplacing),
    QUILLO_EVENT(OnStartProcess),
    QUILLO_EVENT(OnStopProcess),
    QUILLO_EVENT(OnSoftBypass),
    QUILLO_EVENT(OnGetVU),
    QUILLO_EVENT(OnProcessMidi),
    QUILLO_EVENT(OnInConnected),
    QUILLO_EVENT(OnOutConnected),
    QUILLO_EVENT(OnOfflineNotify),
    QUILLO_EVENT(OnOfflinePrepare),
    QUILLO_EVENT(OnOfflineRun),
    QUILLO_EVENT(OnProcessVarIO),
    QUILLO_EVENT(OnSetPanLaw),
    QUILLO_EVENT(OnVendorSpecific),
    QUILLO_EVENT(OnCanDo),
    QUILLO_EVENT(OnInputProperties),
    QUILLO_EVENT(OnOutputProperties),
};

#undef QUILLO_EVENT

}  // namespace

std::span<const TPropertySetter<TCustomVSTModule>> TVSTModule::PublishedProperties() {
  return kProperties;
}

void TVSTModule::Construct(const TModuleClass& moduleClass) {
  SetModuleClass(moduleClass);
  if (&moduleClass != &TVSTModule::Class) {
    // Class levels from TVSTModule down to the module's own class.
    std::vector<const TModuleClass*> levels;
    for (const TModuleClass* level = &moduleClass; level != nullptr; level = level->Parent)
      levels.insert(levels.begin(), level);
    bool found = false;
    for (const TModuleClass* level : levels) {
      const TStoredDescription* description = FindStoredDescription(level->Name);
      if (description == nullptr) continue;
      found = true;
      ApplyProperties<TCustomVSTModule>(*this, kProperties, moduleClass, description->Properties);
    }
    if (!found)
      throw std::runtime_error("Resource " + std::string(moduleClass.Name) + " not found");

    for (int i = 0; i < Programs().Count(); ++i) {
      TCustomVstProgram& program = Programs()[i];
      if (program.OnInitialize) program.OnInitialize(&program);
    }
    SetCurrentProgram(0);
    if (OnInitialize) OnInitialize(this);
  }
  if (OldCreateOrder()) {
    // With the old order an OnCreate failure is reported to the owner and the
    // module is still handed out; nothing is logged.
    try {
      if (OnCreate) OnCreate(this);
    } catch (...) {
    }
  } else if (OnCreate) {
    OnCreate(this);
  }
}
