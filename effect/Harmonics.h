#pragma once

#include <array>

#include "effect/ShapingPolynomial.h"

// The effect's eight harmonics as the host sees them: parameter k is the
// level of harmonic k + 1 in dB, parameter 8 + k its phase switch.
inline constexpr int kHarmonicCount = TShapingPolynomial::kHarmonicCount;
inline constexpr int kFirstPhaseParameter = kHarmonicCount;
// The bottom of every level's range; a level there is off.
inline constexpr float kLevelOff = TShapingPolynomial::kOffLevel;
inline constexpr float kLevelTop = 1.0f;

struct THarmonic {
  const char* LevelName;
  const char* PhaseName;
  const char* LevelShortLabel;
  // Only the first phase switch tells the host it is a switch.
  bool PhaseReportsProperties;
  const char* PhaseShortLabel;
  // The name the stored description binds the level's change handler by.
  const char* LevelHandler;
};

inline constexpr std::array<THarmonic, kHarmonicCount> kHarmonics = {{
    // clang-format off
    {"Harm 0", "Harm 0 Phase", "",     true,  "Inv.", "QuillotronVSTModuleParameterProperties0ParameterChange"},
    {"Harm 1", "Harm 1 Phase", "",     false, "",     "QuillotronVSTModuleParameterProperties1ParameterChange"},
    {"Harm 2", "Harm 2 Phase", "",     false, "",     "QuillotronVSTModuleParameterProperties2ParameterChange"},
    {"Harm 3", "Harm 3 Phase", "",     false, "",     "QuillotronVSTModuleParameterProperties3ParameterChange"},
    {"Harm 4", "Harm 4 Phase", "",     false, "",     "QuillotronVSTModuleParameterProperties4ParameterChange"},
    {"Harm 5", "Harm 5 Phase", "",     false, "",     "QuillotronVSTModuleParameterProperties5ParameterChange"},
    {"Harm 6", "Harm 6 Phase", "",     false, "",     "QuillotronVSTModuleParameterProperties6ParameterChange"},
    {"Harm 7", "Harm 7 Phase", "Gain", false, "",     "QuillotronVSTModuleParameterProperties7ParameterChange"},
    // clang-format on
}};

// Shared by the eight phase switches.
inline constexpr const char* kPhaseHandler =
    "QuillotronVSTModuleParameterProperties8ParameterChange";
inline constexpr const char* kPhaseDisplayHandler = "QuillotronVSTModuleCustomParameterDisplay";
