#pragma once

#include <span>
#include <string>

#include "frame/FrameTypes.h"
#include "frame/ParameterProperties.h"
#include "frame/PropertyTable.h"

// How stored descriptions spell the frame's enumeration values.
std::span<const TEnumName<TVstPluginCategory>> PluginCategoryNames();
std::span<const TEnumName<TEffFlags>> EffFlagNames();
// Capabilities are spelled as their host query texts; those that start with
// a digit take a leading underscore ("_2in2out").
TVstCanDo CanDoByName(const std::string& name);
std::span<const TEnumName<TProcessingMode>> ProcessingModeNames();
std::span<const TEnumName<TCurveType>> CurveTypeNames();
std::span<const TEnumName<TParameterPropertiesFlags>> ParameterFlagNames();
