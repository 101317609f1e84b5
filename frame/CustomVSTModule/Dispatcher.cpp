#include <cmath>
#include <cstddef>
#include <limits>

#include "frame/CustomVSTModule.h"
#include "frame/HostText.h"

namespace {

// Fires an optional notification; answers 1 when a handler was assigned.
VstIntPtr Notify(const TNotifyEvent& event, TObject* sender) {
  if (!event) return 0;
  event(sender);
  return 1;
}

constexpr float kVuScale = 32767.0f;
constexpr VstIntPtr kNoMidiProgram = -1;
constexpr VstInt32 kProgramCategories = 1;
constexpr VstInt32 kMaxHostEvents = 4096;
constexpr std::uint8_t kLow8Bits = 0xFF;

// Host values arrive pointer-sized; the frame's counts and sizes are 32-bit.
VstInt32 ToInt32(VstIntPtr value) {
  if (value < std::numeric_limits<VstInt32>::min()) return std::numeric_limits<VstInt32>::min();
  if (value > std::numeric_limits<VstInt32>::max()) return std::numeric_limits<VstInt32>::max();
  return static_cast<VstInt32>(value);
}

// Rounds to the nearest integer, ties to even; non-finite values give 0.
VstIntPtr RoundToEven(double value) {
  if (!std::isfinite(value)) return 0;
  const double limit = static_cast<double>(std::numeric_limits<VstInt32>::max());
  return static_cast<VstIntPtr>(std::nearbyint(std::fmax(-limit, std::fmin(limit, value))));
}

VstKeyCode MakeKeyCode(VstInt32 index, VstIntPtr value, float opt) {
  VstKeyCode key{};
  key.character = index;
  key.virt = static_cast<std::uint8_t>(value & kLow8Bits);
  key.modifier = static_cast<std::uint8_t>(RoundToEven(opt) & kLow8Bits);
  return key;
}

}  // namespace

VstIntPtr TCustomVSTModule::Dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                       float opt) {
  if (OnDispatcher) OnDispatcher(this, opcode);
  const bool hasEditor = (FEffect.flags & effFlagsHasEditor) != 0;
  char* text = static_cast<char*>(ptr);

  switch (opcode) {
    case effOpen:
      HandleOpen();
      return 0;
    case effClose:
      // A host that closes the plug-in with its editor open gets the editor
      // closed first, as if it had sent effEditClose.
      if (FEditorForm) EditorClose();
      HandleClose();
      return 0;
    case effSetProgram:
      HandleSetProgram(value);
      return 0;
    case effGetProgram:
      return FCurrentProgram.load();
    case effSetProgramName:
      if (ptr) HandleSetProgramName(text);
      return 0;
    case effGetProgramName:
      if (ptr) HandleGetProgramName(text);
      return 0;
    case effGetParamLabel:
      if (ptr) GetParameterLabel(index, text);
      return 0;
    case effGetParamDisplay:
      if (ptr) GetParameterDisplay(index, text);
      return 0;
    case effGetParamName:
      if (ptr) GetParameterName(index, text);
      return 0;
    case effGetVu:
      return HandleGetVu();
    case effSetSampleRate:
      SetSampleRate(opt);
      return 1;
    case effSetBlockSize:
      SetBlockSize(ToInt32(value));
      return 0;
    case effMainsChanged:
      HandleMainsChanged(value != 0);
      return 0;
    case effEditGetRect:
      return ptr ? EditorGetRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
      return hasEditor ? EditorOpen(ptr) : 0;
    case effEditClose:
      if (hasEditor) EditorClose();
      return 0;
    case effEditIdle:
      if (hasEditor) EditorIdle();
      return 0;
    case effEditTop:
      HandleEditTop();
      return 0;
    case effEditSleep:
      HandleEditSleep();
      return 0;
    case effIdentify:
      return kEffectIdentify;
    case effGetChunk:
      return ptr ? GetChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
      return ptr ? SetChunk(ptr, value, index != 0) : 0;
    case effProcessEvents:
      return ptr ? HandleProcessEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated:
      return CanParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
      return StringToParameter(index, text) ? 1 : 0;
    case effGetNumProgramCategories:
      return kProgramCategories;
    case effGetProgramNameIndexed:
      return ptr && GetProgramNameIndexed(ToInt32(value), index, text) ? 1 : 0;
    case effConnectInput:
      return HandleConnectInput(index, value != 0);
    case effConnectOutput:
      return HandleConnectOutput(index, value != 0);
    case effGetInputProperties:
      return ptr && GetInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
      return ptr && GetOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory:
      return FPlugCategory;
    case effOfflineNotify:
      return ptr ? HandleOfflineNotify(static_cast<VstAudioFile*>(ptr), ToInt32(value), index != 0)
                 : 0;
    case effOfflinePrepare:
      return ptr ? HandleOfflinePrepare(static_cast<VstOfflineTask*>(ptr), ToInt32(value)) : 0;
    case effOfflineRun:
      return ptr ? HandleOfflineRun(static_cast<VstOfflineTask*>(ptr), ToInt32(value)) : 0;
    case effProcessVarIo:
      return ptr ? HandleProcessVarIo(static_cast<VstVariableIo*>(ptr)) : 0;
    case effSetBlockSizeAndSampleRate:
      SetSampleRate(opt);
      SetBlockSize(ToInt32(value));
      return 1;
    case effSetBypass:
      return HandleSetBypass(value != 0);
    case effGetEffectName:
      return ptr ? HandleGetEffectName(text) : 0;
    case effGetVendorString:
      return ptr ? HandleGetVendorString(text) : 0;
    case effGetProductString:
      return ptr ? HandleGetProductString(text) : 0;
    case effGetVendorVersion:
      return FEffect.version;
    case effVendorSpecific:
      return HandleVendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return ptr ? HandleCanDo(text) : 0;
    case effGetTailSize:
      return FTailSize;
    case effGetParameterProperties:
      return ptr && GetParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) ? 1
                                                                                             : 0;
    case effKeysRequired:
      // The protocol inverts this answer: 0 means the editor wants keys.
      return FKeysRequired ? 0 : 1;
    case effGetVstVersion:
      return kVstVersion;
    case effEditKeyDown:
      if (FKeysRequired) {
        VstKeyCode key = MakeKeyCode(index, value, opt);
        EditorKeyDown(key);
      }
      return 0;
    case effEditKeyUp:
      if (FKeysRequired) {
        VstKeyCode key = MakeKeyCode(index, value, opt);
        EditorKeyUp(key);
      }
      return 0;
    case effSetEditKnobMode:
      return HandleSetEditKnobMode(ToInt32(value));
    case effGetCurrentMidiProgram:
      return kNoMidiProgram;
    case effBeginSetProgram:
      return HandleBeginSetProgram();
    case effEndSetProgram:
      return HandleEndSetProgram();
    case effShellGetNextPlugin:
      return ptr ? HandleShellGetNextPlugin(text) : 0;
    case effStartProcess:
      return HandleStartProcess();
    case effStopProcess:
      return HandleStopProcess();
    case effSetTotalSampleToProcess:
      return value;
    case effSetPanLaw:
      return HandleSetPanLaw(ToInt32(value), opt);
    case effBeginLoadBank:
      return ptr ? BeginLoadBank(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
    case effBeginLoadProgram:
      return ptr ? BeginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
    default:
      // Opcodes that are answered by doing nothing, and unknown ones.
      return 0;
  }
}

void TCustomVSTModule::HandleOpen() {
  if (OnOpen) OnOpen(this);
}

void TCustomVSTModule::HandleClose() {
  if (OnClose) OnClose(this);
}

void TCustomVSTModule::HandleSetProgram(VstIntPtr program) {
  if (program >= 0 && program < numPrograms() && program != FCurrentProgram.load())
    SetCurrentProgram(static_cast<VstInt32>(program));
}

VstIntPtr TCustomVSTModule::HandleGetVu() {
  if (!OnGetVU) return 0;
  float vu = 0.0f;
  OnGetVU(vu);
  // In double: a float product could land on a half that the exact one misses.
  return RoundToEven(static_cast<double>(vu) * kVuScale);
}

void TCustomVSTModule::HandleMainsChanged(bool on) {
  if (on)
    Resume();
  else
    Suspend();
}

void TCustomVSTModule::Suspend() {
  if (OnSuspend) OnSuspend(this);
}

void TCustomVSTModule::Resume() {
  if (OnResume) OnResume(this);
  HostWantMidi(1);
}

void TCustomVSTModule::HandleEditTop() {
  if (OnEditTop) OnEditTop(this);
}

void TCustomVSTModule::HandleEditSleep() {
  if (OnEditSleep) OnEditSleep(this);
}

VstIntPtr TCustomVSTModule::HandleProcessEvents(VstEvents* events) {
  // A count outside what any host sends means the list is not to be trusted.
  if (events->numEvents < 0 || events->numEvents > kMaxHostEvents) return 1;
  // The record declares room for two pointers, but the host's list holds
  // numEvents of them: they are read from where the list starts, not as
  // elements of the two-element array.
  VstEvent* const* const list = reinterpret_cast<VstEvent* const*>(
      reinterpret_cast<const char*>(events) + offsetof(VstEvents, events));
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    VstEvent* event = list[i];
    if (event == nullptr || event->type != kVstMidiType) continue;
    if (OnProcessMidi) OnProcessMidi(this, *reinterpret_cast<VstMidiEvent*>(event));
  }
  return 1;
}

VstIntPtr TCustomVSTModule::HandleConnectInput(VstInt32 index, bool state) {
  if (OnInConnected) OnInConnected(this, index, state);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleConnectOutput(VstInt32 index, bool state) {
  if (OnOutConnected) OnOutConnected(this, index, state);
  return 1;
}

bool TCustomVSTModule::GetInputProperties(VstInt32 index, VstPinProperties* properties) {
  return PinProperties(index, properties, numInputs(), "Input #", "In", OnInputProperties);
}

bool TCustomVSTModule::GetOutputProperties(VstInt32 index, VstPinProperties* properties) {
  return PinProperties(index, properties, numOutputs(), "Output #", "Out", OnOutputProperties);
}

bool TCustomVSTModule::PinProperties(VstInt32 index, VstPinProperties* properties, VstInt32 count,
                                     const char* labelWord, const char* shortWord,
                                     TPinPropertiesEvent& event) {
  constexpr std::size_t kMaxLabelChars = sizeof(properties->label) - 1;
  constexpr std::size_t kMaxShortLabelChars = sizeof(properties->shortLabel) - 1;
  if (index < 0 || index >= count) return false;
  const std::string number = std::to_string(static_cast<long long>(index) + 1);
  std::string label(CutToCharacters(labelWord + number, kMaxLabelChars));
  std::string shortLabel(CutToCharacters(shortWord + number, kMaxShortLabelChars));
  TVstSpeakerArrangementType arrangement = kSpeakerArrStereo;
  TChannelPropertyFlags flags = cpfIsActive | cpfIsStereo;
  if (event) event(this, label, shortLabel, arrangement, flags);
  WriteHostText(properties->label, sizeof(properties->label), label);
  WriteHostText(properties->shortLabel, sizeof(properties->shortLabel), shortLabel);
  properties->flags = flags & (cpfIsActive | cpfIsStereo | cpfUseSpeaker);
  return true;
}

VstIntPtr TCustomVSTModule::HandleOfflineNotify(VstAudioFile* files, VstInt32 count, bool start) {
  if (!OnOfflineNotify) return 0;
  OnOfflineNotify(this, *files, count, start);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleOfflinePrepare(VstOfflineTask* tasks, VstInt32 count) {
  if (!OnOfflinePrepare) return 0;
  OnOfflinePrepare(this, *tasks, count);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleOfflineRun(VstOfflineTask* tasks, VstInt32 count) {
  if (!OnOfflineRun) return 0;
  OnOfflineRun(this, *tasks, count);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleProcessVarIo(VstVariableIo* varIo) {
  if (!OnProcessVarIO) return 0;
  OnProcessVarIO(this, *varIo);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleSetBypass(bool onOff) {
  if (!OnSoftBypass) return 0;
  OnSoftBypass(this, onOff);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleGetEffectName(char* buffer) {
  WriteHostText(buffer, kVstMaxEffectNameLen, FEffectName);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleGetVendorString(char* buffer) {
  WriteHostText(buffer, kVstMaxVendorStrLen, FVendorName);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleGetProductString(char* buffer) {
  WriteHostText(buffer, kVstMaxProductStrLen, FProductName.empty() ? FEffectName : FProductName);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr,
                                                 float opt) {
  if (!OnVendorSpecific) return 0;
  return OnVendorSpecific(this, index, ToInt32(value), ptr, opt);
}

VstIntPtr TCustomVSTModule::HandleCanDo(const char* text) {
  const std::string query = ReadHostText(text, kVstMaxCanDoLen);
  VstIntPtr answer = 0;
  for (const TCanDoText& entry : kCanDoTexts) {
    if (query == entry.Text) {
      answer = (FCanDos & CanDoBit(entry.CanDo)) != 0 ? 1 : -1;
      break;
    }
  }
  if (OnCanDo) OnCanDo(this, query);
  return answer;
}

VstIntPtr TCustomVSTModule::HandleSetEditKnobMode(VstInt32 mode) {
  if (!OnEditorKnobMode) return 0;
  OnEditorKnobMode(this, mode);
  return 1;
}

VstIntPtr TCustomVSTModule::HandleBeginSetProgram() {
  return Notify(OnBeginSetProgram, this);
}

VstIntPtr TCustomVSTModule::HandleEndSetProgram() {
  return Notify(OnEndSetProgram, this);
}

VstIntPtr TCustomVSTModule::HandleShellGetNextPlugin(char* name) {
  if (FShellPluginCursor < 0 || FShellPluginCursor >= FShellPlugins->Count()) {
    FShellPluginCursor = 0;
    return 0;
  }
  const TCustomVstShellPlugin& entry = (*FShellPlugins)[FShellPluginCursor++];
  WriteHostText(name, kVstMaxShellNameLen, entry.DisplayName());
  return entry.UniqueIDValue();
}

VstIntPtr TCustomVSTModule::HandleStartProcess() {
  return Notify(OnStartProcess, this);
}

VstIntPtr TCustomVSTModule::HandleStopProcess() {
  return Notify(OnStopProcess, this);
}

VstIntPtr TCustomVSTModule::HandleSetPanLaw(VstInt32 type, float gain) {
  if (!OnSetPanLaw) return 0;
  OnSetPanLaw(this, type, gain);
  return 1;
}
