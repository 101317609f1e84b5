#pragma once

#include <memory>
#include <string>

#include "frame/VSTModule.h"
#include "tests/plugins/TraceLog.h"

// A module with an editor, programs and a handler bound to most events; each
// handler logs what it saw.
class TFullTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;

  void VSTModuleCreate(TObject* Sender);
  void VSTModuleDestroy(TObject* Sender);
  void VSTModuleInitialize(TObject* Sender);
  void VSTModuleOpen(TObject* Sender);
  void VSTModuleClose(TObject* Sender);
  void VSTModuleDispatcher(TObject* Sender, VstInt32 opCode);
  void ProgramInitialize(TObject* Sender);
  void VSTModuleGetVU(float& VU);
  VstInt32 VSTModuleCanDo(TObject* Sender, const std::string& CanDoText);
  VstInt32 VSTModuleOutputProperties(TObject* Sender, std::string& vLabel, std::string& shortLabel,
                                     TVstSpeakerArrangementType& SpeakerArrangement,
                                     TChannelPropertyFlags& Flags);
  void VSTModuleResume(TObject* Sender);
  void VSTModuleSuspend(TObject* Sender);
  void VSTModuleEditOpen(TObject* Sender, std::unique_ptr<TEditorForm>& GUI);
  void VSTModuleEditClose(TObject* Sender);
  void VSTModuleEditIdle(TObject* Sender);
  void VSTModuleEditTop(TObject* Sender);
  void VSTModuleKeyDown(TObject* Sender, VstKeyCode& keyCode);
  void VSTModuleProcessMidi(TObject* Sender, VstMidiEvent& MidiEvent);
  void VSTModuleStartProcess(TObject* Sender);
  void VSTModuleSetPanLaw(TObject* Sender, VstInt32& vType, float& val);
  VstInt32 VSTModuleVendorSpecific(TObject* Sender, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg,
                                   float floatArg);
  void VSTModuleSampleRateChange(TObject* Sender, float SampleRate);
  void VSTModuleBlockSizeChange(TObject* Sender, VstInt32 BlockSize);
  void VSTModuleInConnected(TObject* Sender, VstInt32 Index, bool State);
  void VSTModuleBeginLoadBank(TObject* Sender, VstPatchChunkInfo& PatchChunkInfo);
  void VSTModuleProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                        VstInt32 sampleframes);
  void VSTModuleProcessDouble(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                              VstInt32 sampleframes);

  TTraceLog Log;

 private:
  void ThrowIfAsked();

  float Vu = 0.0f;
  bool ThrowNext = false;
  bool FailNextWindow = false;
};
