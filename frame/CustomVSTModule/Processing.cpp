#include <algorithm>

#include "frame/CustomVSTModule.h"

namespace {

// Frames the accumulating slot hands its handler at a time.
constexpr std::size_t kAccumulatePiece = 256;

// Runs the handler the processing mode puts behind a slot: the event itself,
// the block routine around it, or the copy or mute routine.
template <class Sample, class Event>
void RunModeHandler(TProcessingMode mode, const Event& event, TBlockProcessor<Sample>& block,
                    Sample** inputs, Sample** outputs, VstInt32 frames, VstInt32 numInputs,
                    VstInt32 numOutputs, VstInt32 blockSize, VstInt32 blockOverlap) {
  using TArrays = TChannelArrays<Sample>;
  switch (mode) {
    case pmNormal:
      if (event) event(TArrays(inputs), TArrays(outputs), frames);
      break;
    case pmBlockSave:
      if (event)
        block.Process(inputs, outputs, frames, blockSize, blockOverlap,
                      [&event](Sample** in, Sample** out, int size) {
                        event(TArrays(in), TArrays(out), size);
                      });
      break;
    case pmCopy:
      CopyChannels(inputs, outputs, frames, numInputs, numOutputs);
      break;
    case pmMute:
      MuteChannels(outputs, frames, numOutputs);
      break;
  }
}

}  // namespace

void TCustomVSTModule::ResizeAccumulateScratch() {
  const auto outputs = static_cast<std::size_t>(std::max(numOutputs(), 0));
  const auto inputs = static_cast<std::size_t>(std::max(numInputs(), 0));
  FAccumulateScratch.assign(outputs * kAccumulatePiece, 0.0f);
  FAccumulateOutputs.resize(outputs);
  for (std::size_t j = 0; j < outputs; ++j)
    FAccumulateOutputs[j] = FAccumulateScratch.data() + j * kAccumulatePiece;
  FAccumulateInputs.assign(inputs, nullptr);
}

void TCustomVSTModule::ProcessAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames) {
  // The handler writes into zeroed scratch outputs, which are then added to
  // the host's; the scratch block is the module's own, so nothing is
  // allocated per call.
  const auto frames = static_cast<std::size_t>(std::max(sampleFrames, 0));
  for (std::size_t done = 0; done < frames; done += kAccumulatePiece) {
    const std::size_t piece = std::min(kAccumulatePiece, frames - done);
    for (std::size_t i = 0; i < FAccumulateInputs.size(); ++i)
      FAccumulateInputs[i] = inputs[i] + done;
    std::fill(FAccumulateScratch.begin(), FAccumulateScratch.end(), 0.0f);
    RunModeHandler(FProcessingMode, OnProcess, FBlockSingle, FAccumulateInputs.data(),
                   FAccumulateOutputs.data(), static_cast<VstInt32>(piece), numInputs(),
                   numOutputs(), FBlockModeSize, FBlockModeOverlap);
    for (std::size_t j = 0; j < FAccumulateOutputs.size(); ++j) {
      float* out = outputs[j] + done;
      const float* scratch = FAccumulateOutputs[j];
      for (std::size_t i = 0; i < piece; ++i)
        out[i] = out[i] + scratch[i];
    }
  }
  FlushOutputEvents();
}

void TCustomVSTModule::ProcessReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (sampleFrames > 0)
    RunModeHandler(FProcessingMode, OnProcessReplacing, FBlockSingle, inputs, outputs, sampleFrames,
                   numInputs(), numOutputs(), FBlockModeSize, FBlockModeOverlap);
  FlushOutputEvents();
}

void TCustomVSTModule::ProcessDoubleReplacing(double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
  if (sampleFrames > 0)
    RunModeHandler(FProcessingMode, OnProcessDoubleReplacing, FBlockDouble, inputs, outputs,
                   sampleFrames, numInputs(), numOutputs(), FBlockModeSize, FBlockModeOverlap);
  FlushOutputEvents();
}

void TCustomVSTModule::FlushOutputEvents() {
  if (FOutputEvents->numEvents <= 0) return;
  HostProcessEvents(reinterpret_cast<VstEvents*>(FOutputEvents.get()));
  FOutputEvents->numEvents = 0;
}

void TCustomVSTModule::SetProcessingMode(TProcessingMode mode) {
  if (mode == FProcessingMode) return;
  const bool leavesBlockMode = FProcessingMode == pmBlockSave;
  FProcessingMode = mode;
  if (mode == pmBlockSave)
    SetUpBlockBuffers();
  else if (leavesBlockMode)
    CheckBlockDelay();
}

void TCustomVSTModule::SetBlockModeSize(VstInt32 size) {
  // A size at or below the overlap could never advance a block.
  if (size <= 0 || size <= FBlockModeOverlap) return;
  FBlockModeSize = size;
  FBlockSingle.SetPosition(FBlockModeOverlap);
  FBlockDouble.SetPosition(FBlockModeOverlap);
  SetUpBlockBuffers();
}

void TCustomVSTModule::SetBlockModeOverlap(VstInt32 overlap) {
  // A negative overlap would move samples from before the buffers' start.
  if (overlap < 0 || overlap >= FBlockModeSize) return;
  FBlockModeOverlap = overlap;
  if (FProcessingMode == pmBlockSave) CheckBlockDelay();
}

void TCustomVSTModule::SetUpBlockBuffers() {
  if (FProcessingMode != pmBlockSave) {
    FBlockSingle.Release();
    FBlockDouble.Release();
    return;
  }
  FBlockSingle.SetUp(numInputs(), numOutputs(), FBlockModeSize, FBlockModeOverlap);
  FBlockDouble.SetUp(numInputs(), numOutputs(), FBlockModeSize, FBlockModeOverlap);
  CheckBlockDelay();
}

void TCustomVSTModule::CheckBlockDelay() {
  // The reported delay follows the block latency down as well as up: a host
  // told of more delay than the plug-in has misaligns its tracks.
  if (TargetInitialDelay() != FEffect.initialDelay) UpdateInitialDelay();
}

void TCustomVSTModule::SetSampleRate(float rate) {
  if (rate == FSampleRate) return;
  FSampleRate = rate;
  if (OnSampleRateChange) OnSampleRateChange(this, rate);
}

void TCustomVSTModule::SetBlockSize(VstInt32 size) {
  if (size == FBlockSize) return;
  FBlockSize = size;
  if (OnBlockSizeChanged) OnBlockSizeChanged(this, size);
}
