#include "frame/DescriptionRegistry.h"

// The effect's stored description: its published settings, its sixteen
// parameters, its sixteen programs (names only; the values are written on
// initialisation) and the handlers bound to the events.
namespace {

// A harmonic level: -140 dB (off) to +1 dB, linear for the host.
TPropertyList Level(const char* name, const char* handler, const char* shortLabel = "") {
  return {
      {"Min", -140.0},
      {"Max", 1.0},
      {"Curve", TIdent{"ctLinear"}},
      {"DisplayName", name},
      {"Units", "dB"},
      {"CurveFactor", 1.0},
      {"SmoothingFactor", 1.0},
      {"CanBeAutomated", true},
      {"ReportVST2Properties", false},
      {"StepFloat", 2.0},
      {"SmallStepFloat", 1.0},
      {"LargeStepFloat", 5.0},
      {"Flags", TIdentSet{}},
      {"MinInteger", std::int64_t{-140}},
      {"MaxInteger", std::int64_t{0}},
      {"StepInteger", std::int64_t{2}},
      {"LargeStepInteger", std::int64_t{5}},
      {"ShortLabel", shortLabel},
      {"VSTModule", TIdent{"Owner"}},
      {"OnParameterChange", THandler{handler}},
  };
}

// A harmonic's phase switch: 0 normal, 1 inverted.
TPropertyList Phase(const char* name, TIdentSet flags = {}, bool report = false,
                    const char* shortLabel = "") {
  return {
      {"Min", 0.0},
      {"Max", 1.0},
      {"Curve", TIdent{"ctLinear"}},
      {"DisplayName", name},
      {"Units", ""},
      {"CurveFactor", 1.0},
      {"SmoothingFactor", 1.0},
      {"CanBeAutomated", true},
      {"ReportVST2Properties", report},
      {"StepFloat", 1.0},
      {"SmallStepFloat", 1.0},
      {"LargeStepFloat", 1.0},
      {"Flags", std::move(flags)},
      {"MinInteger", std::int64_t{0}},
      {"MaxInteger", std::int64_t{1}},
      {"StepInteger", std::int64_t{1}},
      {"LargeStepInteger", std::int64_t{1}},
      {"ShortLabel", shortLabel},
      {"VSTModule", TIdent{"Owner"}},
      {"OnParameterChange", THandler{"QuillotronVSTModuleParameterProperties8ParameterChange"}},
      {"OnCustomParameterDisplay", THandler{"QuillotronVSTModuleCustomParameterDisplay"}},
  };
}

TPropertyList Program(const char* name) {
  return {{"DisplayName", name}, {"VSTModule", TIdent{"Owner"}}};
}

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TQuillotronVSTModule",
      "QuillotronVSTModule",
      {
          {"Flags",
           TIdentSet{{"effFlagsHasEditor", "effFlagsCanReplacing", "effFlagsCanDoubleReplacing"}}},
          {"Version", "1.0"},
          {"EffectName", "Quillotron"},
          {"VendorName", "Ostranel"},
          {"VersionMajor", std::int64_t{1}},
          {"VersionMinor", std::int64_t{0}},
          {"VersionRelease", std::int64_t{0}},
          {"PlugCategory", TIdent{"cgEffect"}},
          {"TailSize", std::int64_t{0}},
          {"CanDos", TIdentSet{{"plugAsChannelInsert", "plugAsSend", "_2in2out"}}},
          {"SampleRate", 44100.0},
          {"CurrentProgram", std::int64_t{0}},
          {"CurrentProgramName", "Fundamental"},
          {"KeysRequired", false},
          {"UniqueID", "DODU"},
          {"OldCreateOrder", false},
          {"ShellPlugins", TCollectionValue{}},
          {"Programs", TCollectionValue{{
                           Program("Fundamental"),
                           Program("Hot Night In Rio"),
                           Program("Marivela"),
                           Program("Pão de Açucar"),
                           Program("Apoador"),
                           Program("Leblon"),
                           Program("Carnaval"),
                           Program("Galeto Mania"),
                           Program("Tijuca"),
                           Program("São Silvestre"),
                           Program("Bikini"),
                           Program("Flutter"),
                           Program("User"),
                           Program("User"),
                           Program("User"),
                           Program("User"),
                       }}},
          {"ParameterProperties",
           TCollectionValue{{
               Level("Harm 0", "QuillotronVSTModuleParameterProperties0ParameterChange"),
               Level("Harm 1", "QuillotronVSTModuleParameterProperties1ParameterChange"),
               Level("Harm 2", "QuillotronVSTModuleParameterProperties2ParameterChange"),
               Level("Harm 3", "QuillotronVSTModuleParameterProperties3ParameterChange"),
               Level("Harm 4", "QuillotronVSTModuleParameterProperties4ParameterChange"),
               Level("Harm 5", "QuillotronVSTModuleParameterProperties5ParameterChange"),
               Level("Harm 6", "QuillotronVSTModuleParameterProperties6ParameterChange"),
               Level("Harm 7", "QuillotronVSTModuleParameterProperties7ParameterChange", "Gain"),
               Phase("Harm 0 Phase", TIdentSet{{"ppfIsSwitch"}}, true, "Inv."),
               Phase("Harm 1 Phase"),
               Phase("Harm 2 Phase"),
               Phase("Harm 3 Phase"),
               Phase("Harm 4 Phase"),
               Phase("Harm 5 Phase"),
               Phase("Harm 6 Phase"),
               Phase("Harm 7 Phase"),
           }}},
          {"OnCreate", THandler{"VSTModuleCreate"}},
          {"OnDestroy", THandler{"VSTModuleDestroy"}},
          {"OnInitialize", THandler{"VSTModuleInitialize"}},
          {"OnEditOpen", THandler{"VST_EditOpen"}},
          {"OnProcess", THandler{"VST2ModuleProcess"}},
          {"OnProcessReplacing", THandler{"VST2ModuleProcess"}},
          {"OnProcessDoubleReplacing", THandler{"VSTModuleProcessDoubleReplacing"}},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TQuillotronVSTModule", &Description};

}  // namespace
