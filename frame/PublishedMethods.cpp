#include "frame/PublishedMethods.h"

#include <stdexcept>
#include <string>

void BindPublishedMethod(TCustomVSTModule& module, const TModuleClass& moduleClass,
                         std::string_view name, const std::type_info& eventType, void* event) {
  for (const TModuleClass* level = &moduleClass; level != nullptr; level = level->Parent) {
    for (const TPublishedMethod& method : level->Methods) {
      if (method.Name != name) continue;
      if (*method.EventType != eventType)
        throw std::runtime_error("Method " + std::string(name) + " does not fit the event");
      method.Bind(module, event);
      return;
    }
  }
  throw std::runtime_error("Method " + std::string(name) + " not found in " +
                           std::string(moduleClass.Name));
}
