#pragma once

#include <algorithm>
#include <cstdint>

// Colours are 0xAARRGGBB words, the pixel format of TPixelBuffer. Stored
// form descriptions keep Windows colour values (0x00BBGGRR); ColorFromBGR
// turns one into an opaque pixel colour.
using TColor = std::uint32_t;

constexpr TColor kOpaque = 0xFF000000u;

constexpr TColor ColorFromRGB(std::uint32_t rgb) {
  return kOpaque | (rgb & 0xFFFFFFu);
}
constexpr TColor ColorFromBGR(std::uint32_t bgr) {
  return kOpaque | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

// A rectangle of whole pixels: Left and Top are inside, Right() and Bottom()
// the first column and row outside.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  constexpr int Right() const { return Left + Width; }
  constexpr int Bottom() const { return Top + Height; }
  constexpr bool Empty() const { return Width <= 0 || Height <= 0; }
  constexpr bool Contains(int x, int y) const {
    return x >= Left && x < Right() && y >= Top && y < Bottom();
  }
  constexpr TRect Intersect(const TRect& other) const {
    const int left = std::max(Left, other.Left);
    const int top = std::max(Top, other.Top);
    const int right = std::min(Right(), other.Right());
    const int bottom = std::min(Bottom(), other.Bottom());
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  constexpr TRect Union(const TRect& other) const {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    const int left = std::min(Left, other.Left);
    const int top = std::min(Top, other.Top);
    return {left, top, std::max(Right(), other.Right()) - left,
            std::max(Bottom(), other.Bottom()) - top};
  }
  constexpr bool operator==(const TRect&) const = default;
};
