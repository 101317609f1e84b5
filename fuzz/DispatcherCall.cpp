#include "fuzz/DispatcherCall.h"

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/GuardedText.h"
#include "fuzz/HostRecords.h"

namespace {

// Opcodes up to this are decoded from one byte; the published list ends at
// 76, the rest are unknown to every plug-in.
constexpr VstInt32 kCommonOpcodes = 81;
// A selector byte at or above this reads a whole 32-bit opcode instead.
constexpr std::uint8_t kAnyOpcodeSelector = 240;
// Bytes handed to opcodes whose ptr is a record the frame only passes
// through (offline tasks, MIDI program names, variable I/O).
constexpr std::size_t kPassThroughRecordBytes = 512;
// Error texts have no published size of their own; hosts give 64 bytes or
// more.
constexpr std::size_t kErrorTextLen = 64;
// Texts a host hands to effString2Parameter: what a user types into a
// parameter's entry field.
constexpr std::size_t kNumberTextLen = 64;
// Index and value are mostly small numbers around 0 (from -kSmallOffset),
// else any.
constexpr int kSmallOffset = 8;
// One effString2Parameter query in this many comes with a null text.
constexpr std::uint8_t kNullTextOdds = 8;
// A chunk the host loads is at most this long here.
constexpr std::size_t kMaxChunkBytes = 4096;

struct TCall {
  VstInt32 Opcode = 0;
  VstInt32 Index = 0;
  VstIntPtr Value = 0;
  float Opt = 0.0f;
};

VstIntPtr Send(TEffect& effect, const TCall& call, void* ptr) {
  return effect.Dispatch(call.Opcode, call.Index, call.Value, ptr, call.Opt);
}

// The buffer size of each opcode that writes a text into ptr, 0 for others.
std::size_t OutputTextSize(VstInt32 opcode) {
  switch (opcode) {
    case effGetProgramName:
    case effGetProgramNameIndexed:
      return kVstMaxProgNameLen;
    case effGetParamLabel:
      return kVstMaxParamLabelLen;
    case effGetParamDisplay:
      return kVstMaxParamDisplayLen;
    case effGetParamName:
      return kVstMaxParamNameLen;
    case effGetEffectName:
      return kVstMaxEffectNameLen;
    case effGetErrorText:
      return kErrorTextLen;
    case effGetVendorString:
      return kVstMaxVendorStrLen;
    case effGetProductString:
      return kVstMaxProductStrLen;
    case effShellGetNextPlugin:
      return kVstMaxShellNameLen;
    default:
      return 0;
  }
}

// Whether the answer (or the query alone) promises a text in the buffer.
bool PromisesText(const AEffect& record, const TCall& call, VstIntPtr result) {
  switch (call.Opcode) {
    case effGetProgramName:
      return true;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
      return call.Index >= 0 && call.Index < record.numParams;
    case effGetErrorText:
      return false;
    default:
      return result != 0;
  }
}

void CallWithOutputText(TEffect& effect, const TCall& call, std::size_t size) {
  TGuardedText buffer(size);
  const VstIntPtr result = Send(effect, call, buffer.Data());
  const std::string query = "opcode " + std::to_string(call.Opcode);
  buffer.RequireText(query.c_str(), PromisesText(*effect.Record(), call, result));
}

// A text query: most often one the plug-in knows, so that the comparisons
// behind it are reached, else fuzzed bytes.
std::string CanDoQuery(TFuzzInput& input) {
  if (input.Flag()) return kCanDoTexts[input.Below(std::size(kCanDoTexts))].Text;
  return input.Text(kVstMaxCanDoLen);
}

void CallWithInputText(TEffect& effect, const TCall& call, const std::string& text) {
  THostInputText hostText(text);
  Send(effect, call, hostText.Data());
}

void GetRect(TEffect& effect, const TCall& call) {
  // The slot starts as a host leaves it; the plug-in points it at its
  // rectangle.
  ERect* rect = nullptr;
  const VstIntPtr result = Send(effect, call, &rect);
  if (result == 0) return;
  if (rect == nullptr)
    FuzzFailure("effEditGetRect answered %lld without a rectangle", (long long)result);
  const volatile ERect* shown = rect;
  if (shown->right - shown->left <= 0 || shown->bottom - shown->top <= 0)
    FuzzFailure("effEditGetRect answered an empty rectangle");
}

void GetChunk(TEffect& effect, const TCall& call) {
  void* data = nullptr;
  const VstIntPtr size = Send(effect, call, &data);
  CheckChunk(data, size, "effGetChunk");
}

void SetChunk(TEffect& effect, TCall call, TFuzzInput& input) {
  // The one size a host chooses: the chunk is exactly as long as it says.
  std::vector<std::uint8_t> chunk = input.Bytes(input.Below(kMaxChunkBytes + 1));
  call.Value = static_cast<VstIntPtr>(chunk.size());
  // An empty chunk still comes with a valid pointer.
  chunk.reserve(1);
  Send(effect, call, chunk.data());
}

template <class Record>
Record CallWithRecord(TEffect& effect, const TCall& call, TFuzzInput& input, VstIntPtr& result) {
  Record record = FuzzedRecord<Record>(input);
  result = Send(effect, call, &record);
  return record;
}

void SpeakerArrangements(TEffect& effect, TCall call, TFuzzInput& input) {
  VstSpeakerArrangement in = FuzzedSpeakerArrangement(input);
  VstSpeakerArrangement out = FuzzedSpeakerArrangement(input);
  call.Value = reinterpret_cast<VstIntPtr>(&in);
  Send(effect, call, &out);
}

void GetSpeakerArrangements(TEffect& effect, TCall call) {
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  call.Value = reinterpret_cast<VstIntPtr>(&in);
  Send(effect, call, &out);
  // Whatever the plug-in points the slots at must be a readable record.
  for (const VstSpeakerArrangement* arrangement : {in, out}) {
    if (arrangement == nullptr) continue;
    const volatile VstInt32 channels = arrangement->numChannels;
    if (channels < 0 || channels > static_cast<VstInt32>(std::size(arrangement->speakers)))
      FuzzFailure("effGetSpeakerArrangement: %d channels", static_cast<int>(channels));
  }
}

}  // namespace

bool FuzzDispatcherCall(TEffect& effect, TFuzzInput& input) {
  TCall call;
  const std::uint8_t selector = input.Byte();
  call.Opcode = selector >= kAnyOpcodeSelector ? input.Int32() : selector % kCommonOpcodes;
  call.Index = input.Flag() ? static_cast<VstInt32>(input.Byte()) - kSmallOffset : input.Int32();
  call.Value = input.Flag() ? static_cast<VstIntPtr>(input.Byte()) - kSmallOffset : input.IntPtr();
  call.Opt = input.Float();

  if (call.Opcode == effClose) {
    effect.Close();
    return false;
  }
  if (const std::size_t size = OutputTextSize(call.Opcode)) {
    CallWithOutputText(effect, call, size);
    return true;
  }
  VstIntPtr result = 0;
  switch (call.Opcode) {
    case effSetProgramName:
      CallWithInputText(effect, call, input.Text(kVstMaxProgNameLen));
      break;
    case effString2Parameter:
      // Some hosts ask with a null text whether the plug-in takes texts.
      if (input.Byte() % kNullTextOdds == 0)
        Send(effect, call, nullptr);
      else
        CallWithInputText(effect, call, input.Text(kNumberTextLen));
      break;
    case effCanDo:
      CallWithInputText(effect, call, CanDoQuery(input));
      break;
    case effEditGetRect:
      GetRect(effect, call);
      break;
    case effEditOpen:
      // ptr is the parent window; value is null or the host's display
      // connection, which a fuzzer has none of.
      call.Value = 0;
      Send(effect, call, reinterpret_cast<void*>(static_cast<std::uintptr_t>(input.Uint32())));
      break;
    case effEditDraw:
      CallWithRecord<ERect>(effect, call, input, result);
      break;
    case effGetChunk:
      GetChunk(effect, call);
      break;
    case effSetChunk:
      SetChunk(effect, call, input);
      break;
    case effProcessEvents: {
      THostEvents events(input);
      Send(effect, call, events.List());
      break;
    }
    case effGetInputProperties:
    case effGetOutputProperties: {
      const auto pin = CallWithRecord<VstPinProperties>(effect, call, input, result);
      if (result != 0)
        CheckPinProperties(pin, call.Opcode == effGetInputProperties ? "effGetInputProperties"
                                                                     : "effGetOutputProperties");
      break;
    }
    case effGetParameterProperties: {
      const auto properties = CallWithRecord<VstParameterProperties>(effect, call, input, result);
      if (result != 0) CheckParameterProperties(properties);
      break;
    }
    case effSetSpeakerArrangement:
      SpeakerArrangements(effect, call, input);
      break;
    case effGetSpeakerArrangement:
      GetSpeakerArrangements(effect, call);
      break;
    case effBeginLoadBank:
    case effBeginLoadProgram: {
      VstPatchChunkInfo info = FuzzedPatchChunkInfo(input, effect.Record()->uniqueID);
      Send(effect, call, &info);
      break;
    }
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effProcessVarIo:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName: {
      std::vector<std::uint8_t> record(kPassThroughRecordBytes, input.Byte());
      Send(effect, call, record.data());
      break;
    }
    default:
      // Opcodes without a pointer argument, and unknown ones.
      Send(effect, call, nullptr);
      break;
  }
  return true;
}
