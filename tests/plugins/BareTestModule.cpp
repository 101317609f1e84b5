#include "frame/DescriptionRegistry.h"
#include "frame/EntryPoint.h"
#include "tests/plugins/SmallTestModules.h"

const TModuleClass TBareTestModule::Class{"TBareTestModule", &TVSTModule::Class, {}};

namespace {

const TStoredDescription& Description() {
  static const TStoredDescription description{
      "TBareTestModule",
      "BareTestModule",
      {
          // 34 bytes: "ü" and "é" are two bytes each in UTF-8.
          {"EffectName", "Bare test plug-in with ü and é!!"},
          {"VendorName", std::string(40, 'v') + "äöü" + std::string(30, 'w')},
          {"UniqueID", "AB"},
      }};
  return description;
}

const TDescriptionRegistration kRegistration{"TBareTestModule", &Description};

}  // namespace

QUILLO_VST_PLUGIN(TBareTestModule)
