#include "effect/FactoryPrograms.h"
#include "effect/Harmonics.h"
#include "frame/DescriptionRegistry.h"

// The effect's stored description: its published settings, its sixteen
// parameters, its sixteen programs (names only; the values are written on
// initialisation) and the handlers bound to the events.
namespace {

// A harmonic level: -140 dB (off) to +1 dB, linear for the host.
TPropertyList Level(const THarmonic& harmonic) {
  return {
      {"Min", static_cast<double>(kLevelOff)},
      {"Max", static_cast<double>(kLevelTop)},
      {"Curve", TIdent{"ctLinear"}},
      {"DisplayName", harmonic.LevelName},
      {"Units", "dB"},
      {"CurveFactor", 1.0},
      {"SmoothingFactor", 1.0},
      {"CanBeAutomated", true},
      {"ReportVST2Properties", false},
      {"StepFloat", 2.0},
      {"SmallStepFloat", 1.0},
      {"LargeStepFloat", 5.0},
      {"Flags", TIdentSet{}},
      {"MinInteger", static_cast<std::int64_t>(kLevelOff)},
      {"MaxInteger", std::int64_t{0}},
      {"StepInteger", std::int64_t{2}},
      {"LargeStepInteger", std::int64_t{5}},
      {"ShortLabel", harmonic.LevelShortLabel},
      {"VSTModule", TIdent{"Owner"}},
      {"OnParameterChange", THandler{harmonic.LevelHandler}},
  };
}

// A harmonic's phase switch: 0 normal, 1 inverted.
TPropertyList Phase(const THarmonic& harmonic) {
  return {
      {"Min", 0.0},
      {"Max", 1.0},
      {"Curve", TIdent{"ctLinear"}},
      {"DisplayName", harmonic.PhaseName},
      {"Units", ""},
      {"CurveFactor", 1.0},
      {"SmoothingFactor", 1.0},
      {"CanBeAutomated", true},
      {"ReportVST2Properties", harmonic.PhaseReportsProperties},
      {"StepFloat", 1.0},
      {"SmallStepFloat", 1.0},
      {"LargeStepFloat", 1.0},
      {"Flags", harmonic.PhaseReportsProperties ? TIdentSet{{"ppfIsSwitch"}} : TIdentSet{}},
      {"MinInteger", std::int64_t{0}},
      {"MaxInteger", std::int64_t{1}},
      {"StepInteger", std::int64_t{1}},
      {"LargeStepInteger", std::int64_t{1}},
      {"ShortLabel", harmonic.PhaseShortLabel},
      {"VSTModule", TIdent{"Owner"}},
      {"OnParameterChange", THandler{kPhaseHandler}},
      {"OnCustomParameterDisplay", THandler{kPhaseDisplayHandler}},
  };
}

TPropertyList Program(const char* name) {
  return {{"DisplayName", name}, {"VSTModule", TIdent{"Owner"}}};
}

// The eight levels, then the eight phase switches.
TCollectionValue Parameters() {
  TCollectionValue parameters;
  for (const THarmonic& harmonic : kHarmonics)
    parameters.Items.push_back(Level(harmonic));
  for (const THarmonic& harmonic : kHarmonics)
    parameters.Items.push_back(Phase(harmonic));
  return parameters;
}

// The programs carry only their names here; the values are written on
// initialisation.
TCollectionValue Programs() {
  TCollectionValue programs;
  for (const TFactoryProgram& program : kFactoryPrograms)
    programs.Items.push_back(Program(program.Name));
  for (int p = kFactoryProgramCount; p < kProgramCount; ++p)
    programs.Items.push_back(Program(kUserProgramName));
  return programs;
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
          {"CurrentProgramName", kFactoryPrograms[0].Name},
          {"KeysRequired", false},
          {"UniqueID", "DODU"},
          {"OldCreateOrder", false},
          {"ShellPlugins", TCollectionValue{}},
          {"Programs", Programs()},
          {"ParameterProperties", Parameters()},
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
