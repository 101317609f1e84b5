// A plug-in written straight on the binary interface, with no frame code, so
// that the host-side library is tested against a binary whose every answer is
// known. Built twice: with both entry names and all processing slots, and
// with RAW_PLUGIN_MAIN_ONLY exporting only main and leaving
// processDoubleReplacing empty.

#include <cstdio>
#include <cstring>

#include "frame/DVSTEffect.h"
#include "tests/tools/RawPluginProtocol.h"

namespace {

#ifdef RAW_PLUGIN_MAIN_ONLY
constexpr bool kHasDoubleReplacing = false;
#else
constexpr bool kHasDoubleReplacing = true;
#endif

constexpr const char* kParameterNames[kRawNumParams] = {"Gain", "Mode"};
constexpr const char* kParameterLabels[kRawNumParams] = {"x", kRawOverlongLabel};
constexpr const char* kProgramNames[kRawNumPrograms] = {"Init", "Second"};
constexpr float kModeOnThreshold = 0.5f;

struct TRawPlugin {
  AEffect Record{};
  audioMasterCallback Host = nullptr;
  char HostProduct[kRawHostProductBufferSize] = {};
  VstIntPtr EntryCanDo = 0;
  VstIntPtr SampleRate = 0;
  VstIntPtr BlockSize = 0;
  float Values[kRawNumParams] = {1.0f, 0.0f};
  VstInt32 Program = 0;
};

TRawPlugin* Self(AEffect* effect) {
  return static_cast<TRawPlugin*>(effect->object);
}

VstIntPtr CallHost(TRawPlugin* plugin, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
  return plugin->Host(&plugin->Record, opcode, index, value, ptr, opt);
}

bool IsParameter(VstInt32 index) {
  return index >= 0 && index < kRawNumParams;
}

// Unbounded on purpose: the tests check what the host side sees of a
// plug-in's own writes, overruns included.
void Copy(void* ptr, const char* text) {
  std::strcpy(static_cast<char*>(ptr), text);
}

VstIntPtr VendorSpecific(TRawPlugin* plugin, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) {
  switch (index) {
    case kRawQueryHostProduct:
      if (ptr == nullptr) return 0;
      Copy(ptr, plugin->HostProduct);
      return 1;
    case kRawQuerySampleRate:
      return plugin->SampleRate;
    case kRawQueryBlockSize:
      return plugin->BlockSize;
    case kRawQueryEntryCanDo:
      return plugin->EntryCanDo;
    case kRawSendUnterminatedCanDo: {
      char query[kRawUnterminatedCanDoSize];
      std::memset(query, 'q', sizeof query);
      return CallHost(plugin, audioMasterCanDo, 0, 0, query);
    }
    case kRawSendAutomate:
      return CallHost(plugin, audioMasterAutomate, static_cast<VstInt32>(value), 0, nullptr, opt);
    default:
      return 0;
  }
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt) {
  TRawPlugin* plugin = Self(effect);
  switch (opcode) {
    case effOpen:
      plugin->SampleRate = CallHost(plugin, audioMasterGetSampleRate);
      plugin->BlockSize = CallHost(plugin, audioMasterGetBlockSize);
      return 0;
    case effClose:
      // Tells the host while closing, so the tests see that close ran and
      // which host it reached.
      CallHost(plugin, audioMasterUpdateDisplay);
      delete plugin;
      return 1;
    case effSetProgram:
      if (value >= 0 && value < kRawNumPrograms) plugin->Program = static_cast<VstInt32>(value);
      return 0;
    case effGetProgram:
      return plugin->Program;
    case effGetProgramName:
      Copy(ptr, kProgramNames[plugin->Program]);
      return 0;
    case effGetProgramNameIndexed:
      // Only the first program answers by index, so that a host must also
      // read names the old way.
      if (index != 0) return 0;
      Copy(ptr, kProgramNames[index]);
      return 1;
    case effGetParamName:
      if (IsParameter(index)) Copy(ptr, kParameterNames[index]);
      return 0;
    case effGetParamLabel:
      if (IsParameter(index)) Copy(ptr, kParameterLabels[index]);
      return 0;
    case effGetParamDisplay:
      if (index == kRawGainParameter) {
        std::snprintf(static_cast<char*>(ptr), kVstMaxParamDisplayLen, "%.2f",
                      static_cast<double>(plugin->Values[index]));
      } else if (IsParameter(index)) {
        Copy(ptr, plugin->Values[index] >= kModeOnThreshold ? "On" : "Off");
      }
      return 0;
    case effCanBeAutomated:
      return index == kRawGainParameter ? 1 : 0;
    case effGetEffectName:
      Copy(ptr, kRawEffectName);
      return 1;
    case effGetVendorString:
      Copy(ptr, kRawVendor);
      return 1;
    case effGetProductString:
      Copy(ptr, kRawProduct);
      return 1;
    case effGetVendorVersion:
      return kRawVersion;
    case effGetVstVersion:
      return kVstVersion;
    case effGetPlugCategory:
      return cgEffect;
    case effCanDo:
      if (ptr == nullptr) return 0;
      if (std::strcmp(static_cast<const char*>(ptr), "2in2out") == 0) return 1;
      if (std::strcmp(static_cast<const char*>(ptr), "bypass") == 0) return -1;
      return 0;
    case effVendorSpecific:
      return VendorSpecific(plugin, index, value, ptr, opt);
    default:
      return 0;
  }
}

template <class Sample>
void Scale(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 frames, bool accumulate) {
  const auto gain = static_cast<Sample>(Self(effect)->Values[kRawGainParameter]);
  for (VstInt32 channel = 0; channel < kRawNumChannels; ++channel) {
    for (VstInt32 i = 0; i < frames; ++i) {
      const Sample scaled = inputs[channel][i] * gain;
      outputs[channel][i] = accumulate ? outputs[channel][i] + scaled : scaled;
    }
  }
}

void VSTCALLBACK Process(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Scale(effect, inputs, outputs, frames, true);
}

void VSTCALLBACK ProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 frames) {
  Scale(effect, inputs, outputs, frames, false);
}

void VSTCALLBACK ProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 frames) {
  Scale(effect, inputs, outputs, frames, false);
}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (IsParameter(index)) Self(effect)->Values[index] = value;
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32 index) {
  return IsParameter(index) ? Self(effect)->Values[index] : 0.0f;
}

AEffect* CreateRawPlugin(audioMasterCallback host) {
  if (host == nullptr) return nullptr;
  // The record does not exist for the host yet, so the version is asked
  // without one; a host answering 0 gets no plug-in.
  if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;

  auto* plugin = new TRawPlugin;
  AEffect& record = plugin->Record;
  record.magic = kEffectMagic;
  record.dispatcher = Dispatcher;
  record.process = Process;
  record.setParameter = SetParameter;
  record.getParameter = GetParameter;
  record.numPrograms = kRawNumPrograms;
  record.numParams = kRawNumParams;
  record.numInputs = kRawNumChannels;
  record.numOutputs = kRawNumChannels;
  record.flags = effFlagsCanReplacing | (kHasDoubleReplacing ? effFlagsCanDoubleReplacing : 0);
  record.initialDelay = kRawInitialDelay;
  record.object = plugin;
  record.uniqueID = kRawUniqueId;
  record.version = kRawVersion;
  record.processReplacing = ProcessReplacing;
  record.processDoubleReplacing = kHasDoubleReplacing ? ProcessDoubleReplacing : nullptr;
  plugin->Host = host;

  CallHost(plugin, audioMasterGetProductString, 0, 0, plugin->HostProduct);
  plugin->HostProduct[kRawHostProductBufferSize - 1] = '\0';
  plugin->EntryCanDo = CallHost(plugin, audioMasterCanDo, 0, 0, const_cast<char*>(kRawEntryCanDo));
  return &record;
}

}  // namespace

#ifdef RAW_PLUGIN_MAIN_ONLY
extern "C" __attribute__((visibility("default"))) AEffect* RawPluginMain(
    audioMasterCallback host) __asm__("main");
AEffect* RawPluginMain(audioMasterCallback host) {
  return CreateRawPlugin(host);
}
#else
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  return CreateRawPlugin(host);
}
extern "C" AEffect* RawPluginMainAlias(audioMasterCallback host) __asm__("main")
    __attribute__((alias("VSTPluginMain"), visibility("default")));
#endif
