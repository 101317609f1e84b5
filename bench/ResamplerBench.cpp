#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <vector>

#include "dsp/DDSPBase.h"
#include "dsp/Downsampler2x.h"
#include "dsp/PolyphaseIir2Designer.h"
#include "dsp/Upsampler2x.h"

// The effect's oversampling path without the shaper: one upsampler and one
// downsampler with eight coefficients per sample, once through the bound
// routines and once as a plain loop over the sections. The per_sample
// counter is the time per input (host-rate) sample.
namespace {

constexpr int kCount = 8;
constexpr double kBandwidth = 0.01;
constexpr std::size_t kBlock = 4096;

std::vector<double> NoiseBlock() {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> signal(-1.0, 1.0);
  std::vector<double> block(kBlock);
  for (double& x : block)
    x = signal(random);
  return block;
}

void ReportPerSample(benchmark::State& state) {
  const auto samples = static_cast<double>(state.iterations()) * static_cast<double>(kBlock);
  state.SetItemsProcessed(static_cast<std::int64_t>(samples));
  // The inverted sample rate: seconds per sample, shown with an SI prefix.
  state.counters["per_sample"] =
      benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BoundRoutines(benchmark::State& state) {
  const std::vector<double> input = NoiseBlock();
  std::vector<double> output(kBlock);
  TUpsampler2x upsampler;
  TDownsampler2x downsampler;
  upsampler.DesignCoefficients(kCount, kBandwidth);
  downsampler.DesignCoefficients(kCount, kBandwidth);
  for (auto _ : state) {
    for (std::size_t n = 0; n < kBlock; ++n) {
      double pair[2];
      upsampler.UpsampleDouble(input[n], pair);
      output[n] = downsampler.DownsampleDouble(pair);
    }
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  ReportPerSample(state);
}
BENCHMARK(BM_BoundRoutines);

// The same arithmetic written out as one loop over all sections per chain
// step, with the count read at run time.
void BM_PlainSectionLoop(benchmark::State& state) {
  const std::vector<double> input = NoiseBlock();
  std::vector<double> output(kBlock);
  TDoubleArray coefficients(kCount);
  TPolyphaseIir2Designer::ComputeSectionCoefficients(coefficients, kCount, kBandwidth);
  const std::size_t count = coefficients.size();
  TDoubleArray upX(count), upY(count), downX(count), downY(count);
  const auto runSections = [&](TDoubleArray& x, TDoubleArray& y, double& even, double& odd) {
    for (std::size_t i = 0; i < count; ++i) {
      double& chain = i % 2 == 0 ? even : odd;
      const double r = x[i] + (chain - y[i]) * coefficients[i];
      x[i] = chain;
      y[i] = r;
      chain = r;
    }
  };
  for (auto _ : state) {
    for (std::size_t n = 0; n < kBlock; ++n) {
      double earlier = input[n];
      double later = input[n];
      runSections(upX, upY, earlier, later);
      double even = later;
      double odd = earlier;
      runSections(downX, downY, even, odd);
      output[n] = 0.5 * (even + odd);
    }
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  ReportPerSample(state);
}
BENCHMARK(BM_PlainSectionLoop);

}  // namespace
