#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tools/chain-timing/TimedChain.h"

// The effect's oversampled chain per stereo frame: the per-sample routines
// as the reference, then each block routine the machine has, block sizes 64
// and 512, both precisions. Each figure is the minimum of ten repetitions;
// the table at the end gives ns per frame, the ratio to the per-sample path of
// the same run and the realtime factor at 48 kHz.

namespace {

constexpr int kChannels = TTimedChain::kChannels;
constexpr double kRealtimeRate = 48000.0;
constexpr double kNanosecondsPerSecond = 1e9;
constexpr int kRepetitions = 10;
// Routine index of the per-sample reference, beside the TChainRoutine values.
constexpr int kPerSample = -1;

template <class Sample>
void BM_Chain(benchmark::State& state) {
  const int routine = static_cast<int>(state.range(0));
  const int frames = static_cast<int>(state.range(1));
  TTimedChain chain;
  if (routine != kPerSample && !chain.Block.SelectRoutine(static_cast<TChainRoutine>(routine))) {
    state.SkipWithError("this machine lacks the routine");
    return;
  }
  std::vector<Sample> in[kChannels], out[kChannels];
  std::mt19937 random(3);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (int c = 0; c < kChannels; ++c) {
    for (int n = 0; n < frames; ++n)
      in[c].push_back(static_cast<Sample>(noise(random)));
    out[c].resize(static_cast<std::size_t>(frames));
  }
  const Sample* inputs[kChannels] = {in[0].data(), in[1].data()};
  Sample* outputs[kChannels] = {out[0].data(), out[1].data()};
  for (auto _ : state) {
    if (routine == kPerSample)
      chain.ProcessPerSample(inputs, outputs, frames);
    else
      chain.Block.Process(inputs, outputs, frames, chain.Shape.data());
    benchmark::DoNotOptimize(out[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
}

void Arguments(benchmark::internal::Benchmark* b) {
  for (int frames : {64, 512})
    for (int routine : {kPerSample, static_cast<int>(crPortable), static_cast<int>(crSse2),
                        static_cast<int>(crAvx256)})
      if (routine == kPerSample ||
          TStereoOversampledChain::RoutineAvailable(static_cast<TChainRoutine>(routine)))
        b->Args({routine, frames});
  b->ArgNames({"routine", "frames"});
  b->Repetitions(kRepetitions);
  b->ComputeStatistics("min", [](const std::vector<double>& v) {
    double m = v.front();
    for (double x : v)
      m = x < m ? x : m;
    return m;
  });
  b->ReportAggregatesOnly(true);
  b->Unit(benchmark::kNanosecond);
}

BENCHMARK_TEMPLATE(BM_Chain, float)->Apply(Arguments);
BENCHMARK_TEMPLATE(BM_Chain, double)->Apply(Arguments);

// Collects the minima and prints them as one table once the run ends.
class TTableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name != "min" || run.error_occurred) continue;
      const std::string name = run.run_name.function_name;
      const std::string args = run.run_name.args;
      const int frames = std::stoi(args.substr(args.find("frames:") + 7));
      const int routine = std::stoi(args.substr(args.find("routine:") + 8));
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      Rows[{name, frames}][routine] = seconds / frames;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    static const std::map<int, const char*> names = {{kPerSample, "per-sample"},
                                                     {crPortable, "portable block"},
                                                     {crSse2, "SSE2 block"},
                                                     {crAvx256, "256-bit block"}};
    std::printf("\n%-22s %6s %-15s %12s %8s %12s\n", "benchmark", "frames", "routine", "ns/frame",
                "ratio", "realtime 48k");
    for (const auto& [key, routines] : Rows) {
      const auto reference = routines.find(kPerSample);
      for (const auto& [routine, seconds] : routines) {
        const double ratio = reference == routines.end() ? 0.0 : reference->second / seconds;
        std::printf("%-22s %6d %-15s %12.2f %8.2f %12.0f\n", key.first.c_str(), key.second,
                    names.at(routine), seconds * kNanosecondsPerSecond, ratio,
                    1.0 / (seconds * kRealtimeRate));
      }
    }
  }

 private:
  std::map<std::pair<std::string, int>, std::map<int, double>> Rows;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TTableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
