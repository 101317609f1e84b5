#include "tools/artwork/PngFile.h"

#include <cstdint>
#include <vector>

// The stb implementations stay private to this file, so that nothing else
// linked with the library can clash with them.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image.h"
#include "stb_image_write.h"

bool WritePng(const std::string& path, const TPixelBuffer& pixels) {
  const int width = pixels.Width();
  const int height = pixels.Height();
  if (width <= 0 || height <= 0) return false;
  std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
  const std::uint32_t* source = pixels.Data();
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    rgba[4 * i + 0] = static_cast<unsigned char>(source[i] >> 16);
    rgba[4 * i + 1] = static_cast<unsigned char>(source[i] >> 8);
    rgba[4 * i + 2] = static_cast<unsigned char>(source[i]);
    rgba[4 * i + 3] = static_cast<unsigned char>(source[i] >> 24);
  }
  return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

std::optional<TPixelBuffer> ReadPng(const std::string& path) {
  int width = 0;
  int height = 0;
  int channels = 0;
  unsigned char* rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (rgba == nullptr) return std::nullopt;
  TPixelBuffer pixels(width, height);
  std::uint32_t* target = pixels.Data();
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    target[i] = (static_cast<std::uint32_t>(rgba[4 * i + 3]) << 24) |
                (static_cast<std::uint32_t>(rgba[4 * i + 0]) << 16) |
                (static_cast<std::uint32_t>(rgba[4 * i + 1]) << 8) | rgba[4 * i + 2];
  }
  stbi_image_free(rgba);
  return pixels;
}
