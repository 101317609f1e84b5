#pragma once

#include <ostream>

#include "tools/host/PluginLibrary.h"

// Writes, in the print line format, what the plug-in in library makes of
// the test signal: for a few programs, at 44.1 and 96 kHz, in single
// precision (group "audio-float") and double precision ("audio-double"),
// each case on a fresh instance processing in blocks as a host does. One
// line per frame: "audio-float/44100/program-6/1234 LEFT RIGHT".
void WriteAudioPrint(std::ostream& out, const TPluginLibrary& library);
