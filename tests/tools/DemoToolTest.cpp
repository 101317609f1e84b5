#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/tools/RenderTestSupport.h"

// The demo program end to end: on stand-ins for the effect whose programs
// pass or fail its judgement, and on the effect itself once it is built.

namespace {

TProgramRun RunDemo(const char* plugin, const std::string& folder) {
  return RunProgram(DEMO_TOOL_PATH, {"--plugin", plugin, "--out", folder});
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The text with every run of spaces made one, so that checks do not depend
// on the table's column widths.
std::string Squeezed(const std::string& text) {
  std::string squeezed;
  for (const char c : text) {
    if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
  }
  return squeezed;
}

float Peak(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (const float sample : samples)
    peak = std::max(peak, std::fabs(sample));
  return peak;
}

}  // namespace

TEST(DemoTool, PassesWhenEveryJudgedHarmonicMeasuresAsSet) {
  const TTemporaryFolder folder;
  const TProgramRun run = RunDemo(DEMO_PLUGIN_PATH, folder.Path().string());
  ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  // Judged: the fundamentals of programs 0, 1 and 2; the third of program 2
  // is set at -80 dB, measures nothing, and is not judged.
  EXPECT_TRUE(Contains(run.Output, "All 3 judged harmonics measure within 0.1 dB")) << run.Output;
  const std::string table = Squeezed(run.Output);
  EXPECT_TRUE(Contains(table,
                       "Program 1 \"P\xC3\xA3o & Vinho\"\n harmonic 1 2 3 4 5 6 7 8\n"
                       " set dB -6.00 -140.00 -140.00"))
      << run.Output;
  EXPECT_TRUE(Contains(table, " measured -6.00 ")) << run.Output;
  EXPECT_TRUE(Contains(run.Output,
                       "Program 3 \"Unity Again\": the same settings as program 0, not rendered"))
      << run.Output;
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"00-unity.wav", "01-pao-vinho.wav",
                                                        "02-faint-third.wav", "levels.svg"}));

  const TAudio quieter = ReadAudio(folder / "01-pao-vinho.wav");
  EXPECT_EQ(quieter.Format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(quieter.SampleRate, 44100);
  ASSERT_EQ(quieter.Channels.size(), 1u);
  EXPECT_EQ(quieter.Frames(), 44100u);
  EXPECT_NEAR(Peak(quieter.Channels[0]), std::pow(10.0f, -6.0f / 20.0f), 1e-4f);

  const std::string chart = ReadText(folder / "levels.svg");
  EXPECT_TRUE(Contains(chart, "<svg")) << chart;
  EXPECT_TRUE(Contains(chart, "P\xC3\xA3o &amp; Vinho")) << chart;
  EXPECT_TRUE(Contains(chart, "</svg>")) << chart;
}

TEST(DemoTool, FailsWhenAJudgedHarmonicIsMissing) {
  const TTemporaryFolder folder;
  const TProgramRun run = RunDemo(DEMO_FAILING_PLUGIN_PATH, folder.Path().string());
  EXPECT_EQ(run.ExitCode, 1) << run.Output << run.Errors;
  EXPECT_TRUE(Contains(run.Output, "FAILED: 1 of 5 judged harmonics")) << run.Output;
  const auto block = run.Output.find("Program 4 \"Loud Third\"");
  ASSERT_NE(block, std::string::npos) << run.Output;
  EXPECT_TRUE(Contains(Squeezed(run.Output.substr(block)), "verdict ok - FAIL -")) << run.Output;
}

TEST(DemoTool, RefusesAPluginWithoutHarmonicLevels) {
  const TTemporaryFolder folder;
  const TProgramRun run = RunDemo(RENDER_PLUGIN_PATH, folder.Path().string());
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(Contains(run.Errors, "No parameter named \"Harm 0\"")) << run.Errors;
}

TEST(DemoTool, RefusesAnUnknownArgument) {
  const TProgramRun run = RunProgram(DEMO_TOOL_PATH, {"--loud"});
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_TRUE(Contains(run.Errors, "unexpected argument --loud")) << run.Errors;
}

#ifdef QUILLOTRON_PATH
TEST(DemoTool, EffectMakesEveryProgramsHarmonicsAsSet) {
  const TTemporaryFolder folder;
  const TProgramRun run = RunDemo(QUILLOTRON_PATH, folder.Path().string());
  ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  EXPECT_TRUE(Contains(run.Output, "judged harmonics measure within 0.1 dB")) << run.Output;
  EXPECT_FALSE(Contains(run.Output, "FAIL")) << run.Output;
  // Twelve factory programs and one "User" program; the other three repeat it.
  const auto files = folder.Entries();
  EXPECT_EQ(std::count_if(files.begin(), files.end(),
                          [](const std::string& name) { return name.ends_with(".wav"); }),
            13);
}
#endif
