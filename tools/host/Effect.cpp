#include "tools/host/Effect.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "tools/host/HostRegistry.h"

TEffect::TEffect(AEffect* record, const THost* host) : Effect(record), Host(host) {
  if (record == nullptr) throw std::invalid_argument("No effect record");
}

TEffect::~TEffect() {
  if (Effect != nullptr) Close();
}

AEffect* TEffect::Record() const {
  return Open();
}

AEffect* TEffect::Open() const {
  if (Effect == nullptr) throw std::logic_error("The effect is closed");
  return Effect;
}

VstIntPtr TEffect::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt) {
  AEffect* effect = Open();
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

TTextReply TEffect::DispatchText(VstInt32 opcode, std::size_t bufferSize, VstInt32 index,
                                 VstIntPtr value, float opt) {
  TGuardedTextBuffer buffer(bufferSize);
  const VstIntPtr result = Dispatch(opcode, index, value, buffer.Data(), opt);
  return buffer.Inspect(result);
}

TTextReply TEffect::EffectName(std::size_t bufferSize) {
  return DispatchText(effGetEffectName, bufferSize);
}

TTextReply TEffect::VendorString(std::size_t bufferSize) {
  return DispatchText(effGetVendorString, bufferSize);
}

TTextReply TEffect::ProductString(std::size_t bufferSize) {
  return DispatchText(effGetProductString, bufferSize);
}

TTextReply TEffect::ParameterName(VstInt32 index, std::size_t bufferSize) {
  return DispatchText(effGetParamName, bufferSize, index);
}

TTextReply TEffect::ParameterLabel(VstInt32 index, std::size_t bufferSize) {
  return DispatchText(effGetParamLabel, bufferSize, index);
}

TTextReply TEffect::ParameterDisplay(VstInt32 index, std::size_t bufferSize) {
  return DispatchText(effGetParamDisplay, bufferSize, index);
}

TTextReply TEffect::ProgramName(std::size_t bufferSize) {
  return DispatchText(effGetProgramName, bufferSize);
}

TTextReply TEffect::ProgramNameIndexed(VstInt32 index, std::size_t bufferSize) {
  // The category in value is -1: all categories.
  return DispatchText(effGetProgramNameIndexed, bufferSize, index, -1);
}

VstIntPtr TEffect::CanDo(const std::string& text) {
  return Dispatch(effCanDo, 0, 0, const_cast<char*>(text.c_str()));
}

float TEffect::GetParameter(VstInt32 index) {
  AEffect* effect = Open();
  return effect->getParameter(effect, index);
}

void TEffect::SetParameter(VstInt32 index, float value) {
  AEffect* effect = Open();
  effect->setParameter(effect, index, value);
}

void TEffect::Process(float** inputs, float** outputs, VstInt32 frames) {
  AEffect* effect = Open();
  if (effect->process == nullptr) throw std::logic_error("The plug-in has no process slot");
  effect->process(effect, inputs, outputs, frames);
}

void TEffect::ProcessReplacing(float** inputs, float** outputs, VstInt32 frames) {
  AEffect* effect = Open();
  if (effect->processReplacing == nullptr) {
    throw std::logic_error("The plug-in has no processReplacing slot");
  }
  effect->processReplacing(effect, inputs, outputs, frames);
}

void TEffect::ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 frames) {
  AEffect* effect = Open();
  if (effect->processDoubleReplacing == nullptr) {
    throw std::logic_error("The plug-in has no processDoubleReplacing slot");
  }
  effect->processDoubleReplacing(effect, inputs, outputs, frames);
}

template <class Sample>
VstInt32 TEffect::CheckedFrames(const TChannelBuffers<Sample>& inputs,
                                const TChannelBuffers<Sample>& outputs) const {
  const AEffect* effect = Open();
  // The plug-in reads numInputs and writes numOutputs channel pointers.
  if (inputs.Channels() < static_cast<std::size_t>(std::max(effect->numInputs, 0)) ||
      outputs.Channels() < static_cast<std::size_t>(std::max(effect->numOutputs, 0))) {
    throw std::invalid_argument("Fewer channel buffers than the effect has pins");
  }
  if (inputs.Channels() > 0 && inputs.Frames() < outputs.Frames()) {
    throw std::invalid_argument("The input buffers are shorter than the output buffers");
  }
  if (outputs.Frames() > static_cast<std::size_t>(std::numeric_limits<VstInt32>::max())) {
    throw std::invalid_argument("Too many frames for one processing call");
  }
  return static_cast<VstInt32>(outputs.Frames());
}

void TEffect::Process(TChannelBuffers<float>& inputs, TChannelBuffers<float>& outputs) {
  Process(inputs.Data(), outputs.Data(), CheckedFrames(inputs, outputs));
}

void TEffect::ProcessReplacing(TChannelBuffers<float>& inputs, TChannelBuffers<float>& outputs) {
  ProcessReplacing(inputs.Data(), outputs.Data(), CheckedFrames(inputs, outputs));
}

void TEffect::ProcessDoubleReplacing(TChannelBuffers<double>& inputs,
                                     TChannelBuffers<double>& outputs) {
  ProcessDoubleReplacing(inputs.Data(), outputs.Data(), CheckedFrames(inputs, outputs));
}

VstIntPtr TEffect::Close() {
  AEffect* effect = Open();
  // The plug-in may call its host while closing, so the record stays mapped
  // to its host until effClose returns.
  const VstIntPtr result = effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  Effect = nullptr;
  UnregisterEffect(effect, Host);
  return result;
}
