// A stand-in for the effect in the demo's tests, written straight on the
// binary interface: it has the effect's level parameters "Harm 0" .. "Harm 7"
// (dB, -140 .. +1) but only scales its input by the fundamental's level, so
// that it makes no harmonics. Programs that set only the fundamental pass
// the demo; a program that sets a harmonic at -60 dB or more cannot. Built
// twice: with such a program (DEMO_PLUGIN_WITH_FAILING_PROGRAM) and without.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "frame/DVSTEffect.h"

namespace {

constexpr VstInt32 kLevels = 8;
constexpr VstInt32 kChannels = 2;
constexpr float kMinDb = -140.0f;
constexpr float kMaxDb = 1.0f;
constexpr double kDbPerDecade = 20.0;
constexpr std::size_t kNumberTextSize = 32;

struct TProgram {
  const char* Name;
  float Db[kLevels];
};

constexpr TProgram kPrograms[] = {
    {"Unity", {0, -140, -140, -140, -140, -140, -140, -140}},
    // A UTF-8 name with a character that SVG must escape.
    {"P\xC3\xA3o & Vinho", {-6, -140, -140, -140, -140, -140, -140, -140}},
    // The third harmonic is set, but too quiet to be judged.
    {"Faint Third", {0, -140, -80, -140, -140, -140, -140, -140}},
    {"Unity Again", {0, -140, -140, -140, -140, -140, -140, -140}},
#ifdef DEMO_PLUGIN_WITH_FAILING_PROGRAM
    {"Loud Third", {0, -140, -20, -140, -140, -140, -140, -140}},
#endif
};
constexpr VstInt32 kProgramCount = static_cast<VstInt32>(std::size(kPrograms));

struct TPlugin {
  AEffect Record{};
  float Db[kLevels] = {};
  VstInt32 Program = 0;
};

TPlugin* Self(AEffect* effect) {
  return static_cast<TPlugin*>(effect->object);
}

bool IsLevel(VstInt32 index) {
  return index >= 0 && index < kLevels;
}

void Text(void* ptr, const std::string& text, std::size_t size) {
  auto* out = static_cast<char*>(ptr);
  const std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

void Select(TPlugin* plugin, VstInt32 program) {
  plugin->Program = program;
  std::copy(std::begin(kPrograms[program].Db), std::end(kPrograms[program].Db), plugin->Db);
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float) {
  TPlugin* plugin = Self(effect);
  switch (opcode) {
    case effClose:
      delete plugin;
      return 1;
    case effSetProgram:
      if (value >= 0 && value < kProgramCount) Select(plugin, static_cast<VstInt32>(value));
      return 0;
    case effGetProgram:
      return plugin->Program;
    case effGetProgramNameIndexed:
      if (index < 0 || index >= kProgramCount) return 0;
      Text(ptr, kPrograms[index].Name, kVstMaxProgNameLen);
      return 1;
    case effGetParamName:
      if (IsLevel(index)) Text(ptr, "Harm " + std::to_string(index), kVstMaxParamNameLen);
      return 0;
    case effGetParamLabel:
      if (IsLevel(index)) Text(ptr, "dB", kVstMaxParamLabelLen);
      return 0;
    case effGetParamDisplay:
      if (IsLevel(index)) {
        char number[kNumberTextSize];
        std::snprintf(number, sizeof number, "%g", static_cast<double>(plugin->Db[index]));
        Text(ptr, number, kVstMaxParamDisplayLen);
      }
      return 0;
    default:
      return 0;
  }
}

void VSTCALLBACK ProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 frames) {
  const double gain = std::pow(10.0, Self(effect)->Db[0] / kDbPerDecade);
  for (VstInt32 channel = 0; channel < kChannels; ++channel) {
    for (VstInt32 i = 0; i < frames; ++i) {
      outputs[channel][i] = static_cast<float>(gain * inputs[channel][i]);
    }
  }
}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (IsLevel(index)) Self(effect)->Db[index] = kMinDb + value * (kMaxDb - kMinDb);
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32 index) {
  return IsLevel(index) ? (Self(effect)->Db[index] - kMinDb) / (kMaxDb - kMinDb) : 0.0f;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
    return nullptr;
  }
  auto* plugin = new TPlugin;
  Select(plugin, 0);
  AEffect& record = plugin->Record;
  record.magic = kEffectMagic;
  record.dispatcher = Dispatcher;
  record.setParameter = SetParameter;
  record.getParameter = GetParameter;
  record.numPrograms = kProgramCount;
  record.numParams = kLevels;
  record.numInputs = kChannels;
  record.numOutputs = kChannels;
  record.flags = effFlagsCanReplacing;
  record.object = plugin;
  record.uniqueID = FourCharCode('D', 'm', 'o', 'T');
  record.version = 1;
  record.processReplacing = ProcessReplacing;
  return &record;
}
