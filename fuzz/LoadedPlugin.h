#pragma once

#include <memory>
#include <string>

#include "tools/host/Effect.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

// A plug-in binary loaded once for the life of the fuzzing process (never
// unloaded: its coverage counters must stay where libFuzzer registered
// them), with the host that instantiates it.
class TLoadedPlugin {
 public:
  explicit TLoadedPlugin(const std::string& path);

  // A fresh instance, opened (effOpen) as a host does after the entry point.
  std::unique_ptr<TEffect> NewInstance();
  THost& Host() { return PluginHost; }

 private:
  TPluginLibrary Library;
  THost PluginHost;
};

// Prepares the process as every fuzz target wants it: no display (the editor
// must fail quietly without one) and a plug-in loaded: the one the
// environment variable names, if set (to fuzz another binary), else the one
// at builtInPath. Answers the loaded plug-in, which lives until the process
// ends.
TLoadedPlugin& LoadPluginForFuzzing(const char* variable, const std::string& builtInPath);
