#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// The validator's command line.
struct TValidateOptions {
  static constexpr int kLowestLevel = 1;
  static constexpr int kHighestLevel = 10;
  static constexpr int kDefaultLevel = 5;

  std::string PluginPath;
  int Level = kDefaultLevel;
  std::uint64_t Seed = 1;
  // Checks left out by name, and, when given, the only checks run.
  std::set<std::string> Skip;
  std::set<std::string> Only;
  // Seconds allowed for one call into the plug-in and for one check.
  double CallSeconds = 10.0;
  double CheckSeconds = 120.0;
  bool List = false;
  bool Help = false;
};

// Parses arguments (without the program name). Answers nothing and sets
// error on a mistake; the names of the checks are checked by the caller.
std::optional<TValidateOptions> ParseValidateOptions(const std::vector<std::string>& arguments,
                                                     std::string& error);

void PrintValidateUsage(std::ostream& out);
