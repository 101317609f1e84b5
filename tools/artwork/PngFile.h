#pragma once

#include <optional>
#include <string>

#include "widgets/graphics/PixelBuffer.h"

// PNG files of canvas pictures, for the tools and the tests (native builds
// only). Pixels are 0xAARRGGBB words as in TPixelBuffer; files hold 8-bit
// RGBA.

// Writes `pixels` as an RGBA PNG; false when the file cannot be written.
bool WritePng(const std::string& path, const TPixelBuffer& pixels);

// Reads any PNG as RGBA pixels; nothing when the file is missing or no PNG.
std::optional<TPixelBuffer> ReadPng(const std::string& path);
