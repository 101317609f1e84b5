#include "tools/render/OutputFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <stdexcept>

namespace {

struct TContainer {
  const char* Extension;
  const char* Name;
  int Format;
  bool HoldsFloat;
  // Compressed containers have no bit depth to choose.
  bool HasBitDepth;
};

constexpr TContainer kContainers[] = {
    {".wav", "WAV", SF_FORMAT_WAV, true, true},
    {".w64", "Wave64", SF_FORMAT_W64, true, true},
    {".rf64", "RF64", SF_FORMAT_RF64, true, true},
    {".aif", "AIFF", SF_FORMAT_AIFF, true, true},
    {".aiff", "AIFF", SF_FORMAT_AIFF, true, true},
    {".caf", "CAF", SF_FORMAT_CAF, true, true},
    {".au", "AU", SF_FORMAT_AU, true, true},
    {".flac", "FLAC", SF_FORMAT_FLAC, false, true},
    {".ogg", "Ogg Vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, true, false},
};

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

const TContainer& ContainerFor(const std::filesystem::path& path) {
  const std::string extension = LowerCase(path.extension().string());
  const auto found = std::find_if(std::begin(kContainers), std::end(kContainers),
                                  [&](const TContainer& c) { return extension == c.Extension; });
  if (found == std::end(kContainers)) {
    throw std::runtime_error("Cannot tell the output format from '" + path.string() +
                             "': use one of the extensions " + KnownOutputExtensions());
  }
  return *found;
}

TOutputFormat Encoding(const TContainer& container, int bits) {
  const std::string name = container.Name;
  if (!container.HasBitDepth) {
    if (bits != kDefaultBits) {
      throw std::runtime_error(name + " output is compressed: --bits does not apply to it");
    }
    return {container.Format, name, false};
  }
  if (bits == kDefaultBits) bits = container.HoldsFloat ? kFloatBits : kIntegerBits24;
  switch (bits) {
    case kFloatBits:
      if (!container.HoldsFloat) {
        throw std::runtime_error(name + " cannot hold 32-bit float samples: use --bits 16 or 24");
      }
      return {container.Format | SF_FORMAT_FLOAT, name + ", 32-bit float", false};
    case kIntegerBits24:
      return {container.Format | SF_FORMAT_PCM_24, name + ", 24-bit integer", true};
    case kIntegerBits16:
      return {container.Format | SF_FORMAT_PCM_16, name + ", 16-bit integer", true};
    default:
      throw std::runtime_error("Cannot write " + std::to_string(bits) +
                               "-bit samples: use 16, 24 or 32 (float)");
  }
}

}  // namespace

TOutputFormat OutputFormatFor(const std::filesystem::path& path, int bits, int channels,
                              int sampleRate) {
  TOutputFormat format = Encoding(ContainerFor(path), bits);
  SF_INFO info{};
  info.format = format.Format;
  info.channels = channels;
  info.samplerate = sampleRate;
  if (sf_format_check(&info) == 0) {
    throw std::runtime_error("libsndfile cannot write " + format.Description + " with " +
                             std::to_string(channels) + " channels at " +
                             std::to_string(sampleRate) + " Hz");
  }
  return format;
}

std::string KnownOutputExtensions() {
  std::string list;
  for (const TContainer& container : kContainers) {
    if (!list.empty()) list += ", ";
    list += container.Extension;
  }
  return list;
}
