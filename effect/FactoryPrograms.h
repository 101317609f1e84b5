#pragma once

class TCustomVSTModule;

// Writes the factory sounds into programs 0..11: program 0 through the change
// path (so the shaper follows it), then every listed value directly into its
// program. Programs 12..15 ("User") keep the zeros a new program holds:
// all eight harmonics at 0 dB.
void WriteFactoryPrograms(TCustomVSTModule& module);
