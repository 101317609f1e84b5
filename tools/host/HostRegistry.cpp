#include "tools/host/HostRegistry.h"

#include <mutex>
#include <unordered_map>

namespace {

std::mutex RegistryLock;
std::unordered_map<AEffect*, THost*>& Registry() {
  static std::unordered_map<AEffect*, THost*> registry;
  return registry;
}

thread_local THost* InstantiatingHost = nullptr;

}  // namespace

void RegisterEffect(AEffect* effect, THost* host) {
  const std::lock_guard lock(RegistryLock);
  Registry()[effect] = host;
}

void UnregisterEffect(AEffect* effect, const THost* host) {
  const std::lock_guard lock(RegistryLock);
  const auto found = Registry().find(effect);
  if (found != Registry().end() && found->second == host) Registry().erase(found);
}

void UnregisterHost(const THost* host) {
  const std::lock_guard lock(RegistryLock);
  std::erase_if(Registry(), [host](const auto& entry) { return entry.second == host; });
}

THost* FindHost(AEffect* effect) {
  if (effect != nullptr) {
    const std::lock_guard lock(RegistryLock);
    const auto found = Registry().find(effect);
    if (found != Registry().end()) return found->second;
  }
  return InstantiatingHost;
}

TInstantiatingScope::TInstantiatingScope(THost* host) : Outer(InstantiatingHost) {
  InstantiatingHost = host;
}

TInstantiatingScope::~TInstantiatingScope() {
  InstantiatingHost = Outer;
}
