#include "frame/HostText.h"

#include <cstring>

#include "platform/HostEncoding.h"

namespace {

bool IsContinuationByte(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

}  // namespace

std::string_view CutToCharacters(std::string_view text, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(static_cast<unsigned char>(text[i]))) continue;
    if (chars == maxChars) return text.substr(0, i);
    ++chars;
  }
  return text;
}

std::string_view CutToBytes(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  while (end > 0 && IsContinuationByte(static_cast<unsigned char>(text[end])))
    --end;
  return text.substr(0, end);
}

void WriteHostText(char* buffer, std::size_t bufferSize, std::string_view text) {
  if (buffer == nullptr || bufferSize == 0) return;
  const std::string host = ToHostEncoding(text);
  const std::size_t length = HostEncodingCut(host, bufferSize - 1);
  std::memcpy(buffer, host.data(), length);
  buffer[length] = '\0';
}

std::string ReadHostText(const char* text, std::size_t maxBytes) {
  if (text == nullptr) return {};
  const void* end = std::memchr(text, 0, maxBytes);
  const std::size_t length =
      end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : maxBytes;
  return FromHostEncoding(std::string_view(text, length));
}
