#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artwork/TrueTypeFont.h"
#include "widgets/graphics/Font.h"

// One face of the glyph atlas as the generator builds it, before it becomes
// the source widgets/graphics/GlyphAtlas.cpp.
struct TAtlasFace {
  int EmPixels = 0;
  int Ascent = 0;
  int LineHeight = 0;
  std::vector<TGlyph> Glyphs;
  std::vector<std::uint8_t> Coverage;
};

// Rasterises the characters kFirstGlyph to kLastGlyph with an em of
// `emPixels`: pens on whole pixels, advances rounded, and each outline
// moved by the fraction of a pixel that keeps its coverage sharpest.
TAtlasFace BuildAtlasFace(const TTrueTypeFont& font, int emPixels);

// The C++ source of both faces (7 and 11 pixels), formatted as clang-format
// leaves it.
std::string GlyphAtlasSource(const TAtlasFace& face7, const TAtlasFace& face11,
                             const std::string& fontName);
