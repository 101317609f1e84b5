#include "frame/FourCharCode.h"

#include <cstdint>

VstInt32 PackFourCharCode(const std::string& id) {
  std::uint32_t code = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::uint32_t byte = i < id.size() ? static_cast<unsigned char>(id[i]) : 0u;
    code = (code << 8) | byte;
  }
  return static_cast<VstInt32>(code);
}

std::string UnpackFourCharCode(VstInt32 code) {
  const auto bits = static_cast<std::uint32_t>(code);
  std::string id(4, '\0');
  for (int i = 0; i < 4; ++i)
    id[static_cast<std::size_t>(i)] = static_cast<char>(bits >> (24 - 8 * i));
  return id;
}
