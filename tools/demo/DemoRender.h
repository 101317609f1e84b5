#pragma once

#include <vector>

#include "frame/DVSTEffect.h"
#include "tools/host/PluginLibrary.h"

// Renders the demo sine through one program of a fresh instance of the
// plug-in, in memory, and answers the first output channel. A fresh instance
// per program keeps each result free of the previous program's filter state.
std::vector<float> RenderProgram(const TPluginLibrary& library, VstInt32 program,
                                 const std::vector<float>& input);
