#pragma once

#include <cstdint>

#include "widgets/graphics/Canvas.h"

// The glyph atlas the canvas draws text from: coverage bitmaps of the
// printable ASCII characters 32 to 126 at each TFontHeight, rasterised once
// by tools/artwork into the generated GlyphAtlas.cpp.
inline constexpr int kFirstGlyph = 32;
inline constexpr int kLastGlyph = 126;
inline constexpr int kGlyphCount = kLastGlyph - kFirstGlyph + 1;

struct TGlyph {
  // Whole pixels the pen moves on after the character.
  std::int16_t Advance;
  // The bitmap's top-left corner: columns right of the pen, rows below the
  // top of the line box.
  std::int16_t Left;
  std::int16_t Top;
  std::uint8_t Width;
  std::uint8_t Height;
  // Index of the bitmap's first coverage byte (rows of Width bytes).
  std::uint32_t Offset;
};

struct TFontFace {
  // Rows from the top of the line box to the baseline.
  int Ascent;
  // Rows of one line box.
  int LineHeight;
  // kGlyphCount glyphs, for the characters kFirstGlyph to kLastGlyph.
  const TGlyph* Glyphs;
  // Coverage, 0 (none) to 255 (full).
  const std::uint8_t* Coverage;
};

extern const TFontFace kFontFace7;
extern const TFontFace kFontFace11;

inline const TFontFace& FontFace(TFontHeight height) {
  return height == TFontHeight::fh7 ? kFontFace7 : kFontFace11;
}
