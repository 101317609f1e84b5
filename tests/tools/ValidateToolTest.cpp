#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/CommandRun.h"

// The validator, run as a user runs it, on the faulty test plug-in built once
// well-behaved and once per fault, and on other well-behaved test plug-ins.

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitizerBuild = true;
#else
constexpr bool kSanitizerBuild = false;
#endif
#else
constexpr bool kSanitizerBuild = false;
#endif

// Level 7 runs every check but the editor's.
constexpr const char* kAllButEditor = "--level 7 --call-timeout 1";

struct TRun {
  int ExitCode = -1;
  std::vector<std::string> Lines;
};

TRun RunValidate(const std::string& arguments) {
  const TCommandRun command = RunCommand(std::string("'") + VALIDATE_TOOL_PATH + "' " + arguments);
  TRun run;
  run.ExitCode = command.ExitCode;
  std::istringstream stream(command.Output);
  std::string line;
  while (std::getline(stream, line))
    run.Lines.push_back(line);
  return run;
}

struct TVerdicts {
  std::set<std::string> Passed, Failed, Skipped;
  // The reasons of the failed checks, one line each.
  std::string FailureLines;
};

// Sorts the check lines ("name: passed", "name: failed: why", "name: skipped:
// why") by verdict.
TVerdicts VerdictsOf(const TRun& run) {
  TVerdicts verdicts;
  for (const std::string& line : run.Lines) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    const std::string name = line.substr(0, colon);
    const std::string rest = line.substr(colon + 2);
    if (rest == "passed") {
      verdicts.Passed.insert(name);
    } else if (rest.rfind("failed", 0) == 0) {
      verdicts.Failed.insert(name);
      verdicts.FailureLines += line + "\n";
    } else if (rest.rfind("skipped", 0) == 0) {
      verdicts.Skipped.insert(name);
    }
  }
  return verdicts;
}

std::string Quoted(const char* path) {
  return std::string("'") + path + "'";
}

std::string TotalLine(const TVerdicts& verdicts) {
  return std::to_string(verdicts.Passed.size()) + " passed, " +
         std::to_string(verdicts.Failed.size()) + " failed";
}

struct TFaultCase {
  const char* Name;
  const char* Plugin;
  // The one check that must fail; empty for a well-behaved plug-in.
  std::string FailingCheck;
  // A part of its reason.
  std::string Reason;
};

void PrintTo(const TFaultCase& fault, std::ostream* out) {
  *out << fault.Name;
}

class ValidateOnFaultyPlugin : public ::testing::TestWithParam<TFaultCase> {};

// Every other check passes or is skipped for a reason that is no fault, and
// the battery goes on after a crash or a hang; the total line counts what
// the lines say and the exit status follows it.
TEST_P(ValidateOnFaultyPlugin, ExactlyItsMatchingCheckFails) {
  const TFaultCase& fault = GetParam();
  const TRun run = RunValidate(std::string(kAllButEditor) + " " + Quoted(fault.Plugin));
  ASSERT_FALSE(run.Lines.empty());
  const TVerdicts verdicts = VerdictsOf(run);
  std::set<std::string> expected;
  const bool allocationSkips = kSanitizerBuild && fault.FailingCheck == "allocation";
  if (!fault.FailingCheck.empty() && !allocationSkips) expected.insert(fault.FailingCheck);
  EXPECT_EQ(verdicts.Failed, expected) << verdicts.FailureLines;
  if (!expected.empty()) {
    EXPECT_NE(verdicts.FailureLines.find(fault.Reason), std::string::npos) << verdicts.FailureLines;
  }
  EXPECT_EQ(verdicts.Skipped.count("allocation"), kSanitizerBuild ? 1u : 0u);
  EXPECT_EQ(verdicts.Passed.size() + verdicts.Failed.size() + verdicts.Skipped.size(), 11u);
  EXPECT_EQ(run.Lines.back(), TotalLine(verdicts));
  EXPECT_EQ(run.ExitCode, expected.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ValidateOnFaultyPlugin,
    ::testing::Values(
        TFaultCase{"WellBehaved", FAULTY_NONE_PLUGIN, "", ""},
        TFaultCase{"TextOverrun", FAULTY_TEXT_OVERRUN_PLUGIN, "texts",
                   "effGetParamDisplay (index 0) wrote 11 bytes into a buffer of 8"},
        TFaultCase{"NaNOutput", FAULTY_NAN_OUTPUT_PLUGIN, "processing", "NaN in output 1"},
        TFaultCase{"Allocation", FAULTY_ALLOCATION_PLUGIN, "allocation",
                   "allocated 16, freed 16 and locked 0 times"},
        TFaultCase{"StateNotRestored", FAULTY_STATE_PLUGIN, "state", "switched away and back"},
        TFaultCase{"LostUpdate", FAULTY_LOST_UPDATE_PLUGIN, "automation",
                   "differs from a quiet instance set to the final values"},
        // A sanitizer reports the fault itself and exits instead.
        TFaultCase{"Crash", FAULTY_CRASH_PLUGIN, "processing",
                   std::string(kSanitizerBuild ? "" : "crashed (SIGSEGV)") +
                       " while processing in single precision at 96000 Hz"},
        TFaultCase{"Hang", FAULTY_HANG_PLUGIN, "processing",
                   "effSetSampleRate did not return within 1000 ms"}),
    [](const ::testing::TestParamInfo<TFaultCase>& info) { return std::string(info.param.Name); });

// A frame test plug-in that is a well-behaved guest: no check fails.
TEST(ValidateOnFramePlugin, WellBehavedOnePassesEveryCheck) {
  const TRun run = RunValidate(std::string(kAllButEditor) + " " + Quoted(BARE_TEST_PLUGIN));
  const TVerdicts verdicts = VerdictsOf(run);
  EXPECT_TRUE(verdicts.Failed.empty()) << verdicts.FailureLines;
  EXPECT_FALSE(verdicts.Passed.empty());
  EXPECT_EQ(run.ExitCode, 0);
}

TEST(ValidateOptions, SkippedCheckIsNamedAndNotCounted) {
  const TRun run = RunValidate(std::string(kAllButEditor) + " --skip processing " +
                               Quoted(FAULTY_NAN_OUTPUT_PLUGIN));
  const TVerdicts verdicts = VerdictsOf(run);
  EXPECT_EQ(verdicts.Failed, std::set<std::string>{});
  ASSERT_FALSE(run.Lines.empty());
  EXPECT_NE(std::find(run.Lines.begin(), run.Lines.end(), "processing: skipped (--skip)"),
            run.Lines.end());
  EXPECT_EQ(run.Lines.back(), TotalLine(verdicts));
  EXPECT_EQ(run.ExitCode, 0);
}

TEST(ValidateOptions, LevelsAddChecks) {
  const struct {
    const char* Arguments;
    std::set<std::string> Checks;
  } cases[] = {
      {"--level 1", {"scan", "scan-before-resume", "instances"}},
      {"--level 3",
       {"scan", "scan-before-resume", "instances", "texts", "parameter-values", "processing",
        "allocation"}},
      {"--level 6 --only state --only texts", {"texts", "state"}},
      {"--level 1 --only state", {"state"}},
  };
  for (const auto& test : cases) {
    const TRun run = RunValidate(std::string(test.Arguments) + " " + Quoted(FAULTY_NONE_PLUGIN));
    const TVerdicts verdicts = VerdictsOf(run);
    std::set<std::string> ran = verdicts.Passed;
    ran.insert(verdicts.Skipped.begin(), verdicts.Skipped.end());
    ran.insert(verdicts.Failed.begin(), verdicts.Failed.end());
    EXPECT_EQ(ran, test.Checks) << test.Arguments;
    EXPECT_EQ(run.ExitCode, 0) << test.Arguments;
  }
}

TEST(ValidateOptions, BadCommandLinesAreRefused) {
  const std::string plugin = Quoted(FAULTY_NONE_PLUGIN);
  for (const std::string& arguments :
       {"--level 0 " + plugin, "--level 11 " + plugin, "--level x " + plugin, "--seed -3 " + plugin,
        "--skip no-such-check " + plugin, "--only nothing " + plugin, "--call-timeout 0 " + plugin,
        "--frobnicate " + plugin, std::string(""), plugin + " " + plugin}) {
    const TRun run = RunValidate(arguments + " 2>/dev/null");
    EXPECT_EQ(run.ExitCode, 2) << arguments;
    EXPECT_TRUE(run.Lines.empty()) << arguments;
  }
}

// A check that overruns its own time is killed and fails, naming its step;
// the battery goes on with the next check.
TEST(ValidateOptions, CheckOverrunningItsTimeIsKilled) {
  const TRun run = RunValidate(
      "--level 5 --only processing --only block-invariance "
      "--call-timeout 60 --check-timeout 1.5 " +
      Quoted(FAULTY_HANG_PLUGIN));
  const TVerdicts verdicts = VerdictsOf(run);
  EXPECT_EQ(verdicts.Failed, std::set<std::string>{"processing"});
  // Where it stops depends on the build's speed.
  EXPECT_NE(verdicts.FailureLines.find("processing: failed: the check did not finish within 1.5 s "
                                       "while processing in "),
            std::string::npos)
      << verdicts.FailureLines;
  EXPECT_EQ(verdicts.Passed, std::set<std::string>{"block-invariance"});
  EXPECT_EQ(run.ExitCode, 1);
}

// A file that is no plug-in fails every check with the loader's reason and
// the run still ends with its total.
TEST(ValidateOptions, MissingPluginFailsEveryCheck) {
  const TRun run = RunValidate("--level 1 /nonexistent/plugin.so");
  const TVerdicts verdicts = VerdictsOf(run);
  EXPECT_EQ(verdicts.Failed, (std::set<std::string>{"scan", "scan-before-resume", "instances"}));
  ASSERT_FALSE(run.Lines.empty());
  EXPECT_EQ(run.Lines.back(), "0 passed, 3 failed");
  EXPECT_EQ(run.ExitCode, 1);
}

}  // namespace
