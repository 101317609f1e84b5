#pragma once

#include <span>

#include "frame/FrameTypes.h"
#include "frame/ParameterProperties.h"
#include "frame/PropertyTable.h"

// How stored descriptions spell the frame's enumeration values.
std::span<const TEnumName<TVstPluginCategory>> PluginCategoryNames();
std::span<const TEnumName<TEffFlags>> EffFlagNames();
std::span<const TEnumName<TVstCanDo>> CanDoNames();
std::span<const TEnumName<TProcessingMode>> ProcessingModeNames();
std::span<const TEnumName<TCurveType>> CurveTypeNames();
std::span<const TEnumName<TParameterPropertiesFlags>> ParameterFlagNames();
