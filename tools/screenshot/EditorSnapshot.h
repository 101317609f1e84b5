#pragma once

#include "widgets/graphics/PixelBuffer.h"

// The editor as it looks right after opening on `program`, rendered with an
// effect module built in this process and no windowing system: the pixels a
// user sees in the host's window.
TPixelBuffer RenderEditorSnapshot(int program);
