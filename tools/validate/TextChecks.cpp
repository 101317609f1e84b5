#include <algorithm>
#include <string>

#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/TestedPlugin.h"

// Every text a plug-in writes for the host goes into a buffer of the
// published size with a guard behind it, as the host owns that memory: one
// byte too far overwrites the host's data. Records the host passes
// (pin and parameter properties) are guarded the same way.

namespace {

// Parameters and programs looked at; more only make the check slower.
constexpr VstInt32 kMostIndices = 512;
constexpr float kProbeValues[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};

std::string What(VstInt32 opcode, VstInt32 index) {
  return std::string(OpcodeName(opcode)) + " (index " + std::to_string(index) + ")";
}

void JudgeText(const TTextReply& reply, VstInt32 opcode, VstInt32 index) {
  Require(!reply.Overrun(), What(opcode, index) + " wrote " + std::to_string(reply.BytesWritten) +
                                " bytes into a buffer of " + std::to_string(reply.BufferSize));
  // A plug-in that does not answer leaves the buffer as it was.
  Require(reply.BytesWritten == 0 || reply.Terminated,
          What(opcode, index) + " left its text without a terminating zero");
}

void JudgeRecord(const TTextReply& reply, VstInt32 opcode, VstInt32 index) {
  Require(!reply.Overrun(), What(opcode, index) + " wrote " + std::to_string(reply.BytesWritten) +
                                " bytes into a record of " + std::to_string(reply.BufferSize));
}

void CheckTextsOnce(TTestedInstance& instance) {
  SetCheckStep("identity texts");
  JudgeText(instance.Text(effGetEffectName, kVstMaxEffectNameLen), effGetEffectName, 0);
  JudgeText(instance.Text(effGetVendorString, kVstMaxVendorStrLen), effGetVendorString, 0);
  JudgeText(instance.Text(effGetProductString, kVstMaxProductStrLen), effGetProductString, 0);

  SetCheckStep("pin properties");
  for (VstInt32 pin = 0; pin < std::min(instance.Inputs(), kMostIndices); ++pin) {
    JudgeRecord(instance.Text(effGetInputProperties, sizeof(VstPinProperties), pin),
                effGetInputProperties, pin);
  }
  for (VstInt32 pin = 0; pin < std::min(instance.Outputs(), kMostIndices); ++pin) {
    JudgeRecord(instance.Text(effGetOutputProperties, sizeof(VstPinProperties), pin),
                effGetOutputProperties, pin);
  }

  SetCheckStep("parameter texts");
  const VstInt32 parameters = std::min(instance.Parameters(), kMostIndices);
  for (VstInt32 index = 0; index < parameters; ++index) {
    JudgeText(instance.Text(effGetParamName, kVstMaxParamNameLen, index), effGetParamName, index);
    JudgeRecord(instance.Text(effGetParameterProperties, sizeof(VstParameterProperties), index),
                effGetParameterProperties, index);
    const float original = instance.GetParameter(index);
    for (const float value : kProbeValues) {
      instance.SetParameter(index, value);
      JudgeText(instance.Text(effGetParamLabel, kVstMaxParamLabelLen, index), effGetParamLabel,
                index);
      JudgeText(instance.Text(effGetParamDisplay, kVstMaxParamDisplayLen, index),
                effGetParamDisplay, index);
    }
    instance.SetParameter(index, original);
  }

  SetCheckStep("program names");
  const VstInt32 programs = std::min(instance.Programs(), kMostIndices);
  for (VstInt32 program = 0; program < programs; ++program) {
    JudgeText(instance.Text(effGetProgramNameIndexed, kVstMaxProgNameLen, program, -1),
              effGetProgramNameIndexed, program);
    instance.SetProgram(program);
    JudgeText(instance.Text(effGetProgramName, kVstMaxProgNameLen), effGetProgramName, program);
  }
}

}  // namespace

void CheckTexts(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  for (int round = 0; round < context.Repeats; ++round) {
    auto instance = plugin.Open();
    CheckTextsOnce(*instance);
    instance->Close();
  }
}
