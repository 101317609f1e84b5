#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/RawPluginProtocol.h"
#include "tools/host/Host.h"

// Which host answers which call when several hosts and instances live at
// once, in one thread or in several.

namespace {

constexpr int kThreads = 8;
constexpr int kInstancesPerThread = 10;

std::string HostProductSeenByPlugin(TEffect& effect) {
  char buffer[kRawHostProductBufferSize] = {};
  effect.Dispatch(effVendorSpecific, kRawQueryHostProduct, 0, buffer);
  return buffer;
}

}  // namespace

TEST(HostAttribution, InstancesInManyThreadsReachTheirOwnHosts) {
  const TPluginLibrary library(RAW_PLUGIN_PATH);
  std::vector<std::unique_ptr<TRecordingHost>> hosts;
  for (int i = 0; i < kThreads; ++i) {
    hosts.push_back(std::make_unique<TRecordingHost>());
    hosts.back()->ProductString = "Host " + std::to_string(i);
  }
  std::vector<std::thread::id> threadIds(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      threadIds[i] = std::this_thread::get_id();
      TRecordingHost& host = *hosts[i];
      for (int instance = 0; instance < kInstancesPerThread; ++instance) {
        const auto effect = host.Instantiate(library);
        EXPECT_EQ(HostProductSeenByPlugin(*effect), host.ProductString);
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();

  for (int i = 0; i < kThreads; ++i) {
    const auto calls = hosts[i]->Calls();
    // Version, product string and can-do at the entry, update on close.
    constexpr std::size_t kCallsPerInstance = 4;
    EXPECT_EQ(calls.size(), kCallsPerInstance * kInstancesPerThread) << "host " << i;
    EXPECT_EQ(hosts[i]->CountOf(audioMasterVersion), static_cast<std::size_t>(kInstancesPerThread));
    for (const THostCall& call : calls)
      EXPECT_EQ(call.Thread, threadIds[i]) << "host " << i;
  }
}

TEST(HostAttribution, EffectsOfTwoHostsInOneThreadStaySeparate) {
  const TPluginLibrary library(RAW_PLUGIN_PATH);
  TRecordingHost first;
  TRecordingHost second;
  const auto firstEffect = first.Instantiate(library);
  const auto secondEffect = second.Instantiate(library);
  first.ClearCalls();
  second.ClearCalls();

  secondEffect->Dispatch(effVendorSpecific, kRawSendAutomate, 1, nullptr, 0.5f);
  firstEffect->Dispatch(effVendorSpecific, kRawSendAutomate, 0, nullptr, 0.25f);

  const auto firstCalls = first.Calls();
  const auto secondCalls = second.Calls();
  ASSERT_EQ(firstCalls.size(), 1u);
  ASSERT_EQ(secondCalls.size(), 1u);
  EXPECT_EQ(firstCalls[0].Effect, firstEffect->Record());
  EXPECT_EQ(firstCalls[0].Opt, 0.25f);
  EXPECT_EQ(secondCalls[0].Effect, secondEffect->Record());
  EXPECT_EQ(secondCalls[0].Opt, 0.5f);
}

TEST(HostAttribution, InstantiatingInsideAnotherEntryPointRestoresTheOuterHost) {
  const TPluginLibrary library(RAW_PLUGIN_PATH);
  TRecordingHost outer;
  TRecordingHost inner;
  outer.ProductString = "Outer";
  inner.ProductString = "Inner";
  std::unique_ptr<TEffect> innerEffect;
  // While the outer plug-in asks for the version, another instance is made
  // for the inner host on the same thread.
  outer.SetHook(audioMasterVersion, [&](const THostCall&) -> VstIntPtr {
    innerEffect = inner.Instantiate(library);
    return kVstVersion;
  });
  const auto outerEffect = outer.Instantiate(library);
  ASSERT_NE(innerEffect, nullptr);
  EXPECT_EQ(HostProductSeenByPlugin(*outerEffect), "Outer");
  EXPECT_EQ(HostProductSeenByPlugin(*innerEffect), "Inner");
  EXPECT_EQ(outer.CountOf(audioMasterGetProductString), 1u);
  EXPECT_EQ(inner.CountOf(audioMasterGetProductString), 1u);
  innerEffect.reset();
}

TEST(HostAttribution, ReusedRecordAddressBelongsToItsNewHost) {
  constexpr int kRounds = 20;
  const TPluginLibrary library(RAW_PLUGIN_PATH);
  TRecordingHost earlier;
  TRecordingHost later;
  later.ProductString = "Later";
  for (int round = 0; round < kRounds; ++round) {
    earlier.Instantiate(library)->Close();
    earlier.ClearCalls();
    // The allocator may hand the new instance the closed one's address.
    const auto effect = later.Instantiate(library);
    EXPECT_EQ(HostProductSeenByPlugin(*effect), "Later");
    EXPECT_TRUE(earlier.Calls().empty());
  }
}
