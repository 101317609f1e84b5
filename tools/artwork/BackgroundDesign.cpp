#include "tools/artwork/BackgroundDesign.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "editor/BackgroundPicture.h"
#include "widgets/graphics/Canvas.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The shapes are painted with the canvas at kSamples x kSamples samples a
// pixel and averaged down, which smooths their edges; the lettering is
// rasterised at the final size, where it is sharpest.
constexpr int kSamples = 4;

// Colours, from the backdrop to the foreground.
constexpr TColor kSkyTop = 0xFFE9EEF4;
constexpr TColor kSkyBottom = 0xFFD2DCE7;
constexpr TColor kGlow = 0xFFF3DCCB;
constexpr TColor kMoon = 0xFFF6F1E8;
constexpr TColor kFarHills = 0xFFAEB9C8;
constexpr TColor kMiddleHills = 0xFF7D8BA0;
constexpr TColor kSilhouette = 0xFF1A2535;
constexpr TColor kWater = 0xFF1F2B3D;
constexpr TColor kRipple = 0xFF2F3F57;
constexpr TColor kMoonGlint = 0xFF4E5F78;
constexpr TColor kWindow = 0xFFE8B96A;
constexpr TColor kTitle = 0xFF27364B;
constexpr TColor kSubtitle = 0xFF56667C;

TColor Mix(TColor from, TColor to, double t) {
  auto channel = [&](int shift) {
    const double a = (from >> shift) & 0xFF;
    const double b = (to >> shift) & 0xFF;
    return static_cast<TColor>(std::lround(a + (b - a) * t)) << shift;
  };
  return kOpaque | channel(16) | channel(8) | channel(0);
}

// Draws in picture pixels onto the supersampled buffer.
class TPainter {
 public:
  TPainter()
      : FBuffer(kBackgroundWidth * kSamples, kBackgroundHeight * kSamples), FCanvas(FBuffer) {}

  TCanvas& Canvas() { return FCanvas; }
  TPixelBuffer& Buffer() { return FBuffer; }

  void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, TColor color) {
    const double s = kSamples;
    FCanvas.FillTriangle(x0 * s, y0 * s, x1 * s, y1 * s, x2 * s, y2 * s, color);
  }
  void Quad(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3,
            TColor color) {
    Triangle(x0, y0, x1, y1, x2, y2, color);
    Triangle(x0, y0, x2, y2, x3, y3, color);
  }
  // Everything below `top(x)` down to `bottom`, for x in [left, right).
  void Profile(double left, double right, double bottom, const std::function<double(double)>& top,
               TColor color) {
    const int first = static_cast<int>(std::floor(left * kSamples));
    const int end = static_cast<int>(std::ceil(right * kSamples));
    for (int column = first; column < end; ++column) {
      const double x = (column + 0.5) / kSamples;
      const double y = top(x);
      const int row = static_cast<int>(std::lround(y * kSamples));
      const int last = static_cast<int>(std::lround(bottom * kSamples));
      if (row < last) FCanvas.FillRect({column, row, 1, last - row}, color);
    }
  }
  void Disk(double cx, double cy, double radius, TColor color, std::uint8_t alpha = 255) {
    const int first = static_cast<int>(std::floor((cy - radius) * kSamples));
    const int end = static_cast<int>(std::ceil((cy + radius) * kSamples));
    for (int row = first; row < end; ++row) {
      const double dy = (row + 0.5) / kSamples - cy;
      if (std::abs(dy) >= radius) continue;
      const double half = std::sqrt(radius * radius - dy * dy);
      const int left = static_cast<int>(std::lround((cx - half) * kSamples));
      const int right = static_cast<int>(std::lround((cx + half) * kSamples));
      FCanvas.FillRect({left, row, right - left, 1}, color, alpha);
    }
  }
  // A band of `width` along the straight line between two points.
  void Stroke(double x0, double y0, double x1, double y1, double width, TColor color) {
    const double length = std::hypot(x1 - x0, y1 - y0);
    if (length == 0) return;
    const double nx = -(y1 - y0) / length * width / 2;
    const double ny = (x1 - x0) / length * width / 2;
    Quad(x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny, color);
  }
  // A leaf along the quadratic curve from (x0, y0) through the control
  // point (cx, cy) to (x1, y1), `width` wide in the middle and pointed at
  // both ends.
  void Leaf(double x0, double y0, double cx, double cy, double x1, double y1, double width,
            TColor color) {
    constexpr int kSteps = 24;
    auto point = [&](double t, double& x, double& y, double& nx, double& ny) {
      const double u = 1 - t;
      x = u * u * x0 + 2 * u * t * cx + t * t * x1;
      y = u * u * y0 + 2 * u * t * cy + t * t * y1;
      const double dx = 2 * u * (cx - x0) + 2 * t * (x1 - cx);
      const double dy = 2 * u * (cy - y0) + 2 * t * (y1 - cy);
      const double length = std::hypot(dx, dy);
      // Widest a third of the way out, as palm leaflets are.
      const double half = width / 2 * std::pow(std::sin(kPi * t), 0.7) * (1.2 - 0.5 * t);
      nx = -dy / length * half;
      ny = dx / length * half;
    };
    double px = 0, py = 0, pnx = 0, pny = 0;
    point(0, px, py, pnx, pny);
    for (int step = 1; step <= kSteps; ++step) {
      double x = 0, y = 0, nx = 0, ny = 0;
      point(static_cast<double>(step) / kSteps, x, y, nx, ny);
      Quad(px + pnx, py + pny, x + nx, y + ny, x - nx, y - ny, px - pnx, py - pny, color);
      px = x;
      py = y;
      pnx = nx;
      pny = ny;
    }
  }

 private:
  TPixelBuffer FBuffer;
  TCanvas FCanvas;
};

// A palm tree whose trunk rises from (x, base) with a lean, the crown at
// `height` above the base.
void PalmTree(TPainter& painter, double x, double base, double height, double lean, TColor color) {
  constexpr int kSegments = 16;
  double topX = x;
  double topY = base;
  for (int i = 0; i < kSegments; ++i) {
    const double t0 = static_cast<double>(i) / kSegments;
    const double t1 = static_cast<double>(i + 1) / kSegments;
    // The trunk bends more towards the top and thins from 3.2 to 1.6 px.
    const double xa = x + lean * t0 * t0;
    const double xb = x + lean * t1 * t1;
    const double ya = base - height * t0;
    const double yb = base - height * t1;
    painter.Stroke(xa, ya + 0.3, xb, yb - 0.3, 3.2 - 1.6 * t0, color);
    topX = xb;
    topY = yb;
  }
  // Fronds: direction (degrees from the right, counter-clockwise), length,
  // droop.
  struct TFrond {
    double Angle;
    double Length;
    double Droop;
  };
  constexpr TFrond kFronds[] = {{10, 21, 9},   {40, 17, 7},   {75, 12, 3},  {110, 14, 5},
                                {150, 19, 8},  {178, 22, 10}, {205, 13, 8}, {335, 14, 8},
                                {-20, 16, 10}, {95, 9, 1}};
  for (const TFrond& frond : kFronds) {
    const double a = frond.Angle * kPi / 180;
    const double ex = topX + std::cos(a) * frond.Length;
    const double ey = topY - std::sin(a) * frond.Length + frond.Droop;
    const double cx = topX + std::cos(a) * frond.Length * 0.55;
    const double cy = topY - std::sin(a) * frond.Length * 0.55 - frond.Droop * 0.35;
    painter.Leaf(topX, topY, cx, cy, ex, ey, 4.2, color);
  }
  painter.Disk(topX, topY + 0.8, 2.2, color);
}

void PaintShapes(TPainter& painter) {
  TCanvas& canvas = painter.Canvas();
  TPixelBuffer& buffer = painter.Buffer();

  // The sky: a vertical gradient, warmer towards the bay's horizon.
  for (int row = 0; row < buffer.Height(); ++row) {
    const double y = (row + 0.5) / kSamples / kBackgroundHeight;
    canvas.FillRect({0, row, buffer.Width(), 1}, Mix(kSkyTop, kSkyBottom, y));
  }
  // An evening glow over the bay, fading out well before the controls.
  for (int ring = 40; ring >= 1; --ring) {
    const double r = ring * 3.0;
    painter.Disk(372, 262, r, kGlow, static_cast<std::uint8_t>(9));
  }
  painter.Disk(350, 140, 10, kMoon);

  // Far hills with Corcovado and its statue, rising from the bay's left
  // end.
  painter.Profile(
      258, kBackgroundWidth, 290,
      [](double x) {
        const double corcovado = 116 + 100 * std::pow(std::abs(x - 300) / 36, 1.45);
        const double ridge = 212 + 9 * std::sin((x - 250) / 21) + 5 * std::sin((x - 250) / 8.5);
        return std::max(std::min(corcovado, ridge), 292 - 4.2 * (x - 258));
      },
      kFarHills);
  // The statue on the summit: a column with outstretched arms.
  painter.Quad(299.2, 107.5, 300.8, 107.5, 301.1, 119, 298.9, 119, kFarHills);
  painter.Quad(295.4, 109.6, 304.6, 109.6, 304.6, 110.9, 295.4, 110.9, kFarHills);
  painter.Disk(300, 106.6, 1.1, kFarHills);

  // Middle hills across the bay.
  painter.Profile(
      262, kBackgroundWidth, 292,
      [](double x) {
        const double hills = 247 - 8 * std::sin((x - 262) / 15) - 4 * std::cos((x - 262) / 6.3);
        return std::max(hills, 292 - 2.5 * (x - 262));
      },
      kMiddleHills);

  // The Sugarloaf: a rounded dome on steep flanks that flare towards the
  // water, and the lower Morro da Urca in front of it.
  constexpr double kSummitX = 408;
  constexpr double kSummitY = 116;
  constexpr double kDomeHeight = 88;
  auto dome = [=](double u, double halfWidth) {
    const double w = std::abs(u) / halfWidth;
    if (w < 1) return kSummitY + kDomeHeight * (1 - std::sqrt(1 - w * w));
    return kSummitY + kDomeHeight + 2.6 * (std::abs(u) - halfWidth);
  };
  painter.Profile(
      298, kBackgroundWidth, 292,
      [=](double x) {
        const double u = x - kSummitX;
        const double sugarloaf = dome(u, u < 0 ? 40 : 37);
        const double urca = 226 + 66 * std::pow(std::abs(x - 340) / 40, 2.4);
        return std::min(sugarloaf, urca);
      },
      kSilhouette);

  // The cable car from Urca's summit to the Sugarloaf's shoulder, sagging
  // a little, with a cabin on its way up.
  const double shoulderX = kSummitX - 32;
  const double shoulderY = dome(-32, 40);
  const double midX = (344 + shoulderX) / 2;
  const double midY = (226 + shoulderY) / 2 + 2.5;
  painter.Stroke(344, 226.3, midX, midY, 0.8, kSilhouette);
  painter.Stroke(midX, midY, shoulderX, shoulderY, 0.8, kSilhouette);
  painter.Stroke(midX, midY, midX, midY + 3.5, 0.7, kSilhouette);
  painter.Quad(midX - 3, midY + 3.5, midX + 3, midY + 3.5, midX + 2.6, midY + 8, midX - 2.6,
               midY + 8, kSilhouette);

  // The city along the shore: blocks of flats of several heights.
  struct TBlock {
    double Left;
    double Width;
    double Top;
  };
  constexpr TBlock kBlocks[] = {{264, 7, 272}, {270, 9, 262},  {278, 6, 268}, {283, 10, 255},
                                {292, 8, 264}, {299, 11, 258}, {309, 7, 267}, {315, 9, 261},
                                {323, 6, 270}, {328, 10, 264}, {337, 8, 272}, {344, 9, 268}};
  for (const TBlock& block : kBlocks) {
    painter.Quad(block.Left, block.Top, block.Left + block.Width, block.Top,
                 block.Left + block.Width, 292, block.Left, 292, kSilhouette);
  }
  // A few lit windows, well above the hint line.
  constexpr double kWindows[][2] = {{285, 259}, {288, 265}, {301, 262}, {305, 268},
                                    {272, 266}, {317, 265}, {331, 268}, {312, 274}};
  for (const auto& w : kWindows)
    painter.Quad(w[0], w[1], w[0] + 1.5, w[1], w[0] + 1.5, w[1] + 1.75, w[0], w[1] + 1.75, kWindow);

  // The shore: a promenade from the left end of the bay to the right edge,
  // with the water below it.
  painter.Profile(
      256, kBackgroundWidth, kBackgroundHeight,
      [](double x) { return 284 + 14 * std::exp(-(x - 256) / 5.5); }, kSilhouette);
  painter.Profile(
      262, kBackgroundWidth, kBackgroundHeight,
      [](double x) { return 293 + 12 * std::exp(-(x - 262) / 6.0); }, kWater);
  // Ripples of the evening light on the water.
  constexpr double kRipples[][3] = {{300, 296.5, 16}, {338, 298.5, 22}, {384, 296.2, 30},
                                    {412, 301.0, 18}, {318, 304.0, 26}, {366, 307.5, 20},
                                    {402, 311.0, 28}, {296, 313.5, 14}, {350, 315.0, 24}};
  for (const auto& r : kRipples) {
    painter.Quad(r[0], r[1], r[0] + r[2], r[1], r[0] + r[2] - 2, r[1] + 0.6, r[0] + 2, r[1] + 0.6,
                 kRipple);
  }
  // The moon's reflection: a column of short glints below it, narrowing
  // towards the shore.
  for (int k = 0; k < 9; ++k) {
    const double y = 295.4 + 2.4 * k;
    const double half = 7.5 - 0.55 * k + (k % 2) * 1.5;
    const double x = 350 + ((k * 5) % 3 - 1) * 1.2;
    painter.Quad(x - half, y, x + half, y, x + half - 1.5, y + 0.7, x - half + 1.5, y + 0.7,
                 kMoonGlint);
  }

  // Palm trees on the promenade.
  PalmTree(painter, 283, 287, 72, 7, kSilhouette);
  PalmTree(painter, 300, 287, 54, -6, kSilhouette);
}

// The average of each kSamples x kSamples block, rounded.
TPixelBuffer Downsample(const TPixelBuffer& big) {
  TPixelBuffer small(kBackgroundWidth, kBackgroundHeight);
  constexpr int kCount = kSamples * kSamples;
  for (int y = 0; y < kBackgroundHeight; ++y) {
    for (int x = 0; x < kBackgroundWidth; ++x) {
      int r = 0, g = 0, b = 0;
      for (int j = 0; j < kSamples; ++j) {
        const std::uint32_t* row = big.Row(y * kSamples + j) + x * kSamples;
        for (int i = 0; i < kSamples; ++i) {
          r += (row[i] >> 16) & 0xFF;
          g += (row[i] >> 8) & 0xFF;
          b += row[i] & 0xFF;
        }
      }
      small.Row(y)[x] = kOpaque | static_cast<std::uint32_t>((r + kCount / 2) / kCount) << 16 |
                        static_cast<std::uint32_t>((g + kCount / 2) / kCount) << 8 |
                        static_cast<std::uint32_t>((b + kCount / 2) / kCount);
    }
  }
  return small;
}

// One line of text with whole-pixel pens; `tracking` adds space between the
// letters. Answers the width.
int Lettering(TCanvas* canvas, const TTrueTypeFont& font, double emPixels, int x, int baseline,
              const std::string& text, double tracking, TColor color) {
  const double scale = font.ScaleForEm(emPixels);
  double pen = x;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int code = static_cast<unsigned char>(text[i]);
    if (canvas != nullptr) {
      const int left = static_cast<int>(std::lround(pen));
      const TTrueTypeFont::TBitmap glyph = font.Rasterise(code, scale, 0);
      for (int row = 0; row < glyph.Height; ++row) {
        for (int column = 0; column < glyph.Width; ++column) {
          canvas->BlendPixel(left + glyph.Left + column, baseline + glyph.Top + row, color,
                             glyph.Coverage[row * glyph.Width + column]);
        }
      }
    }
    pen += font.Advance(code) * scale + tracking;
    if (i + 1 < text.size()) {
      pen += font.KernAdvance(code, static_cast<unsigned char>(text[i + 1])) * scale;
    }
  }
  return static_cast<int>(std::lround(pen - tracking)) - x;
}

}  // namespace

TPixelBuffer PaintBackground(const TTrueTypeFont& titleFont, const TTrueTypeFont& textFont) {
  TPainter painter;
  PaintShapes(painter);
  TPixelBuffer picture = Downsample(painter.Buffer());
  TCanvas canvas(picture);
  // The title right-aligned in the upper right, over the sky.
  constexpr int kTitleRight = 434;
  const int titleWidth = Lettering(nullptr, titleFont, 28, 0, 0, "Quillotron", 0, kTitle);
  Lettering(&canvas, titleFont, 28, kTitleRight - titleWidth, 44, "Quillotron", 0, kTitle);
  const int subtitleWidth =
      Lettering(nullptr, textFont, 8.5, 0, 0, "HARMONIC  DISTORTION", 1.6, kSubtitle);
  Lettering(&canvas, textFont, 8.5, kTitleRight - subtitleWidth, 59, "HARMONIC  DISTORTION", 1.6,
            kSubtitle);
  return picture;
}

std::string BackgroundPictureSource(const TPixelBuffer& picture, const std::string& fontNames) {
  std::string out;
  out += "// Generated by tools/artwork with the canvas and " + fontNames +
         "; do not edit.\n"
         "// Rebuild with cmake --build --preset release --target regenerate-artwork\n"
         "#include \"editor/BackgroundPicture.h\"\n\n"
         "// clang-format off\n"
         "const std::uint32_t kBackgroundPicture[kBackgroundWidth * kBackgroundHeight] = {\n";
  const std::size_t count = static_cast<std::size_t>(picture.Width()) * picture.Height();
  char word[16];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(word, sizeof word, "%s0x%08X,", i % 12 == 0 ? "    " : " ",
                  static_cast<unsigned>(picture.Data()[i]));
    out += word;
    if (i % 12 == 11 || i + 1 == count) out += "\n";
  }
  out += "};\n// clang-format on\n";
  return out;
}
