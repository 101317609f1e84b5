#pragma once

#include <memory>
#include <string>
#include <vector>

// A TrueType font file rasterised with stb_truetype, for the artwork
// generator only: the plug-in links the generated bitmaps, never this.
class TTrueTypeFont {
 public:
  // A glyph's coverage bitmap (rows of Width bytes, 0 to 255) and where its
  // top-left corner lies from the pen on the baseline (Top < 0 is above).
  struct TBitmap {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Coverage;
  };

  TTrueTypeFont();
  ~TTrueTypeFont();
  // Reads the file; false when it is missing or no font.
  bool Load(const std::string& path);

  // The scale that makes the em `pixels` high.
  double ScaleForEm(double pixels) const;
  // The ascender and descender (both as positive distances) and line gap
  // in font units.
  void VerticalMetrics(int& ascent, int& descent, int& lineGap) const;
  // The advance in font units.
  int Advance(int codepoint) const;
  int KernAdvance(int first, int second) const;
  // The glyph at `scale`, its outline moved right by `shiftX` pixels.
  TBitmap Rasterise(int codepoint, double scale, double shiftX = 0) const;

 private:
  struct TInfo;
  std::vector<unsigned char> FData;
  std::unique_ptr<TInfo> FInfo;
};
