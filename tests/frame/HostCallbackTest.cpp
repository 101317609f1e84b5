#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "tests/frame/PluginFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(HostCallbacks, SampleRateAnswerIsTakenAndAnnouncedEvenWhenUnchanged) {
  TPluginFixture plugin("test_full_plugin");
  plugin.Host.SampleRate = 48000;
  auto effect = plugin.Instantiate();
  plugin.ClearEvents(*effect);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kAskSampleRate), 48000);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kAskSampleRate), 48000);
  EXPECT_THAT(plugin.Events(*effect), ElementsAre("SampleRate:48000", "SampleRate:48000"));
}

TEST(HostCallbacks, ZeroSampleRateAnswerChangesNothing) {
  TPluginFixture plugin("test_full_plugin");
  plugin.Host.SampleRate = 0;
  auto effect = plugin.Instantiate();
  plugin.ClearEvents(*effect);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kAskSampleRate), 44100);
  EXPECT_THAT(plugin.Events(*effect), IsEmpty());
}

TEST(HostCallbacks, ProductStringIsAskedOnceAndKept) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  effect->Dispatch(effVendorSpecific, kSetDelay, 3);
  effect->Dispatch(effVendorSpecific, kSetDelay, 4);
  EXPECT_EQ(plugin.Host.CountOf(audioMasterGetProductString), 1u);
}

TEST(HostCallbacks, DelayChangesAreReportedUnlessTheHostIsEnergyXT) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  plugin.Host.ClearCalls();
  effect->Dispatch(effVendorSpecific, kSetDelay, 5);
  EXPECT_EQ(effect->Record()->initialDelay, 5);
  EXPECT_EQ(plugin.Host.CountOf(audioMasterIOChanged), 1u);
  effect->Dispatch(effVendorSpecific, kSetDelay, 5);
  EXPECT_EQ(plugin.Host.CountOf(audioMasterIOChanged), 1u);

  TPluginFixture energy("test_full_plugin");
  energy.Host.ProductString = "energyXT";
  auto quiet = energy.Instantiate();
  energy.Host.ClearCalls();
  quiet->Dispatch(effVendorSpecific, kSetDelay, 7);
  EXPECT_EQ(quiet->Record()->initialDelay, 7);
  EXPECT_EQ(energy.Host.CountOf(audioMasterIOChanged), 0u);
}

TEST(HostCallbacks, OverlongProductStringIsReadBounded) {
  TPluginFixture plugin("test_full_plugin");
  // The test host cuts to 64 bytes; a host that writes 200 bytes without a
  // terminating zero must not make the plug-in read past its buffer.
  plugin.Host.SetHook(audioMasterGetProductString, [](const THostCall& call) -> VstIntPtr {
    std::memset(call.Ptr, 'h', 200);
    return 1;
  });
  auto effect = plugin.Instantiate();
  EXPECT_EQ(effect->Dispatch(effGetVstVersion), 2400);
}

}  // namespace
