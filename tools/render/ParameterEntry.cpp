#include "tools/render/ParameterEntry.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// Hosts hand plug-ins larger buffers than the published lengths, since many
// plug-ins write longer texts.
constexpr std::size_t kTextBufferSize = 256;
constexpr const char* kSpaces = " \t";

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(kSpaces);
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(kSpaces);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> ParameterNames(TEffect& effect) {
  const VstInt32 count = std::max(effect.Record()->numParams, 0);
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (VstInt32 index = 0; index < count; ++index) {
    names.push_back(Trimmed(effect.ParameterName(index, kTextBufferSize).Text));
  }
  return names;
}

VstInt32 FindParameter(const std::vector<std::string>& names, const std::string& name) {
  std::vector<VstInt32> matches;
  for (std::size_t index = 0; index < names.size(); ++index) {
    if (names[index] == name) matches.push_back(static_cast<VstInt32>(index));
  }
  if (matches.size() == 1) return matches.front();
  if (matches.size() > 1) {
    throw std::runtime_error("The parameter name " + Quoted(name) +
                             " is ambiguous: several parameters have it");
  }
  std::string list;
  for (const std::string& known : names)
    list += (list.empty() ? "" : ", ") + Quoted(known);
  throw std::runtime_error("No parameter named " + Quoted(name) +
                           "; the plug-in's parameters are " +
                           (list.empty() ? std::string("none") : list));
}

bool SetParameterText(TEffect& effect, VstInt32 index, const std::string& name,
                      const std::string& text) {
  std::string buffer = text;
  if (effect.Dispatch(effString2Parameter, index, 0, buffer.data()) == 0) {
    throw std::runtime_error("The plug-in rejected the value " + Quoted(text) + " for parameter " +
                             Quoted(name));
  }
  const float normalised = effect.GetParameter(index);
  return normalised >= 0.0f && normalised <= 1.0f;
}

std::string ParameterShown(TEffect& effect, VstInt32 index) {
  const std::string display = Trimmed(effect.ParameterDisplay(index, kTextBufferSize).Text);
  const std::string label = Trimmed(effect.ParameterLabel(index, kTextBufferSize).Text);
  return label.empty() ? display : display + " " + label;
}

std::pair<std::string, std::string> SplitSetting(const std::string& setting) {
  const auto equals = setting.find('=');
  if (equals == std::string::npos) {
    throw std::invalid_argument("Expected NAME=VALUE, not " + Quoted(setting));
  }
  std::string name = Trimmed(setting.substr(0, equals));
  if (name.empty()) throw std::invalid_argument("No parameter name in " + Quoted(setting));
  return {std::move(name), Trimmed(setting.substr(equals + 1))};
}
