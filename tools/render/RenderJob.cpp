#include "tools/render/RenderJob.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"
#include "tools/render/AudioInput.h"
#include "tools/render/AudioOutput.h"
#include "tools/render/Interruption.h"
#include "tools/render/OutputFormat.h"
#include "tools/render/ParameterEntry.h"
#include "tools/render/ProgramChoice.h"
#include "tools/render/Progress.h"
#include "tools/render/RenderLoop.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kProductString = "Quillotron render";
constexpr std::size_t kEffectNameBufferSize = 256;
// Listing needs no audio; the plug-in is set up at a common rate.
constexpr int kListSampleRate = 44100;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// The file the output names: a link is followed, so that rendering onto a
// link updates the file it points at.
fs::path ResolvedOutput(const std::string& output) {
  fs::path path = output;
  std::error_code status;
  if (fs::is_symlink(path, status)) path = fs::weakly_canonical(path);
  if (fs::is_directory(path, status)) {
    throw std::runtime_error("Cannot write '" + output + "': it is a folder");
  }
  return path;
}

void CheckNotTheInput(const std::string& input, const fs::path& output) {
  std::error_code status;
  if (fs::equivalent(input, output, status)) {
    throw std::runtime_error("The output '" + output.string() + "' is the input file '" + input +
                             "'; choose another output");
  }
}

// The plug-in, opened and told the stream's rate and block size, as a host
// sets one up before it resumes it.
struct TOpenPlugin {
  TOpenPlugin(const std::string& path, int sampleRate, std::size_t blockSize) : Library(path) {
    Host.ProductString = kProductString;
    Host.SampleRate = sampleRate;
    Host.BlockSize = static_cast<VstIntPtr>(blockSize);
    Effect = Host.Instantiate(Library);
    Effect->Dispatch(effOpen);
    Effect->Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Effect->Dispatch(effSetBlockSize, 0, static_cast<VstIntPtr>(blockSize));
  }

  // The effect goes before the library that holds its code.
  TPluginLibrary Library;
  THost Host;
  std::unique_ptr<TEffect> Effect;
};

void ApplySettings(const TRenderOptions& options, TEffect& effect, std::ostream& out) {
  if (options.Program) {
    const auto names = ProgramNames(effect);
    const VstInt32 index = FindProgram(names, *options.Program);
    SelectProgram(effect, index);
    out << "Program:  " << index << " " << Quoted(names[static_cast<std::size_t>(index)]) << '\n';
  }
  if (options.Settings.empty()) return;
  const auto names = ParameterNames(effect);
  for (const auto& [name, value] : options.Settings) {
    const VstInt32 index = FindParameter(names, name);
    const bool inRange = SetParameterText(effect, index, name, value);
    out << "Set:      " << name << " = " << ParameterShown(effect, index) << '\n';
    if (!inRange) {
      std::cerr << "render: warning: " << value << " lies outside the range of parameter "
                << Quoted(name) << "; the plug-in took it as it is\n";
    }
  }
}

template <class Sample>
std::uint64_t Stream(TEffect& effect, TProcessingSlot slot, const TRenderShape& shape,
                     TAudioInput& input, TAudioOutput& output) {
  TProgress progress(std::cerr, input.Frames() + shape.TailFrames, StandardErrorIsTerminal());
  TRenderIo<Sample> io;
  io.Read = [&](Sample* const* channels, std::size_t frames) {
    return input.Read(channels, frames);
  };
  io.Write = [&](const Sample* const* channels, std::size_t frames) {
    output.Write(channels, frames);
  };
  io.Progress = [&](std::uint64_t done) {
    ThrowIfInterrupted();
    progress.Update(done);
  };
  const std::uint64_t frames = RenderBlocks(effect, slot, shape, io);
  progress.Finish();
  return frames;
}

}  // namespace

void RunRender(const TRenderOptions& options, std::ostream& out) {
  TAudioInput input(options.Input);
  const fs::path outputPath = ResolvedOutput(options.Output);
  CheckNotTheInput(options.Input, outputPath);
  const TOutputFormat format =
      OutputFormatFor(outputPath, options.Bits, input.Channels(), input.SampleRate());

  TOpenPlugin plugin(options.Plugin, input.SampleRate(), options.BlockSize);
  TEffect& effect = *plugin.Effect;
  const TProcessingSlot slot = ChooseProcessingSlot(*effect.Record(), options.DoublePrecision);
  CheckChannelLayout(*effect.Record(), input.Channels());

  out << "Plug-in:  " << options.Plugin << " ("
      << Quoted(effect.EffectName(kEffectNameBufferSize).Text) << ")\n";
  out << "Input:    " << options.Input << " (" << input.FormatName() << ", " << input.Channels()
      << (input.Channels() == 1 ? " channel, " : " channels, ") << input.SampleRate() << " Hz, "
      << input.Frames() << " frames)\n";
  effect.Dispatch(effMainsChanged, 0, 1);
  ApplySettings(options, effect, out);

  TRenderShape shape;
  shape.Channels = input.Channels();
  shape.BlockSize = options.BlockSize;
  shape.TailFrames =
      static_cast<std::uint64_t>(std::llround(options.TailSeconds * input.SampleRate()));

  TAudioOutput output(outputPath, format, input.Channels(), input.SampleRate());
  effect.Dispatch(effStartProcess);
  const std::uint64_t frames = options.DoublePrecision
                                   ? Stream<double>(effect, slot, shape, input, output)
                                   : Stream<float>(effect, slot, shape, input, output);
  effect.Dispatch(effStopProcess);
  effect.Dispatch(effMainsChanged, 0, 0);
  effect.Close();
  output.Commit();

  out << "Output:   " << options.Output << " (" << format.Description << ", " << frames << " frames"
      << (shape.TailFrames > 0 ? ", " + std::to_string(shape.TailFrames) + " of tail" : "")
      << (options.DoublePrecision ? ", processed in double precision" : "") << ")\n";
  if (format.ClipsAtFullScale) out << "Clipped:  " << output.ClippedSamples() << " samples\n";
  if (output.NonFiniteSamples() > 0) {
    std::cerr << "render: warning: the plug-in produced " << output.NonFiniteSamples()
              << " infinite or not-a-number samples\n";
  }
}

void ListPlugin(const TRenderOptions& options, std::ostream& out) {
  TOpenPlugin plugin(options.Plugin, kListSampleRate, options.BlockSize);
  TEffect& effect = *plugin.Effect;
  out << "Plug-in: " << options.Plugin << " ("
      << Quoted(effect.EffectName(kEffectNameBufferSize).Text) << ")\n";
  const auto programs = ProgramNames(effect);
  out << "Programs (" << programs.size() << "):\n";
  for (std::size_t index = 0; index < programs.size(); ++index) {
    out << "  " << index << "  " << Quoted(programs[index]) << '\n';
  }
  const auto parameters = ParameterNames(effect);
  out << "Parameters (" << parameters.size() << "), current values:\n";
  for (std::size_t index = 0; index < parameters.size(); ++index) {
    out << "  " << index << "  " << Quoted(parameters[index]) << " = "
        << ParameterShown(effect, static_cast<VstInt32>(index)) << '\n';
  }
}
