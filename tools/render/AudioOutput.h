#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/render/OutputFormat.h"

// An audio file being written. It is written under a hidden temporary name
// in the destination's folder and takes its final name only in Commit, by a
// rename within the folder: a render that fails or is stopped never leaves a
// partial file under the name the user asked for, nor harms a file already
// there. The temporary file is removed unless committed.
class TAudioOutput {
 public:
  // Throws std::runtime_error when the folder cannot take a new file.
  TAudioOutput(std::filesystem::path finalPath, const TOutputFormat& format, int channels,
               int sampleRate);
  ~TAudioOutput();
  TAudioOutput(const TAudioOutput&) = delete;
  TAudioOutput& operator=(const TAudioOutput&) = delete;

  // Appends frames frames from channels[0 .. channels). For integer formats,
  // samples outside -1..1 are clipped and counted (a sample that is not a
  // number is written as 0 and counted too).
  template <class Sample>
  void Write(const Sample* const* channels, std::size_t frames);

  // Completes the file and renames it to the final name.
  void Commit();

  const std::filesystem::path& TemporaryPath() const { return Temporary; }
  std::uint64_t FramesWritten() const { return Frames; }
  std::uint64_t ClippedSamples() const { return Clipped; }
  // Infinite or not-a-number samples the plug-in produced.
  std::uint64_t NonFiniteSamples() const { return NonFinite; }

 private:
  template <class Sample>
  Sample Limited(Sample sample);
  void Discard();
  bool CloseDescriptor();

  std::filesystem::path Final;
  std::filesystem::path Temporary;
  TOutputFormat Format;
  int Channels;
  int Descriptor = -1;
  SNDFILE* File = nullptr;
  bool Committed = false;
  std::uint64_t Frames = 0;
  std::uint64_t Clipped = 0;
  std::uint64_t NonFinite = 0;
  std::vector<float> InterleavedFloat;
  std::vector<double> InterleavedDouble;
};
