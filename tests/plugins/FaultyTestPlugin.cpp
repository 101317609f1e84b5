// A small stereo gain-and-drive effect written straight on the binary
// interface, built once well-behaved and once per fault that the validator
// must catch, each fault chosen by one compile definition:
//   FAULTY_TEXT_OVERRUN  the parameter display writes past its 8 bytes
//   FAULTY_NAN_OUTPUT    the drive curve gives NaN for input beyond full scale
//   FAULTY_ALLOCATION    processing allocates a scratch buffer per call
//   FAULTY_STATE         switching programs drops the edits made to them
//   FAULTY_LOST_UPDATE   processing writes its copy of the gain back, losing
//                        changes made while it ran
//   FAULTY_CRASH         processing at 96 kHz dereferences null
//   FAULTY_HANG          setting the sample rate to 96 kHz never returns
// Parameters live in the current program, as hosts expect of programs.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "frame/DVSTEffect.h"

namespace {

constexpr VstInt32 kChannels = 2;
constexpr VstInt32 kParameters = 2;
constexpr VstInt32 kPrograms = 3;
enum : VstInt32 { kGain = 0, kDrive = 1 };
// Gain spans 0 to 2 (+6 dB).
constexpr float kGainRange = 2.0f;
constexpr const char* kParameterNames[kParameters] = {"Gain", "Drive"};
constexpr const char* kParameterLabels[kParameters] = {"x", "%"};
constexpr float kFactory[kPrograms][kParameters] = {{0.5f, 0.0f}, {0.5f, 0.3f}, {0.75f, 0.8f}};
constexpr const char* kFactoryNames[kPrograms] = {"Clean", "Warm", "Hot"};
constexpr float kFaultyRate = 96000.0f;
// Per sample: about 23 ms to come within 1/e of a new gain at 44.1 kHz.
constexpr double kGainSmoothing = 0.001;

struct TProgram {
  std::atomic<float> Values[kParameters];
  char Name[kVstMaxProgNameLen];
};

struct TFaultyPlugin {
  AEffect Record{};
  TProgram Programs[kPrograms];
  std::atomic<VstInt32> Current{0};
  // The gain processing applies, gliding towards the setting; negative
  // until the first call.
  double Gain = -1.0;
  float SampleRate = 44100.0f;

  std::atomic<float>& Value(VstInt32 index) { return Programs[Current.load()].Values[index]; }
};

TFaultyPlugin* Self(AEffect* effect) {
  return static_cast<TFaultyPlugin*>(effect->object);
}

bool IsParameter(VstInt32 index) {
  return index >= 0 && index < kParameters;
}

void LoadFactory(TProgram& program, VstInt32 index) {
  for (VstInt32 parameter = 0; parameter < kParameters; ++parameter)
    program.Values[parameter].store(kFactory[index][parameter]);
  std::snprintf(program.Name, sizeof program.Name, "%s", kFactoryNames[index]);
}

// The drive curve bends the signal by sqrt(1 - x^2), which is real only
// within full scale; beyond it the input is held at full scale.
template <class Sample>
Sample Shape(Sample x, Sample drive) {
#ifdef FAULTY_NAN_OUTPUT
  const Sample inside = x;
#else
  const Sample inside = std::clamp(x, Sample(-1), Sample(1));
#endif
  return x - drive * x * (Sample(1) - std::sqrt(Sample(1) - inside * inside));
}

template <class Sample>
void Process(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 frames) {
  TFaultyPlugin* plugin = Self(effect);
#ifdef FAULTY_CRASH
  if (plugin->SampleRate == kFaultyRate) inputs = nullptr;
#endif
#ifdef FAULTY_ALLOCATION
  const auto scratch = std::make_unique<Sample[]>(static_cast<std::size_t>(frames));
#endif
  std::atomic<float>& gainSetting = plugin->Value(kGain);
  const double target = gainSetting.load(std::memory_order_relaxed) * kGainRange;
  const auto drive = static_cast<Sample>(plugin->Value(kDrive).load(std::memory_order_relaxed));
  double& gain = plugin->Gain;
  if (gain < 0.0) gain = target;
  for (VstInt32 frame = 0; frame < frames; ++frame) {
    gain += (target - gain) * kGainSmoothing;
    for (VstInt32 channel = 0; channel < kChannels; ++channel) {
      outputs[channel][frame] = static_cast<Sample>(gain) * Shape(inputs[channel][frame], drive);
#ifdef FAULTY_ALLOCATION
      scratch[static_cast<std::size_t>(frame)] = outputs[channel][frame];
#endif
    }
  }
#ifdef FAULTY_LOST_UPDATE
  // The smoothed gain written back as the setting: a change that came
  // meanwhile, or that the smoothing has not reached yet, is lost.
  gainSetting.store(static_cast<float>(gain / kGainRange), std::memory_order_relaxed);
#endif
}

void ProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Process(effect, inputs, outputs, frames);
}

void ProcessDouble(AEffect* effect, double** inputs, double** outputs, VstInt32 frames) {
  Process(effect, inputs, outputs, frames);
}

// Not announced by a flag, but old hosts still call it: the sum of what
// processReplacing gives and what the outputs held.
void Accumulate(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  for (VstInt32 frame = 0; frame < frames; ++frame) {
    float* in[kChannels] = {inputs[0] + frame, inputs[1] + frame};
    float result[kChannels] = {};
    float* out[kChannels] = {&result[0], &result[1]};
    Process(effect, in, out, 1);
    for (VstInt32 channel = 0; channel < kChannels; ++channel)
      outputs[channel][frame] += result[channel];
  }
}

void SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (!IsParameter(index) || !std::isfinite(value)) return;
  Self(effect)->Value(index).store(std::clamp(value, 0.0f, 1.0f));
}

float GetParameter(AEffect* effect, VstInt32 index) {
  return IsParameter(index) ? Self(effect)->Value(index).load() : 0.0f;
}

// Cut to size - 1 bytes and terminated.
void CopyText(void* ptr, const char* text, std::size_t size) {
  const std::size_t length = std::min(std::strlen(text), size - 1);
  std::memcpy(ptr, text, length);
  static_cast<char*>(ptr)[length] = '\0';
}

void ParameterDisplay(TFaultyPlugin* plugin, VstInt32 index, char* text) {
  char display[32];
  if (index == kGain) {
    std::snprintf(display, sizeof display, "%.2f", plugin->Value(kGain).load() * kGainRange);
  } else {
    std::snprintf(display, sizeof display, "%.0f", plugin->Value(kDrive).load() * 100.0f);
  }
#ifdef FAULTY_TEXT_OVERRUN
  // Room for the number and its unit, as if the buffer were larger.
  std::strcat(display, index == kGain ? " times" : " percent");
  std::strcpy(text, display);
#else
  CopyText(text, display, kVstMaxParamDisplayLen);
#endif
}

void SetProgram(TFaultyPlugin* plugin, VstIntPtr program) {
  if (program < 0 || program >= kPrograms) return;
#ifdef FAULTY_STATE
  LoadFactory(plugin->Programs[program], static_cast<VstInt32>(program));
#endif
  plugin->Current.store(static_cast<VstInt32>(program));
}

VstIntPtr Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) {
  TFaultyPlugin* plugin = Self(effect);
  switch (opcode) {
    case effClose:
      delete plugin;
      return 1;
    case effSetProgram:
      SetProgram(plugin, value);
      return 1;
    case effGetProgram:
      return plugin->Current.load();
    case effSetProgramName:
      if (ptr == nullptr) return 0;
      CopyText(plugin->Programs[plugin->Current.load()].Name, static_cast<const char*>(ptr),
               kVstMaxProgNameLen);
      return 1;
    case effGetProgramName:
      CopyText(ptr, plugin->Programs[plugin->Current.load()].Name, kVstMaxProgNameLen);
      return 1;
    case effGetProgramNameIndexed:
      if (index < 0 || index >= kPrograms) return 0;
      CopyText(ptr, plugin->Programs[index].Name, kVstMaxProgNameLen);
      return 1;
    case effGetParamName:
      if (!IsParameter(index)) return 0;
      CopyText(ptr, kParameterNames[index], kVstMaxParamNameLen);
      return 1;
    case effGetParamLabel:
      if (!IsParameter(index)) return 0;
      CopyText(ptr, kParameterLabels[index], kVstMaxParamLabelLen);
      return 1;
    case effGetParamDisplay:
      if (!IsParameter(index)) return 0;
      ParameterDisplay(plugin, index, static_cast<char*>(ptr));
      return 1;
    case effSetSampleRate:
#ifdef FAULTY_HANG
      while (opt == kFaultyRate)
        std::this_thread::sleep_for(std::chrono::seconds(1));
#endif
      plugin->SampleRate = opt;
      return 0;
    case effCanBeAutomated:
      return IsParameter(index) ? 1 : 0;
    case effGetEffectName:
      CopyText(ptr, "Faulty Test", kVstMaxEffectNameLen);
      return 1;
    case effGetVendorString:
      CopyText(ptr, "Quillotron Tests", kVstMaxVendorStrLen);
      return 1;
    case effGetProductString:
      CopyText(ptr, "Faulty Test", kVstMaxProductStrLen);
      return 1;
    case effGetPlugCategory:
      return 1;
    case effGetVstVersion:
      return kVstVersion;
    case effCanDo:
      return ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), "2in2out") == 0 ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
    return nullptr;
  auto* plugin = new TFaultyPlugin;
  for (VstInt32 program = 0; program < kPrograms; ++program)
    LoadFactory(plugin->Programs[program], program);
  AEffect& record = plugin->Record;
  record.magic = kEffectMagic;
  record.dispatcher = &Dispatcher;
  record.process = &Accumulate;
  record.setParameter = &SetParameter;
  record.getParameter = &GetParameter;
  record.numPrograms = kPrograms;
  record.numParams = kParameters;
  record.numInputs = kChannels;
  record.numOutputs = kChannels;
  record.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  record.object = plugin;
  record.uniqueID = FourCharCode('Q', 'v', 'F', 't');
  record.version = 1;
  record.processReplacing = &ProcessReplacing;
  record.processDoubleReplacing = &ProcessDouble;
  return &record;
}

extern "C" AEffect* FaultyPluginMainAlias(audioMasterCallback host) __asm__("main")
    __attribute__((alias("VSTPluginMain"), visibility("default")));
