// demo: proves the effect on a full-scale sine, program by program, by
// measuring the harmonics it makes against the levels each program sets.

#include <exception>
#include <iostream>
#include <string>

#include "tools/demo/DemoRun.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string Usage(const TDemoOptions& defaults) {
  return "Usage: demo [--plugin PATH] [--out FOLDER]\n"
         "Renders a full-scale 441 Hz sine through every program of the plug-in, prints\n"
         "the set and measured level of harmonics 1 to 8 per program, and writes a WAV\n"
         "file per program and the chart levels.svg into FOLDER.\n"
         "\n"
         "  --plugin PATH   the plug-in binary (default: " +
         defaults.Plugin +
         ")\n"
         "  --out FOLDER    where the files go (default: " +
         defaults.OutputFolder +
         ")\n"
         "\n"
         "Exit status: 0 when every harmonic set at -60 dB or more measures within\n"
         "0.1 dB of its setting, 1 otherwise or on failure, 2 for a bad command line.\n";
}

}  // namespace

int main(int argc, char** argv) {
  TDemoOptions options;
  options.Plugin = QUILLO_DEFAULT_PLUGIN;
  const TDemoOptions defaults = options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "-h" || argument == "--help") {
      std::cout << Usage(defaults);
      return 0;
    }
    if ((argument == "--plugin" || argument == "--out") && i + 1 < argc) {
      (argument == "--plugin" ? options.Plugin : options.OutputFolder) = argv[++i];
    } else {
      std::cerr << "demo: unexpected argument " << argument << "\nTry 'demo --help'.\n";
      return kExitUsage;
    }
  }
  try {
    return RunDemo(options, std::cout) ? 0 : kExitFailure;
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "demo: " << error.what() << '\n';
    return kExitFailure;
  } catch (...) {
    std::cout.flush();
    std::cerr << "demo: unexpected failure\n";
    return kExitFailure;
  }
}
