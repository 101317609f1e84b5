#include "frame/EntryPoint.h"
#include "tests/plugins/SmallTestModules.h"

const TModuleClass TNoDescriptionModule::Class{"TNoDescriptionModule", &TVSTModule::Class, {}};

QUILLO_VST_PLUGIN(TNoDescriptionModule)
