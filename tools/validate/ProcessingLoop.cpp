#include "tools/validate/ProcessingLoop.h"

#include <algorithm>
#include <type_traits>

template <class Sample>
TProcessingLoop<Sample>::TProcessingLoop(TTestedInstance& instance, const TAudio& input)
    : Instance(instance), Frames(static_cast<VstInt32>(input.front().size())) {
  const std::size_t frames = input.front().size();
  for (std::size_t channel = 0; channel < static_cast<std::size_t>(instance.Inputs()); ++channel) {
    const auto& source = input[std::min(channel, input.size() - 1)];
    Inputs.emplace_back(source.begin(), source.end());
  }
  Outputs.assign(static_cast<std::size_t>(instance.Outputs()), std::vector<Sample>(frames));
  for (auto& channel : Inputs)
    InPointers.push_back(channel.data());
  for (auto& channel : Outputs)
    OutPointers.push_back(channel.data());
}

template <class Sample>
void TProcessingLoop<Sample>::Call() {
  if constexpr (std::is_same_v<Sample, float>) {
    Instance.ProcessFloat(InPointers.data(), OutPointers.data(), Frames);
  } else {
    Instance.ProcessDouble(InPointers.data(), OutPointers.data(), Frames);
  }
}

template <class Sample>
std::string TProcessingLoop<Sample>::Abnormal() const {
  TAudio outputs;
  for (const auto& channel : Outputs)
    outputs.emplace_back(channel.begin(), channel.end());
  return FirstAbnormalSample(
      outputs, std::is_same_v<Sample, float> ? TPrecision::Single : TPrecision::Double);
}

template class TProcessingLoop<float>;
template class TProcessingLoop<double>;
