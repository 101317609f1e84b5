// Fuzzes the dispatcher of the effect plug-in: every input is a sequence of
// dispatcher calls on a fresh instance (see DispatcherCall.h).

#include <cstddef>
#include <cstdint>

#include "fuzz/DispatcherCall.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/LoadedPlugin.h"

namespace {

TLoadedPlugin* Plugin = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Plugin = &LoadPluginForFuzzing("QUILLO_FUZZ_PLUGIN", QUILLO_FUZZ_PLUGIN);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput input(data, size);
  auto effect = Plugin->NewInstance();
  while (!input.Empty() && FuzzDispatcherCall(*effect, input)) {
  }
  return 0;
}
