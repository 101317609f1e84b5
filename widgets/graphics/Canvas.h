#pragma once

#include <cstdint>
#include <string_view>

#include "widgets/graphics/Geometry.h"
#include "widgets/graphics/PixelBuffer.h"

// The pixel heights of the two faces the controls use: 11 for the form's
// text, 7 for the chart's labels.
enum class TFontHeight { fh7 = 7, fh11 = 11 };

// The software renderer every control draws with. All coordinates are
// pixels of the target buffer; every operation is clipped to the current
// clip rectangle (never beyond the buffer). Colours are 0xAARRGGBB; `alpha`
// scales the colour's own alpha, and a result below 255 blends over what is
// there. The same calls give the same pixels on every platform.
//
// Blending: the effective alpha is a = (colorAlpha * alpha + 127) / 255;
// a = 0 leaves the pixel, a = 255 writes the colour opaque, otherwise each
// channel becomes (src * a + dst * (255 - a) + 127) / 255 and the pixel's
// alpha a + (dstAlpha * (255 - a) + 127) / 255, which is 255 over an opaque
// pixel. Integer arithmetic throughout, so every platform gets the same bits.
class TCanvas {
 public:
  explicit TCanvas(TPixelBuffer& target);

  TPixelBuffer& Target() { return FTarget; }
  // Limits drawing to `clip` within the buffer.
  void SetClip(const TRect& clip);
  const TRect& Clip() const { return FClip; }

  // One pixel, blended.
  void BlendPixel(int x, int y, TColor color, std::uint8_t alpha = 255);
  void FillRect(const TRect& rect, TColor color, std::uint8_t alpha = 255);
  // A one-pixel outline just inside `rect`.
  void FrameRect(const TRect& rect, TColor color, std::uint8_t alpha = 255);
  // Pixels whose centres lie inside the triangle, without anti-aliasing.
  void FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2, TColor color,
                    std::uint8_t alpha = 255);
  // An anti-aliased line one pixel wide between two points in pixel
  // coordinates (the centre of pixel (i, j) is (i + 0.5, j + 0.5)).
  void DrawLine(double x0, double y0, double x1, double y1, TColor color, std::uint8_t alpha = 255);
  // Copies `width` x `height` 0xAARRGGBB pixels (rows of `stride` words) to
  // x, y unscaled, blending by their own alpha.
  void DrawPicture(const std::uint32_t* pixels, int width, int height, int stride, int x, int y);

  // One line of text from x, with the top of the line box at `top`
  // (baseline at top + Ascent). UTF-8; characters the faces lack draw as
  // '?'. Never wraps.
  void DrawText(int x, int top, std::string_view text, TFontHeight height, TColor color,
                std::uint8_t alpha = 255);
  static int TextWidth(std::string_view text, TFontHeight height);
  static int Ascent(TFontHeight height);
  static int LineHeight(TFontHeight height);

 private:
  TPixelBuffer& FTarget;
  TRect FClip;
};
