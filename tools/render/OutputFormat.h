#pragma once

#include <filesystem>
#include <string>

// How an output file is written: the container chosen by the file's
// extension and the sample encoding chosen by the requested bit depth.
struct TOutputFormat {
  // libsndfile's format word: container and sample encoding.
  int Format = 0;
  // For messages, e.g. "WAV, 32-bit float".
  std::string Description;
  // Integer samples hold only -1..1; louder samples are clipped.
  bool ClipsAtFullScale = false;
};

// The bit depths a user may ask for; kDefaultBits lets the container choose
// (32-bit float, or 24-bit integers where it holds no float).
inline constexpr int kDefaultBits = 0;
inline constexpr int kFloatBits = 32;
inline constexpr int kIntegerBits16 = 16;
inline constexpr int kIntegerBits24 = 24;

// Throws std::runtime_error for an unknown extension, a depth the container
// cannot hold, or a combination libsndfile refuses.
TOutputFormat OutputFormatFor(const std::filesystem::path& path, int bits, int channels,
                              int sampleRate);

// The extensions understood, for messages: ".wav, .aiff, ...".
std::string KnownOutputExtensions();
