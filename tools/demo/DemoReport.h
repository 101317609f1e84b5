#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/demo/DemoPrograms.h"

// The demo's verdict on each harmonic, and the table that shows it.

// Harmonics set at this level or above must measure within kToleranceDb of
// their setting; quieter ones are shown but not judged.
inline constexpr double kJudgedFromDb = -60.0;
inline constexpr double kToleranceDb = 0.1;

enum class TVerdict { NotJudged, Within, Outside };

TVerdict Judge(double setDb, double measuredDb);

struct TProgramResult {
  TProgramSettings Settings;
  // Set when an earlier program has the same settings; such a program is
  // not rendered again.
  std::optional<VstInt32> SameAs;
  std::vector<double> MeasuredDb;
  // The WAV file written, relative to the output folder.
  std::string File;
};

// The program's block of the table: set and measured level and verdict per
// harmonic, or the program it repeats.
void PrintProgram(std::ostream& out, const TProgramResult& result);
