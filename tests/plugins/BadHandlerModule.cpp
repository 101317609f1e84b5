#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "tests/plugins/SmallTestModules.h"

namespace {

constexpr TPublishedMethod kMethods[] = {
    Published<&TBadHandlerModule::VSTModuleOpen>("VSTModuleOpen"),
};

const TStoredDescription& Description() {
  static const TStoredDescription description{"TBadHandlerModule",
                                              "BadHandlerModule",
                                              {
                                                  {"EffectName", "Bad handler"},
                                                  {"OnOpen", THandler{"VSTModuleOpen"}},
                                                  {"OnClose", THandler{"NoSuchMethod"}},
                                              }};
  return description;
}

const TDescriptionRegistration kRegistration{"TBadHandlerModule", &Description};

}  // namespace

const TModuleClass TBadHandlerModule::Class{"TBadHandlerModule", &TVSTModule::Class, kMethods};

void TBadHandlerModule::VSTModuleOpen(TObject*) {}

QUILLO_VST_PLUGIN(TBadHandlerModule)
