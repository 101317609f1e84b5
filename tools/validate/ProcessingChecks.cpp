#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/TestedPlugin.h"

namespace {

// The level from which every rate, block size and precision is tried.
constexpr int kFullLevel = 5;
constexpr double kRates[] = {44100.0, 48000.0, 96000.0};
constexpr std::size_t kBlockSizes[] = {1, 7, 64, 512, 4096};
// Announced as the largest block, then exceeded, as hosts rendering in
// blocks of 8192 do.
constexpr std::size_t kAnnouncedBlock = 512;
constexpr std::size_t kBeyondAnnounced = 8192;
constexpr std::size_t kInPlaceBlock = 512;

constexpr double kSignalSeconds = 0.25;
constexpr double kNoisePeak = 0.5;
constexpr double kSineHz = 1000.0;
constexpr double kSineLevelsDb[] = {-60.0, -20.0, 0.0, 6.0};
// Silence first: settling time, then the span judged. Silence after the
// signals shows subnormal numbers in decaying tails.
constexpr double kSettleSeconds = 1.0;
constexpr double kJudgedSeconds = 0.5;
constexpr double kTailSeconds = 0.5;
constexpr double kSilenceTolerance = 1e-6;

constexpr double kInvarianceSeconds = 1.0;
constexpr double kInvarianceTolerance = 1e-6;
constexpr std::size_t kReferenceBlock = 512;
const std::vector<std::size_t> kMixedBlocks{1, 7, 64, 4096, 333, 512, 2};

std::size_t Frames(double seconds, double rate) {
  return static_cast<std::size_t>(seconds * rate);
}

std::size_t Channels(const TTestedInstance& instance) {
  return std::max<std::size_t>(static_cast<std::size_t>(instance.Inputs()), 1);
}

// Silence, noise, sines from quiet to beyond full scale, then silence again.
TAudio TestSignal(std::size_t channels, double rate, std::uint64_t seed) {
  const std::size_t frames = Frames(kSignalSeconds, rate);
  TAudio signal = Joined(Silence(channels, Frames(kSettleSeconds + kJudgedSeconds, rate)),
                         Noise(channels, frames, kNoisePeak, seed));
  for (const double level : kSineLevelsDb)
    signal = Joined(signal, Sine(channels, frames, rate, kSineHz, level));
  return Joined(signal, Silence(channels, Frames(kTailSeconds, rate)));
}

// The span of the output that silent input, after settling, must keep
// silent or constant.
struct TJudgedSpan {
  std::size_t From;
  std::size_t To;
};

TJudgedSpan SilenceSpan(double rate) {
  return {Frames(kSettleSeconds, rate), Frames(kSettleSeconds + kJudgedSeconds, rate)};
}

struct TCase {
  double Rate;
  TPrecision Precision;
  std::size_t Announced;
  std::size_t Block;
  bool InPlace;
};

std::string Describe(const TCase& test) {
  return std::string(test.Precision == TPrecision::Double ? "double" : "single") +
         " precision at " + std::to_string(static_cast<int>(test.Rate)) + " Hz, blocks of " +
         std::to_string(test.Block) +
         (test.Announced != test.Block ? " (announced " + std::to_string(test.Announced) + ")"
                                       : "") +
         (test.InPlace ? ", in place" : "");
}

TAudio RunCase(TTestedPlugin& plugin, const TCase& test, const TAudio& input) {
  auto instance = plugin.Open();
  instance->Resume(test.Rate, static_cast<VstInt32>(test.Announced));
  TRunSettings settings;
  settings.Precision = test.Precision;
  settings.BlockSizes = {test.Block};
  settings.InPlace = test.InPlace;
  TAudio output = Run(*instance, input, settings);
  instance->Close();
  return output;
}

void JudgeCase(const TCase& test, const TAudio& output, TJudgedSpan silence) {
  const std::string abnormal = FirstAbnormalSample(output, test.Precision);
  Require(abnormal.empty(), abnormal + ", " + Describe(test));
  for (std::size_t channel = 0; channel < output.size(); ++channel) {
    const auto& samples = output[channel];
    const auto [low, high] =
        std::minmax_element(samples.begin() + static_cast<std::ptrdiff_t>(silence.From),
                            samples.begin() + static_cast<std::ptrdiff_t>(silence.To));
    Require(*high - *low <= kSilenceTolerance, "output " + std::to_string(channel + 1) +
                                                   " moves by " + std::to_string(*high - *low) +
                                                   " after 1 s of silent input, " + Describe(test));
  }
}

std::vector<TPrecision> Precisions(const TTestedInstance& instance, bool full) {
  if (full && instance.HasDouble()) return {TPrecision::Single, TPrecision::Double};
  return {TPrecision::Single};
}

}  // namespace

void CheckProcessing(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  const bool full = context.Level >= kFullLevel;
  std::vector<TPrecision> precisions;
  std::size_t channels = 1;
  {
    auto probe = plugin.Open();
    precisions = Precisions(*probe, full);
    channels = Channels(*probe);
    probe->Close();
  }
  const std::vector<double> rates =
      full ? std::vector<double>(std::begin(kRates), std::end(kRates)) : std::vector{kRates[0]};
  const std::vector<std::size_t> blocks =
      full ? std::vector<std::size_t>(std::begin(kBlockSizes), std::end(kBlockSizes))
           : std::vector<std::size_t>{64, 512};
  for (int round = 0; round < context.Repeats; ++round) {
    for (const double rate : rates) {
      const TAudio input = TestSignal(channels, rate, context.Seed + round);
      const TJudgedSpan silence = SilenceSpan(rate);
      for (const TPrecision precision : precisions) {
        std::vector<TCase> cases;
        for (const std::size_t block : blocks)
          cases.push_back({rate, precision, block, block, false});
        if (full) cases.push_back({rate, precision, kAnnouncedBlock, kBeyondAnnounced, false});
        TAudio reference;
        for (const TCase& test : cases) {
          SetCheckStep("processing in " + Describe(test));
          const TAudio output = RunCase(plugin, test, input);
          JudgeCase(test, output, silence);
          if (test.Block == kInPlaceBlock) reference = output;
        }
        // In place, the outputs overwrite the inputs as the plug-in goes:
        // it must give what it gives with separate buffers.
        const TCase inPlace{rate, precision, kInPlaceBlock, kInPlaceBlock, true};
        SetCheckStep("processing in " + Describe(inPlace));
        const TAudio output = RunCase(plugin, inPlace, input);
        JudgeCase(inPlace, output, silence);
        const TDifference difference = LargestDifference(output, reference);
        Require(difference.Amount <= kInvarianceTolerance * std::max(1.0, Peak(reference)),
                "in-place buffers give other output than separate ones (by " + difference.Text() +
                    "), " + Describe(inPlace));
      }
    }
  }
}

void CheckBlockInvariance(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  std::vector<TPrecision> precisions;
  std::size_t channels = 1;
  {
    auto probe = plugin.Open();
    if (probe->Record().initialDelay != 0) {
      throw TCheckSkipped("the plug-in reports an initial delay of " +
                          std::to_string(probe->Record().initialDelay) + " frames");
    }
    precisions = Precisions(*probe, true);
    channels = Channels(*probe);
    probe->Close();
  }
  const double rate = kRates[0];
  const std::size_t announced = *std::max_element(kMixedBlocks.begin(), kMixedBlocks.end());
  for (int round = 0; round < context.Repeats; ++round) {
    const TAudio input =
        Joined(Noise(channels, Frames(kInvarianceSeconds, rate), kNoisePeak, context.Seed + round),
               Sine(channels, Frames(kInvarianceSeconds, rate), rate, kSineHz, 0.0));
    for (const TPrecision precision : precisions) {
      const char* precisionName = precision == TPrecision::Double ? "double" : "single";
      SetCheckStep(std::string("block invariance in ") + precisionName + " precision");
      TAudio outputs[2];
      const std::vector<std::size_t> blockSizes[2] = {{kReferenceBlock}, kMixedBlocks};
      for (int run = 0; run < 2; ++run) {
        auto instance = plugin.Open();
        instance->Resume(rate, static_cast<VstInt32>(announced));
        TRunSettings settings;
        settings.Precision = precision;
        settings.BlockSizes = blockSizes[run];
        outputs[run] = Run(*instance, input, settings);
        instance->Close();
      }
      const TDifference difference = LargestDifference(outputs[0], outputs[1]);
      Require(difference.Amount <= kInvarianceTolerance * std::max(1.0, Peak(outputs[0])),
              std::string("blocks of mixed sizes give other output than blocks of 512 (by ") +
                  difference.Text() + ") in " + precisionName +
                  " precision; --skip block-invariance if that is by design");
    }
  }
}
