#pragma once

#include <string>

#include "frame/DVSTEffect.h"

// Packs the first four characters of id, first in the most significant byte;
// missing characters pack as 0 bytes.
VstInt32 PackFourCharCode(const std::string& id);

// The four characters of a packed code, most significant byte first.
std::string UnpackFourCharCode(VstInt32 code);
