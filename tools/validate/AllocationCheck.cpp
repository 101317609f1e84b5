#include <algorithm>
#include <string>
#include <vector>

#include "tools/host/HostCallbackObserver.h"
#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/ProcessingMonitor.h"

// Processing runs on the host's real-time thread: an allocation or a lock
// there can wait on another thread for longer than the block lasts. After
// two warm-up calls (a plug-in may set up lazily once) no processing call
// may allocate, free or lock. Between calls a parameter changes, so that
// picking up a change is covered too.

namespace {

constexpr double kRate = 44100.0;
constexpr int kWarmUpCalls = 2;
constexpr int kCountedCalls = 16;
constexpr int kFullLevel = 5;

template <class Sample>
struct TBuffers {
  std::vector<std::vector<Sample>> Channels;
  std::vector<Sample*> In, Out;

  TBuffers(std::size_t inputs, std::size_t outputs, std::size_t frames)
      : Channels(inputs + outputs, std::vector<Sample>(frames, Sample(0.25))) {
    for (std::size_t channel = 0; channel < inputs; ++channel)
      In.push_back(Channels[channel].data());
    for (std::size_t channel = 0; channel < outputs; ++channel)
      Out.push_back(Channels[inputs + channel].data());
  }
};

template <class Sample>
void Call(TTestedInstance& instance, TBuffers<Sample>& buffers, VstInt32 frames) {
  if constexpr (std::is_same_v<Sample, float>) {
    instance.ProcessFloat(buffers.In.data(), buffers.Out.data(), frames);
  } else {
    instance.ProcessDouble(buffers.In.data(), buffers.Out.data(), frames);
  }
}

template <class Sample>
TProcessingCounts CountCalls(TTestedPlugin& plugin, std::size_t block) {
  auto instance = plugin.Open();
  instance->Resume(kRate, static_cast<VstInt32>(block));
  TBuffers<Sample> buffers(static_cast<std::size_t>(instance->Inputs()),
                           static_cast<std::size_t>(instance->Outputs()), block);
  const auto frames = static_cast<VstInt32>(block);
  for (int call = 0; call < kWarmUpCalls; ++call)
    Call(*instance, buffers, frames);
  TProcessingCounts total;
  for (int call = 0; call < kCountedCalls; ++call) {
    if (instance->Parameters() > 0) {
      const VstInt32 index = call % instance->Parameters();
      instance->SetParameter(index, call % 2 == 0 ? 0.25f : 0.75f);
    }
    ProcessingMonitor::Begin();
    Call(*instance, buffers, frames);
    const TProcessingCounts counts = ProcessingMonitor::End();
    total.Allocations += counts.Allocations;
    total.Frees += counts.Frees;
    total.Locks += counts.Locks;
  }
  instance->Close();
  return total;
}

void Judge(const TProcessingCounts& counts, const std::string& what) {
  Require(counts.Allocations == 0 && counts.Frees == 0 && counts.Locks == 0,
          what + " allocated " + std::to_string(counts.Allocations) + ", freed " +
              std::to_string(counts.Frees) + " and locked " + std::to_string(counts.Locks) +
              " times in " + std::to_string(kCountedCalls) + " calls after warm-up");
}

void EnterHost() {
  ProcessingMonitor::Pause();
}

void LeaveHost() {
  ProcessingMonitor::Resume();
}

}  // namespace

void CheckAllocation(const TCheckContext& context) {
  if (!ProcessingMonitor::Available()) {
    throw TCheckSkipped("this build's sanitizer owns the allocator; use a release build");
  }
  SetHostCallbackObserver({&EnterHost, &LeaveHost});
  TTestedPlugin plugin(context.PluginPath);
  bool hasDouble = false;
  {
    auto probe = plugin.Open();
    hasDouble = probe->HasDouble();
    probe->Close();
  }
  const std::vector<std::size_t> blocks = context.Level >= kFullLevel
                                              ? std::vector<std::size_t>{1, 64, 512, 4096}
                                              : std::vector<std::size_t>{64, 512};
  for (int round = 0; round < context.Repeats; ++round) {
    for (const std::size_t block : blocks) {
      const std::string size = " with blocks of " + std::to_string(block);
      SetCheckStep("counting in single-precision processing" + size);
      Judge(CountCalls<float>(plugin, block), "single-precision processing" + size);
      if (hasDouble) {
        SetCheckStep("counting in double-precision processing" + size);
        Judge(CountCalls<double>(plugin, block), "double-precision processing" + size);
      }
    }
  }
}
