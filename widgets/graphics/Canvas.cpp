#include "widgets/graphics/Canvas.h"

#include <cmath>
#include <cstring>

#include "widgets/graphics/Font.h"

namespace {

// x * y / 255 rounded to nearest, for 0 <= x, y <= 255.
constexpr int Mul255(int x, int y) {
  return (x * y + 127) / 255;
}

// Source-over of an opaque colour `rgb` at alpha `a` (1..254) on `dst`:
// each channel (src * a + dst * (255 - a) + 127) / 255; the result's alpha
// is a + dstAlpha * (255 - a) / 255 rounded, so 255 over an opaque pixel.
inline std::uint32_t Blend(std::uint32_t dst, std::uint32_t rgb, int a) {
  const int na = 255 - a;
  const int r =
      (static_cast<int>((rgb >> 16) & 0xFF) * a + static_cast<int>((dst >> 16) & 0xFF) * na + 127) /
      255;
  const int g =
      (static_cast<int>((rgb >> 8) & 0xFF) * a + static_cast<int>((dst >> 8) & 0xFF) * na + 127) /
      255;
  const int b = (static_cast<int>(rgb & 0xFF) * a + static_cast<int>(dst & 0xFF) * na + 127) / 255;
  const int alpha = a + Mul255(static_cast<int>(dst >> 24), na);
  return (static_cast<std::uint32_t>(alpha) << 24) | (static_cast<std::uint32_t>(r) << 16) |
         (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// Blends one pixel at an effective alpha 0..255.
inline void Put(std::uint32_t& pixel, std::uint32_t rgb, int a) {
  if (a <= 0) return;
  if (a >= 255) {
    pixel = kOpaque | rgb;
  } else {
    pixel = Blend(pixel, rgb, a);
  }
}

// The first whole number n with n + 0.5 >= value, limited to [low, high]:
// the first pixel whose centre lies at or after `value`.
int FirstCentreAtOrAfter(double value, int low, int high) {
  const double n = std::ceil(value - 0.5);
  if (!(n > low)) return low;  // also for NaN
  if (n > high) return high;
  return static_cast<int>(n);
}

// Decodes the character at `pos` and moves past it. Returns the code point,
// or -1 for bytes that are no valid UTF-8 (a lead byte takes the
// continuation bytes that follow it with it, up to its length).
int NextCharacter(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int more;
  int code;
  if ((lead & 0xE0) == 0xC0) {
    more = 1;
    code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    more = 2;
    code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    more = 3;
    code = lead & 0x07;
  } else {
    return -1;  // a stray continuation byte or an invalid lead byte
  }
  bool complete = true;
  for (int i = 0; i < more; ++i) {
    if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
      complete = false;
      break;
    }
    code = (code << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
  }
  return complete ? code : -1;
}

const TGlyph& GlyphOf(const TFontFace& face, int code) {
  if (code < kFirstGlyph || code > kLastGlyph) code = '?';
  return face.Glyphs[code - kFirstGlyph];
}

}  // namespace

TCanvas::TCanvas(TPixelBuffer& target)
    : FTarget(target), FClip{0, 0, target.Width(), target.Height()} {}

void TCanvas::SetClip(const TRect& clip) {
  FClip = clip.Intersect({0, 0, FTarget.Width(), FTarget.Height()});
}

void TCanvas::BlendPixel(int x, int y, TColor color, std::uint8_t alpha) {
  if (!FClip.Contains(x, y)) return;
  Put(FTarget.Row(y)[x], color & 0xFFFFFFu, Mul255(static_cast<int>(color >> 24), alpha));
}

void TCanvas::FillRect(const TRect& rect, TColor color, std::uint8_t alpha) {
  const TRect area = rect.Intersect(FClip);
  if (area.Empty()) return;
  const int a = Mul255(static_cast<int>(color >> 24), alpha);
  if (a == 0) return;
  const std::uint32_t rgb = color & 0xFFFFFFu;
  for (int y = area.Top; y < area.Bottom(); ++y) {
    std::uint32_t* row = FTarget.Row(y) + area.Left;
    if (a == 255) {
      for (int i = 0; i < area.Width; ++i)
        row[i] = kOpaque | rgb;
    } else {
      for (int i = 0; i < area.Width; ++i)
        row[i] = Blend(row[i], rgb, a);
    }
  }
}

void TCanvas::FrameRect(const TRect& rect, TColor color, std::uint8_t alpha) {
  if (rect.Empty()) return;
  // Four pieces that do not overlap, so that no pixel blends twice.
  FillRect({rect.Left, rect.Top, rect.Width, 1}, color, alpha);
  if (rect.Height < 2) return;
  FillRect({rect.Left, rect.Bottom() - 1, rect.Width, 1}, color, alpha);
  FillRect({rect.Left, rect.Top + 1, 1, rect.Height - 2}, color, alpha);
  if (rect.Width < 2) return;
  FillRect({rect.Right() - 1, rect.Top + 1, 1, rect.Height - 2}, color, alpha);
}

// Scan conversion: row j is crossed at its centre y = j + 0.5 by the edges
// whose half-open span [lower y, upper y) holds y; pixel i is filled when its
// centre i + 0.5 lies in [left crossing, right crossing). Each edge is
// evaluated from its upper end, so two triangles sharing an edge neither
// overlap nor leave a gap.
void TCanvas::FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2,
                           TColor color, std::uint8_t alpha) {
  if (FClip.Empty()) return;
  const int a = Mul255(static_cast<int>(color >> 24), alpha);
  if (a == 0) return;
  const double xs[3] = {x0, x1, x2};
  const double ys[3] = {y0, y1, y2};
  for (int k = 0; k < 3; ++k) {
    if (!std::isfinite(xs[k]) || !std::isfinite(ys[k])) return;
  }
  const double top = std::min({y0, y1, y2});
  const double bottom = std::max({y0, y1, y2});
  const int firstRow = FirstCentreAtOrAfter(top, FClip.Top, FClip.Bottom());
  const int endRow = FirstCentreAtOrAfter(bottom, FClip.Top, FClip.Bottom());
  const std::uint32_t rgb = color & 0xFFFFFFu;
  for (int j = firstRow; j < endRow; ++j) {
    const double y = j + 0.5;
    double crossing[3];
    int count = 0;
    for (int k = 0; k < 3; ++k) {
      int upper = k;
      int lower = (k + 1) % 3;
      if (ys[upper] == ys[lower]) continue;
      if (ys[upper] > ys[lower]) std::swap(upper, lower);
      if (y < ys[upper] || y >= ys[lower]) continue;
      crossing[count++] =
          xs[upper] + (y - ys[upper]) * (xs[lower] - xs[upper]) / (ys[lower] - ys[upper]);
    }
    if (count < 2) continue;
    const double left = std::min(crossing[0], crossing[1]);
    const double right = std::max(crossing[0], crossing[1]);
    const int first = FirstCentreAtOrAfter(left, FClip.Left, FClip.Right());
    const int end = FirstCentreAtOrAfter(right, FClip.Left, FClip.Right());
    std::uint32_t* row = FTarget.Row(j);
    for (int i = first; i < end; ++i)
      Put(row[i], rgb, a);
  }
}

// Wu's line: along the major axis, every pixel whose centre lies in the
// half-open span [start, end) of the line gets one pixel of coverage,
// shared between the two pixels across the line whose centres bracket it in
// proportion to their nearness. The two shares add up to the alpha exactly,
// and a polyline draws each step of its major axis once.
void TCanvas::DrawLine(double x0, double y0, double x1, double y1, TColor color,
                       std::uint8_t alpha) {
  if (FClip.Empty()) return;
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return;
  }
  const int a = Mul255(static_cast<int>(color >> 24), alpha);
  if (a == 0) return;
  const std::uint32_t rgb = color & 0xFFFFFFu;
  const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
  // u is the major axis, v the minor one.
  double u0 = steep ? y0 : x0;
  double v0 = steep ? x0 : y0;
  double u1 = steep ? y1 : x1;
  double v1 = steep ? x1 : y1;
  if (u0 == u1) return;
  if (u0 > u1) {
    std::swap(u0, u1);
    std::swap(v0, v1);
  }
  const double slope = (v1 - v0) / (u1 - u0);
  const int uLow = steep ? FClip.Top : FClip.Left;
  const int uHigh = steep ? FClip.Bottom() : FClip.Right();
  const int first = FirstCentreAtOrAfter(u0, uLow, uHigh);
  const int end = FirstCentreAtOrAfter(u1, uLow, uHigh);
  const int vLow = steep ? FClip.Left : FClip.Top;
  const int vHigh = steep ? FClip.Right() : FClip.Bottom();
  for (int u = first; u < end; ++u) {
    const double position = v0 + (u + 0.5 - u0) * slope - 0.5;
    const double floor = std::floor(position);
    if (!(floor >= vLow - 1 && floor < vHigh)) continue;
    const int v = static_cast<int>(floor);
    const int farShare = static_cast<int>((position - floor) * a + 0.5);
    const int nearShare = a - farShare;
    if (v >= vLow && v < vHigh) {
      Put(steep ? FTarget.Row(u)[v] : FTarget.Row(v)[u], rgb, nearShare);
    }
    if (v + 1 >= vLow && v + 1 < vHigh) {
      Put(steep ? FTarget.Row(u)[v + 1] : FTarget.Row(v + 1)[u], rgb, farShare);
    }
  }
}

void TCanvas::DrawPicture(const std::uint32_t* pixels, int width, int height, int stride, int x,
                          int y) {
  const TRect area = TRect{x, y, width, height}.Intersect(FClip);
  if (area.Empty()) return;
  for (int j = area.Top; j < area.Bottom(); ++j) {
    const std::uint32_t* source =
        pixels + static_cast<std::ptrdiff_t>(j - y) * stride + (area.Left - x);
    std::uint32_t* row = FTarget.Row(j) + area.Left;
    bool opaque = true;
    for (int i = 0; i < area.Width; ++i)
      opaque &= (source[i] >> 24) == 0xFF;
    if (opaque) {
      std::memcpy(row, source, static_cast<std::size_t>(area.Width) * sizeof(std::uint32_t));
      continue;
    }
    for (int i = 0; i < area.Width; ++i) {
      Put(row[i], source[i] & 0xFFFFFFu, static_cast<int>(source[i] >> 24));
    }
  }
}

void TCanvas::DrawText(int x, int top, std::string_view text, TFontHeight height, TColor color,
                       std::uint8_t alpha) {
  if (FClip.Empty()) return;
  const int a = Mul255(static_cast<int>(color >> 24), alpha);
  if (a == 0) return;
  const std::uint32_t rgb = color & 0xFFFFFFu;
  const TFontFace& face = FontFace(height);
  int pen = x;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const TGlyph& glyph = GlyphOf(face, NextCharacter(text, pos));
    const TRect box{pen + glyph.Left, top + glyph.Top, glyph.Width, glyph.Height};
    const TRect area = box.Intersect(FClip);
    if (!area.Empty()) {
      for (int j = area.Top; j < area.Bottom(); ++j) {
        const std::uint8_t* coverage =
            face.Coverage + glyph.Offset + (j - box.Top) * glyph.Width + (area.Left - box.Left);
        std::uint32_t* row = FTarget.Row(j) + area.Left;
        for (int i = 0; i < area.Width; ++i)
          Put(row[i], rgb, Mul255(coverage[i], a));
      }
    }
    pen += glyph.Advance;
  }
}

int TCanvas::TextWidth(std::string_view text, TFontHeight height) {
  const TFontFace& face = FontFace(height);
  int width = 0;
  std::size_t pos = 0;
  while (pos < text.size())
    width += GlyphOf(face, NextCharacter(text, pos)).Advance;
  return width;
}

int TCanvas::Ascent(TFontHeight height) {
  return FontFace(height).Ascent;
}

int TCanvas::LineHeight(TFontHeight height) {
  return FontFace(height).LineHeight;
}
