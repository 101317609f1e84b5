#include "tools/render/AudioOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace {

// New files get the permissions the user's umask allows, as any program's
// files do; mkstemp alone would make them private.
constexpr mode_t kNewFileMode = 0666;

sf_count_t WriteInterleaved(SNDFILE* file, const float* samples, sf_count_t frames) {
  return sf_writef_float(file, samples, frames);
}

sf_count_t WriteInterleaved(SNDFILE* file, const double* samples, sf_count_t frames) {
  return sf_writef_double(file, samples, frames);
}

mode_t CurrentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

TAudioOutput::TAudioOutput(std::filesystem::path finalPath, const TOutputFormat& format,
                           int channels, int sampleRate)
    : Final(std::move(finalPath)), Format(format), Channels(channels) {
  // Hidden, beside the final file, and unique: mkstemp fills in the Xs.
  std::string name = ".";
  name += Final.filename().string();
  name += ".partial-XXXXXX";
  std::string pattern = (FolderOf(Final) / name).string();
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) {
    throw std::runtime_error("Cannot write into the folder of '" + Final.string() +
                             "': " + std::strerror(errno));
  }
  Temporary = pattern;
  Descriptor = descriptor;
  fchmod(Descriptor, kNewFileMode & ~CurrentUmask());

  SF_INFO info{};
  info.format = Format.Format;
  info.channels = Channels;
  info.samplerate = sampleRate;
  // The descriptor stays ours to close, whether libsndfile opens or not.
  File = sf_open_fd(Descriptor, SFM_WRITE, &info, SF_FALSE);
  if (File == nullptr) {
    const std::string reason = sf_strerror(nullptr);
    Discard();
    throw std::runtime_error("Cannot write '" + Final.string() + "': " + reason);
  }
  // Without clipping, libsndfile's conversion to integers may wrap a sample
  // at or beyond full scale around to the other sign. Write limits the
  // samples before; this is the second guard.
  sf_command(File, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

TAudioOutput::~TAudioOutput() {
  if (!Committed) Discard();
}

void TAudioOutput::Discard() {
  if (File != nullptr) {
    sf_close(File);
    File = nullptr;
  }
  CloseDescriptor();
  std::error_code ignored;
  std::filesystem::remove(Temporary, ignored);
}

template <class Sample>
Sample TAudioOutput::Limited(Sample sample) {
  if (!std::isfinite(sample)) ++NonFinite;
  if (!Format.ClipsAtFullScale) return sample;
  if (std::isnan(sample)) {
    ++Clipped;
    return Sample(0);
  }
  if (sample > Sample(1)) {
    ++Clipped;
    return Sample(1);
  }
  if (sample < Sample(-1)) {
    ++Clipped;
    return Sample(-1);
  }
  return sample;
}

template <class Sample>
void TAudioOutput::Write(const Sample* const* channels, std::size_t frames) {
  if (File == nullptr) throw std::logic_error("The output file is already complete");
  std::vector<Sample>* interleaved = nullptr;
  if constexpr (std::is_same_v<Sample, float>) {
    interleaved = &InterleavedFloat;
  } else {
    interleaved = &InterleavedDouble;
  }
  const auto width = static_cast<std::size_t>(Channels);
  if (interleaved->size() < frames * width) interleaved->resize(frames * width);
  for (std::size_t frame = 0; frame < frames; ++frame) {
    for (std::size_t channel = 0; channel < width; ++channel) {
      (*interleaved)[frame * width + channel] = Limited(channels[channel][frame]);
    }
  }
  const sf_count_t written =
      WriteInterleaved(File, interleaved->data(), static_cast<sf_count_t>(frames));
  if (written != static_cast<sf_count_t>(frames)) {
    throw std::runtime_error("Cannot write '" + Final.string() + "': " + sf_strerror(File));
  }
  Frames += frames;
}

template void TAudioOutput::Write<float>(const float* const*, std::size_t);
template void TAudioOutput::Write<double>(const double* const*, std::size_t);

void TAudioOutput::Commit() {
  if (File == nullptr) throw std::logic_error("The output file is already complete");
  SNDFILE* file = std::exchange(File, nullptr);
  if (const int error = sf_close(file); error != 0) {
    throw std::runtime_error("Cannot complete '" + Final.string() + "': " + sf_error_number(error));
  }
  // On disk before it takes the final name, so that a crash cannot leave an
  // empty file there.
  if (fsync(Descriptor) != 0 || !CloseDescriptor()) {
    throw std::runtime_error("Cannot complete '" + Final.string() + "': " + std::strerror(errno));
  }
  std::error_code status;
  std::filesystem::rename(Temporary, Final, status);
  if (status) {
    throw std::runtime_error("Cannot name the output '" + Final.string() +
                             "': " + status.message());
  }
  Committed = true;
}

bool TAudioOutput::CloseDescriptor() {
  if (Descriptor < 0) return true;
  // A failed close can be a failed delayed write: the file is not complete.
  return close(std::exchange(Descriptor, -1)) == 0;
}
