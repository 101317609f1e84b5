#include <windows.h>

#include "platform/HostEncoding.h"

// Windows hosts read and write VST 2 texts in the system's ANSI code page.
namespace {

std::wstring Wide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(codePage, 0, wide.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::string ToHostEncoding(std::string_view utf8) {
  return Narrow(Wide(utf8, CP_UTF8), CP_ACP);
}

std::string FromHostEncoding(std::string_view hostText) {
  return Narrow(Wide(hostText, CP_ACP), CP_UTF8);
}

std::size_t HostEncodingCut(std::string_view hostText, std::size_t maxBytes) {
  if (hostText.size() <= maxBytes) return hostText.size();
  // Character by character: the ANSI code pages of East Asian systems have
  // characters of two bytes.
  const std::string text(hostText);
  const char* start = text.c_str();
  const char* fits = start;
  while (*fits != '\0') {
    const char* next = CharNextExA(CP_ACP, fits, 0);
    if (next == fits || static_cast<std::size_t>(next - start) > maxBytes) break;
    fits = next;
  }
  return static_cast<std::size_t>(fits - start);
}
