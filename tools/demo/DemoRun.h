#pragma once

#include <ostream>
#include <string>

struct TDemoOptions {
  std::string Plugin;
  std::string OutputFolder = "out/demo";
};

// Renders the demo sine through every program of the plug-in, prints the
// table of set and measured levels on out, and writes one WAV file per
// rendered program and the chart levels.svg into the output folder. Answers
// whether every judged harmonic measured within tolerance. Throws
// std::runtime_error when the plug-in or the folder cannot be used.
bool RunDemo(const TDemoOptions& options, std::ostream& out);
