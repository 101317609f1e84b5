#include "fuzz/LoadedPlugin.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

TLoadedPlugin::TLoadedPlugin(const std::string& path) : Library(path) {}

std::unique_ptr<TEffect> TLoadedPlugin::NewInstance() {
  auto effect = PluginHost.Instantiate(Library);
  effect->Dispatch(effOpen);
  return effect;
}

TLoadedPlugin& LoadPluginForFuzzing(const std::string& path) {
  unsetenv("DISPLAY");
  try {
    // Deliberately leaked: the library stays loaded until the process ends.
    return *new TLoadedPlugin(path);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Cannot load %s: %s\n", path.c_str(), error.what());
    std::exit(1);
  }
}
