#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dsp/DDSPBase.h"
#include "frame/AtomicFloatArray.h"
#include "frame/BlockProcessor.h"
#include "frame/CPU.h"
#include "frame/DVSTEffect.h"
#include "frame/EditorForm.h"
#include "frame/FrameTypes.h"
#include "frame/Object.h"
#include "frame/ParameterProperties.h"
#include "frame/Programs.h"
#include "frame/PublishedMethods.h"
#include "frame/ShellPlugins.h"

// The frame's module: one per plug-in instance. It embeds the effect record
// the host talks to, keeps the record fields as the storage of its published
// properties, turns dispatcher opcodes into virtual operations and events, and
// wraps every host call. A derived module binds its behaviour to the events
// through its stored description; every handler here is virtual so that a
// derived module could replace it, though the effect replaces none.
class TCustomVSTModule : public TObject {
 public:
  TCustomVSTModule();
  ~TCustomVSTModule() override;
  TCustomVSTModule(const TCustomVSTModule&) = delete;
  TCustomVSTModule& operator=(const TCustomVSTModule&) = delete;

  // The module behind a record handed out by this frame, or nullptr.
  static TCustomVSTModule* FromEffect(AEffect* effect);
  AEffect* Effect() { return &FEffect; }
  const AEffect* Effect() const { return &FEffect; }

  // Runs before the module is deleted on effClose: OnDestroy, then the editor.
  void BeforeDestruction();

  // ---- Published properties ----
  TEffFlags Flags() const;
  virtual void SetFlags(TEffFlags flags);
  const TCPU& CPU() const { return *FCPU; }
  const std::string& Version() const { return FVersion; }
  void SetVersion(std::string version) { FVersion = std::move(version); }
  const std::string& EffectName() const { return FEffectName; }
  virtual void SetEffectName(std::string name);
  const std::string& ProductName() const { return FProductName; }
  void SetProductName(std::string name) { FProductName = std::move(name); }
  const std::string& VendorName() const { return FVendorName; }
  void SetVendorName(std::string name) { FVendorName = std::move(name); }
  VstInt32 VersionMajor() const { return FVersionMajor; }
  VstInt32 VersionMinor() const { return FVersionMinor; }
  VstInt32 VersionRelease() const { return FVersionRelease; }
  void SetVersionMajor(VstInt32 value);
  void SetVersionMinor(VstInt32 value);
  void SetVersionRelease(VstInt32 value);
  TVstPluginCategory PlugCategory() const { return FPlugCategory; }
  void SetPlugCategory(TVstPluginCategory category) { FPlugCategory = category; }
  VstInt32 TailSize() const { return FTailSize; }
  void SetTailSize(VstInt32 size) { FTailSize = size; }
  TVstCanDos CanDos() const { return FCanDos; }
  void SetCanDos(TVstCanDos canDos) { FCanDos = canDos; }
  float SampleRate() const { return FSampleRate; }
  virtual void SetSampleRate(float rate);
  VstInt32 BlockSize() const { return FBlockSize; }
  virtual void SetBlockSize(VstInt32 size);
  VstInt32 numInputs() const { return FEffect.numInputs; }
  VstInt32 numOutputs() const { return FEffect.numOutputs; }
  virtual void SetNumInputs(VstInt32 count);
  virtual void SetNumOutputs(VstInt32 count);
  VstInt32 numParams() const { return FEffect.numParams; }
  VstInt32 numPrograms() const { return FEffect.numPrograms; }
  virtual void RefreshNumParams();
  virtual void RefreshNumPrograms();
  VstInt32 CurrentProgram() const { return FCurrentProgram.load(); }
  virtual void SetCurrentProgram(VstInt32 program);
  virtual std::string GetCurrentProgramName() const;
  virtual void SetCurrentProgramName(const std::string& name);
  TProcessingMode ProcessingMode() const { return FProcessingMode; }
  virtual void SetProcessingMode(TProcessingMode mode);
  VstInt32 BlockModeSize() const { return FBlockModeSize; }
  virtual void SetBlockModeSize(VstInt32 size);
  VstInt32 BlockModeOverlap() const { return FBlockModeOverlap; }
  virtual void SetBlockModeOverlap(VstInt32 overlap);
  VstInt32 InitialDelay() const { return FEffect.initialDelay; }
  virtual void SetInitialDelay(VstInt32 delay);
  bool KeysRequired() const { return FKeysRequired; }
  void SetKeysRequired(bool required);
  VstInt32 RealQualities() const { return FEffect.realQualities; }
  void SetRealQualities(VstInt32 value) { FEffect.realQualities = value; }
  VstInt32 OffQualities() const { return FEffect.offQualities; }
  void SetOffQualities(VstInt32 value) { FEffect.offQualities = value; }
  VstInt32 IORatio() const { return FEffect.ioRatio; }
  void SetIORatio(VstInt32 value) { FEffect.ioRatio = value; }
  virtual std::string UniqueID() const;
  virtual void SetUniqueID(const std::string& id);
  TCustomVstShellPlugins& ShellPlugins() { return *FShellPlugins; }
  TCustomVstPrograms& Programs() { return *FPrograms; }
  const TCustomVstPrograms& Programs() const { return *FPrograms; }
  TCustomVstParameterProperties& ParameterProperties() { return *FParameterProperties; }
  const TCustomVstParameterProperties& ParameterProperties() const { return *FParameterProperties; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }

  // ---- Events ----
  TNotifyEvent OnCreate, OnDestroy, OnInitialize, OnOpen, OnClose;
  TDispatcherEvent OnDispatcher;
  TEditOpenEvent OnEditOpen;
  TNotifyEvent OnEditClose, OnEditIdle, OnEditTop, OnEditSleep;
  TVstKeyEvent OnEditorKeyDown, OnEditorKeyUp;
  TKnobModeEvent OnEditorKnobMode;
  TParameterChangeEvent OnParameterChange;
  TNotifyEvent OnParameterSizeFailed;
  TGetChunkParameterEvent OnGetChunkParameter;
  TNotifyEvent OnBeforeProgramChange, OnAfterProgramChange;
  TNotifyEvent OnBeginSetProgram, OnEndSetProgram;
  TPatchChunkInfoEvent OnBeginLoadBank, OnBeginLoadProgram;
  TNotifyEvent OnResume, OnSuspend;
  TSampleRateChangeEvent OnSampleRateChange;
  TBlockSizeChangeEvent OnBlockSizeChanged;
  TProcessAudioEvent OnProcess, OnProcessReplacing;
  TProcessDoubleEvent OnProcessDoubleReplacing;
  TNotifyEvent OnStartProcess, OnStopProcess;
  TSoftBypassEvent OnSoftBypass;
  TGetVUEvent OnGetVU;
  TProcessMidiEvent OnProcessMidi;
  TConnectionEvent OnInConnected, OnOutConnected;
  TOfflineNotifyEvent OnOfflineNotify;
  TOfflineTaskEvent OnOfflinePrepare, OnOfflineRun;
  TProcessVarIoEvent OnProcessVarIO;
  TSetPanLawEvent OnSetPanLaw;
  TVendorSpecificEvent OnVendorSpecific;
  TCanDoEvent OnCanDo;
  TPinPropertiesEvent OnInputProperties, OnOutputProperties;

  // ---- Other state ----
  // Random numbers for derived modules, seeded from the clock at construction.
  std::minstd_rand& RandomGenerator() { return FRandomGenerator; }
  audioMasterCallback HostCallback() const { return FHostCallback; }
  TEditorForm* EditorForm() const { return FEditorForm.get(); }
  bool EditorNeedsUpdate() const { return FEditorNeedsUpdate.load(); }
  virtual void SetEditorNeedsUpdate();
  // The module's own values, used while it has no programs.
  const TAtomicFloatArray& ParameterValues() const { return FParameterValues; }
  const std::vector<std::uint8_t>& BankChunkBuffer() const { return FBankChunkBuffer; }
  bool IsProgramChunkMode() const { return (FEffect.flags & effFlagsProgramChunks) != 0; }
  // True while this thread runs the host's setParameter / a SetParameterValue
  // of this module.
  bool InHostSetParameter() const;
  bool InParameterChange() const;

  // Collections report their changes here.
  void ParameterDescriptionsChanged();
  void ProgramsChanged();
  TOutputEvents& OutputEvents() { return *FOutputEvents; }
  VstInt32 ShellPluginCursor() const { return FShellPluginCursor; }
  // The editor's client size, declared by a module that knows it without
  // opening a window; effEditGetRect then always answers with it. A module
  // that declares none reports a size only while a form is open.
  void SetEditorSize(int width, int height);
  bool HasEditorSize() const { return FEditorWidth > 0 && FEditorHeight > 0; }

  // ---- Connection to the host ----
  virtual void SetHostCallback(audioMasterCallback callback);
  // The host's product name, asked until it gives a non-empty one and then
  // kept ("Unknown" for good when the host does not answer). Safe on any
  // thread; the reference stays valid for the module's life.
  const std::string& HostProductString();

  // ---- Dispatcher ----
  virtual VstIntPtr Dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);

  virtual void HandleOpen();
  virtual void HandleClose();
  virtual void HandleSetProgram(VstIntPtr program);
  virtual void HandleSetProgramName(const char* text);
  virtual void HandleGetProgramName(char* buffer);
  virtual void GetParameterLabel(VstInt32 index, char* text);
  virtual void GetParameterDisplay(VstInt32 index, char* text);
  virtual void GetParameterName(VstInt32 index, char* text);
  virtual VstIntPtr HandleGetVu();
  virtual void HandleMainsChanged(bool on);
  virtual void Suspend();
  virtual void Resume();
  virtual VstIntPtr EditorGetRect(ERect** rect);
  virtual VstIntPtr EditorOpen(void* parent);
  virtual void EditorClose();
  virtual void EditorIdle();
  virtual void HandleEditTop();
  virtual void HandleEditSleep();
  virtual VstIntPtr GetChunk(void** data, bool isPreset);
  virtual VstIntPtr SetChunk(void* data, VstIntPtr byteSize, bool isPreset);
  virtual VstIntPtr HandleProcessEvents(VstEvents* events);
  virtual bool CanParameterBeAutomated(VstInt32 index);
  virtual bool StringToParameter(VstInt32 index, const char* text);
  virtual bool GetProgramNameIndexed(VstInt32 category, VstInt32 index, char* text);
  virtual VstIntPtr HandleConnectInput(VstInt32 index, bool state);
  virtual VstIntPtr HandleConnectOutput(VstInt32 index, bool state);
  virtual bool GetInputProperties(VstInt32 index, VstPinProperties* properties);
  virtual bool GetOutputProperties(VstInt32 index, VstPinProperties* properties);
  virtual VstIntPtr HandleOfflineNotify(VstAudioFile* files, VstInt32 count, bool start);
  virtual VstIntPtr HandleOfflinePrepare(VstOfflineTask* tasks, VstInt32 count);
  virtual VstIntPtr HandleOfflineRun(VstOfflineTask* tasks, VstInt32 count);
  virtual VstIntPtr HandleProcessVarIo(VstVariableIo* varIo);
  virtual VstIntPtr HandleSetBypass(bool onOff);
  virtual VstIntPtr HandleGetEffectName(char* buffer);
  virtual VstIntPtr HandleGetVendorString(char* buffer);
  virtual VstIntPtr HandleGetProductString(char* buffer);
  virtual VstIntPtr HandleVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  virtual VstIntPtr HandleCanDo(const char* text);
  virtual bool GetParameterProperties(VstInt32 index, VstParameterProperties* properties);
  virtual void EditorKeyDown(VstKeyCode& keyCode);
  virtual void EditorKeyUp(VstKeyCode& keyCode);
  virtual VstIntPtr HandleSetEditKnobMode(VstInt32 mode);
  virtual VstIntPtr HandleBeginSetProgram();
  virtual VstIntPtr HandleEndSetProgram();
  virtual VstIntPtr HandleShellGetNextPlugin(char* name);
  virtual VstIntPtr HandleStartProcess();
  virtual VstIntPtr HandleStopProcess();
  virtual VstIntPtr HandleSetPanLaw(VstInt32 type, float gain);
  virtual VstIntPtr BeginLoadBank(VstPatchChunkInfo* info);
  virtual VstIntPtr BeginLoadProgram(VstPatchChunkInfo* info);

  // ---- Parameters (normalised at the host boundary, real units inside) ----
  virtual void SetParameterValue(VstInt32 index, float value);
  virtual float GetParameterValue(VstInt32 index);
  void SetParameterValueAutomated(VstInt32 index, float value);
  float ParameterToNormalized(VstInt32 index, float value) const;
  float NormalizedToParameter(VstInt32 index, float value);
  // The record's setParameter and getParameter slots.
  virtual void HostSetParameter(VstInt32 index, float value);
  virtual float HostGetParameter(VstInt32 index);

  // ---- Processing entries ----
  virtual void ProcessAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames);
  virtual void ProcessReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);
  virtual void ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);
  void FlushOutputEvents();

  // ---- Speaker-arrangement utilities for derived modules ----
  virtual bool AllocateArrangement(VstSpeakerArrangement*& arrangement, VstInt32 channels);
  virtual bool DeallocateArrangement(VstSpeakerArrangement*& arrangement);
  virtual bool CopySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from);
  virtual bool MatchArrangement(VstSpeakerArrangement*& to, const VstSpeakerArrangement* from);

  // ---- Host callbacks ----
  virtual void HostAutomate(VstInt32 index, float normalisedValue);
  virtual VstInt32 HostVersion();
  virtual VstInt32 HostCurrentId();
  virtual void HostIdle();
  virtual bool HostIsInputConnected(VstInt32 pin);
  virtual bool HostIsOutputConnected(VstInt32 pin);
  virtual void HostWantMidi(VstInt32 filter);
  virtual VstTimeInfo* HostGetTimeInfo(VstInt32 filter);
  virtual bool HostProcessEvents(VstEvents* events);
  virtual void HostSetTime(VstInt32 filter, VstTimeInfo* timeInfo);
  virtual VstIntPtr HostTempoAt(VstIntPtr samplePosition);
  virtual VstIntPtr HostGetNumAutomatableParameters();
  virtual VstIntPtr HostGetParameterQuantization();
  virtual bool HostIOChanged();
  virtual bool HostNeedIdle();
  virtual bool HostSizeWindow(VstInt32 width, VstInt32 height);
  virtual float HostGetSampleRate();
  virtual VstInt32 HostGetBlockSize();
  virtual VstIntPtr HostGetInputLatency();
  virtual VstIntPtr HostGetOutputLatency();
  virtual AEffect* HostGetPreviousPlug();
  virtual AEffect* HostGetNextPlug();
  virtual VstIntPtr HostWillReplaceOrAccumulate();
  virtual VstIntPtr HostGetCurrentProcessLevel();
  virtual VstIntPtr HostGetAutomationState();
  virtual bool HostOfflineStart(VstAudioFile* files, VstInt32 numFiles, VstInt32 numNewFiles);
  virtual bool HostOfflineRead(VstOfflineTask* task, VstInt32 option, bool readSource);
  virtual bool HostOfflineWrite(VstOfflineTask* task, VstInt32 option);
  virtual VstInt32 HostOfflineGetCurrentPass();
  virtual VstInt32 HostOfflineGetCurrentMetaPass();
  virtual void HostSetOutputSampleRate(float rate);
  virtual VstSpeakerArrangement* HostGetOutputSpeakerArrangement();
  virtual bool HostGetVendorString(std::string& text);
  virtual bool HostGetProductString(std::string& text);
  virtual VstIntPtr HostGetVendorVersion();
  virtual VstIntPtr HostVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  virtual VstIntPtr HostCanDo(const char* text);
  virtual VstIntPtr HostGetLanguage();
  virtual VstIntPtr HostOpenWindow(VstWindow* window);
  virtual bool HostCloseWindow(VstWindow* window);
  virtual void* HostGetDirectory();
  virtual bool HostUpdateDisplay();
  virtual bool HostBeginEdit(VstInt32 index);
  virtual bool HostEndEdit(VstInt32 index);
  virtual bool HostOpenFileSelector(VstFileSelect* selector);
  virtual VstSpeakerArrangement* HostGetInputSpeakerArrangement();

 protected:
  void SetModuleClass(const TModuleClass& moduleClass);
  // Calls the host with this module's record; 0 without a callback.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // Picks the shell entry the host asks for, or leaves the shell category.
  virtual void SelectShellPlugin();

 private:
  void RecomputeVersion();
  bool IsParameterIndex(VstInt32 index) const;
  // The array holding the live values: the current program's, or the
  // module's own without programs; nullptr in program-chunk mode.
  TAtomicFloatArray* CurrentValues();
  std::string FormatParameterValue(float value) const;
  void SetUpBlockBuffers();
  void CheckBlockDelay();
  // The delay to report: the block latency in block mode, when it exceeds
  // the requested delay.
  VstInt32 TargetInitialDelay() const;
  void UpdateInitialDelay();
  void ChannelCountsChanged();
  void ResizeAccumulateScratch();
  // Forwards a host key to the open form as the frame's key events.
  void ForwardKeyToEditor(const VstKeyCode& keyCode, bool down);
  bool PinProperties(VstInt32 index, VstPinProperties* properties, VstInt32 count,
                     const char* labelWord, const char* shortWord, TPinPropertiesEvent& event);

  AEffect FEffect{};
  const TModuleClass* FClass = nullptr;
  audioMasterCallback FHostCallback = nullptr;
  // Null until the host named itself; then owned and immutable.
  std::atomic<const std::string*> FHostProductString{nullptr};

  std::string FVersion = "0.0";
  std::string FEffectName, FProductName, FVendorName;
  VstInt32 FVersionMajor = 1, FVersionMinor = 0, FVersionRelease = 0;
  TVstPluginCategory FPlugCategory = cgUnknown;
  VstInt32 FTailSize = 0;
  TVstCanDos FCanDos = 0;
  float FSampleRate = 44100.0f;
  VstInt32 FBlockSize = 1024;
  std::atomic<VstInt32> FCurrentProgram{-1};
  TProcessingMode FProcessingMode = pmNormal;
  VstInt32 FBlockModeSize = 1024;
  VstInt32 FBlockModeOverlap = 0;
  VstInt32 FRequestedInitialDelay = 0;
  bool FKeysRequired = false;
  bool FOldCreateOrder = false;
  std::atomic<bool> FEditorNeedsUpdate{false};
  VstInt32 FShellPluginCursor = 0;
  ERect FEditorRect{};
  int FEditorWidth = 0;
  int FEditorHeight = 0;

  std::unique_ptr<TCustomVstParameterProperties> FParameterProperties;
  std::unique_ptr<TCustomVstPrograms> FPrograms;
  std::unique_ptr<TEditorForm> FEditorForm;
  std::unique_ptr<TCPU> FCPU;
  std::unique_ptr<TCustomVstShellPlugins> FShellPlugins;
  std::unique_ptr<TOutputEvents> FOutputEvents;
  std::unique_ptr<VstMidiEvent[]> FMidiEvents;
  TAtomicFloatArray FParameterValues;
  std::vector<std::uint8_t> FBankChunkBuffer;
  std::minstd_rand FRandomGenerator;
  TBlockProcessor<float> FBlockSingle;
  TBlockProcessor<double> FBlockDouble;
  // The accumulating slot runs the handler in pieces into this scratch block,
  // so it allocates nothing per call.
  std::vector<float> FAccumulateScratch;
  std::vector<float*> FAccumulateOutputs;
  std::vector<float*> FAccumulateInputs;
};
