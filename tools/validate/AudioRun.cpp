#include "tools/validate/AudioRun.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <random>
#include <stdexcept>

namespace {

template <class Sample>
struct TBlockBuffers {
  std::vector<std::vector<Sample>> In;
  std::vector<std::vector<Sample>> Out;
  std::vector<Sample*> InPointers;
  std::vector<Sample*> OutPointers;

  TBlockBuffers(std::size_t inputs, std::size_t outputs, std::size_t frames, bool inPlace)
      : In(std::max(inputs, outputs), std::vector<Sample>(frames)),
        Out(outputs, std::vector<Sample>(frames)) {
    for (auto& channel : In)
      InPointers.push_back(channel.data());
    // In place, each output shares the input of the same number; outputs
    // beyond the inputs have storage of their own.
    for (std::size_t channel = 0; channel < outputs; ++channel) {
      OutPointers.push_back(inPlace && channel < inputs ? In[channel].data() : Out[channel].data());
    }
  }
};

template <class Sample>
void RunIn(TTestedInstance& instance, const TAudio& input, const TRunSettings& settings,
           TAudio& output) {
  const std::size_t inputs = static_cast<std::size_t>(instance.Inputs());
  const std::size_t outputs = static_cast<std::size_t>(instance.Outputs());
  const std::size_t frames = input.empty() ? 0 : input.front().size();
  const std::size_t largest =
      *std::max_element(settings.BlockSizes.begin(), settings.BlockSizes.end());
  TBlockBuffers<Sample> buffers(inputs, outputs, largest, settings.InPlace);
  output.assign(outputs, std::vector<double>(frames));
  std::size_t position = 0;
  for (std::size_t call = 0; position < frames; ++call) {
    const std::size_t block =
        std::min(settings.BlockSizes[call % settings.BlockSizes.size()], frames - position);
    for (std::size_t channel = 0; channel < buffers.In.size(); ++channel) {
      const auto& source = input[std::min(channel, input.size() - 1)];
      std::transform(source.begin() + static_cast<std::ptrdiff_t>(position),
                     source.begin() + static_cast<std::ptrdiff_t>(position + block),
                     buffers.In[channel].begin(),
                     [](double sample) { return static_cast<Sample>(sample); });
    }
    const auto count = static_cast<VstInt32>(block);
    if constexpr (std::is_same_v<Sample, float>) {
      instance.ProcessFloat(buffers.InPointers.data(), buffers.OutPointers.data(), count);
    } else {
      instance.ProcessDouble(buffers.InPointers.data(), buffers.OutPointers.data(), count);
    }
    for (std::size_t channel = 0; channel < outputs; ++channel) {
      const Sample* produced = buffers.OutPointers[channel];
      std::copy(produced, produced + block,
                output[channel].begin() + static_cast<std::ptrdiff_t>(position));
    }
    position += block;
  }
}

}  // namespace

TAudio Silence(std::size_t channels, std::size_t frames) {
  return TAudio(channels, std::vector<double>(frames, 0.0));
}

TAudio Noise(std::size_t channels, std::size_t frames, double peak, std::uint64_t seed) {
  std::mt19937_64 generator(seed);
  std::uniform_real_distribution<double> sample(-peak, peak);
  TAudio audio(channels, std::vector<double>(frames));
  for (std::size_t frame = 0; frame < frames; ++frame) {
    for (auto& channel : audio)
      channel[frame] = sample(generator);
  }
  return audio;
}

TAudio Sine(std::size_t channels, std::size_t frames, double sampleRate, double frequency,
            double peakDb) {
  const double peak = std::pow(10.0, peakDb / 20.0);
  std::vector<double> wave(frames);
  for (std::size_t frame = 0; frame < frames; ++frame) {
    wave[frame] = peak * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(frame) /
                                  sampleRate);
  }
  return TAudio(channels, wave);
}

TAudio Joined(TAudio a, const TAudio& b) {
  if (a.empty()) return b;
  for (std::size_t channel = 0; channel < a.size() && channel < b.size(); ++channel)
    a[channel].insert(a[channel].end(), b[channel].begin(), b[channel].end());
  return a;
}

TAudio Run(TTestedInstance& instance, const TAudio& input, const TRunSettings& settings) {
  if (settings.BlockSizes.empty()) throw std::invalid_argument("No block size to run with");
  if (input.empty() && instance.Inputs() > 0)
    throw std::invalid_argument("No input for a plug-in with inputs");
  TAudio output;
  if (settings.Precision == TPrecision::Double) {
    RunIn<double>(instance, input, settings, output);
  } else {
    RunIn<float>(instance, input, settings, output);
  }
  return output;
}

std::string FirstAbnormalSample(const TAudio& audio, TPrecision precision) {
  const double smallest = precision == TPrecision::Double ? DBL_MIN : FLT_MIN;
  for (std::size_t channel = 0; channel < audio.size(); ++channel) {
    for (std::size_t frame = 0; frame < audio[channel].size(); ++frame) {
      const double sample = audio[channel][frame];
      const char* kind = nullptr;
      if (std::isnan(sample)) {
        kind = "NaN";
      } else if (std::isinf(sample)) {
        kind = "an infinity";
      } else if (sample != 0.0 && std::fabs(sample) < smallest) {
        kind = "a subnormal number";
      }
      if (kind != nullptr) {
        return std::string(kind) + " in output " + std::to_string(channel + 1) + " at frame " +
               std::to_string(frame);
      }
    }
  }
  return "";
}

std::string TDifference::Text() const {
  char amount[32];
  std::snprintf(amount, sizeof amount, "%.3g", Amount);
  return std::string(amount) + " at frame " + std::to_string(Frame) + " of output " +
         std::to_string(Channel + 1);
}

TDifference LargestDifference(const TAudio& a, const TAudio& b, std::size_t fromFrame) {
  TDifference largest;
  if (a.size() != b.size()) {
    largest.Amount = std::numeric_limits<double>::infinity();
    return largest;
  }
  for (std::size_t channel = 0; channel < a.size(); ++channel) {
    if (a[channel].size() != b[channel].size()) {
      largest = {std::numeric_limits<double>::infinity(), channel, 0};
      return largest;
    }
    for (std::size_t frame = fromFrame; frame < a[channel].size(); ++frame) {
      const double x = a[channel][frame];
      const double y = b[channel][frame];
      if (x == y || (std::isnan(x) && std::isnan(y))) continue;
      double difference = std::fabs(x - y);
      if (std::isnan(difference)) difference = std::numeric_limits<double>::infinity();
      if (difference > largest.Amount) largest = {difference, channel, frame};
    }
  }
  return largest;
}

double Peak(const TAudio& audio, std::size_t fromFrame) {
  double peak = 0.0;
  for (const auto& channel : audio) {
    for (std::size_t frame = fromFrame; frame < channel.size(); ++frame) {
      if (std::isfinite(channel[frame])) peak = std::max(peak, std::fabs(channel[frame]));
    }
  }
  return peak;
}
