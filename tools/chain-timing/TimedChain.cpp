#include "tools/chain-timing/TimedChain.h"

namespace {

constexpr int kSections = 8;
constexpr double kTransition = 0.01;
constexpr float kLevel = -6.0f;

}  // namespace

TTimedChain::TTimedChain() {
  for (int c = 0; c < kChannels; ++c) {
    Up[c].DesignCoefficients(kSections, kTransition);
    Down[c].DesignCoefficients(kSections, kTransition);
  }
  TUpsampler2x* ups[kChannels] = {&Up[0], &Up[1]};
  TDownsampler2x* downs[kChannels] = {&Down[0], &Down[1]};
  Block.Setup(ups, downs, kOffset);
  TShapingPolynomial::TLevels levels{};
  TShapingPolynomial::TPhaseSigns signs{};
  TShapingPolynomial::TGains gains{};
  levels.fill(kLevel);
  signs.fill(1.0);
  TShapingPolynomial::CalculateCoefficients(levels, signs, gains, Shape);
}
