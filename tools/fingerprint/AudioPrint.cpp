#include "tools/fingerprint/AudioPrint.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "tools/fingerprint/PrintFormat.h"
#include "tools/fingerprint/TestSignal.h"
#include "tools/host/ChannelBuffers.h"
#include "tools/host/Host.h"

namespace {

constexpr int kChannels = 2;
constexpr int kFrames = 4096;
// Not a power of two, so that the block path's internal pieces end inside
// host blocks as well as with them.
constexpr int kBlockSize = 300;
constexpr float kSampleRates[] = {44100.0f, 96000.0f};
// Phases inverted, a mix with a cut fundamental, all eight harmonics, the
// loud 0 dB harmonics, and a new program.
constexpr int kPrograms[] = {1, 3, 6, 8, 12};

template <class Sample>
void WriteCase(std::ostream& out, const TPluginLibrary& library, const TTestSignal& signal,
               const std::string& name, float sampleRate, int program) {
  THost host;
  host.SampleRate = static_cast<VstIntPtr>(sampleRate);
  host.BlockSize = kBlockSize;
  auto effect = host.Instantiate(library);
  effect->Dispatch(effOpen);
  effect->Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  effect->Dispatch(effSetBlockSize, 0, kBlockSize);
  effect->Dispatch(effSetProgram, 0, program);
  effect->Dispatch(effMainsChanged, 0, 1);
  TChannelBuffers<Sample> inputs(kChannels, kBlockSize);
  TChannelBuffers<Sample> outputs(kChannels, kBlockSize);
  for (int start = 0; start < kFrames; start += kBlockSize) {
    const int frames = std::min(kBlockSize, kFrames - start);
    for (int n = 0; n < frames; ++n) {
      const auto source = static_cast<std::size_t>(start + n);
      inputs[0][static_cast<std::size_t>(n)] = static_cast<Sample>(signal.Left[source]);
      inputs[1][static_cast<std::size_t>(n)] = static_cast<Sample>(signal.Right[source]);
    }
    if constexpr (sizeof(Sample) == sizeof(float))
      effect->ProcessReplacing(inputs.Data(), outputs.Data(), frames);
    else
      effect->ProcessDoubleReplacing(inputs.Data(), outputs.Data(), frames);
    for (int n = 0; n < frames; ++n) {
      const auto index = static_cast<std::size_t>(n);
      (TPrintLine(name + "/" + std::to_string(start + n)) << outputs[0][index] << outputs[1][index])
          .WriteTo(out);
    }
  }
  effect->Dispatch(effMainsChanged, 0, 0);
  effect->Close();
}

}  // namespace

void WriteAudioPrint(std::ostream& out, const TPluginLibrary& library) {
  const TTestSignal signal = MakeTestSignal(kFrames);
  for (const char* precision : {"audio-float", "audio-double"}) {
    const bool single = precision == std::string("audio-float");
    for (float rate : kSampleRates) {
      for (int program : kPrograms) {
        const std::string name = std::string(precision) + "/" +
                                 std::to_string(static_cast<int>(rate)) + "/program-" +
                                 std::to_string(program);
        if (single)
          WriteCase<float>(out, library, signal, name, rate, program);
        else
          WriteCase<double>(out, library, signal, name, rate, program);
      }
    }
  }
}
