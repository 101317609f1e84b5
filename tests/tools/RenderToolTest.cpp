#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/RenderTestPlugin.h"
#include "tests/tools/RenderTestSupport.h"

// The render program end to end: audio files in, through the render test
// plug-in, audio files out; and every way it refuses to render.

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 22050;
constexpr std::size_t kFrames = 1000;
constexpr float kTolerance = 1e-6f;

// Distinct, non-periodic-looking channels, well inside full scale.
TAudio Source(int channels) {
  TAudio audio;
  audio.SampleRate = kRate;
  audio.Channels.assign(static_cast<std::size_t>(channels), std::vector<float>(kFrames));
  for (std::size_t i = 0; i < kFrames; ++i) {
    const auto t = static_cast<float>(i);
    for (std::size_t channel = 0; channel < audio.Channels.size(); ++channel) {
      audio.Channels[channel][i] =
          0.45f * std::sin(t * (0.05f + 0.031f * static_cast<float>(channel))) +
          0.05f * static_cast<float>(channel);
    }
  }
  return audio;
}

std::vector<std::string> Args(std::initializer_list<std::string> list) {
  return list;
}

class RenderTool : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteWav(Input, Source(2));
    WriteWav(Mono, Source(1));
  }

  TProgramRun Render(std::vector<std::string> arguments, const char* plugin = RENDER_PLUGIN_PATH) {
    arguments.insert(arguments.begin(), {"--plugin", plugin});
    return RunProgram(RENDER_TOOL_PATH, arguments);
  }

  // Checks out against the plug-in's channel law for a stereo source.
  void ExpectStereoLaw(const TAudio& out, float gain, float cross) {
    const TAudio in = Source(2);
    ASSERT_EQ(out.Channels.size(), 2u);
    ASSERT_EQ(out.Frames(), kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) {
      ASSERT_NEAR(out.Channels[0][i], gain * in.Channels[0][i] + cross * in.Channels[1][i],
                  kTolerance)
          << "frame " << i;
      ASSERT_NEAR(out.Channels[1][i], gain * in.Channels[1][i], kTolerance) << "frame " << i;
    }
  }

  TTemporaryFolder Folder;
  std::string Input = Folder / "in.wav";
  std::string Mono = Folder / "mono.wav";
  std::string Output = Folder / "out.wav";
};

struct TStereoCase {
  const char* Name;
  std::vector<std::string> Options;
  float Gain;
  float Cross;
};

// Test names print as the case's name.
void PrintTo(const TStereoCase& value, std::ostream* out) {
  *out << value.Name;
}

class RenderToolStereo : public RenderTool, public ::testing::WithParamInterface<TStereoCase> {};

}  // namespace

TEST_P(RenderToolStereo, KeepsTheChannelsAndAppliesTheSettings) {
  std::vector<std::string> arguments = GetParam().Options;
  arguments.push_back(Input);
  arguments.push_back(Output);
  const TProgramRun run = Render(arguments);
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  const TAudio out = ReadAudio(Output);
  EXPECT_EQ(out.SampleRate, kRate);
  EXPECT_EQ(out.Format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ExpectStereoLaw(out, GetParam().Gain, GetParam().Cross);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RenderToolStereo,
    ::testing::Values(
        TStereoCase{"DefaultProgram", {}, 1.0f, kRenderDefaultCross},
        TStereoCase{"ProgramByName", {"--program", "Double"}, 2.0f, kRenderDefaultCross},
        TStereoCase{"ProgramByIndex", {"--program", "3"}, 0.25f, kRenderDefaultCross},
        TStereoCase{
            "ParametersInRealUnits", {"--set", "Gain=3", "--set", " Cross = 0 "}, 3.0f, 0.0f},
        TStereoCase{"ParameterAfterProgram",
                    {"--program=Double", "--set=Gain=0.5"},
                    0.5f,
                    kRenderDefaultCross},
        TStereoCase{"OddBlockSize", {"--block", "7"}, 1.0f, kRenderDefaultCross},
        TStereoCase{"BlockOfOne", {"--block", "1"}, 1.0f, kRenderDefaultCross},
        TStereoCase{"BlockLargerThanTheFile", {"--block", "4096"}, 1.0f, kRenderDefaultCross},
        TStereoCase{"DoublePrecision",
                    {"--double", "--program", "Double", "--block", "300"},
                    2.0f,
                    kRenderDefaultCross}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(RenderTool, PluginWithoutReplacingIsDrivenIntoZeroedOutputs) {
  const TProgramRun run = Render(Args({"--block", "7", "--program", "Double", Input, Output}),
                                 RENDER_ACCUMULATING_PATH);
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  ExpectStereoLaw(ReadAudio(Output), 2.0f, kRenderDefaultCross);
}

TEST_F(RenderTool, MonoFeedsBothInputsAndKeepsTheFirstOutput) {
  const TProgramRun run = Render(Args({"--block", "64", Mono, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  const TAudio out = ReadAudio(Output);
  const TAudio in = Source(1);
  ASSERT_EQ(out.Channels.size(), 1u);
  ASSERT_EQ(out.Frames(), kFrames);
  for (std::size_t i = 0; i < kFrames; ++i) {
    ASSERT_NEAR(out.Channels[0][i], (1.0f + kRenderDefaultCross) * in.Channels[0][i], kTolerance)
        << "frame " << i;
  }
}

TEST_F(RenderTool, TailAppendsRenderedSilence) {
  const TProgramRun run = Render(Args({"--tail", "0.1", "--block", "300", Input, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  const TAudio out = ReadAudio(Output);
  const std::size_t tail = kRate / 10;
  ASSERT_EQ(out.Frames(), kFrames + tail);
  const TAudio in = Source(2);
  EXPECT_NEAR(out.Channels[1][kFrames - 1], in.Channels[1][kFrames - 1], kTolerance);
  for (std::size_t i = kFrames; i < kFrames + tail; ++i) {
    ASSERT_EQ(out.Channels[0][i], 0.0f) << "frame " << i;
    ASSERT_EQ(out.Channels[1][i], 0.0f) << "frame " << i;
  }
  EXPECT_NE(run.Output.find(std::to_string(tail) + " of tail"), std::string::npos) << run.Output;
}

TEST_F(RenderTool, ReportsTheProgramAndTheValuesAsThePluginShowsThem) {
  const TProgramRun run =
      Render(Args({"--program", "Double", "--set", "Cross=0.5", Input, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_NE(run.Output.find("Program:  1 \"Double\""), std::string::npos) << run.Output;
  EXPECT_NE(run.Output.find("Set:      Cross = 0.5"), std::string::npos) << run.Output;
}

TEST_F(RenderTool, WarnsOfAValueBeyondTheParameterRangeThatThePluginTakes) {
  const TProgramRun run = Render(Args({"--set", "Cross=2", "--set", "Gain=1", Input, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_NE(run.Errors.find("warning: 2 lies outside the range of parameter \"Cross\""),
            std::string::npos)
      << run.Errors;
  EXPECT_EQ(run.Errors.find("\"Gain\""), std::string::npos) << run.Errors;
  ExpectStereoLaw(ReadAudio(Output), 1.0f, 2.0f);
}

// Samples that are no numbers go through the plug-in: float output keeps
// them and warns; integer output writes NaN as 0 and counts both as clipped.
TEST_F(RenderTool, ReportsSamplesThatAreNoFiniteNumbers) {
  TAudio mono;
  mono.SampleRate = kRate;
  mono.Channels = {
      {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 0.1f}};
  WriteWav(Mono, mono);
  const TProgramRun asFloat = Render(Args({Mono, Output}));
  ASSERT_EQ(asFloat.ExitCode, 0) << asFloat.Errors;
  EXPECT_NE(asFloat.Errors.find("produced 2 infinite or not-a-number samples"), std::string::npos)
      << asFloat.Errors;
  const TAudio floats = ReadAudio(Output);
  ASSERT_EQ(floats.Frames(), 3u);
  EXPECT_TRUE(std::isnan(floats.Channels[0][0]));
  EXPECT_TRUE(std::isinf(floats.Channels[0][1]));

  const TProgramRun asIntegers = Render(Args({"--bits", "16", Mono, Output}));
  ASSERT_EQ(asIntegers.ExitCode, 0) << asIntegers.Errors;
  EXPECT_NE(asIntegers.Output.find("Clipped:  2 samples"), std::string::npos) << asIntegers.Output;
  const TAudio integers = ReadAudio(Output);
  ASSERT_EQ(integers.Frames(), 3u);
  EXPECT_EQ(integers.Channels[0][0], 0.0f);
  EXPECT_GT(integers.Channels[0][1], 0.999f);
  EXPECT_NEAR(integers.Channels[0][2], 0.125f, 1.0f / 32768);
}

TEST_F(RenderTool, PrintsNoProgressWhenStandardErrorIsNoTerminal) {
  const TProgramRun run = Render(Args({"--block", "16", Input, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_EQ(run.Errors, "");
}

TEST_F(RenderTool, ShowsProgressOnATerminalAndClearsIt) {
  const TProgramRun run = RunProgramOnTerminal(
      RENDER_TOOL_PATH, Args({"--plugin", RENDER_PLUGIN_PATH, "--block", "16", Input, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  // 63 blocks: the percentage is rewritten as it grows.
  std::size_t updates = 0;
  for (auto at = run.Errors.find("\rrendering "); at != std::string::npos;
       at = run.Errors.find("\rrendering ", at + 1)) {
    ++updates;
  }
  EXPECT_GT(updates, 10u) << run.Errors;
  EXPECT_NE(run.Errors.find("\rrendering 100%"), std::string::npos) << run.Errors;
  // The line is blanked at the end.
  EXPECT_EQ(run.Errors.back(), '\r') << run.Errors;
  EXPECT_EQ(ReadAudio(Output).Frames(), kFrames);
}

TEST_F(RenderTool, ReplacesAnExistingOutputAndLeavesNoOtherFile) {
  WriteText(Output, "not audio");
  const TProgramRun run = Render(Args({Input, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_EQ(ReadAudio(Output).Frames(), kFrames);
  EXPECT_EQ(Folder.Entries(), (std::vector<std::string>{"in.wav", "mono.wav", "out.wav"}));
}

TEST_F(RenderTool, RenderingOntoALinkWritesTheFileItPointsAt) {
  const std::string target = Folder / "target.wav";
  const std::string link = Folder / "link.wav";
  WriteText(target, "old");
  fs::create_symlink(target, link);
  const TProgramRun run = Render(Args({Input, link}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadAudio(target).Frames(), kFrames);
}

namespace {

// Integer output: samples beyond full scale are clipped and counted; full
// scale itself is neither clipped nor wrapped around.
struct TIntegerCase {
  const char* Bits;
  int Subtype;
  // One step of the encoding.
  float Step;
};

void PrintTo(const TIntegerCase& value, std::ostream* out) {
  *out << value.Bits << " bits";
}

class RenderToolIntegers : public RenderTool, public ::testing::WithParamInterface<TIntegerCase> {};

}  // namespace

TEST_P(RenderToolIntegers, ClipsAndCountsSamplesBeyondFullScale) {
  // Gain 2 without cross-feed: 0.5 becomes exactly full scale.
  const std::vector<float> samples = {0.5f, -0.5f, 0.3f, 0.9f, -0.9f, 0.0f, 0.75f, -0.25f};
  TAudio mono;
  mono.SampleRate = kRate;
  mono.Channels = {samples};
  WriteWav(Mono, mono);
  const TProgramRun run = Render(
      Args({"--bits", GetParam().Bits, "--program", "Double", "--set", "Cross=0", Mono, Output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_NE(run.Output.find("Clipped:  3 samples"), std::string::npos) << run.Output;

  const TAudio out = ReadAudio(Output);
  EXPECT_EQ(out.Format, SF_FORMAT_WAV | GetParam().Subtype);
  ASSERT_EQ(out.Frames(), samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const float expected = std::clamp(2.0f * samples[i], -1.0f, 1.0f);
    EXPECT_NEAR(out.Channels[0][i], expected, GetParam().Step) << "sample " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, RenderToolIntegers,
                         ::testing::Values(TIntegerCase{"16", SF_FORMAT_PCM_16, 1.0f / 32768},
                                           TIntegerCase{"24", SF_FORMAT_PCM_24, 1.0f / 8388608}),
                         [](const auto& info) { return std::string(info.param.Bits) + "Bit"; });

namespace {

struct TFormatCase {
  const char* Extension;
  int Format;
};

void PrintTo(const TFormatCase& value, std::ostream* out) {
  *out << value.Extension;
}

class RenderToolFormats : public RenderTool, public ::testing::WithParamInterface<TFormatCase> {};

}  // namespace

TEST_P(RenderToolFormats, ComeFromTheExtension) {
  const std::string output = Folder / (std::string("out") + GetParam().Extension);
  const TProgramRun run = Render(Args({Input, output}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  const TAudio out = ReadAudio(output);
  EXPECT_EQ(out.Format, GetParam().Format);
  EXPECT_EQ(out.Frames(), kFrames);
}

INSTANTIATE_TEST_SUITE_P(Extensions, RenderToolFormats,
                         ::testing::Values(TFormatCase{".wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                                           TFormatCase{".WAV", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                                           TFormatCase{".aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
                                           TFormatCase{".caf", SF_FORMAT_CAF | SF_FORMAT_FLOAT},
                                           TFormatCase{".w64", SF_FORMAT_W64 | SF_FORMAT_FLOAT},
                                           TFormatCase{".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24}),
                         [](const auto& info) { return std::string(info.param.Extension + 1); });

namespace {

// Every refusal exits non-zero with a message and leaves the folder as it
// was: no output, no temporary file.
struct TRefusal {
  const char* Name;
  std::vector<std::string> Arguments;
  int ExitCode;
  const char* Message;
};

void PrintTo(const TRefusal& value, std::ostream* out) {
  *out << value.Name;
}

class RenderToolRefuses : public RenderTool, public ::testing::WithParamInterface<TRefusal> {
 protected:
  void SetUp() override {
    RenderTool::SetUp();
    WriteWav(Folder / "three.wav", Source(3));
    WriteText(Folder / "notes.txt", "These are not audio samples.\n");
    fs::create_directory(Folder / "sub");
    fs::create_symlink(Input, Folder / "link.wav");
    fs::create_hard_link(Input, Folder / "hard.wav");
  }

  // Placeholders in the case's arguments: {dir} is the folder, {in} the
  // stereo input, {out} the output, {acc} the accumulating-only plug-in.
  std::vector<std::string> Expanded(const std::vector<std::string>& arguments) const {
    std::vector<std::string> expanded;
    for (std::string argument : arguments) {
      for (const auto& [key, value] :
           {std::pair<std::string, std::string>{"{dir}", Folder.Path().string()},
            {"{in}", Input},
            {"{out}", Output},
            {"{acc}", RENDER_ACCUMULATING_PATH}}) {
        for (auto at = argument.find(key); at != std::string::npos; at = argument.find(key)) {
          argument.replace(at, key.size(), value);
        }
      }
      expanded.push_back(argument);
    }
    return expanded;
  }
};

}  // namespace

TEST_P(RenderToolRefuses, WithAMessageAndNoFileLeft) {
  const auto before = Folder.Entries();
  const TProgramRun run = Render(Expanded(GetParam().Arguments));
  EXPECT_EQ(run.ExitCode, GetParam().ExitCode) << run.Output << run.Errors;
  EXPECT_NE(run.Errors.find(GetParam().Message), std::string::npos) << run.Errors;
  EXPECT_EQ(Folder.Entries(), before);
  EXPECT_EQ(ReadAudio(Input).Frames(), kFrames);
}

INSTANTIATE_TEST_SUITE_P(
    BadInputs, RenderToolRefuses,
    ::testing::Values(
        TRefusal{"MissingInput", {"{dir}/missing.wav", "{out}"}, 1, "no such file"},
        TRefusal{"InputIsAFolder", {"{dir}/sub", "{out}"}, 1, "not a regular file"},
        TRefusal{"InputIsNoAudio", {"{dir}/notes.txt", "{out}"}, 1, "unsupported or damaged"},
        TRefusal{"ThreeChannels", {"{dir}/three.wav", "{out}"}, 1, "only mono and stereo"},
        TRefusal{"UnknownExtension", {"{in}", "{dir}/out.xyz"}, 1, "Cannot tell the output format"},
        TRefusal{"FloatInFlac",
                 {"--bits", "32", "{in}", "{dir}/out.flac"},
                 1,
                 "cannot hold 32-bit float"},
        TRefusal{"UnknownProgram",
                 {"--program", "Nope", "{in}", "{out}"},
                 1,
                 "No program named \"Nope\""},
        TRefusal{
            "ProgramIndexOutOfRange", {"--program", "4", "{in}", "{out}"}, 1, "programs 0 to 3"},
        TRefusal{"AmbiguousProgramName",
                 {"--program", "User", "{in}", "{out}"},
                 1,
                 "ambiguous: programs 2, 3"},
        TRefusal{"UnknownParameter",
                 {"--set", "Volume=1", "{in}", "{out}"},
                 1,
                 "No parameter named \"Volume\""},
        TRefusal{"ValueThatIsNoNumber",
                 {"--set", "Gain=loud", "{in}", "{out}"},
                 1,
                 "rejected the value \"loud\" for parameter \"Gain\""},
        TRefusal{
            "ValueOutOfRange", {"--set", "Gain=9", "{in}", "{out}"}, 1, "rejected the value \"9\""},
        TRefusal{
            "OutputIsTheInputByAnotherPath", {"{in}", "{dir}/./in.wav"}, 1, "is the input file"},
        TRefusal{"OutputIsTheInputThroughDotDot",
                 {"{in}", "{dir}/sub/../in.wav"},
                 1,
                 "is the input file"},
        TRefusal{"OutputIsALinkToTheInput", {"{in}", "{dir}/link.wav"}, 1, "is the input file"},
        TRefusal{"OutputIsAHardLinkOfTheInput", {"{in}", "{dir}/hard.wav"}, 1, "is the input file"},
        TRefusal{"OutputFolderMissing",
                 {"{in}", "{dir}/nowhere/out.wav"},
                 1,
                 "Cannot write into the folder"},
        TRefusal{"OutputFolderIsAFile",
                 {"{in}", "{dir}/notes.txt/out.wav"},
                 1,
                 "Cannot write into the folder"},
        TRefusal{"OutputIsAFolder", {"{in}", "{dir}/sub"}, 1, "it is a folder"},
        TRefusal{"DoubleWithoutDoubleSlot",
                 {"--plugin", "{acc}", "--double", "{in}", "{out}"},
                 1,
                 "cannot process in double precision"},
        TRefusal{
            "MissingPlugin", {"--plugin", "{dir}/none.so", "{in}", "{out}"}, 1, "no such file"},
        TRefusal{"PluginThatIsNoLibrary",
                 {"--plugin", "{dir}/notes.txt", "{in}", "{out}"},
                 1,
                 "not a loadable library"},
        TRefusal{"BlockOfZero", {"--block", "0", "{in}", "{out}"}, 2, "--block expects"},
        TRefusal{"BlockThatIsNoNumber",
                 {"--block", "big", "{in}", "{out}"},
                 2,
                 "--block expects a number"},
        TRefusal{"UnknownBitDepth", {"--bits", "12", "{in}", "{out}"}, 2, "--bits expects"},
        TRefusal{"NegativeTail", {"--tail", "-1", "{in}", "{out}"}, 2, "--tail expects"},
        TRefusal{"SettingWithoutValue", {"--set", "Gain", "{in}", "{out}"}, 2, "NAME=VALUE"},
        TRefusal{"UnknownOption", {"--loud", "{in}", "{out}"}, 2, "Unknown option --loud"},
        TRefusal{"OptionWithoutValue", {"{in}", "{out}", "--program"}, 2, "expects a value"},
        TRefusal{"NoOutput", {"{in}"}, 2, "Expected an input and an output file"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(RenderTool, FailedRenderLeavesAnExistingOutputUntouched) {
  WriteText(Output, "old");
  const TProgramRun run = Render(Args({"--set", "Volume=1", Input, Output}));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(ReadText(Output), "old");
}

TEST_F(RenderTool, InterruptedRenderRemovesItsTemporaryFile) {
  // A tail of days: the render runs until it is interrupted.
  const pid_t pid = StartProgram(
      RENDER_TOOL_PATH,
      Args({"--plugin", RENDER_PLUGIN_PATH, "--tail", "1000000", "--block", "64", Input, Output}));
  const auto started = std::chrono::steady_clock::now();
  const auto deadline = started + std::chrono::seconds(20);
  bool writing = false;
  while (!writing && std::chrono::steady_clock::now() < deadline) {
    for (const std::string& name : Folder.Entries())
      writing = writing || name.rfind(".out.wav.partial-", 0) == 0;
    if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(writing) << "no temporary output appeared";
  kill(pid, SIGINT);

  int status = 0;
  pid_t ended = 0;
  while ((ended = waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the render did not stop on SIGINT";
  }
  ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal, not by its own hand";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(Folder.Entries(), (std::vector<std::string>{"in.wav", "mono.wav"}));
}

TEST_F(RenderTool, ListsProgramsAndParameters) {
  const TProgramRun run = Render(Args({"--list"}));
  ASSERT_EQ(run.ExitCode, 0) << run.Errors;
  for (const char* line : {"Programs (4):", "  1  \"Double\"", "  3  \"User\"", "Parameters (2)",
                           "  0  \"Gain\" = 1 x", "  1  \"Cross\" = 0.25"}) {
    EXPECT_NE(run.Output.find(line), std::string::npos) << line << " in\n" << run.Output;
  }
}

TEST(RenderToolHelp, PrintsUsageAndSucceeds) {
  const TProgramRun run = RunProgram(RENDER_TOOL_PATH, {"--help"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Output.find("Usage: render [OPTIONS] INPUT OUTPUT"), std::string::npos);
}
