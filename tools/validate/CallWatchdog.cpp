#include "tools/validate/CallWatchdog.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr int kSlots = 16;
constexpr auto kPollInterval = std::chrono::milliseconds(20);
// The process's exit status when a call overran its time.
constexpr int kExitHung = 3;

using TClock = std::chrono::steady_clock;

struct TSlot {
  std::atomic<bool> Busy{false};
  // Nanoseconds since the clock's epoch when the call started; 0 is idle.
  std::atomic<long long> Started{0};
  std::atomic<const char*> Name{nullptr};
};

std::array<TSlot, kSlots> gSlots;
std::chrono::milliseconds gLimit{0};
int gReportFd = -1;

long long Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(TClock::now().time_since_epoch())
      .count();
}

[[noreturn]] void ReportOverrun(const char* name) {
  char text[256];
  const int length = std::snprintf(text, sizeof text, "hang %s did not return within %lld ms\n",
                                   name, static_cast<long long>(gLimit.count()));
  if (length > 0) {
    [[maybe_unused]] const ssize_t written = write(
        gReportFd, text, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof text));
  }
  _exit(kExitHung);
}

void Watch() {
  const long long limit = std::chrono::duration_cast<std::chrono::nanoseconds>(gLimit).count();
  for (;;) {
    std::this_thread::sleep_for(kPollInterval);
    const long long now = Now();
    for (TSlot& slot : gSlots) {
      const long long started = slot.Started.load(std::memory_order_acquire);
      if (started != 0 && now - started > limit) {
        const char* name = slot.Name.load(std::memory_order_acquire);
        ReportOverrun(name != nullptr ? name : "a call");
      }
    }
  }
}

}  // namespace

void StartCallWatchdog(std::chrono::milliseconds callLimit, int reportFd) {
  gLimit = callLimit;
  gReportFd = reportFd;
  std::thread(Watch).detach();
}

TWatchedCall::TWatchedCall(const char* name) : Slot(-1) {
  for (int index = 0; index < kSlots; ++index) {
    bool idle = false;
    if (gSlots[index].Busy.compare_exchange_strong(idle, true, std::memory_order_acq_rel)) {
      Slot = index;
      gSlots[index].Name.store(name, std::memory_order_release);
      gSlots[index].Started.store(Now(), std::memory_order_release);
      return;
    }
  }
  // More calls at once than slots: this one goes unwatched, the check's own
  // time limit still applies.
}

TWatchedCall::~TWatchedCall() {
  if (Slot < 0) return;
  gSlots[Slot].Started.store(0, std::memory_order_release);
  gSlots[Slot].Busy.store(false, std::memory_order_release);
}
