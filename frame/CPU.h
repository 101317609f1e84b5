#pragma once

#include <cstdint>

// Information about the processor the plug-in runs on, for effect modules and
// editors. Nothing in the frame or the DSP depends on it.
// Detection is filled in with the processor-information work; until then every
// field reads 0.
class TCPU {
 public:
  TCPU() = default;
};
