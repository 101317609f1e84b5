#include "frame/ThreadFlags.h"

#include <array>
#include <cstddef>

namespace {

// Modules that have a flag raised on this thread. Nesting is shallow (a host
// call into one module, perhaps a second module called from a handler), so a
// small fixed table serves and the audio thread never allocates here.
constexpr std::size_t kMaxRaised = 16;

struct TRaisedFlags {
  std::array<const void*, kMaxRaised> Modules{};
  std::size_t Count = 0;
};

thread_local std::array<TRaisedFlags, 2> tRaised;

TRaisedFlags& Raised(TThreadFlag flag) {
  return tRaised[static_cast<std::size_t>(flag)];
}

}  // namespace

bool IsThreadFlagSet(const void* module, TThreadFlag flag) {
  const TRaisedFlags& raised = Raised(flag);
  for (std::size_t i = 0; i < raised.Count; ++i)
    if (raised.Modules[i] == module) return true;
  return false;
}

TThreadFlagGuard::TThreadFlagGuard(const void* module, TThreadFlag flag)
    : Module(module), Flag(flag) {
  if (IsThreadFlagSet(module, flag)) return;
  FAcquired = true;
  TRaisedFlags& raised = Raised(flag);
  // Deeper nesting than the table holds goes unguarded rather than failing.
  if (raised.Count < kMaxRaised) raised.Modules[raised.Count++] = module;
}

TThreadFlagGuard::~TThreadFlagGuard() {
  if (!FAcquired) return;
  TRaisedFlags& raised = Raised(Flag);
  for (std::size_t i = raised.Count; i > 0; --i) {
    if (raised.Modules[i - 1] != Module) continue;
    for (std::size_t j = i; j < raised.Count; ++j)
      raised.Modules[j - 1] = raised.Modules[j];
    --raised.Count;
    return;
  }
}
