#include "frame/ParameterProperties.h"

#include "frame/CustomVSTModule.h"
#include "frame/HostText.h"
#include "frame/ModuleEnums.h"

TCustomVstParameterProperty::TCustomVstParameterProperty(TCustomVSTModule& module)
    : TCollectionItem(module) {}

void TCustomVstParameterProperty::SetDisplayName(const std::string& name) {
  FDisplayName = std::string(CutToCharacters(name, kMaxNameChars));
}

void TCustomVstParameterProperty::SetUnits(const std::string& units) {
  FUnits = std::string(CutToCharacters(units, kMaxUnitsChars));
}

void TCustomVstParameterProperty::SetShortLabel(const std::string& label) {
  FShortLabel = std::string(CutToCharacters(label, kMaxShortLabelChars));
}

float TCustomVstParameterProperty::SmoothValue(float value) {
  // Factor 1 must hand the value through exactly, which the arithmetic alone
  // does not guarantee when the states are far from the value.
  if (SmoothingFactor == 1.0f) {
    SmoothState1.store(value);
    SmoothState2.store(value);
    return value;
  }
  const double s = SmoothingFactor;
  const double state1 = SmoothState1.load();
  const auto next1 = static_cast<float>(state1 + (static_cast<double>(value) - state1) * s);
  SmoothState1.store(next1);
  const double state2 = SmoothState2.load();
  const auto next2 = static_cast<float>(state2 + (static_cast<double>(next1) - state2) * s);
  SmoothState2.store(next2);
  return next2;
}

std::span<const TPropertySetter<TCustomVstParameterProperty>>
TCustomVstParameterProperty::Setters() {
  using P = TCustomVstParameterProperty;
  using C = const TModuleClass;
  using V = const TProperty;
  static const TPropertySetter<P> setters[] = {
      {"Min", [](P& p, C&, V& v) { p.Min = static_cast<float>(AsFloat(v)); }},
      {"Max", [](P& p, C&, V& v) { p.Max = static_cast<float>(AsFloat(v)); }},
      {"Curve", [](P& p, C&, V& v) { p.Curve = EnumByName(CurveTypeNames(), AsIdent(v)); }},
      {"DisplayName", [](P& p, C&, V& v) { p.SetDisplayName(AsText(v)); }},
      {"Units", [](P& p, C&, V& v) { p.SetUnits(AsText(v)); }},
      {"CurveFactor", [](P& p, C&, V& v) { p.CurveFactor = static_cast<float>(AsFloat(v)); }},
      {"SmoothingFactor",
       [](P& p, C&, V& v) { p.SmoothingFactor = static_cast<float>(AsFloat(v)); }},
      {"CanBeAutomated", [](P& p, C&, V& v) { p.CanBeAutomated = AsBoolean(v); }},
      {"ReportVST2Properties", [](P& p, C&, V& v) { p.ReportVST2Properties = AsBoolean(v); }},
      {"StepFloat", [](P& p, C&, V& v) { p.StepFloat = static_cast<float>(AsFloat(v)); }},
      {"SmallStepFloat", [](P& p, C&, V& v) { p.SmallStepFloat = static_cast<float>(AsFloat(v)); }},
      {"LargeStepFloat", [](P& p, C&, V& v) { p.LargeStepFloat = static_cast<float>(AsFloat(v)); }},
      {"Flags",
       [](P& p, C&, V& v) {
         p.Flags = 0;
         for (const std::string& name : AsIdentSet(v))
           p.Flags |= EnumByName(ParameterFlagNames(), name);
       }},
      {"MinInteger", [](P& p, C&, V& v) { p.MinInteger = AsInteger(v); }},
      {"MaxInteger", [](P& p, C&, V& v) { p.MaxInteger = AsInteger(v); }},
      {"StepInteger", [](P& p, C&, V& v) { p.StepInteger = AsInteger(v); }},
      {"LargeStepInteger", [](P& p, C&, V& v) { p.LargeStepInteger = AsInteger(v); }},
      {"ShortLabel", [](P& p, C&, V& v) { p.SetShortLabel(AsText(v)); }},
      // The item always belongs to the module that builds it.
      {"VSTModule", [](P&, C&, V& v) { AsIdent(v); }},
      {"OnParameterChange",
       [](P& p, C& c, V& v) { BindEvent(p.VSTModule(), c, AsHandler(v), p.OnParameterChange); }},
      {"OnCustomParameterLabel",
       [](P& p, C& c, V& v) {
         BindEvent(p.VSTModule(), c, AsHandler(v), p.OnCustomParameterLabel);
       }},
      {"OnCustomParameterDisplay",
       [](P& p, C& c, V& v) {
         BindEvent(p.VSTModule(), c, AsHandler(v), p.OnCustomParameterDisplay);
       }},
  };
  return setters;
}

void TCustomVstParameterProperties::Assign(const TCustomVstParameterProperties& source) {
  Clear();
  for (int i = 0; i < source.Count(); ++i)
    Add().Assign(source[i]);
}

void TCustomVstParameterProperties::Added(TCustomVstParameterProperty& item) {
  item.SetDisplayName("Parameter " + std::to_string(Count()));
  VSTModule().ParameterDescriptionsChanged();
}

void TCustomVstParameterProperties::Removed() {
  VSTModule().ParameterDescriptionsChanged();
}
