#pragma once

#include "frame/DVSTEffect.h"

// What the render test plug-in does, for the tests that check the render
// program's results against it.
//
// Two parameters in real units: "Gain" (0..4) and "Cross" (0..1). Text
// entry refuses a gain outside its range but takes any cross-feed, as some
// plug-ins take values beyond a parameter's range.
// Channel law: out0 = Gain * in0 + Cross * in1; out1 = Gain * in1. So a mono
// source fed to both inputs gives out0 = (Gain + Cross) * x, and swapped or
// unfed channels show.
//
// Any processing call made against the protocol (before resume, with more
// frames than the block size, or after sample rate or block size were set
// differently from what the host callback answers) writes kRenderProtocolFault
// into every output sample instead.

inline constexpr int kRenderPluginParams = 2;
inline constexpr VstInt32 kRenderGainParameter = 0;
inline constexpr VstInt32 kRenderCrossParameter = 1;
inline constexpr float kRenderGainMax = 4.0f;
inline constexpr float kRenderCrossMax = 1.0f;
inline constexpr float kRenderDefaultCross = 0.25f;
inline constexpr float kRenderProtocolFault = 1000.0f;

struct TRenderProgram {
  const char* Name;
  float Gain;
};

// Two programs share the name "User", as the effect's last four do.
inline constexpr TRenderProgram kRenderPrograms[] = {
    {"Unity", 1.0f},
    {"Double", 2.0f},
    {"User", 0.5f},
    {"User", 0.25f},
};
inline constexpr int kRenderPluginPrograms = 4;
