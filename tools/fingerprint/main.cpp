// fingerprint: prints what a build computes, exactly, so that builds for
// different systems and processors can be compared to the bit: the
// resampler design and the programs' polynomials of this build, and the
// audio a plug-in binary makes of a fixed signal. Then compares two prints.

#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>

#include "tools/fingerprint/AudioPrint.h"
#include "tools/fingerprint/DesignPrint.h"
#include "tools/fingerprint/PrintComparison.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintUsage(std::ostream& out) {
  out << "Usage: fingerprint design\n"
         "       fingerprint audio PLUGIN\n"
         "       fingerprint compare REFERENCE OTHER [--bound GROUP=ULPS[:ABSOLUTE]]...\n"
         "design prints this build's resampler coefficients and the gains and polynomial\n"
         "coefficients of the sixteen programs; audio prints what the VST 2 plug-in PLUGIN,\n"
         "loaded as a host does, makes of a fixed test signal. Values are IEEE bit patterns.\n"
         "compare reads two such prints and reports per group (design, gain, polynomial,\n"
         "audio-float, audio-double) how far OTHER lies from REFERENCE; it fails when a\n"
         "value is farther than its group's bound (default: identical bits).\n";
}

// "GROUP=ULPS" or "GROUP=ULPS:ABSOLUTE".
bool ParseBound(const std::string& text, std::map<std::string, TPrintBound>& bounds) {
  const auto equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  const std::string values = text.substr(equals + 1);
  const auto colon = values.find(':');
  TPrintBound bound;
  char* end = nullptr;
  const std::string ulps = values.substr(0, colon);
  bound.Ulps = std::strtoull(ulps.c_str(), &end, 10);
  if (ulps.empty() || *end != '\0') return false;
  if (colon != std::string::npos) {
    const std::string absolute = values.substr(colon + 1);
    bound.Absolute = std::strtod(absolute.c_str(), &end);
    if (absolute.empty() || *end != '\0' || !(bound.Absolute >= 0.0)) return false;
  }
  bounds[text.substr(0, equals)] = bound;
  return true;
}

int Compare(int argc, char** argv) {
  std::map<std::string, TPrintBound> bounds;
  for (int i = 4; i < argc; ++i) {
    if (std::string_view(argv[i]) != "--bound" || i + 1 >= argc ||
        !ParseBound(argv[i + 1], bounds)) {
      PrintUsage(std::cerr);
      return kExitUsage;
    }
    ++i;
  }
  std::ifstream reference(argv[2]);
  std::ifstream other(argv[3]);
  if (!reference || !other) {
    std::cerr << "fingerprint: cannot read " << (reference ? argv[3] : argv[2]) << '\n';
    return kExitFailure;
  }
  const TPrintComparison comparison = ComparePrints(reference, other, bounds);
  WriteComparison(std::cout, comparison);
  return comparison.WithinBounds() ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  try {
    if (command == "--help" || command == "-h") {
      PrintUsage(std::cout);
      return 0;
    }
    if (command == "design" && argc == 2) {
      WriteDesignPrint(std::cout);
      return std::cout ? 0 : kExitFailure;
    }
    if (command == "audio" && argc == 3) {
      const TPluginLibrary library{std::string(argv[2])};
      WriteAudioPrint(std::cout, library);
      return std::cout ? 0 : kExitFailure;
    }
    if (command == "compare" && argc >= 4) return Compare(argc, argv);
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "fingerprint: " << error.what() << '\n';
    return kExitFailure;
  }
  PrintUsage(std::cerr);
  return kExitUsage;
}
