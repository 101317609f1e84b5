#include "tests/frame/PluginFixture.h"

#include <array>
#include <sstream>

TPluginFixture::TPluginFixture(const std::string& name) : Library(TestPluginPath(name)) {
  Host.SetHook(audioMasterVendorSpecific, [this](const THostCall& call) -> VstIntPtr {
    if (call.Index == kTrace && call.Ptr != nullptr)
      Traces.emplace_back(static_cast<const char*>(call.Ptr));
    return 0;
  });
}

TPluginFixture::~TPluginFixture() = default;

std::vector<std::string> TPluginFixture::Events(TEffect& effect, bool withDispatch) {
  std::array<char, 8192> buffer{};
  effect.Dispatch(effVendorSpecific, kReadLog, static_cast<VstIntPtr>(buffer.size()),
                  buffer.data());
  std::vector<std::string> events;
  std::stringstream stream(buffer.data());
  for (std::string entry; std::getline(stream, entry, '|');) {
    if (!withDispatch && entry.rfind("Dispatch:", 0) == 0) continue;
    events.push_back(entry);
  }
  return events;
}

void TPluginFixture::ClearEvents(TEffect& effect) {
  effect.Dispatch(effVendorSpecific, kClearLog);
  Traces.clear();
}
