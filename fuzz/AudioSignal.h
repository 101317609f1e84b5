#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "fuzz/FuzzInput.h"

// The audio a host hands to a processing slot: one block of exactly the
// stated length per channel (so a read or write past it is a sanitizer
// report), filled from the input as silence, a sine, noise or raw sample
// values, now and then with NaN, infinities, subnormals or huge values
// dropped in.
template <class Sample>
class TAudioBlock {
 public:
  TAudioBlock(std::size_t channels, std::size_t frames);

  Sample** Channels() { return Pointers.get(); }
  Sample* operator[](std::size_t channel) { return Samples[channel].get(); }
  std::size_t Frames() const { return FrameCount; }

  void Fill(Sample value);
  void FillFrom(TFuzzInput& input);

  // What the block holds, judged sample by sample.
  bool AllFinite() const;
  // Finite and at most kTameLevel in magnitude: input the effect must turn
  // into finite output.
  bool AllTame() const;
  // Some sample is finite but above kTameLevel.
  bool AnyHuge() const;

  // Above this magnitude an input is huge: the effect limits nothing, so its
  // polynomial may overflow for a while.
  static constexpr double kTameLevel = 1000.0;

 private:
  std::size_t ChannelCount;
  std::size_t FrameCount;
  std::vector<std::unique_ptr<Sample[]>> Samples;
  // Exactly one pointer per channel, on the heap for the same reason.
  std::unique_ptr<Sample*[]> Pointers;
};

extern template class TAudioBlock<float>;
extern template class TAudioBlock<double>;
