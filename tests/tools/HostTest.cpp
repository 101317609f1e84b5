#include "tools/host/Host.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/tools/RawPluginProtocol.h"
#include "tools/host/HostText.h"

namespace {

constexpr VstIntPtr kHostVersion = 2400;

class HostWithRawPlugin : public ::testing::Test {
 protected:
  std::string HostProductSeenByPlugin(TEffect& effect) {
    char buffer[kRawHostProductBufferSize] = {};
    effect.Dispatch(effVendorSpecific, kRawQueryHostProduct, 0, buffer);
    return buffer;
  }

  TPluginLibrary Library{RAW_PLUGIN_PATH};
  TRecordingHost Host;
};

std::vector<VstInt32> Opcodes(const std::vector<THostCall>& calls) {
  std::vector<VstInt32> opcodes;
  for (const THostCall& call : calls)
    opcodes.push_back(call.Opcode);
  return opcodes;
}

AEffect* EntryWithoutMagic(audioMasterCallback) {
  static AEffect record{};
  return &record;
}

}  // namespace

TEST_F(HostWithRawPlugin, VersionQueryWithoutRecordIsAttributedToTheInstantiatingHost) {
  const auto effect = Host.Instantiate(Library);
  const auto versions = Host.CallsWithOpcode(audioMasterVersion);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0].Effect, nullptr);
  EXPECT_EQ(versions[0].Answer, kHostVersion);
}

TEST_F(HostWithRawPlugin, RecordsEveryCallInOrderWithItsArguments) {
  const auto effect = Host.Instantiate(Library);
  effect->Dispatch(effOpen);
  effect->Dispatch(effVendorSpecific, kRawSendAutomate, 1, nullptr, 0.25f);

  const auto calls = Host.Calls();
  const std::vector<VstInt32> expected = {audioMasterVersion,      audioMasterGetProductString,
                                          audioMasterCanDo,        audioMasterGetSampleRate,
                                          audioMasterGetBlockSize, audioMasterAutomate};
  ASSERT_EQ(Opcodes(calls), expected);
  for (std::size_t i = 1; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].Effect, effect->Record()) << "call " << i;
  }
  EXPECT_NE(calls[1].Ptr, nullptr);
  const THostCall& automate = calls.back();
  EXPECT_EQ(automate.Index, 1);
  EXPECT_EQ(automate.Value, 0);
  EXPECT_EQ(automate.Ptr, nullptr);
  EXPECT_EQ(automate.Opt, 0.25f);
  EXPECT_EQ(automate.Thread, std::this_thread::get_id());
}

TEST_F(HostWithRawPlugin, ProductStringReachesThePlugin) {
  Host.ProductString = "WaveLab";
  const auto effect = Host.Instantiate(Library);
  EXPECT_EQ(HostProductSeenByPlugin(*effect), "WaveLab");
  EXPECT_EQ(Host.CallsWithOpcode(audioMasterGetProductString).at(0).Answer, 1);
}

TEST_F(HostWithRawPlugin, ProductStringIsCutToThePublishedBufferSize) {
  Host.ProductString = std::string(2 * kVstMaxProductStrLen, 'p');
  const auto effect = Host.Instantiate(Library);
  EXPECT_EQ(HostProductSeenByPlugin(*effect), std::string(kVstMaxProductStrLen - 1, 'p'));
}

TEST_F(HostWithRawPlugin, VersionAnswerZeroGivesNoEffect) {
  Host.Version = 0;
  EXPECT_EQ(Host.TryInstantiate(Library), nullptr);
  try {
    Host.Instantiate(Library);
    ADD_FAILURE() << "Instantiate accepted a null record";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("returned no effect"), std::string::npos);
  }
}

TEST_F(HostWithRawPlugin, DefaultSampleRateAndBlockSizeReachThePlugin) {
  Host.SampleRate = 48000;
  Host.BlockSize = 256;
  const auto effect = Host.Instantiate(Library);
  effect->Dispatch(effOpen);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQuerySampleRate), 48000);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQueryBlockSize), 256);
}

TEST_F(HostWithRawPlugin, FixedAnswerReplacesTheDefaultUntilCleared) {
  Host.SetAnswer(audioMasterGetSampleRate, 96000);
  const auto effect = Host.Instantiate(Library);
  effect->Dispatch(effOpen);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQuerySampleRate), 96000);
  EXPECT_EQ(Host.CallsWithOpcode(audioMasterGetSampleRate).at(0).Answer, 96000);

  Host.ClearAnswer(audioMasterGetSampleRate);
  effect->Dispatch(effOpen);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQuerySampleRate), Host.SampleRate);
}

TEST_F(HostWithRawPlugin, HookWinsOverFixedAnswerAndSeesTheCall) {
  Host.SetAnswer(audioMasterGetBlockSize, 1);
  AEffect* seen = nullptr;
  Host.SetHook(audioMasterGetBlockSize, [&seen](const THostCall& call) -> VstIntPtr {
    seen = call.Effect;
    return 333;
  });
  const auto effect = Host.Instantiate(Library);
  effect->Dispatch(effOpen);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQueryBlockSize), 333);
  EXPECT_EQ(seen, effect->Record());
}

TEST_F(HostWithRawPlugin, HookCanWriteIntoThePluginsBuffer) {
  Host.SetHook(audioMasterGetProductString, [](const THostCall& call) -> VstIntPtr {
    return WriteBoundedText(call.Ptr, "Hooked", kVstMaxProductStrLen) ? 1 : 0;
  });
  const auto effect = Host.Instantiate(Library);
  EXPECT_EQ(HostProductSeenByPlugin(*effect), "Hooked");
}

TEST_F(HostWithRawPlugin, CanDoIsAnsweredByTextAndTheTextRecorded) {
  Host.CanDoAnswers[kRawEntryCanDo] = 1;
  Host.CanDoAnswers["somethingElse"] = -1;
  const auto effect = Host.Instantiate(Library);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQueryEntryCanDo), 1);
  const auto queries = Host.CallsWithOpcode(audioMasterCanDo);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].Text, kRawEntryCanDo);
  EXPECT_TRUE(queries[0].TextTerminated);
}

TEST_F(HostWithRawPlugin, CanDoNotConfiguredAnswersZero) {
  Host.CanDoAnswers["somethingElse"] = 1;
  const auto effect = Host.Instantiate(Library);
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawQueryEntryCanDo), 0);
}

TEST_F(HostWithRawPlugin, UnterminatedCanDoTextIsReadOnlyUpToItsBound) {
  const auto effect = Host.Instantiate(Library);
  Host.ClearCalls();
  EXPECT_EQ(effect->Dispatch(effVendorSpecific, kRawSendUnterminatedCanDo), 0);
  const auto queries = Host.CallsWithOpcode(audioMasterCanDo);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].Text, std::string(kVstMaxCanDoLen, 'q'));
  EXPECT_FALSE(queries[0].TextTerminated);
}

TEST_F(HostWithRawPlugin, ThrowingHookAnswersZeroAndIsReported) {
  Host.SetHook(audioMasterVersion,
               [](const THostCall&) -> VstIntPtr { throw std::runtime_error("host broke"); });
  EXPECT_EQ(Host.TryInstantiate(Library), nullptr);
  ASSERT_EQ(Host.Errors().size(), 1u);
  EXPECT_NE(Host.Errors()[0].find("host broke"), std::string::npos);
  EXPECT_EQ(Host.CallsWithOpcode(audioMasterVersion).at(0).Answer, 0);
}

TEST_F(HostWithRawPlugin, ClearedRecordStartsAfresh) {
  const auto effect = Host.Instantiate(Library);
  Host.ClearCalls();
  EXPECT_TRUE(Host.Calls().empty());
  effect->Dispatch(effOpen);
  EXPECT_EQ(Opcodes(Host.Calls()),
            (std::vector<VstInt32>{audioMasterGetSampleRate, audioMasterGetBlockSize}));
}

TEST(TestHostCallback, CallsFromUnknownRecordsOutsideAnEntryPointReachNoHost) {
  TRecordingHost host;
  AEffect stranger{};
  const audioMasterCallback callback = TRecordingHost::Callback();
  EXPECT_EQ(callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(callback(&stranger, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_TRUE(host.Calls().empty());
}

TEST(TestHostCallback, RecordWithoutTheEffectMagicIsRefused) {
  TRecordingHost host;
  try {
    host.Instantiate(&EntryWithoutMagic);
    ADD_FAILURE() << "a record without the magic was accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("magic 0x00000000"), std::string::npos)
        << error.what();
  }
}

// The tools' host (render, demo, info) answers without keeping anything: a
// plug-in that calls the host every block does not grow its memory.
TEST(PlainHost, AnswersWithoutRecording) {
  TPluginLibrary library{RAW_PLUGIN_PATH};
  THost host;
  host.ProductString = "Plain";
  const auto effect = host.Instantiate(library);
  for (int i = 0; i < 1000; ++i)
    effect->Dispatch(effVendorSpecific, kRawSendAutomate, 1, nullptr, 0.25f);
  char product[kRawHostProductBufferSize] = {};
  effect->Dispatch(effVendorSpecific, kRawQueryHostProduct, 0, product);
  EXPECT_STREQ(product, "Plain");
  EXPECT_FALSE(host.IsRecording());
  EXPECT_TRUE(host.Calls().empty());
}
