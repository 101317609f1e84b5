#pragma once

#include <string>

#include "frame/DVSTEffect.h"
#include "tools/host/DynamicLibrary.h"

// The exported entry point of a plug-in binary.
using TVstEntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback host);

// A plug-in binary loaded as a host loads it: the library is opened with every
// symbol resolved at once, and its entry point is VSTPluginMain or, failing
// that, main. The library is unloaded on destruction, so every effect made
// from it must be closed first.
class TPluginLibrary {
 public:
  // Throws std::runtime_error for a missing file, a file that is not a
  // loadable library, or a library without an entry point.
  explicit TPluginLibrary(std::string path);
  ~TPluginLibrary();

  TPluginLibrary(TPluginLibrary&& other) noexcept;
  TPluginLibrary& operator=(TPluginLibrary&& other) noexcept;
  TPluginLibrary(const TPluginLibrary&) = delete;
  TPluginLibrary& operator=(const TPluginLibrary&) = delete;

  const std::string& Path() const { return FilePath; }
  TVstEntryPoint EntryPoint() const { return Entry; }
  // "VSTPluginMain" or "main", whichever was found.
  const std::string& EntryPointName() const { return EntryName; }

  // Any further exported symbol, or null.
  void* FindSymbol(const char* name) const;

 private:
  std::string FilePath;
  TLibraryHandle Handle = nullptr;
  TVstEntryPoint Entry = nullptr;
  std::string EntryName;
};
