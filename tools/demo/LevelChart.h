#pragma once

#include <string>
#include <vector>

#include "tools/demo/DemoReport.h"

// An SVG picture of the measured levels: one panel per rendered program, a
// bar per harmonic coloured by its verdict, and a tick at each set level.
std::string LevelChartSvg(const std::vector<TProgramResult>& results);
