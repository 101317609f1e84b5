#include <stdexcept>

#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "tests/plugins/SmallTestModules.h"

// Built twice: with OLD_CREATE_ORDER 1 and 0.
namespace {

constexpr TPublishedMethod kMethods[] = {
    Published<&TCreateFailModule::VSTModuleCreate>("VSTModuleCreate"),
};

const TStoredDescription& Description() {
  static const TStoredDescription description{"TCreateFailModule",
                                              "CreateFailModule",
                                              {
                                                  {"EffectName", "Create fails"},
                                                  {"OldCreateOrder", OLD_CREATE_ORDER != 0},
                                                  {"OnCreate", THandler{"VSTModuleCreate"}},
                                              }};
  return description;
}

const TDescriptionRegistration kRegistration{"TCreateFailModule", &Description};

}  // namespace

const TModuleClass TCreateFailModule::Class{"TCreateFailModule", &TVSTModule::Class, kMethods};

void TCreateFailModule::VSTModuleCreate(TObject*) {
  throw std::runtime_error("create failed");
}

QUILLO_VST_PLUGIN(TCreateFailModule)
