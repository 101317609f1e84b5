#include "tools/demo/DemoRender.h"

#include <algorithm>

#include "tools/demo/DemoSignal.h"
#include "tools/host/Host.h"
#include "tools/render/ProgramChoice.h"
#include "tools/render/RenderLoop.h"

namespace {

constexpr const char* kProductString = "Quillotron demo";

}  // namespace

std::vector<float> RenderProgram(const TPluginLibrary& library, VstInt32 program,
                                 const std::vector<float>& input) {
  THost host;
  host.ProductString = kProductString;
  host.SampleRate = kDemoSampleRate;
  host.BlockSize = static_cast<VstIntPtr>(kDemoBlockSize);
  auto effect = host.Instantiate(library);
  effect->Dispatch(effOpen);
  effect->Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kDemoSampleRate));
  effect->Dispatch(effSetBlockSize, 0, static_cast<VstIntPtr>(kDemoBlockSize));
  effect->Dispatch(effMainsChanged, 0, 1);
  SelectProgram(*effect, program);

  TRenderShape shape;
  shape.Channels = 1;
  shape.BlockSize = kDemoBlockSize;
  std::vector<float> output;
  output.reserve(input.size());
  std::size_t position = 0;
  TRenderIo<float> io;
  io.Read = [&](float* const* channels, std::size_t frames) {
    const std::size_t count = std::min(frames, input.size() - position);
    std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(position), count, channels[0]);
    position += count;
    return count;
  };
  io.Write = [&](const float* const* channels, std::size_t frames) {
    output.insert(output.end(), channels[0], channels[0] + frames);
  };
  RenderBlocks(*effect, ChooseProcessingSlot(*effect->Record(), false), shape, io);

  effect->Dispatch(effMainsChanged, 0, 0);
  effect->Close();
  return output;
}
