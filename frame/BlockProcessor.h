#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Regroups the host's blocks, whatever their size, into blocks of a fixed
// size for a processing handler. Each block is processed the moment it is
// complete; its output is heard one block later, so the output lags the input
// by size - overlap samples. Consecutive blocks share `overlap` input samples.
template <class Sample>
class TBlockProcessor {
 public:
  // Sizes the buffers, keeping the samples already there (new ones are 0).
  void SetUp(int inputs, int outputs, int size, int overlap) {
    Resize(Inputs, InputPointers, inputs, size);
    Resize(Outputs, OutputPointers, outputs, size);
    Position = overlap;
  }

  void Release() {
    Inputs.clear();
    Outputs.clear();
    InputPointers.clear();
    OutputPointers.clear();
  }

  void SetPosition(int position) { Position = position; }
  int BlockPosition() const { return Position; }

  // handler(inputs, outputs, size) overwrites the output buffers with the
  // next block.
  template <class Handler>
  void Process(Sample* const* inputs, Sample* const* outputs, int frames, int size, int overlap,
               Handler&& handler) {
    if (Inputs.empty() && Outputs.empty()) return;
    int done = 0;
    while (done < frames) {
      const int remaining = frames - done;
      const bool completesBlock = remaining + Position >= size;
      const int count = completesBlock ? size - Position : remaining;
      for (std::size_t c = 0; c < Inputs.size(); ++c)
        std::copy_n(inputs[c] + done, count, Inputs[c].begin() + Position);
      for (std::size_t c = 0; c < Outputs.size(); ++c)
        std::copy_n(Outputs[c].begin() + Position, count, outputs[c] + done);
      done += count;
      if (!completesBlock) {
        Position += count;
        break;
      }
      handler(InputPointers.data(), OutputPointers.data(), size);
      for (auto& channel : Inputs)
        std::copy(channel.end() - overlap, channel.end(), channel.begin());
      Position = overlap;
    }
  }

 private:
  static void Resize(std::vector<std::vector<Sample>>& buffers, std::vector<Sample*>& pointers,
                     int channels, int size) {
    buffers.resize(static_cast<std::size_t>(std::max(channels, 0)));
    pointers.resize(buffers.size());
    for (std::size_t c = 0; c < buffers.size(); ++c) {
      buffers[c].resize(static_cast<std::size_t>(size), Sample(0));
      pointers[c] = buffers[c].data();
    }
  }

  std::vector<std::vector<Sample>> Inputs, Outputs;
  std::vector<Sample*> InputPointers, OutputPointers;
  int Position = 0;
};

// Passes each input channel to the output of the same index; further outputs
// are left alone.
template <class Sample>
void CopyChannels(Sample* const* inputs, Sample* const* outputs, int frames, int numInputs,
                  int numOutputs) {
  for (int c = 0; c < std::min(numInputs, numOutputs); ++c)
    std::copy_n(inputs[c], frames, outputs[c]);
}

template <class Sample>
void MuteChannels(Sample* const* outputs, int frames, int numOutputs) {
  for (int c = 0; c < numOutputs; ++c)
    std::fill_n(outputs[c], frames, Sample(0));
}
