#include "tools/validate/ValidateOptions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

template <class Number>
bool ParseWhole(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

bool ParseSeconds(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value) && value > 0;
}

}  // namespace

std::optional<TValidateOptions> ParseValidateOptions(const std::vector<std::string>& arguments,
                                                     std::string& error) {
  TValidateOptions options;
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (argument == "--help" || argument == "-h") {
      options.Help = true;
      return options;
    }
    if (argument == "--list") {
      options.List = true;
      continue;
    }
    const bool takesValue = argument == "--level" || argument == "--seed" || argument == "--skip" ||
                            argument == "--only" || argument == "--call-timeout" ||
                            argument == "--check-timeout";
    if (takesValue) {
      if (index + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return std::nullopt;
      }
      const std::string& value = arguments[++index];
      if (argument == "--level") {
        if (!ParseWhole(value, options.Level) || options.Level < TValidateOptions::kLowestLevel ||
            options.Level > TValidateOptions::kHighestLevel) {
          error = "--level takes a whole number from 1 to 10, not \"" + value + "\"";
          return std::nullopt;
        }
      } else if (argument == "--seed") {
        if (!ParseWhole(value, options.Seed)) {
          error = "--seed takes a whole number, not \"" + value + "\"";
          return std::nullopt;
        }
      } else if (argument == "--skip") {
        options.Skip.insert(value);
      } else if (argument == "--only") {
        options.Only.insert(value);
      } else {
        double& seconds = argument == "--call-timeout" ? options.CallSeconds : options.CheckSeconds;
        if (!ParseSeconds(value, seconds)) {
          error = argument + " takes a positive number of seconds, not \"" + value + "\"";
          return std::nullopt;
        }
      }
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + argument;
      return std::nullopt;
    }
    if (!options.PluginPath.empty()) {
      error = "one plug-in at a time";
      return std::nullopt;
    }
    options.PluginPath = argument;
  }
  if (options.PluginPath.empty() && !options.List) {
    error = "no plug-in given";
    return std::nullopt;
  }
  return options;
}

void PrintValidateUsage(std::ostream& out) {
  out << "Usage: validate [OPTIONS] PLUGIN\n"
         "Runs host-behaviour checks on the VST 2 plug-in binary PLUGIN, each in a process of\n"
         "its own, and prints one line per check and last \"N passed, M failed\". The exit\n"
         "status is 1 when a check failed, 2 on a usage error.\n"
         "\n"
         "  --level N          1 to 10 (default 5): higher levels add checks and repetitions;\n"
         "                     1 scanning, 2 texts and parameter values, 3 processing at one\n"
         "                     rate and allocations, 5 every rate, block size and precision\n"
         "                     and block invariance, 6 state, 7 threads, 8 the editor, 10 all\n"
         "                     of it ten times\n"
         "  --seed N           seed of the test signals and parameter values (default 1)\n"
         "  --skip CHECK       leaves a check out (repeatable), e.g. --skip block-invariance\n"
         "                     for a plug-in whose output depends on the block size by design\n"
         "  --only CHECK       runs only the named checks (repeatable), whatever their level;\n"
         "                     the level still sets how thoroughly\n"
         "  --call-timeout S   seconds one call into the plug-in may take (default 10)\n"
         "  --check-timeout S  seconds one check may take (default 120)\n"
         "  --list             prints the checks with the level each starts at\n"
         "  --help             prints this text\n";
}
