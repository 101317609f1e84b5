#include "tools/host/HostText.h"

#include <algorithm>
#include <cstring>

TBoundedText ReadBoundedText(const void* ptr, std::size_t limit) {
  TBoundedText result;
  if (ptr == nullptr) return result;
  // Byte by byte: the bytes after a terminating zero may not be readable.
  const auto* bytes = static_cast<const char*>(ptr);
  for (std::size_t i = 0; i < limit; ++i) {
    if (bytes[i] == '\0') {
      result.Terminated = true;
      break;
    }
    result.Text.push_back(bytes[i]);
  }
  return result;
}

bool WriteBoundedText(void* ptr, std::string_view text, std::size_t size) {
  if (ptr == nullptr || size == 0) return false;
  const std::size_t length = std::min(text.size(), size - 1);
  auto* bytes = static_cast<char*>(ptr);
  std::memcpy(bytes, text.data(), length);
  bytes[length] = '\0';
  return true;
}
