#include <windows.h>

#include <string>

#include "tools/host/DynamicLibrary.h"

namespace {

std::wstring Widened(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace

TLibraryHandle OpenDynamicLibrary(const std::string& path, std::string& error) {
  HMODULE library = LoadLibraryW(Widened(path).c_str());
  if (library == nullptr) error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return reinterpret_cast<TLibraryHandle>(library);
}

void* FindLibrarySymbol(TLibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseDynamicLibrary(TLibraryHandle library) {
  if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}
