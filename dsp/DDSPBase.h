#pragma once

#include <cstddef>
#include <vector>

// Sample arrays shared by the frame and the DSP code.
//
// TSingleArray and TDoubleArray own their samples and can grow. At the
// processing interface the host hands in arrays of channel pointers; those are
// wrapped by TChannelArrays, a non-owning view that never copies. The view
// knows no length: channel counts come from the module's numInputs and
// numOutputs, sample counts from the processing call.

using TSingleArray = std::vector<float>;
using TDoubleArray = std::vector<double>;

template <class Sample>
class TChannelArrays {
 public:
  TChannelArrays() = default;
  explicit TChannelArrays(Sample** channels) : Channels(channels) {}

  Sample* operator[](std::ptrdiff_t channel) const { return Channels[channel]; }
  Sample** Data() const { return Channels; }
  explicit operator bool() const { return Channels != nullptr; }

 private:
  Sample** Channels = nullptr;
};

using TArrayOfSingleArray = TChannelArrays<float>;
using TArrayOfDoubleArray = TChannelArrays<double>;
