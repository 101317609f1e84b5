#include "tools/host/PluginLibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

#include "tests/tools/RawPluginProtocol.h"
#include "tools/host/Host.h"

namespace {

// Asks the loader, without loading, whether the file is loaded.
bool IsLoaded(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

std::string LoadError(const char* path) {
  try {
    TPluginLibrary library(path);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(PluginLibraryEntryPoint, PrefersVSTPluginMain) {
  const TPluginLibrary library(RAW_PLUGIN_PATH);
  EXPECT_EQ(library.EntryPointName(), "VSTPluginMain");
  EXPECT_EQ(reinterpret_cast<void*>(library.EntryPoint()), library.FindSymbol("VSTPluginMain"));
  // The plug-in exports main as a second name of the same function.
  EXPECT_EQ(library.FindSymbol("main"), library.FindSymbol("VSTPluginMain"));
}

TEST(PluginLibraryEntryPoint, FallsBackToMain) {
  const TPluginLibrary library(RAW_MAIN_ONLY_PLUGIN_PATH);
  EXPECT_EQ(library.EntryPointName(), "main");
  EXPECT_EQ(library.FindSymbol("VSTPluginMain"), nullptr);
  TRecordingHost host;
  const auto effect = host.Instantiate(library);
  EXPECT_EQ(effect->Record()->uniqueID, kRawUniqueId);
}

TEST(PluginLibraryEntryPoint, FileNameWithoutDirectoryMeansTheFileNotALibrarySearch) {
  const std::filesystem::path plugin(RAW_PLUGIN_PATH);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(plugin.parent_path());
  std::string error;
  try {
    const TPluginLibrary library(plugin.filename().string());
    EXPECT_EQ(library.EntryPointName(), "VSTPluginMain");
  } catch (const std::runtime_error& failure) {
    error = failure.what();
  }
  std::filesystem::current_path(previous);
  EXPECT_EQ(error, "");
}

TEST(PluginLibraryErrors, MissingFileNamesThePath) {
  const std::string error = LoadError("/nonexistent/quillo.so");
  EXPECT_TRUE(Contains(error, "'/nonexistent/quillo.so'")) << error;
  EXPECT_TRUE(Contains(error, "no such file")) << error;
}

TEST(PluginLibraryErrors, FileThatIsNoLibrary) {
  const std::string error = LoadError(NOT_A_LIBRARY_PATH);
  EXPECT_TRUE(Contains(error, NOT_A_LIBRARY_PATH)) << error;
  EXPECT_TRUE(Contains(error, "not a loadable library")) << error;
}

TEST(PluginLibraryErrors, LibraryWithoutEntryPointIsRefusedAndUnloaded) {
  const std::string error = LoadError(NO_ENTRY_LIBRARY_PATH);
  EXPECT_TRUE(Contains(error, "neither VSTPluginMain nor main")) << error;
  EXPECT_FALSE(IsLoaded(NO_ENTRY_LIBRARY_PATH));
}

TEST(PluginLibraryLifetime, UnloadsOnDestruction) {
  {
    const TPluginLibrary library(RAW_PLUGIN_PATH);
    ASSERT_TRUE(IsLoaded(RAW_PLUGIN_PATH));
  }
  EXPECT_FALSE(IsLoaded(RAW_PLUGIN_PATH));
}

TEST(PluginLibraryLifetime, MovedLibraryStaysLoadedUntilItsLastOwnerGoes) {
  {
    TPluginLibrary first(RAW_PLUGIN_PATH);
    TPluginLibrary second(std::move(first));
    EXPECT_EQ(first.EntryPoint(), nullptr);
    EXPECT_EQ(first.FindSymbol("VSTPluginMain"), nullptr);
    {
      TPluginLibrary third(RAW_MAIN_ONLY_PLUGIN_PATH);
      third = std::move(second);
      // Assignment released the library third held before.
      EXPECT_FALSE(IsLoaded(RAW_MAIN_ONLY_PLUGIN_PATH));
      EXPECT_TRUE(IsLoaded(RAW_PLUGIN_PATH));
      TRecordingHost host;
      EXPECT_EQ(host.Instantiate(third)->Record()->uniqueID, kRawUniqueId);
    }
    EXPECT_FALSE(IsLoaded(RAW_PLUGIN_PATH));
  }
}
