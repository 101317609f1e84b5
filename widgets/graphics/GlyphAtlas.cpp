// TEMPORARY STUB, replaced by the generated atlas of tools/artwork in the
// next commit: every character is an empty glyph.
#include "widgets/graphics/Font.h"

namespace {
constexpr std::uint8_t kNoCoverage[1] = {0};
struct TStubGlyphs {
  TGlyph Glyphs[kGlyphCount];
  constexpr explicit TStubGlyphs(int advance) : Glyphs{} {
    for (TGlyph& glyph : Glyphs)
      glyph = {static_cast<std::int16_t>(advance), 0, 0, 0, 0, 0};
  }
};
constexpr TStubGlyphs kStub7(4);
constexpr TStubGlyphs kStub11(7);
}  // namespace

const TFontFace kFontFace7 = {7, 9, kStub7.Glyphs, kNoCoverage};
const TFontFace kFontFace11 = {11, 13, kStub11.Glyphs, kNoCoverage};
