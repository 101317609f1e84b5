#pragma once

#include <string>
#include <vector>

#include "frame/DVSTEffect.h"
#include "tools/host/Effect.h"

// Parameters as a user names them, with values in the parameter's own units
// ("Harm 3=-12" for -12 dB), converted by the plug-in itself.

// The names of all parameters in index order, spaces around them trimmed.
std::vector<std::string> ParameterNames(TEffect& effect);

// The index of the only parameter called name. Throws std::runtime_error for
// an unknown name (listing the parameters) or a name several share.
VstInt32 FindParameter(const std::vector<std::string>& names, const std::string& name);

// Hands text to the plug-in through effString2Parameter and throws
// std::runtime_error when the plug-in refuses it. Answers whether the value
// the plug-in took lies within the parameter's range (normalised 0..1): a
// plug-in may accept values beyond it.
bool SetParameterText(TEffect& effect, VstInt32 index, const std::string& name,
                      const std::string& text);

// What the plug-in shows for the parameter: its display text and label,
// e.g. "-12 dB".
std::string ParameterShown(TEffect& effect, VstInt32 index);

// Splits "NAME=VALUE" at its first '=', trimming spaces around both parts.
// Throws std::invalid_argument when there is no '=' or no name.
std::pair<std::string, std::string> SplitSetting(const std::string& setting);
