#include "tools/host/Effect.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/tools/RawPluginProtocol.h"
#include "tools/host/Host.h"

namespace {

constexpr std::size_t kFrames = 16;
constexpr float kHalf = 0.5f;

class EffectOfRawPlugin : public ::testing::Test {
 protected:
  TPluginLibrary Library{RAW_PLUGIN_PATH};
  TRecordingHost Host;
  std::unique_ptr<TEffect> Effect = Host.Instantiate(Library);
};

template <class Sample>
TChannelBuffers<Sample> Ramp(std::size_t channels) {
  TChannelBuffers<Sample> buffers(channels, kFrames);
  for (std::size_t channel = 0; channel < channels; ++channel) {
    for (std::size_t i = 0; i < kFrames; ++i) {
      buffers[channel][i] = static_cast<Sample>(i + 1) * static_cast<Sample>(channel + 1);
    }
  }
  return buffers;
}

}  // namespace

TEST_F(EffectOfRawPlugin, DestructionClosesWhileTheHostStillAnswers) {
  AEffect* record = Effect->Record();
  Effect.reset();
  // The plug-in calls its host while closing.
  const auto closing = Host.CallsWithOpcode(audioMasterUpdateDisplay);
  ASSERT_EQ(closing.size(), 1u);
  EXPECT_EQ(closing[0].Effect, record);
}

TEST_F(EffectOfRawPlugin, ExplicitCloseIsNotRepeated) {
  EXPECT_EQ(Effect->Close(), 1);
  EXPECT_TRUE(Effect->IsClosed());
  EXPECT_THROW(Effect->Dispatch(effOpen), std::logic_error);
  EXPECT_THROW(Effect->Close(), std::logic_error);
  Effect.reset();
  EXPECT_EQ(Host.CountOf(audioMasterUpdateDisplay), 1u);
}

TEST_F(EffectOfRawPlugin, TextThatFitsShowsItsExtent) {
  const TTextReply name = Effect->EffectName();
  EXPECT_EQ(name.Text, kRawEffectName);
  EXPECT_EQ(name.Result, 1);
  EXPECT_EQ(name.BufferSize, kVstMaxEffectNameLen);
  EXPECT_TRUE(name.Terminated);
  EXPECT_EQ(name.BytesWritten, std::string(kRawEffectName).size() + 1);
  EXPECT_FALSE(name.Overrun());
}

TEST_F(EffectOfRawPlugin, WritePastTheBufferIsDetected) {
  const TTextReply label = Effect->ParameterLabel(1);
  EXPECT_TRUE(label.Overrun());
  EXPECT_EQ(label.BytesWritten, std::string(kRawOverlongLabel).size() + 1);
  EXPECT_FALSE(label.Terminated);
  EXPECT_EQ(label.Text, std::string(kRawOverlongLabel).substr(0, kVstMaxParamLabelLen));
}

TEST_F(EffectOfRawPlugin, LargerBufferTakesTheSameTextWithoutOverrun) {
  constexpr std::size_t kRoomy = 32;
  const TTextReply label = Effect->ParameterLabel(1, kRoomy);
  EXPECT_FALSE(label.Overrun());
  EXPECT_TRUE(label.Terminated);
  EXPECT_EQ(label.Text, kRawOverlongLabel);
}

TEST_F(EffectOfRawPlugin, UnansweredQueryWritesNothing) {
  const TTextReply name = Effect->ParameterName(kRawNumParams);
  EXPECT_EQ(name.BytesWritten, 0u);
  EXPECT_FALSE(name.Terminated);
}

TEST_F(EffectOfRawPlugin, ParameterSlotsAndTheirTexts) {
  Effect->SetParameter(kRawGainParameter, kHalf);
  EXPECT_EQ(Effect->GetParameter(kRawGainParameter), kHalf);
  EXPECT_EQ(Effect->ParameterName(kRawGainParameter).Text, "Gain");
  EXPECT_EQ(Effect->ParameterDisplay(kRawGainParameter).Text, "0.50");
  EXPECT_EQ(Effect->CanDo("2in2out"), 1);
  EXPECT_EQ(Effect->CanDo("bypass"), -1);
}

TEST_F(EffectOfRawPlugin, ProgramNamesByIndexAndAsCurrentProgram) {
  const TTextReply first = Effect->ProgramNameIndexed(0);
  EXPECT_EQ(first.Result, 1);
  EXPECT_EQ(first.Text, "Init");
  EXPECT_EQ(first.BufferSize, kVstMaxProgNameLen);
  EXPECT_EQ(Effect->ProgramNameIndexed(1).Result, 0);
  Effect->Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(Effect->ProgramName().Text, "Second");
}

TEST_F(EffectOfRawPlugin, ReplacingSlotsOverwriteTheOutputs) {
  Effect->SetParameter(kRawGainParameter, kHalf);
  auto inputs = Ramp<float>(kRawNumChannels);
  TChannelBuffers<float> outputs(kRawNumChannels, kFrames, 100.0f);
  Effect->ProcessReplacing(inputs, outputs);
  auto doubleInputs = Ramp<double>(kRawNumChannels);
  TChannelBuffers<double> doubleOutputs(kRawNumChannels, kFrames, 100.0);
  Effect->ProcessDoubleReplacing(doubleInputs, doubleOutputs);
  for (std::size_t channel = 0; channel < kRawNumChannels; ++channel) {
    for (std::size_t i = 0; i < kFrames; ++i) {
      EXPECT_EQ(outputs[channel][i], inputs[channel][i] * kHalf);
      EXPECT_EQ(doubleOutputs[channel][i], doubleInputs[channel][i] * kHalf);
    }
  }
}

TEST_F(EffectOfRawPlugin, AccumulatingSlotAddsToTheOutputs) {
  constexpr float kPrevious = 100.0f;
  auto inputs = Ramp<float>(kRawNumChannels);
  TChannelBuffers<float> outputs(kRawNumChannels, kFrames, kPrevious);
  Effect->Process(inputs, outputs);
  for (std::size_t channel = 0; channel < kRawNumChannels; ++channel) {
    for (std::size_t i = 0; i < kFrames; ++i) {
      EXPECT_EQ(outputs[channel][i], kPrevious + inputs[channel][i]);
    }
  }
}

TEST_F(EffectOfRawPlugin, FewerBuffersThanPinsAreRefusedBeforeThePluginRuns) {
  auto inputs = Ramp<float>(1);
  TChannelBuffers<float> outputs(kRawNumChannels, kFrames);
  EXPECT_THROW(Effect->ProcessReplacing(inputs, outputs), std::invalid_argument);
  auto shortInputs = TChannelBuffers<float>(kRawNumChannels, kFrames - 1);
  EXPECT_THROW(Effect->ProcessReplacing(shortInputs, outputs), std::invalid_argument);
}

TEST(EffectSlots, MissingDoubleReplacingSlotIsReportedNotCalled) {
  const TPluginLibrary library(RAW_MAIN_ONLY_PLUGIN_PATH);
  TRecordingHost host;
  const auto effect = host.Instantiate(library);
  EXPECT_EQ(effect->Record()->flags & effFlagsCanDoubleReplacing, 0);
  TChannelBuffers<double> inputs(kRawNumChannels, kFrames);
  TChannelBuffers<double> outputs(kRawNumChannels, kFrames);
  EXPECT_THROW(effect->ProcessDoubleReplacing(inputs, outputs), std::logic_error);
}
