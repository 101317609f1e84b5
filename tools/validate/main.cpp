// validate: runs a battery of host-behaviour checks on a VST 2 plug-in
// binary, each check in a process of its own, and reports each check's
// outcome and a total.

#include <chrono>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/ValidateOptions.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// At the top level everything runs this many times.
constexpr int kTopLevelRepeats = 10;

bool KnownCheck(const std::string& name) {
  for (const TCheck& check : AllChecks()) {
    if (name == check.Name) return true;
  }
  return false;
}

std::chrono::milliseconds Milliseconds(double seconds) {
  return std::chrono::milliseconds(static_cast<long long>(std::ceil(seconds * 1000.0)));
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseValidateOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "validate: " << error << '\n';
    PrintValidateUsage(std::cerr);
    return kExitUsage;
  }
  if (options->Help) {
    PrintValidateUsage(std::cout);
    return 0;
  }
  if (options->List) {
    for (const TCheck& check : AllChecks())
      std::cout << check.Name << " (level " << check.Level << ")\n";
    return 0;
  }
  for (const auto* names : {&options->Skip, &options->Only}) {
    for (const std::string& name : *names) {
      if (!KnownCheck(name)) {
        std::cerr << "validate: no check is named \"" << name << "\" (--list names them)\n";
        return kExitUsage;
      }
    }
  }

  TCheckContext context;
  context.PluginPath = options->PluginPath;
  context.Level = options->Level;
  context.Seed = options->Seed;
  context.Repeats = options->Level >= TValidateOptions::kHighestLevel ? kTopLevelRepeats : 1;
  const TCheckLimits limits{Milliseconds(options->CallSeconds),
                            Milliseconds(options->CheckSeconds)};

  std::cout << "Validating " << options->PluginPath << " at level " << options->Level << ", seed "
            << options->Seed << '\n';
  int passed = 0;
  int failed = 0;
  for (const TCheck& check : AllChecks()) {
    // Named with --only, a check runs whatever its level; the level still
    // sets how thoroughly.
    if (options->Only.empty() ? check.Level > options->Level
                              : options->Only.count(check.Name) == 0) {
      continue;
    }
    if (options->Skip.count(check.Name) != 0) {
      std::cout << check.Name << ": skipped (--skip)\n";
      continue;
    }
    const TCheckOutcome outcome = RunInChildProcess([&] { check.Run(context); }, limits);
    switch (outcome.Status) {
      case TCheckStatus::Passed:
        ++passed;
        std::cout << check.Name << ": passed\n";
        break;
      case TCheckStatus::Failed:
        ++failed;
        std::cout << check.Name << ": failed: " << outcome.Reason << '\n';
        break;
      case TCheckStatus::Skipped:
        std::cout << check.Name << ": skipped: " << outcome.Reason << '\n';
        break;
    }
    std::cout.flush();
  }
  std::cout << passed << " passed, " << failed << " failed\n";
  return failed > 0 ? kExitFailure : 0;
}
