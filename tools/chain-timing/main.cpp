// chain-timing: nanoseconds per stereo frame of the effect's oversampled
// chain, single precision, through the per-sample routines and through each
// block routine the machine has, for blocks of 64 and 512 frames; each
// figure is the minimum of ten repetitions, with its ratio to the
// per-sample path of the same run. A plain program, so that it runs in
// every build, the Windows ones under Wine included.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "tools/chain-timing/TimedChain.h"

namespace {

constexpr int kChannels = TTimedChain::kChannels;
constexpr int kRepetitions = 10;
// Frames per repetition: long enough to dwarf the clock's resolution and
// short enough for the whole run to take a few seconds under Wine.
constexpr int kFramesPerRepetition = 1 << 18;
constexpr double kNanosecondsPerSecond = 1e9;
constexpr int kBlockSizes[] = {64, 512};

// A full-scale pseudo-random signal, the same in every build.
std::vector<float> Noise(int frames, std::uint32_t seed) {
  constexpr std::uint32_t kMultiplier = 1664525u;
  constexpr std::uint32_t kIncrement = 1013904223u;
  constexpr double kScale = 1.0 / 2147483648.0;
  std::vector<float> samples(static_cast<std::size_t>(frames));
  for (float& sample : samples) {
    seed = seed * kMultiplier + kIncrement;
    sample = static_cast<float>(static_cast<double>(seed) * kScale - 1.0);
  }
  return samples;
}

// Nanoseconds per frame: the minimum over the repetitions, each one pass
// over kFramesPerRepetition frames in blocks of blockSize. routine < 0 runs
// the per-sample reference.
double Measure(int routine, int blockSize) {
  TTimedChain chain;
  if (routine >= 0) chain.Block.SelectRoutine(static_cast<TChainRoutine>(routine));
  std::vector<float> in[kChannels] = {Noise(blockSize, 1), Noise(blockSize, 2)};
  std::vector<float> out[kChannels] = {std::vector<float>(in[0].size()),
                                       std::vector<float>(in[1].size())};
  const float* inputs[kChannels] = {in[0].data(), in[1].data()};
  float* outputs[kChannels] = {out[0].data(), out[1].data()};
  const int blocks = kFramesPerRepetition / blockSize;
  double best = std::numeric_limits<double>::infinity();
  // One unmeasured pass first, to settle caches and clock speed.
  for (int repetition = -1; repetition < kRepetitions; ++repetition) {
    const auto start = std::chrono::steady_clock::now();
    for (int block = 0; block < blocks; ++block) {
      if (routine < 0)
        chain.ProcessPerSample(inputs, outputs, blockSize);
      else
        chain.Block.Process(inputs, outputs, blockSize, chain.Shape.data());
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (repetition >= 0)
      best = std::min(best, elapsed.count() * kNanosecondsPerSecond / (blocks * blockSize));
  }
  // The output is read, so that no pass can be left out.
  volatile float sink = out[0][0] + out[1][0];
  static_cast<void>(sink);
  return best;
}

struct TRoutineName {
  TChainRoutine Routine;
  const char* Name;
};

constexpr TRoutineName kBlockRoutines[] = {
    {crPortable, "portable block"}, {crSse2, "SSE2 block"}, {crAvx256, "256-bit block"}};

}  // namespace

int main() {
  std::printf("%-16s %6s %10s %8s\n", "routine", "frames", "ns/frame", "ratio");
  for (int blockSize : kBlockSizes) {
    const double reference = Measure(-1, blockSize);
    std::printf("%-16s %6d %10.2f %8.2f\n", "per-sample", blockSize, reference, 1.0);
    for (const TRoutineName& routine : kBlockRoutines) {
      if (!TStereoOversampledChain::RoutineAvailable(routine.Routine)) continue;
      const double time = Measure(static_cast<int>(routine.Routine), blockSize);
      std::printf("%-16s %6d %10.2f %8.2f\n", routine.Name, blockSize, time, reference / time);
    }
  }
  return 0;
}
