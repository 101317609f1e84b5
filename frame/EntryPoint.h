#pragma once

#include <memory>

#include "frame/CustomVSTModule.h"
#include "frame/DVSTEffect.h"

// Creates one instance of a module class for a host: builds the module from
// its stored descriptions, connects it to the host and hands out its record.
// Any failure destroys what was built and answers null.
template <class TModule>
AEffect* CreateVSTEffect(audioMasterCallback audioMaster) noexcept {
  if (audioMaster == nullptr) return nullptr;
  try {
    auto module = std::make_unique<TModule>();
    module->Construct(TModule::Class);
    module->Effect()->user = static_cast<TCustomVSTModule*>(module.get());
    module->SetHostCallback(audioMaster);
    return module.release()->Effect();
  } catch (...) {
    return nullptr;
  }
}

// Defines a plug-in binary's entry point for a module class, exported as
// VSTPluginMain and, for older hosts, as main. On Windows the module's .def
// file exports both names; elsewhere main is an alias of the same function.
#if defined(_WIN32)
#define QUILLO_VST_PLUGIN(ModuleClass)                                             \
  extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) { \
    return CreateVSTEffect<ModuleClass>(audioMaster);                              \
  }
#else
#define QUILLO_VST_EXPORT extern "C" __attribute__((visibility("default")))
#define QUILLO_VST_PLUGIN(ModuleClass)                                                           \
  QUILLO_VST_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {        \
    return CreateVSTEffect<ModuleClass>(audioMaster);                                            \
  }                                                                                              \
  QUILLO_VST_EXPORT AEffect* VSTCALLBACK QuilloVstMainAlias(audioMasterCallback) __asm__("main") \
      __attribute__((alias("VSTPluginMain")));
#endif
