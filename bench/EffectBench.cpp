#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <random>
#include <vector>

#include "dsp/Downsampler2x.h"
#include "dsp/Upsampler2x.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

// The built plug-in processing stereo audio through its record, beside the
// bare resampler path (one upsampler and one downsampler per channel and
// sample, no shaper) as the baseline. per_frame is the time per stereo frame;
// realtime_48k how many times faster than real time at 48 kHz.
namespace {

constexpr double kRealtimeRate = 48000.0;
constexpr int kProgramWithEveryHarmonic = 6;  // "Carnaval": all eight levels on

void Report(benchmark::State& state, std::size_t framesPerIteration) {
  const auto frames =
      static_cast<double>(state.iterations()) * static_cast<double>(framesPerIteration);
  state.counters["per_frame"] =
      benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["realtime_48k"] =
      benchmark::Counter(frames / kRealtimeRate, benchmark::Counter::kIsRate);
}

template <class Sample>
struct TStereo {
  explicit TStereo(std::size_t frames, bool noise) : Left(frames), Right(frames) {
    if (noise) {
      std::mt19937 random(3);
      std::uniform_real_distribution<double> sample(-1.0, 1.0);
      for (std::size_t i = 0; i < frames; ++i) {
        Left[i] = static_cast<Sample>(sample(random));
        Right[i] = static_cast<Sample>(sample(random));
      }
    }
    Pointers[0] = Left.data();
    Pointers[1] = Right.data();
  }
  std::vector<Sample> Left, Right;
  Sample* Pointers[2];
};

class TLoadedEffect {
 public:
  TLoadedEffect() : Library(QUILLO_EFFECT_PLUGIN), Effect(Host.Instantiate(Library)) {
    Effect->Dispatch(effMainsChanged, 0, 1);
    Effect->Dispatch(effSetProgram, 0, kProgramWithEveryHarmonic);
  }
  THost Host;
  TPluginLibrary Library;
  std::unique_ptr<TEffect> Effect;
};

template <class Sample>
void BM_Effect(benchmark::State& state) {
  const auto block = static_cast<std::size_t>(state.range(0));
  const bool noise = state.range(1) != 0;
  TLoadedEffect loaded;
  TStereo<Sample> in(block, noise), out(block, false);
  AEffect* record = loaded.Effect->Record();
  for (auto _ : state) {
    if constexpr (sizeof(Sample) == sizeof(float))
      record->processReplacing(record, in.Pointers, out.Pointers, static_cast<VstInt32>(block));
    else
      record->processDoubleReplacing(record, in.Pointers, out.Pointers,
                                     static_cast<VstInt32>(block));
    benchmark::DoNotOptimize(out.Left.data());
    benchmark::ClobberMemory();
  }
  Report(state, block);
}

void BM_ResamplerBaseline(benchmark::State& state) {
  const auto block = static_cast<std::size_t>(state.range(0));
  TStereo<double> in(block, true), out(block, false);
  TUpsampler2x up[2];
  TDownsampler2x down[2];
  for (int c = 0; c < 2; ++c) {
    up[c].DesignCoefficients(8, 0.01);
    down[c].DesignCoefficients(8, 0.01);
  }
  for (auto _ : state) {
    for (int c = 0; c < 2; ++c) {
      for (std::size_t n = 0; n < block; ++n) {
        double pair[2];
        up[c].UpsampleDouble(in.Pointers[c][n], pair);
        out.Pointers[c][n] = down[c].DownsampleDouble(pair);
      }
    }
    benchmark::DoNotOptimize(out.Left.data());
    benchmark::ClobberMemory();
  }
  Report(state, block);
}

// Arguments: block size, noise (1) or silence (0).
BENCHMARK(BM_ResamplerBaseline)->Arg(64)->Arg(512);
BENCHMARK(BM_Effect<float>)->ArgsProduct({{64, 512}, {1, 0}});
BENCHMARK(BM_Effect<double>)->ArgsProduct({{64, 512}, {1, 0}});

}  // namespace
