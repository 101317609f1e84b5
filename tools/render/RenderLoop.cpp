#include "tools/render/RenderLoop.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "tools/host/ChannelBuffers.h"

namespace {

constexpr int kMostChannels = 2;
constexpr VstInt32 kMaxBlockSize = std::numeric_limits<VstInt32>::max();

// Channels each side gets: every pin the plug-in has, and at least the
// source's channels.
std::size_t BufferChannels(VstInt32 pins, int channels) {
  return static_cast<std::size_t>(std::max(std::max(pins, 0), channels));
}

// Silences a channel from sample from on.
template <class Sample>
void Silence(std::vector<Sample>& channel, std::size_t from) {
  std::fill(channel.begin() + static_cast<std::ptrdiff_t>(from), channel.end(), Sample(0));
}

template <class Sample>
void Call(TEffect& effect, TProcessingSlot slot, TChannelBuffers<Sample>& inputs,
          TChannelBuffers<Sample>& outputs, VstInt32 frames) {
  if constexpr (std::is_same_v<Sample, double>) {
    effect.ProcessDoubleReplacing(inputs.Data(), outputs.Data(), frames);
  } else if (slot == TProcessingSlot::Replacing) {
    effect.ProcessReplacing(inputs.Data(), outputs.Data(), frames);
  } else {
    for (std::size_t channel = 0; channel < outputs.Channels(); ++channel)
      Silence(outputs[channel], 0);
    effect.Process(inputs.Data(), outputs.Data(), frames);
  }
}

}  // namespace

TProcessingSlot ChooseProcessingSlot(const AEffect& record, bool doublePrecision) {
  if (doublePrecision) {
    if ((record.flags & effFlagsCanDoubleReplacing) == 0 ||
        record.processDoubleReplacing == nullptr) {
      throw std::runtime_error(
          "The plug-in cannot process in double precision (no processDoubleReplacing)");
    }
    return TProcessingSlot::DoubleReplacing;
  }
  if ((record.flags & effFlagsCanReplacing) != 0 && record.processReplacing != nullptr) {
    return TProcessingSlot::Replacing;
  }
  if (record.process != nullptr) return TProcessingSlot::Accumulating;
  throw std::runtime_error("The plug-in has no single-precision processing slot");
}

void CheckChannelLayout(const AEffect& record, int channels) {
  if (channels < 1 || channels > kMostChannels) {
    throw std::runtime_error("The input has " + std::to_string(channels) +
                             " channels; only mono and stereo are rendered");
  }
  if (record.numInputs < channels || record.numOutputs < channels) {
    throw std::runtime_error("The plug-in has " + std::to_string(record.numInputs) +
                             " inputs and " + std::to_string(record.numOutputs) +
                             " outputs; the input has " + std::to_string(channels) + " channels");
  }
}

template <class Sample>
std::uint64_t RenderBlocks(TEffect& effect, TProcessingSlot slot, const TRenderShape& shape,
                           const TRenderIo<Sample>& io) {
  if (shape.BlockSize == 0 || shape.BlockSize > static_cast<std::size_t>(kMaxBlockSize)) {
    throw std::invalid_argument("The block size is out of range");
  }
  if ((slot == TProcessingSlot::DoubleReplacing) != std::is_same_v<Sample, double>) {
    throw std::logic_error("The processing slot does not take these samples");
  }
  const AEffect& record = *effect.Record();
  CheckChannelLayout(record, shape.Channels);
  const auto channels = static_cast<std::size_t>(shape.Channels);
  TChannelBuffers<Sample> inputs(BufferChannels(record.numInputs, shape.Channels), shape.BlockSize);
  TChannelBuffers<Sample> outputs(BufferChannels(record.numOutputs, shape.Channels),
                                  shape.BlockSize);
  // A mono source feeds the second input too.
  const bool mono = shape.Channels == 1 && record.numInputs >= kMostChannels;

  std::uint64_t done = 0;
  std::uint64_t tailLeft = shape.TailFrames;
  bool sourceEnded = false;
  while (true) {
    std::size_t frames = 0;
    if (!sourceEnded) {
      frames = io.Read(inputs.Data(), shape.BlockSize);
      sourceEnded = frames < shape.BlockSize;
    }
    const auto tail = static_cast<std::size_t>(
        std::min<std::uint64_t>(tailLeft, static_cast<std::uint64_t>(shape.BlockSize - frames)));
    tailLeft -= tail;
    // Silence after the source, and on every input the source does not
    // feed: a plug-in may have written into its inputs.
    for (std::size_t channel = 0; channel < channels; ++channel)
      Silence(inputs[channel], frames);
    frames += tail;
    if (frames == 0) break;
    if (mono) std::copy(inputs[0].begin(), inputs[0].end(), inputs[1].begin());
    for (std::size_t channel = mono ? kMostChannels : channels; channel < inputs.Channels();
         ++channel) {
      Silence(inputs[channel], 0);
    }

    Call(effect, slot, inputs, outputs, static_cast<VstInt32>(frames));
    io.Write(outputs.Data(), frames);
    done += frames;
    if (io.Progress) io.Progress(done);
  }
  return done;
}

template std::uint64_t RenderBlocks<float>(TEffect&, TProcessingSlot, const TRenderShape&,
                                           const TRenderIo<float>&);
template std::uint64_t RenderBlocks<double>(TEffect&, TProcessingSlot, const TRenderShape&,
                                            const TRenderIo<double>&);
