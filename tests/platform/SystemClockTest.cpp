#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/NativeWindow.h"
#include "widgets/Clock.h"

namespace {

TEST(SystemClockTest, CountsMillisecondsForwardOnly) {
  const TClock& clock = TNativeWindow::SystemClock();
  EXPECT_EQ(&clock, &TNativeWindow::SystemClock());

  constexpr int kSleepMilliseconds = 30;
  // Generous: a loaded machine may sleep much longer, never shorter.
  constexpr std::int64_t kLatestMilliseconds = 2000;
  const std::int64_t start = clock.NowMilliseconds();
  std::int64_t previous = start;
  for (int i = 0; i < 1000; ++i) {
    const std::int64_t now = clock.NowMilliseconds();
    ASSERT_GE(now, previous);
    previous = now;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(kSleepMilliseconds));
  const std::int64_t elapsed = clock.NowMilliseconds() - start;
  EXPECT_GE(elapsed, kSleepMilliseconds);
  EXPECT_LT(elapsed, kLatestMilliseconds);
}

}  // namespace
