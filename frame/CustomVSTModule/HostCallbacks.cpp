#include <array>

#include "frame/CustomVSTModule.h"
#include "frame/HostText.h"

namespace {

// Hosts write their vendor and product names into a buffer of ours; it is
// larger than the 64 bytes they may use, zeroed, and its last byte is forced
// to 0 afterwards, so an overlong answer still reads as a bounded text.
constexpr std::size_t kHostStringBuffer = 256;

}  // namespace

VstIntPtr TCustomVSTModule::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                     float opt) {
  if (FHostCallback == nullptr) return 0;
  return FHostCallback(&FEffect, opcode, index, value, ptr, opt);
}

void TCustomVSTModule::HostAutomate(VstInt32 index, float normalisedValue) {
  CallHost(audioMasterAutomate, index, 0, nullptr, normalisedValue);
}

VstInt32 TCustomVSTModule::HostVersion() {
  const VstIntPtr answer = CallHost(audioMasterVersion);
  return answer == 0 ? 1 : static_cast<VstInt32>(answer);
}

VstInt32 TCustomVSTModule::HostCurrentId() {
  return static_cast<VstInt32>(CallHost(audioMasterCurrentId));
}

void TCustomVSTModule::HostIdle() {
  CallHost(audioMasterIdle);
}

bool TCustomVSTModule::HostIsInputConnected(VstInt32 pin) {
  // The host answers 0 for a connected pin.
  return CallHost(audioMasterPinConnected, pin, 0) == 0;
}

bool TCustomVSTModule::HostIsOutputConnected(VstInt32 pin) {
  return CallHost(audioMasterPinConnected, pin, 1) == 0;
}

void TCustomVSTModule::HostWantMidi(VstInt32 filter) {
  CallHost(audioMasterWantMidi, 0, filter);
}

VstTimeInfo* TCustomVSTModule::HostGetTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(CallHost(audioMasterGetTime, 0, filter));
}

bool TCustomVSTModule::HostProcessEvents(VstEvents* events) {
  return CallHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

void TCustomVSTModule::HostSetTime(VstInt32 filter, VstTimeInfo* timeInfo) {
  CallHost(audioMasterSetTime, 0, filter, timeInfo);
}

VstIntPtr TCustomVSTModule::HostTempoAt(VstIntPtr samplePosition) {
  return CallHost(audioMasterTempoAt, 0, samplePosition);
}

VstIntPtr TCustomVSTModule::HostGetNumAutomatableParameters() {
  return CallHost(audioMasterGetNumAutomatableParameters);
}

VstIntPtr TCustomVSTModule::HostGetParameterQuantization() {
  return CallHost(audioMasterGetParameterQuantization);
}

bool TCustomVSTModule::HostIOChanged() {
  return CallHost(audioMasterIOChanged) != 0;
}

bool TCustomVSTModule::HostNeedIdle() {
  return CallHost(audioMasterNeedIdle) != 0;
}

bool TCustomVSTModule::HostSizeWindow(VstInt32 width, VstInt32 height) {
  return CallHost(audioMasterSizeWindow, width, height) != 0;
}

float TCustomVSTModule::HostGetSampleRate() {
  if (FHostCallback == nullptr) return FSampleRate;
  const VstIntPtr answer = CallHost(audioMasterGetSampleRate);
  if (answer > 0) {
    FSampleRate = static_cast<float>(answer);
    if (OnSampleRateChange) OnSampleRateChange(this, FSampleRate);
  }
  return FSampleRate;
}

VstInt32 TCustomVSTModule::HostGetBlockSize() {
  if (FHostCallback == nullptr) return FBlockSize;
  const VstIntPtr answer = CallHost(audioMasterGetBlockSize);
  if (answer > 0) {
    FBlockSize = static_cast<VstInt32>(answer);
    if (OnBlockSizeChanged) OnBlockSizeChanged(this, FBlockSize);
  }
  return FBlockSize;
}

VstIntPtr TCustomVSTModule::HostGetInputLatency() {
  return CallHost(audioMasterGetInputLatency);
}

VstIntPtr TCustomVSTModule::HostGetOutputLatency() {
  return CallHost(audioMasterGetOutputLatency);
}

AEffect* TCustomVSTModule::HostGetPreviousPlug() {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetPreviousPlug));
}

AEffect* TCustomVSTModule::HostGetNextPlug() {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetNextPlug));
}

VstIntPtr TCustomVSTModule::HostWillReplaceOrAccumulate() {
  return CallHost(audioMasterWillReplaceOrAccumulate);
}

VstIntPtr TCustomVSTModule::HostGetCurrentProcessLevel() {
  return CallHost(audioMasterGetCurrentProcessLevel);
}

VstIntPtr TCustomVSTModule::HostGetAutomationState() {
  return CallHost(audioMasterGetAutomationState);
}

bool TCustomVSTModule::HostOfflineStart(VstAudioFile* files, VstInt32 numFiles,
                                        VstInt32 numNewFiles) {
  return CallHost(audioMasterOfflineStart, numNewFiles, numFiles, files) != 0;
}

bool TCustomVSTModule::HostOfflineRead(VstOfflineTask* task, VstInt32 option, bool readSource) {
  return CallHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool TCustomVSTModule::HostOfflineWrite(VstOfflineTask* task, VstInt32 option) {
  return CallHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

VstInt32 TCustomVSTModule::HostOfflineGetCurrentPass() {
  return CallHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0;
}

VstInt32 TCustomVSTModule::HostOfflineGetCurrentMetaPass() {
  return CallHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

void TCustomVSTModule::HostSetOutputSampleRate(float rate) {
  CallHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

VstSpeakerArrangement* TCustomVSTModule::HostGetOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetOutputSpeakerArrangement));
}

bool TCustomVSTModule::HostGetVendorString(std::string& text) {
  std::array<char, kHostStringBuffer> buffer{};
  const bool answered = CallHost(audioMasterGetVendorString, 0, 0, buffer.data()) != 0;
  buffer.back() = '\0';
  text = ReadHostText(buffer.data(), buffer.size());
  return answered;
}

bool TCustomVSTModule::HostGetProductString(std::string& text) {
  std::array<char, kHostStringBuffer> buffer{};
  const bool answered = CallHost(audioMasterGetProductString, 0, 0, buffer.data()) != 0;
  buffer.back() = '\0';
  text = ReadHostText(buffer.data(), buffer.size());
  return answered;
}

VstIntPtr TCustomVSTModule::HostGetVendorVersion() {
  return CallHost(audioMasterGetVendorVersion);
}

VstIntPtr TCustomVSTModule::HostVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr,
                                               float opt) {
  return CallHost(audioMasterVendorSpecific, index, value, ptr, opt);
}

VstIntPtr TCustomVSTModule::HostCanDo(const char* text) {
  return CallHost(audioMasterCanDo, 0, 0, const_cast<char*>(text));
}

VstIntPtr TCustomVSTModule::HostGetLanguage() {
  return CallHost(audioMasterGetLanguage);
}

VstIntPtr TCustomVSTModule::HostOpenWindow(VstWindow* window) {
  return CallHost(audioMasterOpenWindow, 0, 0, window);
}

bool TCustomVSTModule::HostCloseWindow(VstWindow* window) {
  return CallHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* TCustomVSTModule::HostGetDirectory() {
  return reinterpret_cast<void*>(CallHost(audioMasterGetDirectory));
}

bool TCustomVSTModule::HostUpdateDisplay() {
  return CallHost(audioMasterUpdateDisplay) != 0;
}

bool TCustomVSTModule::HostBeginEdit(VstInt32 index) {
  return CallHost(audioMasterBeginEdit, index) != 0;
}

bool TCustomVSTModule::HostEndEdit(VstInt32 index) {
  return CallHost(audioMasterEndEdit, index) != 0;
}

bool TCustomVSTModule::HostOpenFileSelector(VstFileSelect* selector) {
  if (selector == nullptr) return false;
  return CallHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}

VstSpeakerArrangement* TCustomVSTModule::HostGetInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetInputSpeakerArrangement));
}
