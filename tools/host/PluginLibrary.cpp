#include "tools/host/PluginLibrary.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

namespace {

// Hosts look for these names in this order.
constexpr const char* kEntryPointNames[] = {"VSTPluginMain", "main"};

}  // namespace

TPluginLibrary::TPluginLibrary(std::string path) : FilePath(std::move(path)) {
  std::error_code status;
  if (!std::filesystem::exists(FilePath, status)) {
    throw std::runtime_error("Cannot load plug-in '" + FilePath + "': no such file");
  }
  std::string error;
  Handle = OpenDynamicLibrary(FilePath, error);
  if (Handle == nullptr) {
    throw std::runtime_error("Cannot load plug-in '" + FilePath + "': not a loadable library (" +
                             error + ")");
  }
  for (const char* name : kEntryPointNames) {
    if (void* symbol = FindLibrarySymbol(Handle, name)) {
      Entry = reinterpret_cast<TVstEntryPoint>(symbol);
      EntryName = name;
      return;
    }
  }
  CloseDynamicLibrary(Handle);
  Handle = nullptr;
  throw std::runtime_error("Cannot load plug-in '" + FilePath +
                           "': it exports neither VSTPluginMain nor main");
}

TPluginLibrary::~TPluginLibrary() {
  CloseDynamicLibrary(Handle);
}

TPluginLibrary::TPluginLibrary(TPluginLibrary&& other) noexcept
    : FilePath(std::move(other.FilePath)),
      Handle(std::exchange(other.Handle, nullptr)),
      Entry(std::exchange(other.Entry, nullptr)),
      EntryName(std::move(other.EntryName)) {}

TPluginLibrary& TPluginLibrary::operator=(TPluginLibrary&& other) noexcept {
  if (this != &other) {
    CloseDynamicLibrary(Handle);
    FilePath = std::move(other.FilePath);
    Handle = std::exchange(other.Handle, nullptr);
    Entry = std::exchange(other.Entry, nullptr);
    EntryName = std::move(other.EntryName);
  }
  return *this;
}

void* TPluginLibrary::FindSymbol(const char* name) const {
  return Handle != nullptr ? FindLibrarySymbol(Handle, name) : nullptr;
}
