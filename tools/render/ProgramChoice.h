#pragma once

#include <string>
#include <vector>

#include "frame/DVSTEffect.h"
#include "tools/host/Effect.h"

// Programs as a user names them: by index, or by a name that only one
// program has.

// The names of all programs in index order. Plug-ins that do not answer
// effGetProgramNameIndexed are asked the old way, by selecting each program;
// the current program is restored afterwards.
std::vector<std::string> ProgramNames(TEffect& effect);

// The index that wanted names: a whole number is an index, anything else a
// name. Throws std::runtime_error for an index out of range, an unknown name
// (listing the programs) or a name several programs share (listing their
// indexes).
VstInt32 FindProgram(const std::vector<std::string>& names, const std::string& wanted);

// Selects the program as hosts do (effBeginSetProgram, effSetProgram,
// effEndSetProgram) and throws std::runtime_error when the plug-in did not
// switch to it.
void SelectProgram(TEffect& effect, VstInt32 index);
