#pragma once

#include <string>
#include <vector>

#include "frame/DVSTEffect.h"
#include "tools/host/Effect.h"

// What each program of the plug-in sets, read back from the plug-in itself.
struct TProgramSettings {
  VstInt32 Index = 0;
  std::string Name;
  // Levels of harmonics 1 .. 8 in dB, from "Harm 0" .. "Harm 7" as the
  // plug-in displays them.
  std::vector<double> SetDb;
  // Every parameter's normalised value, to recognise programs that repeat
  // another's settings.
  std::vector<float> Values;
};

// Selects each program in turn and reads its levels. Throws
// std::runtime_error when the plug-in lacks a level parameter or shows a
// level that is no number.
std::vector<TProgramSettings> ReadProgramSettings(TEffect& effect);
