#include "tools/render/ProgramChoice.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace {

// Hosts hand plug-ins larger buffers than the published name length, since
// many plug-ins write longer names.
constexpr std::size_t kNameBufferSize = 256;
// effGetProgramNameIndexed's category: all categories.
constexpr VstIntPtr kAllCategories = -1;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string Listing(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t index = 0; index < names.size(); ++index) {
    list += "\n  " + std::to_string(index) + "  " + Quoted(names[index]);
  }
  return list;
}

bool ParseIndex(const std::string& text, VstInt32& index) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, index);
  return error == std::errc() && stop == end;
}

}  // namespace

std::vector<std::string> ProgramNames(TEffect& effect) {
  const VstInt32 count = std::max(effect.Record()->numPrograms, 0);
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  const VstIntPtr current = effect.Dispatch(effGetProgram);
  bool switched = false;
  for (VstInt32 index = 0; index < count; ++index) {
    TTextReply name =
        effect.DispatchText(effGetProgramNameIndexed, kNameBufferSize, index, kAllCategories);
    if (name.Result == 0) {
      effect.Dispatch(effSetProgram, 0, index);
      switched = true;
      name = effect.ProgramName(kNameBufferSize);
    }
    names.push_back(name.Text);
  }
  if (switched) effect.Dispatch(effSetProgram, 0, current);
  return names;
}

VstInt32 FindProgram(const std::vector<std::string>& names, const std::string& wanted) {
  const auto count = static_cast<VstInt32>(names.size());
  if (count == 0)
    throw std::runtime_error("No program " + Quoted(wanted) + ": the plug-in has none");
  if (VstInt32 index = 0; ParseIndex(wanted, index)) {
    if (index < 0 || index >= count) {
      throw std::runtime_error("No program " + wanted + ": the plug-in has programs 0 to " +
                               std::to_string(count - 1));
    }
    return index;
  }
  std::vector<VstInt32> matches;
  for (VstInt32 index = 0; index < count; ++index) {
    if (names[static_cast<std::size_t>(index)] == wanted) matches.push_back(index);
  }
  if (matches.empty()) {
    throw std::runtime_error("No program named " + Quoted(wanted) +
                             "; the plug-in's programs are:" + Listing(names));
  }
  if (matches.size() > 1) {
    std::string indexes;
    for (const VstInt32 index : matches) {
      indexes += (indexes.empty() ? "" : ", ") + std::to_string(index);
    }
    throw std::runtime_error("The program name " + Quoted(wanted) + " is ambiguous: programs " +
                             indexes + " have it; select one by its index");
  }
  return matches.front();
}

void SelectProgram(TEffect& effect, VstInt32 index) {
  effect.Dispatch(effBeginSetProgram);
  effect.Dispatch(effSetProgram, 0, index);
  effect.Dispatch(effEndSetProgram);
  const VstIntPtr current = effect.Dispatch(effGetProgram);
  if (current != index) {
    throw std::runtime_error("The plug-in did not switch to program " + std::to_string(index) +
                             " (it reports program " + std::to_string(current) + ")");
  }
}
