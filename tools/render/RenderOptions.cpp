#include "tools/render/RenderOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "tools/render/OutputFormat.h"
#include "tools/render/ParameterEntry.h"

namespace {

// Blocks larger than this are no use to anyone and would only cost memory.
constexpr std::size_t kLargestBlock = 1 << 20;

template <class Number>
Number ParseNumber(const std::string& option, const std::string& text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) {
    throw TUsageError(option + " expects a number, not \"" + text + "\"");
  }
  return value;
}

std::size_t ParseBlockSize(const std::string& text) {
  const auto value = ParseNumber<long long>("--block", text);
  if (value < 1 || static_cast<unsigned long long>(value) > kLargestBlock) {
    throw TUsageError("--block expects 1 to " + std::to_string(kLargestBlock) + " frames");
  }
  return static_cast<std::size_t>(value);
}

int ParseBits(const std::string& text) {
  const int value = ParseNumber<int>("--bits", text);
  if (value != kIntegerBits16 && value != kIntegerBits24 && value != kFloatBits) {
    throw TUsageError("--bits expects 16, 24 or 32 (float)");
  }
  return value;
}

double ParseTail(const std::string& text) {
  const auto value = ParseNumber<double>("--tail", text);
  if (!std::isfinite(value) || value < 0.0) {
    throw TUsageError("--tail expects a number of seconds, 0 or more");
  }
  return value;
}

std::pair<std::string, std::string> ParseSetting(const std::string& text) {
  try {
    return SplitSetting(text);
  } catch (const std::invalid_argument& error) {
    throw TUsageError(std::string("--set: ") + error.what());
  }
}

}  // namespace

TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments,
                                  std::string defaultPlugin) {
  TRenderOptions options;
  options.Plugin = std::move(defaultPlugin);
  using TTaker = std::function<void(const std::string&)>;
  const std::map<std::string, TTaker> withValue = {
      {"--plugin", [&](const std::string& v) { options.Plugin = v; }},
      {"--program", [&](const std::string& v) { options.Program = v; }},
      {"--set", [&](const std::string& v) { options.Settings.push_back(ParseSetting(v)); }},
      {"--block", [&](const std::string& v) { options.BlockSize = ParseBlockSize(v); }},
      {"--bits", [&](const std::string& v) { options.Bits = ParseBits(v); }},
      {"--tail", [&](const std::string& v) { options.TailSeconds = ParseTail(v); }},
  };

  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      files.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      options.Help = true;
    } else if (argument == "--double") {
      options.DoublePrecision = true;
    } else if (argument == "--list") {
      options.List = true;
    } else {
      // --name VALUE or --name=VALUE.
      const auto equals = argument.find('=');
      const std::string name = argument.substr(0, equals);
      const auto taker = withValue.find(name);
      if (taker == withValue.end()) throw TUsageError("Unknown option " + name);
      if (equals != std::string::npos) {
        taker->second(argument.substr(equals + 1));
      } else if (i + 1 < arguments.size()) {
        taker->second(arguments[++i]);
      } else {
        throw TUsageError(name + " expects a value");
      }
    }
  }
  if (options.Help) return options;

  const std::size_t wanted = options.List ? 0 : 2;
  if (files.size() != wanted) {
    throw TUsageError(options.List ? "--list takes no files"
                                   : "Expected an input and an output file");
  }
  if (!options.List) {
    options.Input = files[0];
    options.Output = files[1];
  }
  return options;
}

std::string RenderUsage(const std::string& defaultPlugin) {
  return "Usage: render [OPTIONS] INPUT OUTPUT\n"
         "       render [--plugin PATH] --list\n"
         "Renders the audio file INPUT through a VST 2 plug-in into OUTPUT, in the\n"
         "format that OUTPUT's extension names:\n  " +
         KnownOutputExtensions() +
         ".\n"
         "\n"
         "Options:\n"
         "  --plugin PATH      the plug-in binary (default: " +
         defaultPlugin +
         ")\n"
         "  --program P        select program P: its index from 0, or a name only one\n"
         "                     program has\n"
         "  --set NAME=VALUE   set parameter NAME in its own units, e.g. --set \"Harm 3=-12\";\n"
         "                     may be repeated; applied after --program\n"
         "  --block N          frames per processing call (default 512)\n"
         "  --double           process in double precision\n"
         "  --bits 16|24|32    16- or 24-bit integer samples, or 32-bit float (default;\n"
         "                     FLAC holds no float and defaults to 24)\n"
         "  --tail SECONDS     silence rendered after the input (default 0)\n"
         "  --list             print the plug-in's programs and parameters and stop\n"
         "  -h, --help         print this text\n"
         "\n"
         "A mono input feeds both plug-in inputs and its first output is the result;\n"
         "a stereo input keeps its channels; more channels are refused. Integer output\n"
         "clips at full scale and the number of clipped samples is reported. The output\n"
         "is written under a temporary name and renamed when complete.\n"
         "Exit status: 0 when rendered, 1 when the render failed, 2 for a bad command\n"
         "line.\n";
}
