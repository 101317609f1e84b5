#pragma once

#include <cstddef>
#include <vector>

// Audio buffers as a host hands them to a processing slot: one array of
// samples per channel and an array of pointers to them.
template <class Sample>
class TChannelBuffers {
 public:
  TChannelBuffers(std::size_t channels, std::size_t frames, Sample fill = Sample(0))
      : Samples(channels, std::vector<Sample>(frames, fill)), Pointers(channels) {
    for (std::size_t channel = 0; channel < channels; ++channel) {
      Pointers[channel] = Samples[channel].data();
    }
  }

  // The channel pointers, taken afresh: a channel given new storage (by
  // assigning another vector to it) is still what the plug-in sees.
  Sample** Data() {
    for (std::size_t channel = 0; channel < Samples.size(); ++channel)
      Pointers[channel] = Samples[channel].data();
    return Pointers.data();
  }
  std::vector<Sample>& operator[](std::size_t channel) { return Samples[channel]; }
  const std::vector<Sample>& operator[](std::size_t channel) const { return Samples[channel]; }
  std::size_t Channels() const { return Samples.size(); }
  std::size_t Frames() const { return Samples.empty() ? 0 : Samples.front().size(); }

 private:
  std::vector<std::vector<Sample>> Samples;
  std::vector<Sample*> Pointers;
};
