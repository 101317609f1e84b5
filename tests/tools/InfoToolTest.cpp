#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/CommandRun.h"

// The info program, run as a user runs it.

namespace {

using TRun = TCommandRun;

// Standard output and error together.
TRun RunInfo(const std::string& arguments) {
  return RunCommand(std::string("'") + INFO_TOOL_PATH + "' " + arguments + " 2>&1");
}

std::string Quoted(const char* path) {
  return std::string("'") + path + "'";
}

// The output's lines, trimmed, with runs of spaces made one.
std::vector<std::string> NormalisedLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream stream(output);
  std::string line;
  while (std::getline(stream, line)) {
    std::istringstream words(line);
    std::string word;
    std::string normal;
    while (words >> word)
      normal += (normal.empty() ? "" : " ") + word;
    lines.push_back(normal);
  }
  return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class InfoOnRawPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    Run = RunInfo(Quoted(RAW_PLUGIN_PATH));
    Lines = NormalisedLines(Run.Output);
    ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
  }

  void ExpectLines(const std::vector<std::string>& expected) {
    for (const std::string& line : expected) {
      EXPECT_TRUE(HasLine(Lines, line)) << "missing: " << line << "\nin:\n" << Run.Output;
    }
  }

  TRun Run;
  std::vector<std::string> Lines;
};

}  // namespace

TEST_F(InfoOnRawPlugin, PrintsTheIdentity) {
  ExpectLines({
      std::string("File: ") + RAW_PLUGIN_PATH,
      "Entry point: VSTPluginMain",
      "Unique ID: 'RaWP' (0x52615750)",
      "Version: 66051 (0x00010203)",
      "VST version: 2400",
      "Effect name: \"Raw Test Plugin\"",
      "Vendor: \"Quillotron Tests\"",
      "Product: \"Raw Product\"",
      "Vendor version: 66051",
      "Category: 1 (Effect)",
      "Inputs: 2",
      "Outputs: 2",
      "Flags: 0x00001010 (CanReplacing CanDoubleReplacing)",
      "Initial delay: 7",
  });
}

TEST_F(InfoOnRawPlugin, AsksEveryCanDoString) {
  ExpectLines({"Can do (27):", "2in2out yes", "bypass no", "receiveVstEvents don't know",
               "LiveWithoutToolbar don't know"});
  const auto heading = std::find(Lines.begin(), Lines.end(), "Can do (27):");
  ASSERT_NE(heading, Lines.end());
  const auto end = std::find(heading, Lines.end(), "");
  EXPECT_EQ(end - heading - 1, 27);
}

TEST_F(InfoOnRawPlugin, PrintsEveryParameterAndFlagsAnOverrun) {
  ExpectLines({
      "Parameters (2):",
      "0 name \"Gain\" label \"x\" display \"1.00\" value 1 automatable yes",
      "1 name \"Mode\" label \"percenta\" [overrun: wrote 11 bytes into 8] [unterminated within 8 "
      "bytes] display \"Off\" value 0 automatable no",
  });
}

TEST_F(InfoOnRawPlugin, ReadsProgramNamesByIndexOrAsTheCurrentProgram) {
  ExpectLines({"Programs (2):", "0 \"Init\"", "1 \"Second\" (read as the current program)"});
}

TEST(InfoTool, MainOnlyPluginShowsItsEntryAndSingleReplacingOnly) {
  const TRun run = RunInfo(Quoted(RAW_MAIN_ONLY_PLUGIN_PATH));
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  const auto lines = NormalisedLines(run.Output);
  EXPECT_TRUE(HasLine(lines, "Entry point: main")) << run.Output;
  EXPECT_TRUE(HasLine(lines, "Flags: 0x00000010 (CanReplacing)")) << run.Output;
}

TEST(InfoTool, MissingFileFailsWithItsPath) {
  const TRun run = RunInfo("/nonexistent/plugin.so");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Output.find("info: Cannot load plug-in '/nonexistent/plugin.so': no such file"),
            std::string::npos)
      << run.Output;
}

TEST(InfoTool, LibraryWithoutEntryPointFails) {
  const TRun run = RunInfo(Quoted(NO_ENTRY_LIBRARY_PATH));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Output.find("neither VSTPluginMain nor main"), std::string::npos) << run.Output;
}

TEST(InfoTool, NoArgumentPrintsUsageAndFails) {
  const TRun run = RunInfo("");
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_NE(run.Output.find("Usage: info PLUGIN"), std::string::npos) << run.Output;
}

TEST(InfoTool, HelpPrintsUsageAndSucceeds) {
  const TRun run = RunInfo("--help");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Output.find("Usage: info PLUGIN"), std::string::npos) << run.Output;
}
