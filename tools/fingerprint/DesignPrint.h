#pragma once

#include <ostream>

// Writes what this build computes before any audio flows, in the print line
// format: the resampler design (group "design": the transition parameters k
// and q, then the eight section coefficients the plug-in's upsamplers and
// downsamplers use), and for each of the sixteen programs its eight harmonic
// gains (group "gain") and the nine coefficients of its shaping polynomial
// (group "polynomial").
void WriteDesignPrint(std::ostream& out);
