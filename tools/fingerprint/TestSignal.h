#pragma once

#include <vector>

// The fingerprint's input: a deterministic stereo signal made with
// additions and multiplications only, so that every build that rounds each
// operation to double (SSE2, no contraction) makes the very same samples;
// a sine from the C library would differ with it.
//
// Left: a sine sweeping up from about 0.002 to 0.2 of the sample rate.
// Right: two steady tones at about 0.006 and 0.035 of the sample rate.
// The frames fall into four equal parts at rising levels, the last one
// above full scale.
struct TTestSignal {
  std::vector<double> Left;
  std::vector<double> Right;
};

TTestSignal MakeTestSignal(int frames);
