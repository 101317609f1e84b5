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
  // The name the stored description binds the level's change handler by.
  const char* LevelHandler;
  const char* LevelShortLabel;
  // Only the first phase switch tells the host it is a switch.
  bool PhaseReportsProperties;
  const char* PhaseShortLabel;
};

inline constexpr std::array<THarmonic, kHarmonicCount> kHarmonics = {{
    {"Harm 0", "Harm 0 Phase", "QuillotronVSTModuleParameterProperties0ParameterChange", "", true,
     "Inv."},
    {"Harm 1", "Harm 1 Phase", "QuillotronVSTModuleParameterProperties1ParameterChange", "", false,
     ""},
    {"Harm 2", "Harm 2 Phase", "QuillotronVSTModuleParameterProperties2ParameterChange", "", false,
     ""},
    {"Harm 3", "Harm 3 Phase", "QuillotronVSTModuleParameterProperties3ParameterChange", "", false,
     ""},
    {"Harm 4", "Harm 4 Phase", "QuillotronVSTModuleParameterProperties4ParameterChange", "", false,
     ""},
    {"Harm 5", "Harm 5 Phase", "QuillotronVSTModuleParameterProperties5ParameterChange", "", false,
     ""},
    {"Harm 6", "Harm 6 Phase", "QuillotronVSTModuleParameterProperties6ParameterChange", "", false,
     ""},
    {"Harm 7", "Harm 7 Phase", "QuillotronVSTModuleParameterProperties7ParameterChange", "Gain",
     false, ""},
}};

// Shared by the eight phase switches.
inline constexpr const char* kPhaseHandler =
    "QuillotronVSTModuleParameterProperties8ParameterChange";
inline constexpr const char* kPhaseDisplayHandler = "QuillotronVSTModuleCustomParameterDisplay";
