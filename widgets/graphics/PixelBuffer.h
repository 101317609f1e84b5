#pragma once

#include <cstdint>
#include <vector>

// A 32-bit picture every control draws into and every platform shows as it
// is. Pixels are 0xAARRGGBB words, row after row with no padding, so the
// stride is Width(); both X11 TrueColor images and Win32 DIBs take the rows
// unchanged on little-endian machines.
class TPixelBuffer {
 public:
  TPixelBuffer(int width, int height)
      : FWidth(width), FHeight(height), FPixels(Size(width, height)) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  std::uint32_t* Row(int y) { return FPixels.data() + static_cast<std::size_t>(y) * FWidth; }
  const std::uint32_t* Row(int y) const {
    return FPixels.data() + static_cast<std::size_t>(y) * FWidth;
  }
  std::uint32_t* Data() { return FPixels.data(); }
  const std::uint32_t* Data() const { return FPixels.data(); }

 private:
  static std::size_t Size(int width, int height) {
    return width > 0 && height > 0 ? static_cast<std::size_t>(width) * height : 0;
  }

  int FWidth;
  int FHeight;
  std::vector<std::uint32_t> FPixels;
};
