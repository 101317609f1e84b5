#include "frame/Programs.h"

#include "frame/CustomVSTModule.h"
#include "frame/HostText.h"

TCustomVstProgram::TCustomVstProgram(TCustomVSTModule& module)
    : TCollectionItem(module), FHasValues(!module.IsProgramChunkMode()) {
  if (FHasValues) FParameterValues.Resize(static_cast<std::size_t>(module.numParams()));
}

void TCustomVstProgram::SetDisplayName(const std::string& name) {
  FDisplayName = std::string(CutToCharacters(name, kMaxNameChars));
}

void TCustomVstProgram::SetValue(VstInt32 index, float value) {
  if (!FHasValues || index < 0 || index >= VSTModule().numParams() ||
      static_cast<std::size_t>(index) >= FParameterValues.Count())
    return;
  FParameterValues.Set(static_cast<std::size_t>(index), value);
}

float TCustomVstProgram::GetValue(VstInt32 index) const {
  if (!FHasValues || index < 0 || index >= VSTModule().numParams() ||
      static_cast<std::size_t>(index) >= FParameterValues.Count())
    return 0.0f;
  return FParameterValues.Get(static_cast<std::size_t>(index));
}

void TCustomVstProgram::Assign(const TCustomVstProgram& source) {
  if (source.HasValues() && FHasValues) {
    FParameterValues.Resize(source.ParameterValues().Count());
    for (std::size_t i = 0; i < source.ParameterValues().Count(); ++i)
      SetValue(static_cast<VstInt32>(i), source.ParameterValues().Get(i));
  }
  SetDisplayName(source.DisplayName());
}

std::span<const TPropertySetter<TCustomVstProgram>> TCustomVstProgram::Setters() {
  using P = TCustomVstProgram;
  using C = const TModuleClass;
  using V = const TProperty;
  static const TPropertySetter<P> setters[] = {
      {"DisplayName", [](P& p, C&, V& v) { p.SetDisplayName(AsText(v)); }},
      {"VSTModule", [](P&, C&, V& v) { AsIdent(v); }},
      {"OnInitialize",
       [](P& p, C& c, V& v) { BindEvent(p.VSTModule(), c, AsHandler(v), p.OnInitialize); }},
      {"OnLoadChunk",
       [](P& p, C& c, V& v) { BindEvent(p.VSTModule(), c, AsHandler(v), p.OnLoadChunk); }},
      {"OnStoreChunk",
       [](P& p, C& c, V& v) { BindEvent(p.VSTModule(), c, AsHandler(v), p.OnStoreChunk); }},
  };
  return setters;
}

void TCustomVstPrograms::Assign(const TCustomVstPrograms& source) {
  Clear();
  for (int i = 0; i < source.Count(); ++i)
    Add().Assign(source[i]);
}

void TCustomVstPrograms::Added(TCustomVstProgram&) {
  VSTModule().ProgramsChanged();
}

void TCustomVstPrograms::Removed() {
  VSTModule().ProgramsChanged();
}
