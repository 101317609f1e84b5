#include "tools/render/AudioInput.h"

#include <filesystem>
#include <stdexcept>
#include <type_traits>

namespace {

sf_count_t ReadInterleaved(SNDFILE* file, float* samples, sf_count_t frames) {
  return sf_readf_float(file, samples, frames);
}

sf_count_t ReadInterleaved(SNDFILE* file, double* samples, sf_count_t frames) {
  return sf_readf_double(file, samples, frames);
}

}  // namespace

TAudioInput::TAudioInput(const std::string& path) : Path(path) {
  std::error_code status;
  const auto type = std::filesystem::status(path, status).type();
  if (type == std::filesystem::file_type::not_found) {
    throw std::runtime_error("Cannot read '" + path + "': no such file");
  }
  if (type != std::filesystem::file_type::regular) {
    throw std::runtime_error("Cannot read '" + path + "': not a regular file");
  }
  File = sf_open(path.c_str(), SFM_READ, &Info);
  if (File == nullptr) {
    const int error = sf_error(nullptr);
    if (error == SF_ERR_UNRECOGNISED_FORMAT || error == SF_ERR_MALFORMED_FILE ||
        error == SF_ERR_UNSUPPORTED_ENCODING) {
      throw std::runtime_error("Cannot read '" + path + "': unsupported or damaged audio file (" +
                               sf_strerror(nullptr) + ")");
    }
    throw std::runtime_error("Cannot read '" + path + "': " + sf_strerror(nullptr));
  }
  if (Info.channels < 1 || Info.samplerate < 1) {
    sf_close(File);
    File = nullptr;
    throw std::runtime_error("Cannot read '" + path + "': it declares no channels or no rate");
  }
}

TAudioInput::~TAudioInput() {
  if (File != nullptr) sf_close(File);
}

std::string TAudioInput::FormatName() const {
  SF_FORMAT_INFO container{};
  container.format = Info.format & SF_FORMAT_TYPEMASK;
  SF_FORMAT_INFO encoding{};
  encoding.format = Info.format & SF_FORMAT_SUBMASK;
  const bool named = sf_command(nullptr, SFC_GET_FORMAT_INFO, &container, sizeof container) == 0 &&
                     sf_command(nullptr, SFC_GET_FORMAT_INFO, &encoding, sizeof encoding) == 0;
  if (!named) return "unnamed format";
  return std::string(container.name) + ", " + encoding.name;
}

template <class Sample>
std::size_t TAudioInput::Read(Sample* const* channels, std::size_t frames) {
  std::vector<Sample>* interleaved = nullptr;
  if constexpr (std::is_same_v<Sample, float>) {
    interleaved = &InterleavedFloat;
  } else {
    interleaved = &InterleavedDouble;
  }
  const auto width = static_cast<std::size_t>(Info.channels);
  if (interleaved->size() < frames * width) interleaved->resize(frames * width);

  const sf_count_t read =
      ReadInterleaved(File, interleaved->data(), static_cast<sf_count_t>(frames));
  if (read < 0) throw std::runtime_error("Cannot read '" + Path + "': " + sf_strerror(File));
  const auto got = static_cast<std::size_t>(read);
  for (std::size_t channel = 0; channel < width; ++channel) {
    for (std::size_t frame = 0; frame < got; ++frame) {
      channels[channel][frame] = (*interleaved)[frame * width + channel];
    }
  }
  return got;
}

template std::size_t TAudioInput::Read<float>(float* const*, std::size_t);
template std::size_t TAudioInput::Read<double>(double* const*, std::size_t);
