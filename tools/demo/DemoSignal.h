#pragma once

#include <cstddef>
#include <vector>

// The demo's test signal: a full-scale sine of 441 Hz at 44.1 kHz, exactly
// 100 samples per period, for one second. The first half second lets the
// plug-in's filters settle; the second half, 220 whole periods, is measured.

inline constexpr int kDemoSampleRate = 44100;
inline constexpr std::size_t kDemoPeriod = 100;
inline constexpr std::size_t kDemoFrames = 44100;
inline constexpr std::size_t kDemoSettleFrames = 22050;
inline constexpr std::size_t kDemoBlockSize = 512;
// Harmonics 1 (the fundamental) to 8, set by levels "Harm 0" to "Harm 7".
inline constexpr int kDemoHarmonics = 8;

inline constexpr double DemoFrequency() {
  return static_cast<double>(kDemoSampleRate) / static_cast<double>(kDemoPeriod);
}

std::vector<float> DemoSine();
