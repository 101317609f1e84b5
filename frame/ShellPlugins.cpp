#include "frame/ShellPlugins.h"

#include "frame/CustomVSTModule.h"
#include "frame/FourCharCode.h"
#include "frame/HostText.h"
#include "frame/ModuleEnums.h"

TCustomVstShellPlugin::TCustomVstShellPlugin(TCustomVSTModule& module) : TCollectionItem(module) {}

void TCustomVstShellPlugin::SetDisplayName(const std::string& name) {
  FDisplayName = std::string(CutToCharacters(name, kMaxNameChars));
}

std::string TCustomVstShellPlugin::UniqueID() const {
  return UnpackFourCharCode(FUniqueID);
}

void TCustomVstShellPlugin::SetUniqueID(const std::string& id) {
  FUniqueID = PackFourCharCode(id);
}

std::span<const TPropertySetter<TCustomVstShellPlugin>> TCustomVstShellPlugin::Setters() {
  using P = TCustomVstShellPlugin;
  static const TPropertySetter<P> setters[] = {
      {"DisplayName",
       [](P& p, const TModuleClass&, const TProperty& v) { p.SetDisplayName(AsText(v)); }},
      {"numInputs",
       [](P& p, const TModuleClass&, const TProperty& v) { p.numInputs = AsInteger(v); }},
      {"numOutputs",
       [](P& p, const TModuleClass&, const TProperty& v) { p.numOutputs = AsInteger(v); }},
      {"numParams",
       [](P& p, const TModuleClass&, const TProperty& v) { p.numParams = AsInteger(v); }},
      {"numPrograms",
       [](P& p, const TModuleClass&, const TProperty& v) { p.numPrograms = AsInteger(v); }},
      {"PlugCategory",
       [](P& p, const TModuleClass&, const TProperty& v) {
         p.PlugCategory = EnumByName(PluginCategoryNames(), AsIdent(v));
       }},
      {"UniqueID", [](P& p, const TModuleClass&, const TProperty& v) { p.SetUniqueID(AsText(v)); }},
      {"OnInstanciate",
       [](P& p, const TModuleClass& c, const TProperty& v) {
         BindEvent(p.VSTModule(), c, AsHandler(v), p.OnInstanciate);
       }},
  };
  return setters;
}
