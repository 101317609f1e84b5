// The editor repaints everything in well under the 2 ms a frame may take:
// the background, eight bars, eight boxes, a 512-point curve and labels.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "editor/BackgroundPicture.h"
#include "widgets/graphics/Canvas.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || !defined(NDEBUG)
constexpr bool kTimed = false;
#else
constexpr bool kTimed = true;
#endif

void Repaint(TCanvas& canvas, int frame) {
  canvas.DrawPicture(kBackgroundPicture, kBackgroundWidth, kBackgroundHeight, kBackgroundWidth, 0,
                     0);
  for (int k = 0; k < 8; ++k) {
    const TRect bar{15 + 32 * k, 10, 17, 164};
    const int level = 20 + (17 * k + frame) % 140;
    canvas.FillRect({bar.Left + 1, bar.Bottom() - 1 - level, 15, level}, 0xFF4A6FA5u);
    canvas.FrameRect(bar, 0xFF66676Cu);
    canvas.FrameRect({17 + 32 * k, 175, 15, 17}, 0xFF66676Cu);
    canvas.FillRect({20 + 32 * k, 178, 9, 11}, 0xFF4A6FA5u, 160);
  }
  canvas.FrameRect({30, 200, 225, 108}, 0xFF717279u);
  for (int i = 0; i < 5; ++i) {
    canvas.DrawLine(31, 204.5 + 25 * i, 254, 204.5 + 25 * i, 0xFF717279u, 90);
    canvas.DrawText(8, 200 + 25 * i, "-0.5", TFontHeight::fh7, 0xFF66676Cu);
  }
  double px = 31;
  double py = 254;
  for (int i = 1; i < 512; ++i) {
    const double x = 31 + 223.0 * i / 511;
    const double y = 254 - 48 * std::sin(i * 0.0245 + frame) * std::cos(i * 0.011);
    canvas.DrawLine(px, py, x, y, 0xFF1E3A5Fu);
    px = x;
    py = y;
  }
  canvas.DrawText(300, 299, "Harm 3: -20.0 dB", TFontHeight::fh11, 0xFFDAE6F4u);
}

TEST(RepaintSpeedTest, AFullRepaintTakesUnderTwoMilliseconds) {
  TPixelBuffer pixels(443, 314);
  TCanvas canvas(pixels);
  double best = 1e9;
  for (int frame = 0; frame < 40; ++frame) {
    const auto start = std::chrono::steady_clock::now();
    Repaint(canvas, frame);
    const auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
  }
  RecordProperty("best_repaint_us", static_cast<int>(best * 1000));
  std::printf("best full repaint: %.3f ms\n", best);
  if (kTimed) {
    EXPECT_LT(best, 2.0);
  }
}

}  // namespace
