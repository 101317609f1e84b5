#include "tools/demo/DemoFiles.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "tools/render/AudioOutput.h"
#include "tools/render/OutputFormat.h"

namespace {

constexpr unsigned char kUtf8Latin1Lead = 0xC3;
constexpr unsigned char kUtf8ContinuationBase = 0x80;
// ASCII look-alikes of U+00C0 .. U+00FF, the letters that UTF-8 writes as
// 0xC3 followed by 0x80 .. 0xBF; '-' where there is none.
constexpr const char* kLatin1Letters =
    "aaaaaaaceeeeiiiidnooooo-ouuuuyts"
    "aaaaaaaceeeeiiiidnooooo-ouuuuyty";
constexpr std::size_t kIndexTextSize = 16;

}  // namespace

std::string ProgramFileName(VstInt32 index, const std::string& name) {
  std::string slug;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    char letter = '-';
    if (byte == kUtf8Latin1Lead && i + 1 < name.size()) {
      const auto next = static_cast<unsigned char>(name[++i]);
      if (next >= kUtf8ContinuationBase && next < kUtf8ContinuationBase + 64) {
        letter = kLatin1Letters[next - kUtf8ContinuationBase];
      }
    } else if (std::isalnum(byte) && byte < kUtf8ContinuationBase) {
      letter = static_cast<char>(std::tolower(byte));
    }
    if (letter == '-' && (slug.empty() || slug.back() == '-')) continue;
    slug += letter;
  }
  while (!slug.empty() && slug.back() == '-')
    slug.pop_back();
  char number[kIndexTextSize];
  std::snprintf(number, sizeof number, "%02d", static_cast<int>(index));
  return std::string(number) + (slug.empty() ? "" : "-" + slug) + ".wav";
}

void WriteMonoWav(const std::filesystem::path& path, const std::vector<float>& samples,
                  int sampleRate) {
  const TOutputFormat format = OutputFormatFor(path, kFloatBits, 1, sampleRate);
  TAudioOutput output(path, format, 1, sampleRate);
  const float* channels[] = {samples.data()};
  output.Write(channels, samples.size());
  output.Commit();
}

void WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  const std::filesystem::path temporary = path.string() + ".partial";
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary);
    written = static_cast<bool>(out << text) && static_cast<bool>(out.flush());
  }
  std::error_code status;
  if (written) std::filesystem::rename(temporary, path, status);
  if (!written || status) {
    std::filesystem::remove(temporary, status);
    throw std::runtime_error("Cannot write '" + path.string() + "'");
  }
}
