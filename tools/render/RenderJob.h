#pragma once

#include <ostream>

#include "tools/render/RenderOptions.h"

// What the render program does with its options. Both throw
// std::runtime_error with a message for the user when something is wrong.

// Renders options.Input into options.Output and reports what was done on out.
void RunRender(const TRenderOptions& options, std::ostream& out);

// Prints the programs and parameters of options.Plugin on out.
void ListPlugin(const TRenderOptions& options, std::ostream& out);
