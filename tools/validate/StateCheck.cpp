#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/TestedPlugin.h"

// A host saves a project as every parameter's value and the program, and
// loads it into a fresh instance; the fresh instance must sound the same.
// A user edits and renames programs and switches between them; each program
// must keep what was done to it.

namespace {

constexpr double kRate = 44100.0;
constexpr VstInt32 kBlock = 512;
constexpr double kSeconds = 1.0;
// Relative to the output's peak: a value read back through getParameter may
// differ from the one set in its last bit, and so may what it computes.
constexpr double kTolerance = 1e-5;
constexpr VstInt32 kMostPrograms = 16;
constexpr VstInt32 kMostParameters = 256;

struct TState {
  VstInt32 Program = 0;
  std::vector<float> Values;
};

TState ReadState(TTestedInstance& instance) {
  TState state;
  state.Program = instance.Programs() > 0 ? instance.Program() : 0;
  for (VstInt32 index = 0; index < instance.Parameters(); ++index)
    state.Values.push_back(instance.GetParameter(index));
  return state;
}

void Edit(TTestedInstance& instance, std::mt19937_64& generator) {
  std::uniform_real_distribution<float> value(0.0f, 1.0f);
  for (VstInt32 index = 0; index < std::min(instance.Parameters(), kMostParameters); ++index)
    instance.SetParameter(index, value(generator));
}

std::string ValueList(const std::vector<float>& values, std::size_t index) {
  return std::to_string(values[index]);
}

// Both instances are fresh, so that neither carries audio from before:
// what differs is the state that was carried over.
void CheckRestoredInstance(TTestedPlugin& plugin, const TCheckContext& context, int round) {
  std::mt19937_64 generator(context.Seed + static_cast<std::uint64_t>(round));
  VstInt32 programs = 0;
  std::size_t channels = 1;
  {
    auto probe = plugin.Open();
    programs = std::min(probe->Programs(), kMostPrograms);
    channels = std::max<std::size_t>(probe->Inputs(), 1);
    probe->Close();
  }
  for (VstInt32 program = 0; program == 0 || program < programs; ++program) {
    SetCheckStep("saving and restoring the state of program " + std::to_string(program));
    auto original = plugin.Open();
    if (programs > 0) original->SetProgram(program);
    Edit(*original, generator);
    const TState saved = ReadState(*original);

    auto restored = plugin.Open();
    if (programs > 0) restored->SetProgram(saved.Program);
    for (std::size_t index = 0; index < saved.Values.size(); ++index)
      restored->SetParameter(static_cast<VstInt32>(index), saved.Values[index]);
    const TState loaded = ReadState(*restored);
    Require(loaded.Program == saved.Program, "a fresh instance set to program " +
                                                 std::to_string(saved.Program) + " reports " +
                                                 std::to_string(loaded.Program));
    for (std::size_t index = 0; index < saved.Values.size(); ++index) {
      Require(loaded.Values[index] == saved.Values[index],
              "parameter " + std::to_string(index) + " set to " + ValueList(saved.Values, index) +
                  " on a fresh instance reads " + ValueList(loaded.Values, index));
    }

    const TAudio input = Noise(channels, static_cast<std::size_t>(kSeconds * kRate), 0.5,
                               context.Seed + static_cast<std::uint64_t>(program));
    const TRunSettings settings;
    original->Resume(kRate, kBlock);
    restored->Resume(kRate, kBlock);
    const TAudio before = Run(*original, input, settings);
    const TAudio after = Run(*restored, input, settings);
    const TDifference difference = LargestDifference(before, after);
    Require(difference.Amount <= kTolerance * std::max(1.0, Peak(before)),
            "a fresh instance given program " + std::to_string(saved.Program) +
                " and every parameter's value sounds different (by " + difference.Text() + ")");
    restored->Close();
    original->Close();
  }
}

void CheckProgramsKeepEdits(TTestedPlugin& plugin, const TCheckContext& context, int round) {
  auto instance = plugin.Open();
  const VstInt32 programs = std::min(instance->Programs(), kMostPrograms);
  if (programs < 2) return;
  std::mt19937_64 generator(context.Seed + 100 + static_cast<std::uint64_t>(round));
  std::vector<std::vector<float>> values(static_cast<std::size_t>(programs));
  std::vector<std::string> names(static_cast<std::size_t>(programs));
  SetCheckStep("editing and renaming every program");
  for (VstInt32 program = 0; program < programs; ++program) {
    instance->SetProgram(program);
    Edit(*instance, generator);
    std::string name = "Edited " + std::to_string(program);
    instance->Dispatch(effSetProgramName, 0, 0, name.data());
    values[static_cast<std::size_t>(program)] = ReadState(*instance).Values;
    names[static_cast<std::size_t>(program)] =
        instance->Text(effGetProgramName, kVstMaxProgNameLen).Text;
  }
  SetCheckStep("switching back to every program");
  for (VstInt32 program = programs - 1; program >= 0; --program) {
    instance->SetProgram(program);
    const auto& expected = values[static_cast<std::size_t>(program)];
    const std::vector<float> actual = ReadState(*instance).Values;
    for (std::size_t index = 0; index < expected.size(); ++index) {
      Require(actual[index] == expected[index],
              "program " + std::to_string(program) + " switched away and back has parameter " +
                  std::to_string(index) + " at " + ValueList(actual, index) + " instead of " +
                  ValueList(expected, index));
    }
    const std::string name = instance->Text(effGetProgramName, kVstMaxProgNameLen).Text;
    Require(name == names[static_cast<std::size_t>(program)],
            "program " + std::to_string(program) + " switched away and back is named \"" + name +
                "\" instead of \"" + names[static_cast<std::size_t>(program)] + "\"");
  }
  instance->Close();
}

}  // namespace

void CheckState(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  for (int round = 0; round < context.Repeats; ++round) {
    CheckRestoredInstance(plugin, context, round);
    CheckProgramsKeepEdits(plugin, context, round);
  }
}
