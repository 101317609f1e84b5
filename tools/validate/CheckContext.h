#pragma once

#include <cstdint>
#include <string>

// What every check gets: the plug-in's path, the level, the seed and how
// often to repeat its work.
struct TCheckContext {
  std::string PluginPath;
  int Level = 1;
  std::uint64_t Seed = 1;
  // 10 at the top level, else 1.
  int Repeats = 1;
};
