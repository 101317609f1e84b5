#include "tests/plugins/FullTestModule.h"

#include <cstdio>
#include <stdexcept>

#include "frame/EntryPoint.h"
#include "tests/plugins/FakeEditorForm.h"
#include "tests/plugins/TestControl.h"

namespace {

using M = TFullTestModule;

constexpr TPublishedMethod kMethods[] = {
    Published<&M::VSTModuleCreate>("VSTModuleCreate"),
    Published<&M::VSTModuleDestroy>("VSTModuleDestroy"),
    Published<&M::VSTModuleInitialize>("VSTModuleInitialize"),
    Published<&M::VSTModuleOpen>("VSTModuleOpen"),
    Published<&M::VSTModuleClose>("VSTModuleClose"),
    Published<&M::VSTModuleDispatcher>("VSTModuleDispatcher"),
    Published<&M::ProgramInitialize>("ProgramInitialize"),
    Published<&M::VSTModuleGetVU>("VSTModuleGetVU"),
    Published<&M::VSTModuleCanDo>("VSTModuleCanDo"),
    Published<&M::VSTModuleOutputProperties>("VSTModuleOutputProperties"),
    Published<&M::VSTModuleResume>("VSTModuleResume"),
    Published<&M::VSTModuleSuspend>("VSTModuleSuspend"),
    Published<&M::VSTModuleEditOpen>("VSTModuleEditOpen"),
    Published<&M::VSTModuleEditClose>("VSTModuleEditClose"),
    Published<&M::VSTModuleEditIdle>("VSTModuleEditIdle"),
    Published<&M::VSTModuleEditTop>("VSTModuleEditTop"),
    Published<&M::VSTModuleKeyDown>("VSTModuleKeyDown"),
    Published<&M::VSTModuleProcessMidi>("VSTModuleProcessMidi"),
    Published<&M::VSTModuleStartProcess>("VSTModuleStartProcess"),
    Published<&M::VSTModuleSetPanLaw>("VSTModuleSetPanLaw"),
    Published<&M::VSTModuleVendorSpecific>("VSTModuleVendorSpecific"),
    Published<&M::VSTModuleSampleRateChange>("VSTModuleSampleRateChange"),
    Published<&M::VSTModuleBlockSizeChange>("VSTModuleBlockSizeChange"),
    Published<&M::VSTModuleInConnected>("VSTModuleInConnected"),
    Published<&M::VSTModuleBeginLoadBank>("VSTModuleBeginLoadBank"),
    Published<&M::VSTModuleProcess>("VSTModuleProcess"),
    Published<&M::VSTModuleProcessDouble>("VSTModuleProcessDouble"),
};

std::string PointerText(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof(text), "%p", pointer);
  return text;
}

}  // namespace

const TModuleClass TFullTestModule::Class{"TFullTestModule", &TVSTModule::Class, kMethods};

void M::ThrowIfAsked() {
  if (!ThrowNext) return;
  ThrowNext = false;
  throw std::runtime_error("handler failure");
}

void M::VSTModuleCreate(TObject*) {
  Log.Add(*this, "Create");
}
void M::VSTModuleDestroy(TObject*) {
  Log.Add(*this, "Destroy");
}
void M::VSTModuleInitialize(TObject*) {
  Log.Add(*this, "Initialize:program=" + std::to_string(CurrentProgram()));
}
void M::VSTModuleOpen(TObject*) {
  Log.Add(*this, "Open");
  ThrowIfAsked();
}
void M::VSTModuleClose(TObject*) {
  Log.Add(*this, "Close");
  ThrowIfAsked();
}
void M::VSTModuleDispatcher(TObject*, VstInt32 opCode) {
  Log.Add(*this, "Dispatch:" + std::to_string(opCode));
}
void M::ProgramInitialize(TObject* Sender) {
  auto* program = dynamic_cast<TCustomVstProgram*>(Sender);
  Log.Add(*this, "ProgramInit:" + (program ? program->DisplayName() : std::string("?")));
}
void M::VSTModuleGetVU(float& VU) {
  VU = Vu;
}
VstInt32 M::VSTModuleCanDo(TObject*, const std::string& CanDoText) {
  Log.Add(*this, "CanDo:" + CanDoText);
  return 1;
}
VstInt32 M::VSTModuleOutputProperties(TObject*, std::string& vLabel, std::string& shortLabel,
                                      TVstSpeakerArrangementType&, TChannelPropertyFlags& Flags) {
  // Longer than the record holds, to see the frame cut them.
  vLabel = vLabel + std::string(70, 'x');
  shortLabel = "Outputs";
  shortLabel += "!";
  Flags |= cpfUseSpeaker;
  return 1;
}
void M::VSTModuleResume(TObject*) {
  Log.Add(*this, "Resume");
}
void M::VSTModuleSuspend(TObject*) {
  Log.Add(*this, "Suspend");
}
void M::VSTModuleEditOpen(TObject*, std::unique_ptr<TEditorForm>& GUI) {
  Log.Add(*this, "EditOpen");
  GUI = std::make_unique<TFakeEditorForm>(*this, Log, !FailNextWindow);
  FailNextWindow = false;
}
void M::VSTModuleEditClose(TObject*) {
  Log.Add(*this, "EditClose");
}
void M::VSTModuleEditIdle(TObject*) {
  Log.Add(*this, "EditIdle");
}
void M::VSTModuleEditTop(TObject*) {
  Log.Add(*this, "EditTop");
}
void M::VSTModuleKeyDown(TObject*, VstKeyCode& keyCode) {
  Log.Add(*this, "KeyDown:" + std::to_string(keyCode.character) + "," +
                     std::to_string(keyCode.virt) + "," + std::to_string(keyCode.modifier));
}
void M::VSTModuleProcessMidi(TObject*, VstMidiEvent& MidiEvent) {
  Log.Add(*this, "Midi:" + std::to_string(static_cast<unsigned char>(MidiEvent.midiData[1])));
}
void M::VSTModuleStartProcess(TObject*) {
  Log.Add(*this, "StartProcess");
}
void M::VSTModuleSetPanLaw(TObject*, VstInt32& vType, float& val) {
  Log.Add(*this, "PanLaw:" + std::to_string(vType) + "," + std::to_string(val));
  vType = -1;
  val = -1.0f;
}
VstInt32 M::VSTModuleVendorSpecific(TObject*, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg,
                                    float floatArg) {
  if (Log.HandleRequest(lArg1, lArg2, ptrArg)) return 1;
  switch (lArg1) {
    case kSetVu:
      Vu = floatArg;
      return 1;
    case kSetDelay:
      SetInitialDelay(lArg2);
      return 1;
    case kSetEditorSize:
      SetEditorSize(lArg2, static_cast<int>(floatArg));
      return 1;
    case kFailNextWindow:
      FailNextWindow = true;
      return 1;
    case kQueueEvents:
      for (VstInt32 i = 0; i < lArg2; ++i)
        reinterpret_cast<VstMidiEvent*>(OutputEvents().events[static_cast<std::size_t>(i)])
            ->midiData[1] = static_cast<char>(i);
      OutputEvents().numEvents = lArg2;
      return 1;
    case kAskSampleRate:
      return static_cast<VstInt32>(HostGetSampleRate());
    case kThrowNext:
      ThrowNext = true;
      return 1;
    default:
      return 0;
  }
}
void M::VSTModuleSampleRateChange(TObject*, float SampleRate) {
  Log.Add(*this, "SampleRate:" + std::to_string(static_cast<long>(SampleRate)));
}
void M::VSTModuleBlockSizeChange(TObject*, VstInt32 BlockSize) {
  Log.Add(*this, "BlockSize:" + std::to_string(BlockSize));
}
void M::VSTModuleInConnected(TObject*, VstInt32 Index, bool State) {
  Log.Add(*this, "InConnected:" + std::to_string(Index) + "," + (State ? "1" : "0"));
}
void M::VSTModuleBeginLoadBank(TObject*, VstPatchChunkInfo& PatchChunkInfo) {
  Log.Add(*this, "BeginLoadBank:" + std::to_string(PatchChunkInfo.numElements));
}
void M::VSTModuleProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                         VstInt32 sampleframes) {
  Log.Add(*this, "Process:" + std::to_string(sampleframes) + ":" + PointerText(inputs.Data()) +
                     ":" + PointerText(outputs.Data()));
  for (VstInt32 c = 0; c < numOutputs(); ++c)
    for (VstInt32 i = 0; i < sampleframes; ++i)
      outputs[c][i] = inputs[c][i] + 0.5f;
}
void M::VSTModuleProcessDouble(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs,
                               VstInt32 sampleframes) {
  Log.Add(*this, "ProcessDouble:" + std::to_string(sampleframes));
  for (VstInt32 c = 0; c < numOutputs(); ++c)
    for (VstInt32 i = 0; i < sampleframes; ++i)
      outputs[c][i] = inputs[c][i] + 0.25;
}

QUILLO_VST_PLUGIN(TFullTestModule)
