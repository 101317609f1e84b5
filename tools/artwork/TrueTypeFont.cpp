#include "tools/artwork/TrueTypeFont.h"

#include <fstream>
#include <iterator>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include "stb_truetype.h"

struct TTrueTypeFont::TInfo {
  stbtt_fontinfo Font;
};

TTrueTypeFont::TTrueTypeFont() : FInfo(std::make_unique<TInfo>()) {}

TTrueTypeFont::~TTrueTypeFont() = default;

bool TTrueTypeFont::Load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  FData.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (FData.empty()) return false;
  const int offset = stbtt_GetFontOffsetForIndex(FData.data(), 0);
  return offset >= 0 && stbtt_InitFont(&FInfo->Font, FData.data(), offset) != 0;
}

double TTrueTypeFont::ScaleForEm(double pixels) const {
  return stbtt_ScaleForMappingEmToPixels(&FInfo->Font, static_cast<float>(pixels));
}

void TTrueTypeFont::VerticalMetrics(int& ascent, int& descent, int& lineGap) const {
  stbtt_GetFontVMetrics(&FInfo->Font, &ascent, &descent, &lineGap);
  descent = -descent;
}

int TTrueTypeFont::Advance(int codepoint) const {
  int advance = 0;
  int bearing = 0;
  stbtt_GetCodepointHMetrics(&FInfo->Font, codepoint, &advance, &bearing);
  return advance;
}

int TTrueTypeFont::KernAdvance(int first, int second) const {
  return stbtt_GetCodepointKernAdvance(&FInfo->Font, first, second);
}

TTrueTypeFont::TBitmap TTrueTypeFont::Rasterise(int codepoint, double scale, double shiftX) const {
  const auto s = static_cast<float>(scale);
  const auto shift = static_cast<float>(shiftX);
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  stbtt_GetCodepointBitmapBoxSubpixel(&FInfo->Font, codepoint, s, s, shift, 0, &x0, &y0, &x1, &y1);
  TBitmap bitmap;
  if (x1 <= x0 || y1 <= y0) return bitmap;
  bitmap.Left = x0;
  bitmap.Top = y0;
  bitmap.Width = x1 - x0;
  bitmap.Height = y1 - y0;
  bitmap.Coverage.assign(static_cast<std::size_t>(bitmap.Width) * bitmap.Height, 0);
  stbtt_MakeCodepointBitmapSubpixel(&FInfo->Font, bitmap.Coverage.data(), bitmap.Width,
                                    bitmap.Height, bitmap.Width, s, s, shift, 0, codepoint);
  return bitmap;
}
