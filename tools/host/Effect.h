#pragma once

#include <cstddef>
#include <string>

#include "frame/DVSTEffect.h"
#include "tools/host/ChannelBuffers.h"
#include "tools/host/GuardedTextBuffer.h"

class THost;

// An effect record as a host drives it: the dispatcher, text queries into
// guarded buffers, the parameter slots and the processing slots. Closes the
// effect (effClose) on destruction unless Close already did; after closing,
// every call throws std::logic_error, since the record is gone.
class TEffect {
 public:
  // host only identifies the host the record was registered with; it may be
  // null for a record made without the test host.
  TEffect(AEffect* record, const THost* host);
  ~TEffect();
  TEffect(const TEffect&) = delete;
  TEffect& operator=(const TEffect&) = delete;

  AEffect* Record() const;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // Dispatches with ptr pointing at a guarded text buffer of bufferSize bytes.
  TTextReply DispatchText(VstInt32 opcode, std::size_t bufferSize, VstInt32 index = 0,
                          VstIntPtr value = 0, float opt = 0.0f);

  // Text queries, with the published buffer sizes unless stated.
  TTextReply EffectName(std::size_t bufferSize = kVstMaxEffectNameLen);
  TTextReply VendorString(std::size_t bufferSize = kVstMaxVendorStrLen);
  TTextReply ProductString(std::size_t bufferSize = kVstMaxProductStrLen);
  TTextReply ParameterName(VstInt32 index, std::size_t bufferSize = kVstMaxParamNameLen);
  TTextReply ParameterLabel(VstInt32 index, std::size_t bufferSize = kVstMaxParamLabelLen);
  TTextReply ParameterDisplay(VstInt32 index, std::size_t bufferSize = kVstMaxParamDisplayLen);
  TTextReply ProgramName(std::size_t bufferSize = kVstMaxProgNameLen);
  TTextReply ProgramNameIndexed(VstInt32 index, std::size_t bufferSize = kVstMaxProgNameLen);
  VstIntPtr CanDo(const std::string& text);

  float GetParameter(VstInt32 index);
  void SetParameter(VstInt32 index, float value);

  // The processing slots. Each throws std::logic_error when the plug-in left
  // the slot empty; the buffer forms check the channel counts against the
  // record and take the sample count from the outputs.
  void Process(float** inputs, float** outputs, VstInt32 frames);
  void ProcessReplacing(float** inputs, float** outputs, VstInt32 frames);
  void ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 frames);
  void Process(TChannelBuffers<float>& inputs, TChannelBuffers<float>& outputs);
  void ProcessReplacing(TChannelBuffers<float>& inputs, TChannelBuffers<float>& outputs);
  void ProcessDoubleReplacing(TChannelBuffers<double>& inputs, TChannelBuffers<double>& outputs);

  // Sends effClose once and answers its result.
  VstIntPtr Close();
  bool IsClosed() const { return Effect == nullptr; }

 private:
  AEffect* Open() const;
  template <class Sample>
  VstInt32 CheckedFrames(const TChannelBuffers<Sample>& inputs,
                         const TChannelBuffers<Sample>& outputs) const;

  AEffect* Effect;
  const THost* Host;
};
