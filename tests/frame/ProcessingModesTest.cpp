#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/FrameTypes.h"
#include "tests/frame/PluginFixture.h"

// Block, copy and mute modes through test_block_plugin: block mode with
// blocks of 4 and no overlap at first, handlers that pass their input through
// and log the first channel of each block they get.
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ProcessingModes : public ::testing::Test {
 protected:
  VstIntPtr Set(VstInt32 what, VstIntPtr value) {
    return Effect->Dispatch(effVendorSpecific, what, value);
  }

  // Runs the ramp 1, 2, 3, ... (channel 1 negated) through a slot in host
  // blocks of `hostBlock` frames and answers what channel 0 heard.
  template <class Sample, class Slot>
  std::vector<Sample> Ramp(int frames, int hostBlock, Slot slot) {
    std::vector<Sample> heard;
    for (int start = 0; start < frames; start += hostBlock) {
      TChannelBuffers<Sample> in(2, static_cast<std::size_t>(hostBlock));
      TChannelBuffers<Sample> out(2, static_cast<std::size_t>(hostBlock));
      for (int i = 0; i < hostBlock; ++i) {
        in[0][static_cast<std::size_t>(i)] = static_cast<Sample>(start + i + 1);
        in[1][static_cast<std::size_t>(i)] = -static_cast<Sample>(start + i + 1);
      }
      slot(in, out);
      for (std::size_t i = 0; i < out[0].size(); ++i)
        EXPECT_EQ(out[1][i], -out[0][i]);
      heard.insert(heard.end(), out[0].begin(), out[0].end());
    }
    return heard;
  }
  std::vector<float> RampReplacing(int frames, int hostBlock) {
    return Ramp<float>(frames, hostBlock,
                       [this](auto& in, auto& out) { Effect->ProcessReplacing(in, out); });
  }

  TPluginFixture Plugin{"test_block_plugin"};
  std::unique_ptr<TEffect> Effect = Plugin.Instantiate();
};

TEST_F(ProcessingModes, BlockModeHearsEachBlockOneBlockLater) {
  EXPECT_EQ(Effect->Record()->initialDelay, 4);
  Plugin.ClearEvents(*Effect);
  EXPECT_THAT(RampReplacing(12, 3), ElementsAre(0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8));
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("Block:1,2,3,4", "Block:5,6,7,8", "Block:9,10,11,12"));
}

TEST_F(ProcessingModes, OverlapRepeatsThePreviousBlocksLastSamples) {
  Set(kSetMode, pmNormal);
  EXPECT_EQ(Set(kSetOverlap, 2), 2);
  Set(kSetMode, pmBlockSave);
  EXPECT_EQ(Effect->Record()->initialDelay, 2);
  Plugin.ClearEvents(*Effect);
  EXPECT_THAT(RampReplacing(9, 3), ElementsAre(0, 0, 1, 2, 3, 4, 5, 6, 7));
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("Block:0,0,1,2", "Block:1,2,3,4", "Block:3,4,5,6", "Block:5,6,7,8"));
}

TEST_F(ProcessingModes, SettersKeepTheOverlapBelowTheSize) {
  struct TRow {
    VstInt32 What;
    VstIntPtr Value;
    VstIntPtr SizeAfter;
    VstIntPtr OverlapAfter;
  };
  const TRow rows[] = {
      {kSetOverlap, 4, 4, 0},    {kSetOverlap, -1, 4, 0},  {kSetOverlap, 3, 4, 3},
      {kSetBlockSize, 3, 4, 3},  {kSetBlockSize, 2, 4, 3}, {kSetBlockSize, 0, 4, 3},
      {kSetBlockSize, -8, 4, 3}, {kSetBlockSize, 8, 8, 3}, {kSetOverlap, 8, 8, 3},
      {kSetOverlap, 7, 8, 7},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    Set(rows[i].What, rows[i].Value);
    EXPECT_EQ(Set(kSetBlockSize, 0), rows[i].SizeAfter) << "row " << i;
    EXPECT_EQ(Set(kSetOverlap, -1), rows[i].OverlapAfter) << "row " << i;
  }
  // Blocks of 8 advancing by one sample still run and stay in their buffers.
  Plugin.ClearEvents(*Effect);
  RampReplacing(10, 5);
  EXPECT_EQ(Plugin.Events(*Effect).size(), 6u);
}

TEST_F(ProcessingModes, ReportedDelayFollowsTheBlockLatencyAndTheRequest) {
  Plugin.Host.ClearCalls();
  struct TRow {
    VstInt32 What;
    VstIntPtr Value;
    VstInt32 Delay;
  };
  const TRow rows[] = {
      {kSetDelay, 10, 10},    // a longer request than the block latency
      {kSetDelay, 2, 4},      // the block latency wins
      {kSetBlockSize, 8, 8},  // grows with the block
      {kSetOverlap, 5, 3},    // shrinks with the hop
      {kSetMode, pmCopy, 2},  // outside block mode only the request counts
      {kSetMode, pmBlockSave, 3},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    Set(rows[i].What, rows[i].Value);
    EXPECT_EQ(Effect->Record()->initialDelay, rows[i].Delay) << "row " << i;
  }
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterIOChanged), std::size(rows));
  Set(kSetBlockSize, 8);  // unchanged sizes and requests tell the host nothing
  Set(kSetDelay, 2);
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterIOChanged), std::size(rows));
}

TEST_F(ProcessingModes, DoublePrecisionHasItsOwnBlocks) {
  Plugin.ClearEvents(*Effect);
  // A single-precision call in between must not move the double blocks.
  std::vector<double> heard =
      Ramp<double>(6, 3, [this](auto& in, auto& out) { Effect->ProcessDoubleReplacing(in, out); });
  RampReplacing(3, 3);
  const std::vector<double> more =
      Ramp<double>(6, 3, [this](auto& in, auto& out) { Effect->ProcessDoubleReplacing(in, out); });
  heard.insert(heard.end(), more.begin(), more.end());
  EXPECT_THAT(heard, ElementsAre(0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 1, 2));
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("BlockDouble:1,2,3,4", "BlockDouble:5,6,1,2", "BlockDouble:3,4,5,6"));
}

TEST_F(ProcessingModes, AccumulatingSlotAddsTheDelayedBlocks) {
  TChannelBuffers<float> in(2, 8), out(2, 8, 0.5f);
  for (std::size_t i = 0; i < 8; ++i)
    in[0][i] = static_cast<float>(i + 1);
  Effect->Process(in, out);
  EXPECT_THAT(out[0], ElementsAre(0.5f, 0.5f, 0.5f, 0.5f, 1.5f, 2.5f, 3.5f, 4.5f));
}

TEST_F(ProcessingModes, CopyModePassesInputsToTheOutputsOfTheSameIndex) {
  EXPECT_EQ(Set(kSetOutputs, 3), 3);
  EXPECT_EQ(Set(kSetMode, pmCopy), pmCopy);
  Plugin.ClearEvents(*Effect);
  TChannelBuffers<float> in(2, 16, 0.25f), out(3, 16, 7.0f);
  Effect->ProcessReplacing(in, out);
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], in[1]);
  EXPECT_EQ(out[2], std::vector<float>(16, 7.0f));
  TChannelBuffers<float> added(3, 16, 1.0f);
  Effect->Process(in, added);
  EXPECT_EQ(added[0], std::vector<float>(16, 1.25f));
  EXPECT_EQ(added[2], std::vector<float>(16, 1.0f));
  TChannelBuffers<double> inD(2, 16, 0.5), outD(3, 16, 7.0);
  Effect->ProcessDoubleReplacing(inD, outD);
  EXPECT_EQ(outD[1], inD[1]);
  EXPECT_EQ(outD[2], std::vector<double>(16, 7.0));
  EXPECT_THAT(Plugin.Events(*Effect), IsEmpty());
}

TEST_F(ProcessingModes, MuteModeSilencesEveryOutput) {
  EXPECT_EQ(Set(kSetMode, pmMute), pmMute);
  Plugin.ClearEvents(*Effect);
  TChannelBuffers<float> in(2, 16, 0.25f), out(2, 16, 7.0f);
  Effect->ProcessReplacing(in, out);
  EXPECT_EQ(out[0], std::vector<float>(16, 0.0f));
  EXPECT_EQ(out[1], std::vector<float>(16, 0.0f));
  TChannelBuffers<double> inD(2, 16, 0.5), outD(2, 16, 7.0);
  Effect->ProcessDoubleReplacing(inD, outD);
  EXPECT_EQ(outD[1], std::vector<double>(16, 0.0));
  TChannelBuffers<float> added(2, 16, 1.0f);
  Effect->Process(in, added);  // adds silence
  EXPECT_EQ(added[0], std::vector<float>(16, 1.0f));
  EXPECT_THAT(Plugin.Events(*Effect), IsEmpty());
}

TEST_F(ProcessingModes, NonPositiveFrameCountsOnlyFlushEvents) {
  Plugin.ClearEvents(*Effect);
  TChannelBuffers<float> in(2, 4, 1.0f), out(2, 4, 7.0f);
  TChannelBuffers<double> inD(2, 4, 1.0), outD(2, 4, 7.0);
  for (VstInt32 frames : {0, -5}) {
    Set(kQueueEvents, 2);
    Effect->ProcessReplacing(in.Data(), out.Data(), frames);
    Set(kQueueEvents, 2);
    Effect->Process(in.Data(), out.Data(), frames);
    Set(kQueueEvents, 2);
    Effect->ProcessDoubleReplacing(inD.Data(), outD.Data(), frames);
  }
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterProcessEvents), 6u);
  EXPECT_EQ(out[0], std::vector<float>(4, 7.0f));
  EXPECT_EQ(outD[0], std::vector<double>(4, 7.0));
  EXPECT_THAT(Plugin.Events(*Effect), IsEmpty());
  // The block position did not move either.
  EXPECT_THAT(RampReplacing(6, 3), ElementsAre(0, 0, 0, 0, 1, 2));
}

}  // namespace
