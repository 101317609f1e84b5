#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "tests/frame/ParameterTestPlugin.h"
#include "tests/frame/PluginFixture.h"

// A host automating from two threads while its audio thread processes and
// reads the parameters back. Built with ThreadSanitizer this also shows that
// the paths involved take no part in a data race.
namespace {

using namespace parameter_plugin;

constexpr int kRounds = 20000;
// A prime step and modulus: consecutive values of one parameter always differ,
// so a lost last change shows as the value before it.
constexpr int kSteps = 1021;
constexpr int kStride = 37;

float ValueFor(int round, VstInt32 index) {
  return static_cast<float>((round * kStride + index * 101) % kSteps) / kSteps;
}

void Automate(TEffect& effect, const std::vector<VstInt32>& indexes) {
  for (int round = 0; round < kRounds; ++round)
    for (VstInt32 index : indexes)
      effect.SetParameter(index, ValueFor(round, index));
}

TEST(Concurrency, ParallelChangesToDifferentParametersAreNeverLost) {
  TPluginFixture plugin("test_parameter_plugin");
  auto effect = plugin.Instantiate();
  // The module's log is not meant for several threads.
  effect->Dispatch(effVendorSpecific, kSetLogging, 0);
  const std::vector<VstInt32> first{kLogged, kPlain, kReportingSwitch, kSilentSwitch};
  const std::vector<VstInt32> second{kReentrant, kCustomSwitch, kManualSwitch, kLongTexts};

  // The changes start once audio runs, so that the three really overlap.
  std::atomic<bool> audioRunning{false};
  std::atomic<int> automating{2};
  const auto automate = [&](const std::vector<VstInt32>& indexes) {
    while (!audioRunning.load())
      std::this_thread::yield();
    Automate(*effect, indexes);
    --automating;
  };
  std::thread userInterface(automate, std::cref(first));
  std::thread automation(automate, std::cref(second));
  std::size_t outOfRange = 0;
  std::thread audio([&] {
    TChannelBuffers<float> in(2, 64, 0.5f), out(2, 64);
    while (automating.load() > 0) {
      effect->ProcessReplacing(in, out);
      audioRunning = true;
      for (const auto* indexes : {&first, &second})
        for (VstInt32 index : *indexes) {
          const float value = effect->GetParameter(index);
          if (!(value >= 0.0f && value <= 1.0f)) ++outOfRange;
        }
    }
  });
  userInterface.join();
  automation.join();
  audio.join();

  EXPECT_EQ(outOfRange, 0u);
  for (const auto* indexes : {&first, &second})
    for (VstInt32 index : *indexes)
      EXPECT_NEAR(effect->GetParameter(index), ValueFor(kRounds - 1, index), 1e-5f) << index;
}

}  // namespace
