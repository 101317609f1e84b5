#include "editor/BackgroundPicture.h"

#include <gtest/gtest.h>

#include <cmath>

#include "widgets/graphics/Geometry.h"

namespace {

// WCAG 2 relative luminance of an sRGB colour.
double Luminance(std::uint32_t pixel) {
  auto linear = [](std::uint32_t channel) {
    const double c = (channel & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(pixel >> 16) + 0.7152 * linear(pixel >> 8) + 0.0722 * linear(pixel);
}

double Contrast(std::uint32_t a, std::uint32_t b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t PixelAt(int x, int y) {
  return kBackgroundPicture[y * kBackgroundWidth + x];
}

// The lowest contrast between `color` and the picture's pixels in `rect`.
double LowestContrast(const TRect& rect, std::uint32_t color) {
  double lowest = 1e9;
  for (int y = rect.Top; y < rect.Bottom(); ++y) {
    for (int x = rect.Left; x < rect.Right(); ++x) {
      lowest = std::min(lowest, Contrast(PixelAt(x, y), color));
    }
  }
  return lowest;
}

TEST(BackgroundPictureTest, CoversTheEditorOpaquely) {
  static_assert(kBackgroundWidth >= 443 && kBackgroundHeight >= 314);
  for (int i = 0; i < kBackgroundWidth * kBackgroundHeight; ++i) {
    ASSERT_EQ(kBackgroundPicture[i] >> 24, 0xFFu) << i;
  }
}

TEST(BackgroundPictureTest, TheHintLineReadsOnTheSilhouette) {
  // The hint label's rectangle and its pale text colour.
  EXPECT_GE(LowestContrast({294, 299, 148, 13}, ColorFromRGB(0xDAE6F4)), 4.5);
}

TEST(BackgroundPictureTest, TheChartsGreysReadOnTheBackdrop) {
  const TRect chart{6, 200, 249, 108};
  EXPECT_GE(LowestContrast(chart, ColorFromRGB(0x717279)), 3.0);
  EXPECT_GE(LowestContrast(chart, ColorFromRGB(0x66676C)), 3.0);
  // The bars and the phase boxes sit on the same pale backdrop.
  EXPECT_GE(LowestContrast({15, 10, 32 * 7 + 17, 182}, ColorFromRGB(0x66676C)), 3.0);
}

TEST(BackgroundPictureTest, TheSilhouetteKeepsToTheRightHalf) {
  // Dark pixels only from x = 256 on; the left part stays a pale backdrop.
  for (int y = 0; y < kBackgroundHeight; ++y) {
    for (int x = 0; x < 256; ++x)
      ASSERT_GT(Luminance(PixelAt(x, y)), 0.5) << x << ", " << y;
  }
  EXPECT_LT(Luminance(PixelAt(400, 200)), 0.05);
}

}  // namespace
