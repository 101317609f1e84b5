#include "platform/HostEncoding.h"

// Linux hosts speak UTF-8, as our texts do.
std::string ToHostEncoding(std::string_view utf8) {
  return std::string(utf8);
}

std::string FromHostEncoding(std::string_view hostText) {
  return std::string(hostText);
}

std::size_t HostEncodingCut(std::string_view hostText, std::size_t maxBytes) {
  if (hostText.size() <= maxBytes) return hostText.size();
  std::size_t end = maxBytes;
  // Back to the start of the character the limit falls into.
  while (end > 0 && (static_cast<unsigned char>(hostText[end]) & 0xC0) == 0x80)
    --end;
  return end;
}
