#include "effect/QuillotronModule.h"
#include "frame/EntryPoint.h"

QUILLO_VST_PLUGIN(TQuillotronVSTModule)
