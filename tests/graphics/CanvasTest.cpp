#include "widgets/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr std::uint32_t kSentinel = 0xFF123456u;

TPixelBuffer Filled(int width, int height, std::uint32_t pixel) {
  TPixelBuffer buffer(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      buffer.Row(y)[x] = pixel;
  }
  return buffer;
}

int AlphaAt(const TPixelBuffer& buffer, int x, int y) {
  return static_cast<int>(buffer.Row(y)[x] >> 24);
}

TEST(CanvasTest, BlendsWithTheIntegerFormula) {
  TPixelBuffer buffer = Filled(4, 1, 0xFF102030u);
  TCanvas canvas(buffer);
  canvas.BlendPixel(0, 0, 0xFFF04000u, 0);
  canvas.BlendPixel(1, 0, 0xFFF04000u, 255);
  canvas.BlendPixel(2, 0, 0xFFF04000u, 128);
  // The colour's own alpha scales the same way.
  canvas.BlendPixel(3, 0, 0x80F04000u);
  EXPECT_EQ(buffer.Row(0)[0], 0xFF102030u);
  EXPECT_EQ(buffer.Row(0)[1], 0xFFF04000u);
  // (240*128 + 16*127 + 127) / 255 = 128, (64*128 + 32*127 + 127) / 255 = 48,
  // (0*128 + 48*127 + 127) / 255 = 24.
  EXPECT_EQ(buffer.Row(0)[2], 0xFF803018u);
  EXPECT_EQ(buffer.Row(0)[3], 0xFF803018u);

  // Over a transparent pixel the alpha is the source's.
  TPixelBuffer clear = Filled(1, 1, 0);
  TCanvas(clear).BlendPixel(0, 0, 0xFFFFFFFFu, 128);
  EXPECT_EQ(clear.Row(0)[0], 0x80808080u);
}

// Everything a control can draw, far beyond the clip and the buffer, with
// coordinates no drawing should choke on.
void DrawEverywhere(TCanvas& canvas) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  canvas.FillRect({-100, -100, 1000, 1000}, 0xFFFF0000u);
  canvas.FillRect({-100, -100, 1000, 1000}, 0xFF00FF00u, 100);
  canvas.FrameRect({-3, -3, 40, 40}, 0xFF0000FFu);
  canvas.FrameRect({2, 2, 28, 28}, 0xFF0000FFu, 77);
  canvas.FillTriangle(-50, -40, 90, 10, 0, 95, 0xFFFFFFFFu);
  canvas.FillTriangle(-1e12, -1e12, 1e12, 0, 0, 1e12, 0xFFFFFF00u, 200);
  canvas.FillTriangle(nan, 0, 10, 10, 0, 10, 0xFFFFFF00u);
  canvas.DrawLine(-20, -15, 60, 45, 0xFF00FFFFu);
  canvas.DrawLine(12, -30, 13, 90, 0xFF00FFFFu, 90);
  canvas.DrawLine(-1e15, 3, 1e15, 4, 0xFF00FFFFu);
  canvas.DrawLine(3, -1e15, 4, 1e15, 0xFF00FFFFu);
  canvas.DrawLine(0, 0, inf, 5, 0xFF00FFFFu);
  std::vector<std::uint32_t> picture(50 * 50, 0xFF445566u);
  for (std::size_t i = 0; i < picture.size(); i += 3)
    picture[i] = 0x80FFFFFFu;
  canvas.DrawPicture(picture.data(), 50, 50, 50, -10, -12);
  canvas.DrawText(-7, -4, "Quillotron Harm 3: -20.0 dB", TFontHeight::fh11, 0xFF000000u);
  canvas.DrawText(5, 20, "Leblon \xC3\xA3 \xFF", TFontHeight::fh7, 0xFF000000u, 180);
}

TEST(CanvasTest, ClippingNeverWritesOutsideTheClipOrTheBuffer) {
  // The canvas draws on a window of a larger picture, so that anything
  // written beyond the window's buffer would show.
  TPixelBuffer buffer = Filled(30, 30, kSentinel);
  TCanvas canvas(buffer);
  canvas.SetClip({7, 5, 13, 11});
  EXPECT_EQ(canvas.Clip(), (TRect{7, 5, 13, 11}));
  DrawEverywhere(canvas);
  int changedInside = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      if (TRect{7, 5, 13, 11}.Contains(x, y)) {
        changedInside += buffer.Row(y)[x] != kSentinel;
      } else {
        ASSERT_EQ(buffer.Row(y)[x], kSentinel) << x << ", " << y;
      }
    }
  }
  EXPECT_EQ(changedInside, 13 * 11);

  // A clip beyond the buffer is cut to it; the sanitizer builds catch any
  // write past the buffer's end.
  TPixelBuffer small = Filled(9, 7, kSentinel);
  TCanvas smallCanvas(small);
  smallCanvas.SetClip({-5, 3, 100, 100});
  EXPECT_EQ(smallCanvas.Clip(), (TRect{0, 3, 9, 4}));
  DrawEverywhere(smallCanvas);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 9; ++x)
      ASSERT_EQ(small.Row(y)[x], kSentinel);
  }
}

TEST(CanvasTest, FrameRectBlendsEachPixelOfTheOutlineOnce) {
  TPixelBuffer buffer = Filled(8, 6, 0);
  TCanvas canvas(buffer);
  canvas.FrameRect({1, 1, 6, 4}, 0xFFFFFFFFu, 128);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = TRect{1, 1, 6, 4}.Contains(x, y);
      const bool edge = inside && (x == 1 || x == 6 || y == 1 || y == 4);
      EXPECT_EQ(AlphaAt(buffer, x, y), edge ? 128 : 0) << x << ", " << y;
    }
  }
}

// Whether (px, py) lies strictly inside the triangle.
bool Inside(double px, double py, const double (&t)[6]) {
  auto side = [&](int a, int b) {
    return (t[2 * b] - t[2 * a]) * (py - t[2 * a + 1]) -
           (t[2 * b + 1] - t[2 * a + 1]) * (px - t[2 * a]);
  };
  const double s0 = side(0, 1);
  const double s1 = side(1, 2);
  const double s2 = side(2, 0);
  return (s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0);
}

TEST(CanvasTest, TrianglesFillPixelCentresAndShareEdgesWithoutOverlapOrGap) {
  // Two triangles of a quadrilateral sharing a slanted edge, at half alpha:
  // a pixel filled twice would show 192, a gap 0.
  const double first[6] = {1.3, 2.7, 15.2, 3.1, 7.7, 14.9};
  const double second[6] = {15.2, 3.1, 18.4, 16.2, 7.7, 14.9};
  TPixelBuffer buffer = Filled(24, 20, 0);
  TCanvas canvas(buffer);
  canvas.FillTriangle(first[0], first[1], first[2], first[3], first[4], first[5], 0xFFFFFFFFu, 128);
  canvas.FillTriangle(second[0], second[1], second[2], second[3], second[4], second[5], 0xFFFFFFFFu,
                      128);
  int filled = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 24; ++x) {
      const int alpha = AlphaAt(buffer, x, y);
      ASSERT_TRUE(alpha == 0 || alpha == 128) << x << ", " << y;
      const double cx = x + 0.5;
      const double cy = y + 0.5;
      if (Inside(cx, cy, first) || Inside(cx, cy, second)) {
        EXPECT_EQ(alpha, 128) << x << ", " << y;
      }
      filled += alpha != 0;
    }
  }
  // The quadrilateral's area is about 147 pixels.
  EXPECT_NEAR(filled, 147, 8);

  // A square from two triangles: exactly its pixels, whichever way round.
  TPixelBuffer square = Filled(12, 12, 0);
  TCanvas squareCanvas(square);
  squareCanvas.FillTriangle(1, 1, 11, 1, 11, 11, 0xFFFFFFFFu, 128);
  squareCanvas.FillTriangle(1, 11, 11, 11, 1, 1, 0xFFFFFFFFu, 128);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(AlphaAt(square, x, y), (TRect{1, 1, 10, 10}.Contains(x, y) ? 128 : 0));
    }
  }
}

// For each column (or row, for a steep line) its coverage: the alphas add up
// to exactly 255 and their centroid lies on the line.
void ExpectLineCoverage(double x0, double y0, double x1, double y1) {
  TPixelBuffer buffer = Filled(40, 40, 0);
  TCanvas canvas(buffer);
  canvas.DrawLine(x0, y0, x1, y1, 0xFFFFFFFFu);
  const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
  const double u0 = steep ? y0 : x0;
  const double u1 = steep ? y1 : x1;
  const double v0 = steep ? x0 : y0;
  const double v1 = steep ? x1 : y1;
  int steps = 0;
  for (int u = 0; u < 40; ++u) {
    int sum = 0;
    double moment = 0;
    for (int v = 0; v < 40; ++v) {
      const int alpha = steep ? AlphaAt(buffer, v, u) : AlphaAt(buffer, u, v);
      sum += alpha;
      moment += alpha * (v + 0.5);
    }
    const double centre = u + 0.5;
    if (centre < std::min(u0, u1) || centre >= std::max(u0, u1)) {
      EXPECT_EQ(sum, 0) << "step " << u;
      continue;
    }
    ++steps;
    EXPECT_EQ(sum, 255) << "step " << u;
    const double expected = v0 + (centre - u0) * (v1 - v0) / (u1 - u0);
    EXPECT_NEAR(moment / sum, expected, 0.01) << "step " << u;
  }
  // The steps whose centres lie in [start, end).
  EXPECT_EQ(steps, static_cast<int>(std::ceil(std::max(u0, u1) - 0.5) -
                                    std::ceil(std::min(u0, u1) - 0.5)));
}

TEST(CanvasTest, AntiAliasedLinesCoverOnePixelPerStepCentredOnTheLine) {
  ExpectLineCoverage(2.3, 3.7, 31.6, 14.2);
  ExpectLineCoverage(35.0, 30.0, 4.0, 8.25);
  ExpectLineCoverage(6.8, 1.2, 11.1, 37.9);
  ExpectLineCoverage(3.0, 10.5, 30.0, 10.5);
}

TEST(CanvasTest, APolylineDrawsEachStepOnce) {
  TPixelBuffer buffer = Filled(40, 20, 0);
  TCanvas canvas(buffer);
  canvas.DrawLine(2, 10, 9.5, 6.2, 0xFFFFFFFFu, 100);
  canvas.DrawLine(9.5, 6.2, 21, 12.7, 0xFFFFFFFFu, 100);
  canvas.DrawLine(21, 12.7, 35, 5, 0xFFFFFFFFu, 100);
  for (int x = 0; x < 40; ++x) {
    int sum = 0;
    for (int y = 0; y < 20; ++y)
      sum += AlphaAt(buffer, x, y);
    EXPECT_EQ(sum, x >= 2 && x < 35 ? 100 : 0) << x;
  }
}

TEST(CanvasTest, PicturesCopyOpaqueRowsAndBlendTranslucentPixels) {
  const std::uint32_t picture[2 * 3] = {0xFF010203u, 0xFF040506u, 0x00FFFFFFu,
                                        0x80F04000u, 0xFF0A0B0Cu, 0xFF0D0E0Fu};
  TPixelBuffer buffer = Filled(4, 3, 0xFF102030u);
  TCanvas canvas(buffer);
  canvas.SetClip({0, 0, 4, 2});
  // Two pixels of each row of a picture three words wide, clipped at the
  // bottom.
  canvas.DrawPicture(picture + 1, 2, 2, 3, 2, 1);
  EXPECT_EQ(buffer.Row(1)[2], 0xFF040506u);
  EXPECT_EQ(buffer.Row(1)[3], 0xFF102030u);  // transparent
  EXPECT_EQ(buffer.Row(2)[2], 0xFF102030u);  // clipped
  // Its first row above the buffer; the half-transparent pixel blends.
  canvas.DrawPicture(picture, 3, 2, 3, 0, -1);
  EXPECT_EQ(buffer.Row(0)[0], 0xFF803018u);
  EXPECT_EQ(buffer.Row(0)[1], 0xFF0A0B0Cu);
  EXPECT_EQ(buffer.Row(0)[2], 0xFF0D0E0Fu);
  EXPECT_EQ(buffer.Row(0)[3], 0xFF102030u);
  EXPECT_EQ(buffer.Row(1)[0], 0xFF102030u);
}

}  // namespace
