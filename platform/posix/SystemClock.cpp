#include <time.h>

#include <cstdint>

#include "platform/NativeWindow.h"
#include "widgets/Clock.h"

namespace {

// CLOCK_MONOTONIC: unaffected by changes of the wall-clock time, so timers
// neither stall nor fire early when the user or NTP sets the clock.
class TPosixClock final : public TClock {
 public:
  std::int64_t NowMilliseconds() const override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kMillisecondsPerSecond +
           now.tv_nsec / kNanosecondsPerMillisecond;
  }

 private:
  static constexpr std::int64_t kMillisecondsPerSecond = 1000;
  static constexpr std::int64_t kNanosecondsPerMillisecond = 1000000;
};

}  // namespace

const TClock& TNativeWindow::SystemClock() {
  static const TPosixClock clock;
  return clock;
}
