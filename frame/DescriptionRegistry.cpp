#include "frame/DescriptionRegistry.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Registrations happen during static initialisation of the plug-in binary,
// before any entry-point call; afterwards the table is only read.
std::vector<std::pair<std::string, TDescriptionSource>>& Registry() {
  static std::vector<std::pair<std::string, TDescriptionSource>> registry;
  return registry;
}

}  // namespace

TDescriptionRegistration::TDescriptionRegistration(std::string_view className,
                                                   TDescriptionSource source) {
  Registry().emplace_back(std::string(className), source);
}

const TStoredDescription* FindStoredDescription(std::string_view className) {
  for (const auto& [name, source] : Registry()) {
    if (name == className) return &source();
  }
  return nullptr;
}
