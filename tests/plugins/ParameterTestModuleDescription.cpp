#include <string>

#include "frame/DescriptionRegistry.h"

namespace {

// A harmonic level as the effect has them: -140..1 dB.
TPropertyList Level(const char* name, TPropertyList more) {
  TPropertyList level{{"Min", -140.0}, {"Max", 1.0}, {"DisplayName", name}, {"Units", "dB"}};
  level.insert(level.end(), more.begin(), more.end());
  return level;
}

TCollectionValue Programs() {
  TCollectionValue programs;
  for (int p = 0; p < 14; ++p)
    programs.Items.push_back({{"DisplayName", "Program " + std::to_string(p)}});
  // Longer than the 50 characters a name keeps.
  programs.Items.push_back({{"DisplayName", "Fourteen: " + std::string(50, 'x')}});
  // Longer than the host's 24 bytes, in characters of one and two bytes.
  programs.Items.push_back(
      {{"DisplayName",
        "Prögrâmmé mit einem Namen, der länger als vierundzwanzig Bytes ist und weiter geht"}});
  return programs;
}

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TParameterTestModule",
      "ParameterTestModule",
      {
          {"Flags", TIdentSet{{"effFlagsCanReplacing"}}},
          {"EffectName", "Parameter Test"},
          {"UniqueID", "PrTs"},
          {"Programs", Programs()},
          // The programs exist first, so each parameter grows their values.
          {"ParameterProperties",
           TCollectionValue{{
               // 0: logs its changes
               Level("Harm 0", {{"OnParameterChange", THandler{"LoggingChange"}}}),
               // 1: re-enters when armed
               Level("Harm 1", {{"OnParameterChange", THandler{"ReentrantChange"}}}),
               // 2: throws when armed
               Level("Harm 2", {{"OnParameterChange", THandler{"ThrowingChange"}}}),
               // 3: waits when armed
               Level("Harm 3", {{"OnParameterChange", THandler{"BlockingChange"}}}),
               // 4: plain
               Level("Harm 4", {{"ShortLabel", "H4"}}),
               // 5: limits the value to 0
               Level("Harm 5", {{"OnParameterChange", THandler{"LimitingChange"}}}),
               // 6: a switch reporting its properties
               {{"DisplayName", "Harm 0 Phase"},
                {"ReportVST2Properties", true},
                {"StepFloat", 1.0},
                {"SmallStepFloat", 0.5},
                {"LargeStepFloat", 1.0},
                {"Flags", TIdentSet{{"ppfIsSwitch", "ppfUsesIntegerMinMax", "ppfCanRamp"}}},
                {"MinInteger", std::int64_t{0}},
                {"MaxInteger", std::int64_t{1}},
                {"StepInteger", std::int64_t{1}},
                {"LargeStepInteger", std::int64_t{1}},
                {"ShortLabel", "PhaseInvert"}},
               // 7: a switch keeping its properties to itself
               {{"DisplayName", "Harm 1 Phase"}, {"Flags", TIdentSet{{"ppfIsSwitch"}}}},
               // 8: a switch with its own display and label
               {{"DisplayName", "Harm 2 Phase"},
                {"Units", "sw"},
                {"OnCustomParameterLabel", THandler{"LongLabel"}},
                {"OnCustomParameterDisplay", THandler{"SwitchDisplay"}}},
               // 9: a switch the host may not automate
               {{"DisplayName", "Harm 3 Phase"}, {"CanBeAutomated", false}},
               // 10: logarithmic
               {{"Max", 100.0},
                {"Curve", TIdent{"ctLogarithmic"}},
                {"DisplayName", "Drive"},
                {"Units", "%"},
                {"CurveFactor", 9.0}},
               // 11: exponential
               {{"Curve", TIdent{"ctExponential"}}, {"DisplayName", "Bias"}, {"CurveFactor", 1.0}},
               // 12: frequency scale
               {{"Min", 20.0},
                {"Max", 20000.0},
                {"Curve", TIdent{"ctFrequencyScale"}},
                {"DisplayName", "Tone"},
                {"Units", "Hz"}},
               // 13: smoothed
               {{"Min", -200.0}, {"Max", 0.0}, {"DisplayName", "Glide"}, {"SmoothingFactor", 0.5}},
               // 14: an empty range
               {{"Min", 5.0}, {"Max", 5.0}, {"DisplayName", "Fixed"}},
               // 15: texts longer than the host's buffers, in two-byte characters
               {{"DisplayName", "Größe der Übergänge für äußere Öffnungen"},
                {"Units", "µs/°C·m²x"},
                {"ReportVST2Properties", true},
                {"ShortLabel", "äöüßéèàxy"}},
           }}},
          {"OnInitialize", THandler{"VSTModuleInitialize"}},
          {"OnParameterChange", THandler{"VSTModuleParameterChange"}},
          {"OnBeforeProgramChange", THandler{"VSTModuleBeforeProgramChange"}},
          {"OnAfterProgramChange", THandler{"VSTModuleAfterProgramChange"}},
          {"OnParameterSizeFailed", THandler{"VSTModuleParameterSizeFailed"}},
          {"OnVendorSpecific", THandler{"VSTModuleVendorSpecific"}},
          {"OnProcess", THandler{"VSTModuleProcess"}},
          {"OnProcessReplacing", THandler{"VSTModuleProcess"}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TParameterTestModule", &Description};

}  // namespace
