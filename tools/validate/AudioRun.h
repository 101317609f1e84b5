#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/validate/TestedPlugin.h"

// Multichannel audio held in double precision, one vector per channel.
using TAudio = std::vector<std::vector<double>>;

// Test signals, the same on every channel.
TAudio Silence(std::size_t channels, std::size_t frames);
// Uniform white noise of the given peak; seed picks the sequence.
TAudio Noise(std::size_t channels, std::size_t frames, double peak, std::uint64_t seed);
TAudio Sine(std::size_t channels, std::size_t frames, double sampleRate, double frequency,
            double peakDb);
// b appended to a.
TAudio Joined(TAudio a, const TAudio& b);

enum class TPrecision { Single, Double };

struct TRunSettings {
  TPrecision Precision = TPrecision::Single;
  // Frames per call; a list is cycled through, so that calls differ in size.
  std::vector<std::size_t> BlockSizes{512};
  // The outputs are the input buffers.
  bool InPlace = false;
};

// Runs input (at least as many channels as the plug-in has inputs) through
// a resumed instance call by call and answers its outputs.
TAudio Run(TTestedInstance& instance, const TAudio& input, const TRunSettings& settings);

// The first sample that is NaN, infinite or subnormal (in the precision it
// was produced in), as a reason; empty when there is none.
std::string FirstAbnormalSample(const TAudio& audio, TPrecision precision);

// Where two runs differ most.
struct TDifference {
  double Amount = 0.0;
  std::size_t Channel = 0;
  std::size_t Frame = 0;

  // "0.25 at frame 12 of output 1".
  std::string Text() const;
};

// The largest difference between two runs of the same length, with NaN
// matching NaN (a NaN beside a number is infinitely different).
TDifference LargestDifference(const TAudio& a, const TAudio& b, std::size_t fromFrame = 0);

// The largest magnitude in audio from fromFrame on.
double Peak(const TAudio& audio, std::size_t fromFrame = 0);
