#include "tools/host/HostCallbackObserver.h"

#include <atomic>

namespace {

std::atomic<void (*)()> gEnter{nullptr};
std::atomic<void (*)()> gLeave{nullptr};

}  // namespace

void SetHostCallbackObserver(THostCallbackObserver observer) {
  gEnter.store(observer.Enter, std::memory_order_release);
  gLeave.store(observer.Leave, std::memory_order_release);
}

THostCallbackScope::THostCallbackScope() {
  if (const auto enter = gEnter.load(std::memory_order_acquire)) enter();
}

THostCallbackScope::~THostCallbackScope() {
  if (const auto leave = gLeave.load(std::memory_order_acquire)) leave();
}
