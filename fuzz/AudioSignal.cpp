#include "fuzz/AudioSignal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace {

enum : std::uint8_t { kSilence, kSine, kNoise, kRawValues, kSignalKinds };

// Sine levels from -60 dBFS to +12 dBFS.
constexpr std::array<double, 6> kSineLevels = {0.001, 0.1, 0.5, 1.0, 2.0, 4.0};
// One input in this many gets special values dropped in.
constexpr std::uint8_t kSpecialOdds = 4;
constexpr std::size_t kMaxSpecialSamples = 8;
constexpr std::size_t kMaxPatternSamples = 16;
// Periods of the sine, in frames, are between these.
constexpr std::size_t kShortestPeriod = 2;
constexpr std::size_t kLongestPeriod = 2048;
// A small linear congruential generator: noise that costs little input.
constexpr std::uint32_t kNoiseMultiplier = 1664525u;
constexpr std::uint32_t kNoiseIncrement = 1013904223u;
constexpr double kNoiseScale = 1.0 / 2147483648.0;

template <class Sample>
Sample SpecialValue(TFuzzInput& input) {
  using Limits = std::numeric_limits<Sample>;
  const std::array<Sample, 10> values = {
      Limits::quiet_NaN(),   Limits::infinity(), -Limits::infinity(), Limits::denorm_min(),
      -Limits::denorm_min(), Limits::min() / 2,  Limits::max(),       -Limits::max(),
      Sample(1.0e5),         Sample(-3.0e4)};
  return values[input.Below(values.size())];
}

}  // namespace

template <class Sample>
TAudioBlock<Sample>::TAudioBlock(std::size_t channels, std::size_t frames)
    : ChannelCount(channels), FrameCount(frames), Pointers(new Sample*[channels]) {
  for (std::size_t c = 0; c < channels; ++c) {
    Samples.emplace_back(new Sample[frames]);
    Pointers[c] = Samples.back().get();
  }
}

template <class Sample>
void TAudioBlock<Sample>::Fill(Sample value) {
  for (auto& channel : Samples)
    std::fill(channel.get(), channel.get() + FrameCount, value);
}

template <class Sample>
void TAudioBlock<Sample>::FillFrom(TFuzzInput& input) {
  switch (input.Byte() % kSignalKinds) {
    case kSilence:
      Fill(Sample(0));
      break;
    case kSine: {
      const double level = kSineLevels[input.Below(kSineLevels.size())];
      const double period =
          static_cast<double>(kShortestPeriod + input.Below(kLongestPeriod - kShortestPeriod));
      for (auto& channel : Samples)
        for (std::size_t n = 0; n < FrameCount; ++n)
          channel[n] = static_cast<Sample>(
              level * std::sin(2.0 * std::numbers::pi * static_cast<double>(n) / period));
      break;
    }
    case kNoise: {
      std::uint32_t state = input.Uint32();
      for (auto& channel : Samples)
        for (std::size_t n = 0; n < FrameCount; ++n) {
          state = state * kNoiseMultiplier + kNoiseIncrement;
          channel[n] = static_cast<Sample>(static_cast<double>(static_cast<std::int32_t>(state)) *
                                           kNoiseScale);
        }
      break;
    }
    default: {
      // Any sample values: a short pattern of them, repeated.
      std::vector<Sample> pattern(1 + input.Below(kMaxPatternSamples));
      for (Sample& value : pattern)
        value = static_cast<Sample>(input.Double());
      for (auto& channel : Samples)
        for (std::size_t n = 0; n < FrameCount; ++n)
          channel[n] = pattern[n % pattern.size()];
      break;
    }
  }
  if (FrameCount == 0 || input.Byte() % kSpecialOdds != 0) return;
  const std::size_t count = 1 + input.Below(kMaxSpecialSamples);
  for (std::size_t k = 0; k < count; ++k)
    Samples[input.Below(ChannelCount)][input.Below(FrameCount)] = SpecialValue<Sample>(input);
}

template <class Sample>
bool TAudioBlock<Sample>::AllFinite() const {
  for (const auto& channel : Samples)
    for (std::size_t n = 0; n < FrameCount; ++n)
      if (!std::isfinite(channel[n])) return false;
  return true;
}

template <class Sample>
bool TAudioBlock<Sample>::AllTame() const {
  for (const auto& channel : Samples)
    for (std::size_t n = 0; n < FrameCount; ++n)
      if (!(std::fabs(static_cast<double>(channel[n])) <= kTameLevel)) return false;
  return true;
}

template <class Sample>
bool TAudioBlock<Sample>::AnyHuge() const {
  for (const auto& channel : Samples)
    for (std::size_t n = 0; n < FrameCount; ++n)
      if (std::isfinite(channel[n]) && std::fabs(static_cast<double>(channel[n])) > kTameLevel)
        return true;
  return false;
}

template class TAudioBlock<float>;
template class TAudioBlock<double>;
