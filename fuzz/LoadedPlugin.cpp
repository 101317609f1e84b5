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

TLoadedPlugin& LoadPluginForFuzzing(const char* variable, const std::string& builtInPath) {
  unsetenv("DISPLAY");
  const char* chosen = std::getenv(variable);
  const std::string path = chosen != nullptr && *chosen != '\0' ? chosen : builtInPath;
  try {
    // Deliberately leaked: the library stays loaded until the process ends.
    return *new TLoadedPlugin(path);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Cannot load %s: %s\n", path.c_str(), error.what());
    std::exit(1);
  }
}
