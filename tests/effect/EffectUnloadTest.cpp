#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <optional>
#include <thread>

#include "tools/host/ChannelBuffers.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

// A host may unload the plug-in while threads that called into it live on
// (a thread pool's audio or automation thread). Such a thread ending after
// the unload must not take the host down, although the plug-in kept
// per-thread state for it.
TEST(EffectUnload, ThreadsThatCalledInEndAfterTheLibraryIsUnloaded) {
  THost host;
  std::optional<TPluginLibrary> library(std::in_place, QUILLO_EFFECT_PLUGIN);
  std::unique_ptr<TEffect> effect = host.Instantiate(*library);
  effect->Dispatch(effOpen);
  effect->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->Dispatch(effSetBlockSize, 0, 64);
  effect->Dispatch(effMainsChanged, 0, 1);

  std::promise<void> called, mayEnd;
  std::shared_future<void> mayEndSignal = mayEnd.get_future().share();
  const auto caller = [&] {
    TChannelBuffers<float> inputs(2, 64, 0.5f), outputs(2, 64);
    effect->SetParameter(3, 0.25f);
    effect->ProcessReplacing(inputs, outputs);
    effect->Dispatch(effSetProgram, 0, 2);
    called.set_value();
    mayEndSignal.wait();
  };
  std::thread thread(caller);
  called.get_future().wait();
  effect.reset();
  library.reset();
  mayEnd.set_value();
  thread.join();

  // The process goes on: the library loads again and works.
  TPluginLibrary again(QUILLO_EFFECT_PLUGIN);
  std::unique_ptr<TEffect> fresh = host.Instantiate(again);
  fresh->Dispatch(effOpen);
  EXPECT_EQ(fresh->Dispatch(effGetProgram), 0);
  fresh->SetParameter(3, 0.25f);
  EXPECT_FLOAT_EQ(fresh->GetParameter(3), 0.25f);
}
