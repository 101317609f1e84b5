#include <algorithm>
#include <string>
#include <vector>

#include "tools/host/HostCallbackObserver.h"
#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/ProcessingLoop.h"
#include "tools/validate/ProcessingMonitor.h"
#include "tools/validate/TestedPlugin.h"

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
TProcessingCounts CountCalls(TTestedPlugin& plugin, std::size_t block) {
  auto instance = plugin.Open();
  instance->Resume(kRate, static_cast<VstInt32>(block));
  TProcessingLoop<Sample> loop(*instance,
                               Noise(std::max<std::size_t>(instance->Inputs(), 1), block, 0.5, 1));
  for (int call = 0; call < kWarmUpCalls; ++call)
    loop.Call();
  TProcessingCounts total;
  for (int call = 0; call < kCountedCalls; ++call) {
    if (instance->Parameters() > 0) {
      const VstInt32 index = call % instance->Parameters();
      instance->SetParameter(index, call % 2 == 0 ? 0.25f : 0.75f);
    }
    ProcessingMonitor::Begin();
    loop.Call();
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
