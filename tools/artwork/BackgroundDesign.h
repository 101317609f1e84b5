#pragma once

#include <string>

#include "tools/artwork/TrueTypeFont.h"
#include "widgets/graphics/PixelBuffer.h"

// Paints the editor's background picture, kBackgroundWidth x
// kBackgroundHeight opaque pixels: a pale backdrop behind the controls on
// the left, Rio's bay with the Sugarloaf as a dark silhouette on the right
// under the hint line, and the title lettering above it.
TPixelBuffer PaintBackground(const TTrueTypeFont& titleFont, const TTrueTypeFont& textFont);

// The C++ source of the picture, formatted as clang-format leaves it.
std::string BackgroundPictureSource(const TPixelBuffer& picture, const std::string& fontNames);
