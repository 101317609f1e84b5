#pragma once

#include <array>

#include "effect/Harmonics.h"

class TCustomVSTModule;

// The effect's sixteen programs: twelve factory sounds, then four "User"
// programs that keep the zeros a new program holds (all eight harmonics at
// 0 dB, normal phase).
inline constexpr int kProgramCount = 16;
inline constexpr int kFactoryProgramCount = 12;
inline constexpr const char* kUserProgramName = "User";

struct TFactoryProgram {
  const char* Name;
  // Levels "Harm 0".."Harm 7" in dB.
  std::array<float, kHarmonicCount> Levels;
  // Phases "Harm 0 Phase".."Harm 7 Phase", 1 = inverted.
  std::array<float, kHarmonicCount> Phases;
};

extern const std::array<TFactoryProgram, kFactoryProgramCount> kFactoryPrograms;

// Writes the factory sounds into programs 0..11: program 0 through the change
// path (so the shaper follows it), then every listed value directly into its
// program.
void WriteFactoryPrograms(TCustomVSTModule& module);
