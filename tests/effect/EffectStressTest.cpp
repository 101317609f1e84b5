#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "tests/effect/EffectFixture.h"

// Two threads change parameters and switch programs while a third processes;
// built with ThreadSanitizer this also shows that no data race exists.
namespace {

constexpr int kChangesPerThread = 1500;
constexpr std::size_t kBlock = 64;

void ProcessBlocks(TEffect& effect, std::size_t blocks, std::vector<float>* last = nullptr) {
  TChannelBuffers<float> in(2, kBlock), out(2, kBlock);
  for (std::size_t b = 0; b < blocks; ++b) {
    for (std::size_t i = 0; i < kBlock; ++i)
      in[0][i] = in[1][i] =
          static_cast<float>(std::sin(0.0625 * static_cast<double>(b * kBlock + i)));
    effect.ProcessReplacing(in, out);
  }
  if (last) *last = out[0];
}

// Puts an instance into one fully specified state through host calls.
void SetKnownState(TEffect& effect) {
  effect.Dispatch(effSetProgram, 0, 9);
  for (int i = 0; i < 16; ++i)
    effect.SetParameter(i,
                        i < 8 ? 0.6f + 0.05f * static_cast<float>(i) : (i % 3 == 0 ? 1.0f : 0.0f));
}

TEST(EffectStress, ConcurrentChangesNeverRaceAndEndInTheLastState) {
  TEffectFixture stressed;
  std::atomic<int> running{2};
  std::thread levels([&] {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int i = 0; i < kChangesPerThread; ++i)
      stressed.Effect->SetParameter(i % 8, value(random));
    running.fetch_sub(1);
  });
  std::thread programs([&] {
    std::mt19937 random(12);
    for (int i = 0; i < kChangesPerThread; ++i) {
      if (i % 10 == 0)
        stressed.Effect->Dispatch(effSetProgram, 0, static_cast<VstIntPtr>(random() % 16));
      stressed.Effect->SetParameter(8 + i % 8, static_cast<float>(random() % 2));
    }
    running.fetch_sub(1);
  });
  std::thread audio([&] {
    while (running.load() > 0) {
      ProcessBlocks(*stressed.Effect, 1);
      for (int i = 0; i < 16; ++i) {
        const float value = stressed.Effect->GetParameter(i);
        ASSERT_TRUE(value >= 0.0f && value <= 1.0f);
      }
    }
  });
  levels.join();
  programs.join();
  audio.join();

  // Once quiet, the stressed instance sounds like a fresh one set alike.
  TEffectFixture fresh;
  SetKnownState(*stressed.Effect);
  SetKnownState(*fresh.Effect);
  std::vector<float> stressedOut, freshOut;
  ProcessBlocks(*stressed.Effect, 256, &stressedOut);
  ProcessBlocks(*fresh.Effect, 256, &freshOut);
  for (std::size_t i = 0; i < kBlock; ++i)
    ASSERT_NEAR(stressedOut[i], freshOut[i], 1e-6f) << i;
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(stressed.Effect->GetParameter(i), fresh.Effect->GetParameter(i)) << i;
}

}  // namespace
