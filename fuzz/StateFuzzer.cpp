// Fuzzes what a host saves and restores: program selection and renaming
// with any bytes (invalid UTF-8 included), parameter entry as text, and the
// chunk exchange of a plug-in in program-chunk mode. The first byte picks the
// plug-in: the effect, or the chunk-mode test plug-in.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/GuardedText.h"
#include "fuzz/HostRecords.h"
#include "fuzz/LoadedPlugin.h"

namespace {

// Program names as hosts hand them: mostly within the protocol's 24 bytes,
// sometimes as long as the plug-in reads (and beyond its 50-character cut).
constexpr std::size_t kLongNameBytes = 256;
// Texts for effString2Parameter, as long as an entry field lets users type.
constexpr std::size_t kNumberTextLen = 64;
// A chunk a host loads from its project is at most this long here.
constexpr std::size_t kMaxChunkBytes = 1024;
// Program and parameter numbers are mostly drawn from slightly beyond the
// valid range on both sides.
constexpr int kIndexMargin = 2;
constexpr std::uint8_t kAnyIndexOdds = 8;

TLoadedPlugin* Effect = nullptr;
TLoadedPlugin* ChunkPlugin = nullptr;

enum TAction : std::uint8_t {
  kSelectProgram,
  kRenameProgram,
  kReadProgramNames,
  kEnterParameterText,
  kSetParameter,
  kGetChunk,
  kSetChunk,
  kRestoreChunk,
  kBracketProgramChange,
  kActions
};

class TStateSession {
 public:
  TStateSession(TEffect& effect, TFuzzInput& input) : Effect(effect), Input(input) {}

  void Play() {
    while (!Input.Empty()) {
      switch (Input.Byte() % kActions) {
        case kSelectProgram:
          SelectProgram();
          break;
        case kRenameProgram:
          RenameProgram();
          break;
        case kReadProgramNames:
          ReadProgramNames();
          break;
        case kEnterParameterText:
          EnterParameterText();
          break;
        case kSetParameter:
          SetParameter();
          break;
        case kGetChunk:
          GetChunk();
          break;
        case kSetChunk:
          SetChunk();
          break;
        case kRestoreChunk:
          RestoreChunk();
          break;
        default:
          Effect.Dispatch(Input.Flag() ? effBeginSetProgram : effEndSetProgram);
          break;
      }
    }
  }

 private:
  const AEffect& Record() { return *Effect.Record(); }

  // A number near the valid range 0..count-1, now and then any 32-bit one.
  VstInt32 Index(VstInt32 count) {
    if (Input.Byte() % kAnyIndexOdds == 0) return Input.Int32();
    return static_cast<VstInt32>(Input.Below(static_cast<std::size_t>(count) + 2 * kIndexMargin)) -
           kIndexMargin;
  }

  void SelectProgram() {
    const VstInt32 program = Index(Record().numPrograms);
    const auto before = Effect.Dispatch(effGetProgram);
    Effect.Dispatch(effSetProgram, 0, program);
    const auto after = Effect.Dispatch(effGetProgram);
    const bool valid = program >= 0 && program < Record().numPrograms;
    if (after != (valid ? program : before))
      FuzzFailure("effSetProgram %d: current program %lld after, %lld before", program,
                  static_cast<long long>(after), static_cast<long long>(before));
  }

  // The name read back is a prefix of the bytes given, cut within the
  // buffer: the plug-in keeps what it can and never invents bytes.
  void RenameProgram() {
    const std::string name = Input.Text(Input.Flag() ? kVstMaxProgNameLen : kLongNameBytes);
    THostInputText text(name);
    Effect.Dispatch(effSetProgramName, 0, 0, text.Data());
    TGuardedText buffer(kVstMaxProgNameLen);
    Effect.Dispatch(effGetProgramName, 0, 0, buffer.Data());
    buffer.RequireText("effGetProgramName", true);
    const std::string_view shown = *buffer.Text();
    if (std::string_view(name).substr(0, shown.size()) != shown)
      FuzzFailure("program name \"%s\" read back as \"%.*s\"", name.c_str(),
                  static_cast<int>(shown.size()), shown.data());
  }

  void ReadProgramNames() {
    const VstInt32 program = Index(Record().numPrograms);
    TGuardedText buffer(kVstMaxProgNameLen);
    const auto answer = Effect.Dispatch(effGetProgramNameIndexed, program, -1, buffer.Data());
    const bool valid = program >= 0 && program < Record().numPrograms;
    if ((answer != 0) != valid)
      FuzzFailure("effGetProgramNameIndexed %d answered %lld", program,
                  static_cast<long long>(answer));
    buffer.RequireText("effGetProgramNameIndexed", answer != 0);
  }

  // Parameter texts: fuzzed bytes, or a number as a host's user might type
  // it (with either decimal separator).
  std::string ParameterText() {
    if (Input.Flag()) return Input.Text(kNumberTextLen);
    char text[kNumberTextLen];
    std::snprintf(text, sizeof(text), Input.Flag() ? "%g" : "%.3f", Input.Double());
    std::string number(text);
    if (Input.Flag())
      for (char& c : number)
        if (c == '.') c = ',';
    return number;
  }

  void EnterParameterText() {
    const VstInt32 parameter = Index(Record().numParams);
    THostInputText text(ParameterText());
    const auto answer = Effect.Dispatch(effString2Parameter, parameter, 0, text.Data());
    if (answer != 0) CheckParameter(parameter);
  }

  void SetParameter() {
    const VstInt32 parameter = Index(Record().numParams);
    Effect.SetParameter(parameter, Input.Float());
    if (parameter >= 0 && parameter < Record().numParams) CheckParameter(parameter);
  }

  // What the host reads back and shows of a parameter stays in range and
  // within its buffer.
  void CheckParameter(VstInt32 parameter) {
    const float value = Effect.GetParameter(parameter);
    if (!(value >= 0.0f && value <= 1.0f))
      FuzzFailure("parameter %d reads %g, outside 0..1", parameter, static_cast<double>(value));
    TGuardedText display(kVstMaxParamDisplayLen);
    Effect.Dispatch(effGetParamDisplay, parameter, 0, display.Data());
    display.RequireText("effGetParamDisplay", true);
  }

  // A chunk handed out is copied at once: it lives only until the next
  // request.
  void GetChunk() {
    const VstInt32 preset = Input.Flag() ? 1 : 0;
    void* data = nullptr;
    const auto size = Effect.Dispatch(effGetChunk, preset, 0, &data);
    CheckChunk(data, size, "effGetChunk");
    if (size <= 0) return;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    Saved.assign(bytes, bytes + size);
    SavedPreset = preset;
  }

  // A chunk of the host's choosing: any bytes, any length.
  void SetChunk() {
    std::vector<std::uint8_t> chunk = Input.Bytes(Input.Below(kMaxChunkBytes + 1));
    chunk.reserve(1);
    Effect.Dispatch(effSetChunk, Input.Flag() ? 1 : 0, static_cast<VstIntPtr>(chunk.size()),
                    chunk.data());
  }

  // A saved chunk loaded back must save as the same bytes.
  void RestoreChunk() {
    if (Saved.empty()) return;
    std::vector<std::uint8_t> chunk = Saved;
    const auto loaded = Effect.Dispatch(effSetChunk, SavedPreset,
                                        static_cast<VstIntPtr>(chunk.size()), chunk.data());
    if (loaded != static_cast<VstIntPtr>(chunk.size()))
      FuzzFailure("effSetChunk of a saved %zu-byte chunk answered %lld", chunk.size(),
                  static_cast<long long>(loaded));
    void* data = nullptr;
    const auto size = Effect.Dispatch(effGetChunk, SavedPreset, 0, &data);
    CheckChunk(data, size, "effGetChunk");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (size != static_cast<VstIntPtr>(chunk.size()) ||
        !std::equal(chunk.begin(), chunk.end(), bytes))
      FuzzFailure("a %zu-byte chunk loaded back saves as %lld other bytes", chunk.size(),
                  static_cast<long long>(size));
  }

  TEffect& Effect;
  TFuzzInput& Input;
  std::vector<std::uint8_t> Saved;
  VstInt32 SavedPreset = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Effect = &LoadPluginForFuzzing("QUILLO_FUZZ_PLUGIN", QUILLO_FUZZ_PLUGIN);
  ChunkPlugin = &LoadPluginForFuzzing("QUILLO_FUZZ_CHUNK_PLUGIN", QUILLO_FUZZ_CHUNK_PLUGIN);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput input(data, size);
  TLoadedPlugin& plugin = input.Flag() ? *ChunkPlugin : *Effect;
  auto effect = plugin.NewInstance();
  TStateSession(*effect, input).Play();
  return 0;
}
