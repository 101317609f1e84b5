#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/effect/EffectFixture.h"

// Counts every allocation through the global operator new, the plug-in's
// included: the executable exports its replacement, so the dynamic linker
// binds the plug-in's calls to it.
namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace {

TEST(EffectAllocation, ProcessingAllocatesNothing) {
  TEffectFixture fx;
  fx.SelectProgram(6);
  TChannelBuffers<float> in(2, 512, 0.5f), out(2, 512);
  TChannelBuffers<double> inD(2, 512, 0.5), outD(2, 512);
  // The first call may not be special either, but warm up the host side.
  fx.Effect->ProcessReplacing(in, out);
  fx.Host.ClearCalls();
  const long before = gAllocations.load();
  for (int block = 0; block < 16; ++block) {
    fx.Effect->ProcessReplacing(in.Data(), out.Data(), 512);
    fx.Effect->ProcessDoubleReplacing(inD.Data(), outD.Data(), 512);
    fx.Effect->Process(in.Data(), out.Data(), 512);
  }
  EXPECT_EQ(gAllocations.load() - before, 0);
}

// The count sees allocations made inside a plug-in binary's processing, not
// only the host side's: a plug-in that allocates there on request is caught.
TEST(EffectAllocation, CounterSeesAPluginAllocatingInProcessing) {
  TPluginLibrary library{QUILLO_ALLOCATING_PLUGIN};
  TRecordingHost host;
  const auto effect = host.Instantiate(library);
  effect->Dispatch(effMainsChanged, 0, 1);
  TChannelBuffers<float> in(2, 64, 0.5f), out(2, 64);
  effect->ProcessReplacing(in, out);
  for (const float allocate : {0.0f, 1.0f}) {
    effect->SetParameter(0, allocate);
    const long before = gAllocations.load();
    effect->ProcessReplacing(in.Data(), out.Data(), 64);
    const long counted = gAllocations.load() - before;
    EXPECT_EQ(counted > 0, allocate > 0.5f) << "allocate " << allocate << ", counted " << counted;
  }
}

TEST(EffectAllocation, ParameterChangesPickedUpByProcessingAllocateNothing) {
  TEffectFixture fx;
  TChannelBuffers<float> in(2, 64, 0.5f), out(2, 64);
  fx.Effect->ProcessReplacing(in, out);
  const long before = gAllocations.load();
  for (int i = 0; i < 16; ++i) {
    fx.Effect->SetParameter(i, 0.25f);
    fx.Effect->ProcessReplacing(in.Data(), out.Data(), 64);
  }
  EXPECT_EQ(gAllocations.load() - before, 0);
}

}  // namespace
