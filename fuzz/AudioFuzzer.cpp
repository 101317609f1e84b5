// Fuzzes processing: all three slots with block sizes from 0 to 8192 (more
// than the host announced), input from silence to NaN, infinities,
// subnormals and huge values, in place or not, interleaved with parameter and
// program changes, suspend and resume, and sample-rate and block-size
// changes.
//
// What must hold besides no crash, no sanitizer report and no hang: finite
// input of a sane level gives finite output, in both precisions, also in the
// call right after one with NaN or infinite input (the effect starts its
// filters afresh then). Huge input and parameter values outside 0..1 are not
// limited by the effect and may overflow for a while; once a session had
// them, only the absence of crashes and hangs is checked.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "fuzz/AudioSignal.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/LoadedPlugin.h"

namespace {

constexpr std::size_t kChannels = 2;
constexpr std::size_t kMaxFrames = 8192;
// Block sizes are drawn up to one of these limits, or from kCommonFrames.
constexpr std::array<std::size_t, 3> kFrameLimits = {64, 1024, kMaxFrames};
// Block sizes hosts use; the others are drawn from a range.
constexpr std::array<std::size_t, 8> kCommonFrames = {0, 1, 7, 64, 512, 1024, 4096, kMaxFrames};
constexpr std::array<float, 7> kSampleRates = {0.0f,     22050.0f,  44100.0f, 48000.0f,
                                               96000.0f, 192000.0f, 8000.0f};
// One parameter change in this many sends any float instead of 0..1.
constexpr std::uint8_t kUnlimitedValueOdds = 4;
// Accumulating outputs start with this, what another plug-in left there.
constexpr float kAccumulatedLevel = 0.25f;
constexpr float kUint16Max = 65535.0f;

TLoadedPlugin* Plugin = nullptr;

enum TSlot : std::uint8_t { kAccumulating, kReplacing, kDoubleReplacing, kSlots };
constexpr std::array<const char*, kSlots> kSlotNames = {"process", "processReplacing",
                                                        "processDoubleReplacing"};

enum TAction : std::uint8_t {
  kProcess,
  kProcessAgain,
  kSetParameter,
  kSelectProgram,
  kSuspendOrResume,
  kSetSampleRate,
  kSetBlockSize,
  kSetBlockSizeAndSampleRate,
  kStartOrStop,
  kActions
};

class TAudioSession {
 public:
  TAudioSession(TEffect& effect, TFuzzInput& input) : Effect(effect), Input(input) {}

  void Play() {
    while (!Input.Empty()) {
      switch (Input.Byte() % kActions) {
        case kProcess:
        case kProcessAgain:
          Process();
          break;
        case kSetParameter:
          SetParameter();
          break;
        case kSelectProgram:
          Effect.Dispatch(effSetProgram, 0, Index(Effect.Record()->numPrograms));
          break;
        case kSuspendOrResume:
          Effect.Dispatch(effMainsChanged, 0, Input.Flag() ? 1 : 0);
          break;
        case kSetSampleRate:
          Effect.Dispatch(effSetSampleRate, 0, 0, nullptr, SampleRate());
          break;
        case kSetBlockSize:
          Effect.Dispatch(effSetBlockSize, 0, BlockSize());
          break;
        case kSetBlockSizeAndSampleRate:
          Effect.Dispatch(effSetBlockSizeAndSampleRate, 0, BlockSize(), nullptr, SampleRate());
          break;
        default:
          Effect.Dispatch(Input.Flag() ? effStartProcess : effStopProcess);
          break;
      }
    }
  }

 private:
  VstInt32 Index(VstInt32 count) {
    return static_cast<VstInt32>(Input.Below(static_cast<std::size_t>(count) + 2)) - 1;
  }

  float SampleRate() {
    return Input.Flag() ? kSampleRates[Input.Below(kSampleRates.size())] : Input.Float();
  }

  VstIntPtr BlockSize() {
    return Input.Flag() ? static_cast<VstIntPtr>(Input.Below(kMaxFrames + 1)) : Input.IntPtr();
  }

  std::size_t Frames() {
    const std::size_t choice = Input.Below(kFrameLimits.size() + 1);
    if (choice == kFrameLimits.size()) return kCommonFrames[Input.Below(kCommonFrames.size())];
    return Input.Below(kFrameLimits[choice] + 1);
  }

  // Mostly a value in 0..1 as hosts send; sometimes any float, which the
  // effect takes unlimited.
  void SetParameter() {
    const VstInt32 parameter = Index(Effect.Record()->numParams);
    float value = static_cast<float>(Input.Uint16()) / kUint16Max;
    if (Input.Byte() % kUnlimitedValueOdds == 0) {
      value = Input.Float();
      if (!(value >= 0.0f && value <= 1.0f)) Untamed = true;
    }
    Effect.SetParameter(parameter, value);
  }

  void Process() {
    const auto slot = static_cast<TSlot>(Input.Byte() % kSlots);
    const std::size_t frames = Frames();
    const bool inPlace = slot != kAccumulating && Input.Flag();
    if (slot == kDoubleReplacing)
      ProcessBlock<double>(slot, frames, inPlace);
    else
      ProcessBlock<float>(slot, frames, inPlace);
  }

  template <class Sample>
  void ProcessBlock(TSlot slot, std::size_t frames, bool inPlace) {
    TAudioBlock<Sample> in(kChannels, frames);
    TAudioBlock<Sample> out(kChannels, frames);
    in.FillFrom(Input);
    // Replacing outputs start as NaN, so a sample left unwritten shows.
    out.Fill(slot == kAccumulating ? Sample(kAccumulatedLevel)
                                   : std::numeric_limits<Sample>::quiet_NaN());
    const bool tame = in.AllTame();
    if (in.AnyHuge()) Untamed = true;
    TAudioBlock<Sample>& result = inPlace ? in : out;
    Run(slot, in.Channels(), result.Channels(), static_cast<VstInt32>(frames));
    if (tame && !Untamed && !result.AllFinite())
      FuzzFailure("%s of %zu frames%s: finite input gave non-finite output", kSlotNames[slot],
                  frames, inPlace ? " in place" : "");
  }

  void Run(TSlot slot, float** in, float** out, VstInt32 frames) {
    if (slot == kAccumulating)
      Effect.Process(in, out, frames);
    else
      Effect.ProcessReplacing(in, out, frames);
  }
  void Run(TSlot, double** in, double** out, VstInt32 frames) {
    Effect.ProcessDoubleReplacing(in, out, frames);
  }

  TEffect& Effect;
  TFuzzInput& Input;
  // Set once the session had huge input or a parameter outside 0..1.
  bool Untamed = false;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Plugin = &LoadPluginForFuzzing("QUILLO_FUZZ_PLUGIN", QUILLO_FUZZ_PLUGIN);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput input(data, size);
  auto effect = Plugin->NewInstance();
  TAudioSession(*effect, input).Play();
  return 0;
}
