#include "tools/demo/DemoPrograms.h"

#include <charconv>
#include <stdexcept>

#include "tools/demo/DemoSignal.h"
#include "tools/render/ParameterEntry.h"
#include "tools/render/ProgramChoice.h"

namespace {

constexpr std::size_t kDisplayBufferSize = 256;
constexpr const char* kSpaces = " \t";

std::string LevelName(int level) {
  return "Harm " + std::to_string(level);
}

double ShownDb(TEffect& effect, VstInt32 index, const std::string& name) {
  std::string text = effect.ParameterDisplay(index, kDisplayBufferSize).Text;
  const auto first = text.find_first_not_of(kSpaces);
  const auto last = text.find_last_not_of(kSpaces);
  text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) {
    throw std::runtime_error("The plug-in shows level \"" + name + "\" as \"" + text +
                             "\", which is no number of dB");
  }
  return value;
}

}  // namespace

std::vector<TProgramSettings> ReadProgramSettings(TEffect& effect) {
  const auto parameterNames = ParameterNames(effect);
  std::vector<VstInt32> levels;
  for (int level = 0; level < kDemoHarmonics; ++level) {
    levels.push_back(FindParameter(parameterNames, LevelName(level)));
  }

  const auto programNames = ProgramNames(effect);
  std::vector<TProgramSettings> programs;
  for (std::size_t index = 0; index < programNames.size(); ++index) {
    TProgramSettings settings;
    settings.Index = static_cast<VstInt32>(index);
    settings.Name = programNames[index];
    SelectProgram(effect, settings.Index);
    for (int level = 0; level < kDemoHarmonics; ++level) {
      settings.SetDb.push_back(
          ShownDb(effect, levels[static_cast<std::size_t>(level)], LevelName(level)));
    }
    for (std::size_t parameter = 0; parameter < parameterNames.size(); ++parameter) {
      settings.Values.push_back(effect.GetParameter(static_cast<VstInt32>(parameter)));
    }
    programs.push_back(std::move(settings));
  }
  return programs;
}
