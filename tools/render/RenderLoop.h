#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "frame/DVSTEffect.h"
#include "tools/host/Effect.h"

// The processing loop of an offline render: blocks of a source go through a
// plug-in into a sink, followed by a tail of silence.

// Which of the record's processing slots a render drives.
enum class TProcessingSlot {
  // processReplacing: the plug-in writes its outputs.
  Replacing,
  // process: the plug-in adds to its outputs, which are zeroed before.
  Accumulating,
  // processDoubleReplacing.
  DoubleReplacing,
};

// processDoubleReplacing for double precision; otherwise processReplacing when
// the plug-in offers it, else process. Throws std::runtime_error when the
// plug-in lacks what is asked.
TProcessingSlot ChooseProcessingSlot(const AEffect& record, bool doublePrecision);

// Checks that channels (of the source and of the result) fit the plug-in:
// one or two channels; a mono source feeds the plug-in's first two inputs
// and the result is its first output. Throws std::runtime_error otherwise.
void CheckChannelLayout(const AEffect& record, int channels);

struct TRenderShape {
  int Channels = 0;
  std::size_t BlockSize = 0;
  std::uint64_t TailFrames = 0;
};

template <class Sample>
struct TRenderIo {
  // Fills channels[0 .. Channels) with up to frames frames; answers the
  // frames filled, fewer only at the end of the source.
  std::function<std::size_t(Sample* const* channels, std::size_t frames)> Read;
  // Takes channels[0 .. Channels) of frames frames.
  std::function<void(const Sample* const* channels, std::size_t frames)> Write;
  // Told the frames rendered so far after each block; may be empty. It may
  // throw to stop the render.
  std::function<void(std::uint64_t frames)> Progress;
};

// Runs the whole source and the tail through the slot, at most BlockSize
// frames per call. The plug-in must be resumed. Answers the frames written.
template <class Sample>
std::uint64_t RenderBlocks(TEffect& effect, TProcessingSlot slot, const TRenderShape& shape,
                           const TRenderIo<Sample>& io);
