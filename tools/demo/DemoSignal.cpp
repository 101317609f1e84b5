#include "tools/demo/DemoSignal.h"

#include <cmath>
#include <numbers>

std::vector<float> DemoSine() {
  std::vector<float> sine(kDemoFrames);
  for (std::size_t n = 0; n < kDemoFrames; ++n) {
    // The phase is taken within the period, so that every period is the same.
    const double phase = static_cast<double>(n % kDemoPeriod) / static_cast<double>(kDemoPeriod);
    sine[n] = static_cast<float>(std::sin(2.0 * std::numbers::pi * phase));
  }
  return sine;
}
