#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/ProcessingLoop.h"
#include "tools/validate/TestedPlugin.h"

namespace {

constexpr double kRate = 44100.0;
constexpr VstInt32 kBlock = 512;
constexpr VstInt32 kMostParameters = 256;
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kBadValues[] = {
    -1.0f, 2.0f, -1e30f, 1e30f, kInfinity, -kInfinity, std::numeric_limits<float>::quiet_NaN()};
// Automation: rounds of changes to every parameter, then the time the
// processing thread keeps running after the last change.
constexpr int kAutomationRounds = 200;
constexpr auto kBetweenRounds = std::chrono::milliseconds(1);
// The processing thread checks its output every so many calls.
constexpr int kCallsPerJudgement = 16;
constexpr auto kAfterLastChange = std::chrono::milliseconds(100);
// The quiet and the automated instance are compared after both had this
// long to settle on the same input.
constexpr double kSettleSeconds = 1.0;
constexpr double kCompareSeconds = 0.5;
constexpr double kTolerance = 1e-5;

std::string ValueText(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
  return std::to_string(value);
}

std::size_t Channels(const TTestedInstance& instance) {
  return std::max<std::size_t>(static_cast<std::size_t>(instance.Inputs()), 1);
}

// A parameter value at least 0.1 away from the one before it, so that a
// lost update shows.
float Distinct(float previous, std::mt19937_64& generator) {
  std::uniform_real_distribution<float> value(0.0f, 1.0f);
  for (;;) {
    const float next = value(generator);
    if (std::fabs(next - previous) >= 0.1f) return next;
  }
}

}  // namespace

void CheckParameterValues(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  for (int round = 0; round < context.Repeats; ++round) {
    auto instance = plugin.Open();
    instance->Resume(kRate, kBlock);
    const TAudio input = Noise(Channels(*instance), kBlock, 0.5, context.Seed + round);
    const VstInt32 parameters = std::min(instance->Parameters(), kMostParameters);
    for (VstInt32 index = 0; index < parameters; ++index) {
      for (const float bad : kBadValues) {
        const std::string what = "parameter " + std::to_string(index) + " set to " + ValueText(bad);
        SetCheckStep(what);
        instance->SetParameter(index, bad);
        const float answer = instance->GetParameter(index);
        Require(std::isfinite(answer),
                "getParameter answered " + ValueText(answer) + " after " + what);
        const std::string abnormal =
            FirstAbnormalSample(Run(*instance, input, {}), TPrecision::Single);
        Require(abnormal.empty(), abnormal + " with " + what);
      }
      instance->SetParameter(index, 0.5f);
    }
    SetCheckStep("processing after valid values again");
    const std::string abnormal = FirstAbnormalSample(Run(*instance, input, {}), TPrecision::Single);
    Require(abnormal.empty(), abnormal + " after every parameter was set back to 0.5");
    instance->Close();
  }
}

void CheckAutomation(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  for (int round = 0; round < context.Repeats; ++round) {
    SetCheckStep("automation while another thread processes");
    auto automated = plugin.Open();
    const VstInt32 parameters = std::min(automated->Parameters(), kMostParameters);
    if (parameters == 0) throw TCheckSkipped("the plug-in has no parameters");
    automated->Resume(kRate, kBlock);
    const std::size_t channels = Channels(*automated);
    const TAudio block = Noise(channels, kBlock, 0.5, context.Seed + round);

    std::atomic<bool> started{false};
    std::atomic<bool> stop{false};
    std::string processingFailure;
    // Call after call with nothing in between, as an audio thread does, so
    // that the changes land while the plug-in processes.
    std::thread processing([&] {
      try {
        TProcessingLoop<float> loop(*automated, block);
        for (int call = 1; !stop.load(std::memory_order_acquire); ++call) {
          loop.Call();
          started.store(true, std::memory_order_release);
          if (call % kCallsPerJudgement != 0) continue;
          const std::string abnormal = loop.Abnormal();
          if (!abnormal.empty()) {
            processingFailure = abnormal + " while parameters were automated";
            return;
          }
        }
      } catch (const std::exception& error) {
        processingFailure = error.what();
      }
      started.store(true, std::memory_order_release);
    });
    std::vector<float> finalValues(static_cast<std::size_t>(parameters));
    std::thread automation([&] {
      while (!started.load(std::memory_order_acquire))
        std::this_thread::yield();
      std::mt19937_64 generator(context.Seed + static_cast<std::uint64_t>(round));
      std::vector<float> values(finalValues.size(), 0.5f);
      for (int change = 0; change < kAutomationRounds; ++change) {
        for (VstInt32 index = 0; index < parameters; ++index) {
          auto& value = values[static_cast<std::size_t>(index)];
          value = Distinct(value, generator);
          automated->SetParameter(index, value);
        }
        std::this_thread::sleep_for(kBetweenRounds);
      }
      finalValues = values;
    });
    automation.join();
    std::this_thread::sleep_for(kAfterLastChange);
    stop.store(true, std::memory_order_release);
    processing.join();
    Require(processingFailure.empty(), processingFailure);

    SetCheckStep("comparing with a quiet instance set to the final values");
    auto quiet = plugin.Open();
    for (VstInt32 index = 0; index < parameters; ++index)
      quiet->SetParameter(index, finalValues[static_cast<std::size_t>(index)]);
    // Both start from a resume, which clears what a plug-in keeps running
    // (delay lines, modulation phases) where it clears anything.
    automated->Resume(kRate, kBlock);
    quiet->Resume(kRate, kBlock);
    const auto settle = static_cast<std::size_t>(kSettleSeconds * kRate);
    const auto compare = static_cast<std::size_t>(kCompareSeconds * kRate);
    const TAudio input = Joined(Noise(channels, settle, 0.5, context.Seed + 7),
                                Sine(channels, compare, kRate, 441.0, -6.0));
    const TAudio fromAutomated = Run(*automated, input, {});
    const TAudio fromQuiet = Run(*quiet, input, {});
    const TDifference difference = LargestDifference(fromAutomated, fromQuiet, settle);
    const double allowed = kTolerance * std::max(1.0, Peak(fromQuiet, settle));
    Require(difference.Amount <= allowed,
            "after automation the output differs from a quiet instance set to the final "
            "values by " +
                difference.Text());
    for (VstInt32 index = 0; index < parameters; ++index) {
      const float expected = quiet->GetParameter(index);
      const float actual = automated->GetParameter(index);
      Require(expected == actual || (std::isnan(expected) && std::isnan(actual)),
              "after automation parameter " + std::to_string(index) + " reads " +
                  ValueText(actual) + " where the quiet instance reads " + ValueText(expected));
    }
    quiet->Close();
    automated->Close();
  }
}
