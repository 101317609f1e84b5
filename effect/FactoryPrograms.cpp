#include "effect/FactoryPrograms.h"

#include "frame/CustomVSTModule.h"

namespace {

constexpr float kOff = kLevelOff;

}  // namespace

const std::array<TFactoryProgram, kFactoryProgramCount> kFactoryPrograms = {{
    {"Fundamental", {0, kOff, kOff, kOff, kOff, kOff, kOff, kOff}, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"Hot Night In Rio", {0, -40, -20, kOff, -40, kOff, -60, kOff}, {0, 1, 0, 0, 0, 0, 0, 0}},
    {"Marivela", {0, kOff, -11, kOff, -25, kOff, -34, kOff}, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"Pão de Açucar", {-15, -6, -12, -28, kOff, kOff, kOff, kOff}, {0, 1, 1, 0, 1, 1, 0, 0}},
    {"Apoador", {0, kOff, -18, kOff, -46, kOff, -39, kOff}, {0, 1, 0, 0, 1, 0, 1, 0}},
    {"Leblon", {0, kOff, -24, kOff, -48, kOff, -72, kOff}, {0, 0, 1, 0, 0, 0, 1, 0}},
    {"Carnaval", {-2, -27, -24, -28, -53, -27, -51, -116}, {0, 1, 1, 0, 0, 0, 1, 0}},
    {"Galeto Mania", {0, kOff, -17, -38, -27, kOff, kOff, kOff}, {0, 0, 1, 0, 1, 0, 0, 0}},
    {"Tijuca", {-100, kOff, 0, kOff, 0, kOff, 0, kOff}, {0, 0, 1, 0, 0, 0, 1, 0}},
    {"São Silvestre", {0, kOff, -11, kOff, -20, kOff, -30, kOff}, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"Bikini", {0, kOff, -20, kOff, -30, kOff, -40, kOff}, {0, 0, 1, 0, 0, 0, 1, 0}},
    {"Flutter", {0, kOff, kOff, -10, kOff, kOff, kOff, kOff}, {0, 0, 0, 0, 0, 0, 0, 0}},
}};

void WriteFactoryPrograms(TCustomVSTModule& module) {
  // Program 0 is current: its levels go through the change path.
  module.SetParameterValueAutomated(0, 0.0f);
  for (int k = 1; k < kHarmonicCount; ++k)
    module.SetParameterValueAutomated(k, kOff);

  TCustomVstPrograms& programs = module.Programs();
  for (int k = 0; k < kHarmonicCount && programs.Count() > 0; ++k)
    programs[0].SetValue(k, kFactoryPrograms[0].Levels[k]);
  for (int p = 1; p < kFactoryProgramCount && p < programs.Count(); ++p) {
    for (int k = 0; k < kHarmonicCount; ++k) {
      programs[p].SetValue(k, kFactoryPrograms[p].Levels[k]);
      programs[p].SetValue(kFirstPhaseParameter + k, kFactoryPrograms[p].Phases[k]);
    }
  }
}
