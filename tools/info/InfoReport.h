#pragma once

#include <ostream>

#include "tools/host/Effect.h"
#include "tools/host/PluginLibrary.h"

// Writes what an opened effect tells a host about itself: identity, can-do
// answers, parameters and programs. Leaves the effect's current program as it
// found it.
void WriteInfoReport(std::ostream& out, const TPluginLibrary& library, TEffect& effect);
