#include <benchmark/benchmark.h>

#include "tools/host/PluginLibrary.h"

// The frame's costs as a host sees them, on the effect with its sixteen
// parameters and sixteen programs: creating an instance through the entry
// point and closing it, and one parameter set and read back through the
// record's slots.
namespace {

constexpr VstInt32 kParameter = 4;

// A host that answers only what the entry point insists on.
VstIntPtr VSTCALLBACK MinimalHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

const TPluginLibrary& Library() {
  static const TPluginLibrary library(QUILLO_BENCH_PLUGIN);
  return library;
}

void BM_EntryPointAndClose(benchmark::State& state) {
  const TVstEntryPoint entry = Library().EntryPoint();
  for (auto _ : state) {
    AEffect* effect = entry(&MinimalHost);
    if (effect == nullptr) {
      state.SkipWithError("the entry point returned no effect");
      break;
    }
    benchmark::DoNotOptimize(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f));
  }
}
BENCHMARK(BM_EntryPointAndClose);

void BM_SetAndGetParameter(benchmark::State& state) {
  AEffect* effect = Library().EntryPoint()(&MinimalHost);
  if (effect == nullptr) {
    state.SkipWithError("the entry point returned no effect");
    return;
  }
  float value = 0.0f;
  for (auto _ : state) {
    effect->setParameter(effect, kParameter, value);
    benchmark::DoNotOptimize(effect->getParameter(effect, kParameter));
    value = value < 1.0f ? value + 0.001f : 0.0f;
  }
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_SetAndGetParameter);

}  // namespace
