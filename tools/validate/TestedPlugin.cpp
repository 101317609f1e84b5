#include "tools/validate/TestedPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/validate/CallWatchdog.h"

namespace {

constexpr double kDefaultSampleRate = 44100.0;
constexpr VstInt32 kDefaultBlockSize = 512;

}  // namespace

const char* OpcodeName(VstInt32 opcode) {
  switch (opcode) {
    case effOpen:
      return "effOpen";
    case effClose:
      return "effClose";
    case effSetProgram:
      return "effSetProgram";
    case effGetProgram:
      return "effGetProgram";
    case effSetProgramName:
      return "effSetProgramName";
    case effGetProgramName:
      return "effGetProgramName";
    case effGetParamLabel:
      return "effGetParamLabel";
    case effGetParamDisplay:
      return "effGetParamDisplay";
    case effGetParamName:
      return "effGetParamName";
    case effSetSampleRate:
      return "effSetSampleRate";
    case effSetBlockSize:
      return "effSetBlockSize";
    case effMainsChanged:
      return "effMainsChanged";
    case effEditGetRect:
      return "effEditGetRect";
    case effEditOpen:
      return "effEditOpen";
    case effEditClose:
      return "effEditClose";
    case effEditIdle:
      return "effEditIdle";
    case effGetChunk:
      return "effGetChunk";
    case effSetChunk:
      return "effSetChunk";
    case effCanBeAutomated:
      return "effCanBeAutomated";
    case effGetProgramNameIndexed:
      return "effGetProgramNameIndexed";
    case effGetInputProperties:
      return "effGetInputProperties";
    case effGetOutputProperties:
      return "effGetOutputProperties";
    case effGetPlugCategory:
      return "effGetPlugCategory";
    case effSetBypass:
      return "effSetBypass";
    case effGetEffectName:
      return "effGetEffectName";
    case effGetVendorString:
      return "effGetVendorString";
    case effGetProductString:
      return "effGetProductString";
    case effGetVendorVersion:
      return "effGetVendorVersion";
    case effCanDo:
      return "effCanDo";
    case effGetTailSize:
      return "effGetTailSize";
    case effGetParameterProperties:
      return "effGetParameterProperties";
    case effGetVstVersion:
      return "effGetVstVersion";
    case effStartProcess:
      return "effStartProcess";
    case effStopProcess:
      return "effStopProcess";
    case effBeginSetProgram:
      return "effBeginSetProgram";
    case effEndSetProgram:
      return "effEndSetProgram";
    default:
      return "a dispatcher call";
  }
}

TTestedInstance::TTestedInstance(std::unique_ptr<TEffect> effect)
    : FEffect(std::move(effect)), FRecord(FEffect->Record()) {}

TTestedInstance::~TTestedInstance() {
  if (!FEffect->IsClosed()) Close();
}

VstInt32 TTestedInstance::Inputs() const {
  return std::max(FRecord->numInputs, 0);
}

VstInt32 TTestedInstance::Outputs() const {
  return std::max(FRecord->numOutputs, 0);
}

VstInt32 TTestedInstance::Parameters() const {
  return std::max(FRecord->numParams, 0);
}

VstInt32 TTestedInstance::Programs() const {
  return std::max(FRecord->numPrograms, 0);
}

bool TTestedInstance::HasDouble() const {
  return (FRecord->flags & effFlagsCanDoubleReplacing) != 0 &&
         FRecord->processDoubleReplacing != nullptr;
}

bool TTestedInstance::HasEditor() const {
  return (FRecord->flags & effFlagsHasEditor) != 0;
}

VstIntPtr TTestedInstance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt) {
  const TWatchedCall watch(OpcodeName(opcode));
  return FEffect->Dispatch(opcode, index, value, ptr, opt);
}

TTextReply TTestedInstance::Text(VstInt32 opcode, std::size_t bufferSize, VstInt32 index,
                                 VstIntPtr value) {
  const TWatchedCall watch(OpcodeName(opcode));
  return FEffect->DispatchText(opcode, bufferSize, index, value);
}

float TTestedInstance::GetParameter(VstInt32 index) {
  const TWatchedCall watch("getParameter");
  return FEffect->GetParameter(index);
}

void TTestedInstance::SetParameter(VstInt32 index, float value) {
  const TWatchedCall watch("setParameter");
  FEffect->SetParameter(index, value);
}

VstInt32 TTestedInstance::Program() {
  return static_cast<VstInt32>(Dispatch(effGetProgram));
}

void TTestedInstance::SetProgram(VstInt32 program) {
  // Hosts bracket a program change so that the plug-in can batch its work.
  Dispatch(effBeginSetProgram);
  Dispatch(effSetProgram, 0, program);
  Dispatch(effEndSetProgram);
}

void TTestedInstance::Resume(double sampleRate, VstInt32 blockSize) {
  if (Resumed) Suspend();
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  Resumed = true;
}

void TTestedInstance::Suspend() {
  Dispatch(effStopProcess);
  Dispatch(effMainsChanged, 0, 0);
  Resumed = false;
}

void TTestedInstance::ProcessFloat(float** inputs, float** outputs, VstInt32 frames) {
  if (FRecord->processReplacing != nullptr && (FRecord->flags & effFlagsCanReplacing) != 0) {
    const TWatchedCall watch("processReplacing");
    FEffect->ProcessReplacing(inputs, outputs, frames);
    return;
  }
  // The accumulating slot adds to what the outputs hold.
  for (VstInt32 channel = 0; channel < Outputs(); ++channel) {
    std::fill(outputs[channel], outputs[channel] + frames, 0.0f);
  }
  const TWatchedCall watch("process");
  FEffect->Process(inputs, outputs, frames);
}

void TTestedInstance::ProcessDouble(double** inputs, double** outputs, VstInt32 frames) {
  const TWatchedCall watch("processDoubleReplacing");
  FEffect->ProcessDoubleReplacing(inputs, outputs, frames);
}

void TTestedInstance::Close() {
  if (Resumed) Suspend();
  const TWatchedCall watch("effClose");
  FEffect->Close();
}

TTestedPlugin::TTestedPlugin(const std::string& path) : Library(path) {
  FHost.ProductString = "Quillotron validate";
  FHost.SampleRate = static_cast<VstIntPtr>(kDefaultSampleRate);
  FHost.BlockSize = kDefaultBlockSize;
}

TTestedPlugin::~TTestedPlugin() = default;

std::unique_ptr<TTestedInstance> TTestedPlugin::Instantiate() {
  const TWatchedCall watch("the entry point");
  return std::make_unique<TTestedInstance>(FHost.Instantiate(Library));
}

std::unique_ptr<TTestedInstance> TTestedPlugin::Open() {
  auto instance = Instantiate();
  instance->Dispatch(effOpen);
  return instance;
}
