#include "frame/RecordSlots.h"

#include "frame/CustomVSTModule.h"

namespace {

// A host that hands in a missing channel array or channel gets nothing
// processed for that call rather than a crash.
template <class Sample>
bool ChannelsUsable(const TCustomVSTModule& module, Sample** inputs, Sample** outputs,
                    VstInt32 sampleFrames) {
  if (sampleFrames <= 0) return true;  // nothing is touched
  const auto present = [](Sample** channels, VstInt32 count) {
    if (count <= 0) return true;
    if (channels == nullptr) return false;
    for (VstInt32 c = 0; c < count; ++c)
      if (channels[c] == nullptr) return false;
    return true;
  };
  return present(inputs, module.numInputs()) && present(outputs, module.numOutputs());
}

VstIntPtr VSTCALLBACK DispatcherSlot(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                     VstIntPtr value, void* ptr, float opt) {
  TCustomVSTModule* module = TCustomVSTModule::FromEffect(effect);
  if (module == nullptr) return 0;
  if (opcode != effClose) {
    try {
      return module->Dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
      return 0;
    }
  }
  // The module goes away on close even when its handlers fail.
  bool closed = true;
  try {
    module->Dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    closed = false;
  }
  try {
    module->BeforeDestruction();
  } catch (...) {
    closed = false;
  }
  delete module;
  return closed ? 1 : 0;
}

// The three processing slots: each hands a usable call to its module entry;
// a call with missing channels processes nothing but still sends the queued
// events.
template <class Sample, void (TCustomVSTModule::*Entry)(Sample**, Sample**, VstInt32)>
void VSTCALLBACK ProcessingSlot(AEffect* effect, Sample** inputs, Sample** outputs,
                                VstInt32 sampleFrames) {
  try {
    TCustomVSTModule* module = TCustomVSTModule::FromEffect(effect);
    if (module == nullptr) return;
    if (ChannelsUsable(*module, inputs, outputs, sampleFrames))
      (module->*Entry)(inputs, outputs, sampleFrames);
    else
      module->FlushOutputEvents();
  } catch (...) {
  }
}

void VSTCALLBACK SetParameterSlot(AEffect* effect, VstInt32 index, float value) {
  try {
    if (TCustomVSTModule* module = TCustomVSTModule::FromEffect(effect))
      module->HostSetParameter(index, value);
  } catch (...) {
  }
}

float VSTCALLBACK GetParameterSlot(AEffect* effect, VstInt32 index) {
  try {
    if (TCustomVSTModule* module = TCustomVSTModule::FromEffect(effect))
      return module->HostGetParameter(index);
  } catch (...) {
  }
  return 0.0f;
}

}  // namespace

void InstallRecordSlots(AEffect& effect) {
  effect.dispatcher = &DispatcherSlot;
  effect.process = &ProcessingSlot<float, &TCustomVSTModule::ProcessAccumulating>;
  effect.processReplacing = &ProcessingSlot<float, &TCustomVSTModule::ProcessReplacing>;
  effect.processDoubleReplacing =
      &ProcessingSlot<double, &TCustomVSTModule::ProcessDoubleReplacing>;
  effect.setParameter = &SetParameterSlot;
  effect.getParameter = &GetParameterSlot;
}
