// A plug-in written straight on the binary interface for the render
// program's tests (see RenderTestPlugin.h). Built twice: with every
// processing slot, and with RENDER_PLUGIN_ACCUMULATING_ONLY, offering only
// the accumulating process slot, so that the render program must fall back
// to it and zero the outputs itself.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/tools/RenderTestPlugin.h"

namespace {

#ifdef RENDER_PLUGIN_ACCUMULATING_ONLY
constexpr bool kReplacing = false;
#else
constexpr bool kReplacing = true;
#endif

constexpr VstInt32 kChannels = 2;
constexpr std::size_t kNumberTextSize = 32;
constexpr const char* kParameterNames[kRenderPluginParams] = {"Gain", "Cross"};
constexpr const char* kParameterLabels[kRenderPluginParams] = {"x", ""};
constexpr float kParameterMax[kRenderPluginParams] = {kRenderGainMax, kRenderCrossMax};

struct TPlugin {
  AEffect Record{};
  audioMasterCallback Host = nullptr;
  // Real units.
  float Values[kRenderPluginParams] = {1.0f, kRenderDefaultCross};
  VstInt32 Program = 0;
  float SampleRate = 0.0f;
  VstIntPtr BlockSize = 0;
  bool Resumed = false;
  // Sample rate or block size differ from the host's answers.
  bool Mismatch = true;
};

TPlugin* Self(AEffect* effect) {
  return static_cast<TPlugin*>(effect->object);
}

bool IsParameter(VstInt32 index) {
  return index >= 0 && index < kRenderPluginParams;
}

// Writes text cut to the published buffer size.
void Text(void* ptr, const char* text, std::size_t size = kVstMaxProgNameLen) {
  auto* out = static_cast<char*>(ptr);
  const std::size_t length = std::min(std::strlen(text), size - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

void ApplyProgram(TPlugin* plugin, VstInt32 index) {
  plugin->Program = index;
  plugin->Values[kRenderGainParameter] = kRenderPrograms[index].Gain;
  plugin->Values[kRenderCrossParameter] = kRenderDefaultCross;
}

bool ParseValue(TPlugin* plugin, VstInt32 index, const char* text) {
  if (!IsParameter(index) || text == nullptr) return false;
  char* end = nullptr;
  const float value = std::strtof(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(value)) return false;
  if (index == kRenderGainParameter && !(value >= 0.0f && value <= kRenderGainMax)) return false;
  plugin->Values[index] = value;
  return true;
}

void Resume(TPlugin* plugin) {
  const VstIntPtr rate = plugin->Host(&plugin->Record, audioMasterGetSampleRate, 0, 0, nullptr, 0);
  const VstIntPtr block = plugin->Host(&plugin->Record, audioMasterGetBlockSize, 0, 0, nullptr, 0);
  plugin->Mismatch = plugin->SampleRate <= 0.0f || plugin->BlockSize <= 0 ||
                     std::lround(plugin->SampleRate) != rate || plugin->BlockSize != block;
  plugin->Resumed = true;
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt) {
  TPlugin* plugin = Self(effect);
  switch (opcode) {
    case effClose:
      delete plugin;
      return 1;
    case effSetSampleRate:
      plugin->SampleRate = opt;
      return 0;
    case effSetBlockSize:
      plugin->BlockSize = value;
      return 0;
    case effMainsChanged:
      if (value != 0) {
        Resume(plugin);
      } else {
        plugin->Resumed = false;
      }
      return 0;
    case effSetProgram:
      if (value >= 0 && value < kRenderPluginPrograms) {
        ApplyProgram(plugin, static_cast<VstInt32>(value));
      }
      return 0;
    case effGetProgram:
      return plugin->Program;
    case effGetProgramName:
      Text(ptr, kRenderPrograms[plugin->Program].Name);
      return 0;
    case effGetProgramNameIndexed:
      if (index < 0 || index >= kRenderPluginPrograms) return 0;
      Text(ptr, kRenderPrograms[index].Name);
      return 1;
    case effGetParamName:
      if (IsParameter(index)) Text(ptr, kParameterNames[index], kVstMaxParamNameLen);
      return 0;
    case effGetParamLabel:
      if (IsParameter(index)) Text(ptr, kParameterLabels[index], kVstMaxParamLabelLen);
      return 0;
    case effGetParamDisplay:
      if (IsParameter(index)) {
        char number[kNumberTextSize];
        std::snprintf(number, sizeof number, "%g", static_cast<double>(plugin->Values[index]));
        Text(ptr, number, kVstMaxParamDisplayLen);
      }
      return 0;
    case effString2Parameter:
      return ParseValue(plugin, index, static_cast<const char*>(ptr)) ? 1 : 0;
    case effGetEffectName:
      Text(ptr, "Render Test");
      return 1;
    case effGetVstVersion:
      return kVstVersion;
    default:
      return 0;
  }
}

template <class Sample>
void Run(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 frames, bool accumulate) {
  const TPlugin* plugin = Self(effect);
  const bool fault = !plugin->Resumed || plugin->Mismatch || frames > plugin->BlockSize;
  const auto gain = static_cast<Sample>(plugin->Values[kRenderGainParameter]);
  const auto cross = static_cast<Sample>(plugin->Values[kRenderCrossParameter]);
  for (VstInt32 i = 0; i < frames; ++i) {
    const Sample left = gain * inputs[0][i] + cross * inputs[1][i];
    const Sample right = gain * inputs[1][i];
    if (fault) {
      outputs[0][i] = outputs[1][i] = static_cast<Sample>(kRenderProtocolFault);
    } else if (accumulate) {
      outputs[0][i] += left;
      outputs[1][i] += right;
    } else {
      outputs[0][i] = left;
      outputs[1][i] = right;
    }
  }
}

void VSTCALLBACK Process(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Run(effect, inputs, outputs, frames, true);
}

void VSTCALLBACK ProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 frames) {
  Run(effect, inputs, outputs, frames, false);
}

void VSTCALLBACK ProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 frames) {
  Run(effect, inputs, outputs, frames, false);
}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (IsParameter(index)) Self(effect)->Values[index] = value * kParameterMax[index];
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32 index) {
  return IsParameter(index) ? Self(effect)->Values[index] / kParameterMax[index] : 0.0f;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
    return nullptr;
  }
  auto* plugin = new TPlugin;
  AEffect& record = plugin->Record;
  record.magic = kEffectMagic;
  record.dispatcher = Dispatcher;
  record.process = Process;
  record.setParameter = SetParameter;
  record.getParameter = GetParameter;
  record.numPrograms = kRenderPluginPrograms;
  record.numParams = kRenderPluginParams;
  record.numInputs = kChannels;
  record.numOutputs = kChannels;
  record.flags = kReplacing ? effFlagsCanReplacing | effFlagsCanDoubleReplacing : 0;
  record.object = plugin;
  record.uniqueID = FourCharCode('R', 'n', 'd', 'T');
  record.version = 1;
  record.processReplacing = kReplacing ? ProcessReplacing : nullptr;
  record.processDoubleReplacing = kReplacing ? ProcessDoubleReplacing : nullptr;
  plugin->Host = host;
  return &record;
}
