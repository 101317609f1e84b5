#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An audio file opened for reading with libsndfile, read block by block into
// one array per channel. Integer files read as samples in -1..1.
class TAudioInput {
 public:
  // Throws std::runtime_error naming the file and the reason: missing, not a
  // regular file, unreadable, or a format libsndfile does not know.
  explicit TAudioInput(const std::string& path);
  ~TAudioInput();
  TAudioInput(const TAudioInput&) = delete;
  TAudioInput& operator=(const TAudioInput&) = delete;

  int Channels() const { return Info.channels; }
  int SampleRate() const { return Info.samplerate; }
  std::uint64_t Frames() const { return static_cast<std::uint64_t>(Info.frames); }
  // The container and encoding as libsndfile names them.
  std::string FormatName() const;

  // Reads up to frames frames into channels[0 .. Channels()), each holding at
  // least frames samples. Answers the frames read: fewer only at the end.
  template <class Sample>
  std::size_t Read(Sample* const* channels, std::size_t frames);

 private:
  std::string Path;
  SF_INFO Info{};
  SNDFILE* File = nullptr;
  std::vector<float> InterleavedFloat;
  std::vector<double> InterleavedDouble;
};
