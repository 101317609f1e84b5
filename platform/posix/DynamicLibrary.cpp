#include "tools/host/DynamicLibrary.h"

#include <dlfcn.h>

TLibraryHandle OpenDynamicLibrary(const std::string& path, std::string& error) {
  // A name without a slash would be searched on the loader's library path;
  // a host means the file itself.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  TLibraryHandle library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* message = dlerror();
    error = message != nullptr ? message : "unknown loader error";
  }
  return library;
}

void* FindLibrarySymbol(TLibraryHandle library, const char* name) {
  dlerror();
  return dlsym(library, name);
}

void CloseDynamicLibrary(TLibraryHandle library) {
  if (library != nullptr) dlclose(library);
}
