#pragma once

#include <string>

#include "frame/DVSTEffect.h"
#include "tools/host/GuardedTextBuffer.h"

// Plug-in values as the info report words them.

// A four-character code as 'ABCD', unprintable bytes escaped.
std::string FourCharText(VstInt32 code);
std::string HexText(VstInt32 value);
// "Effect", "Synth", ...; "unknown category" outside the published range.
std::string CategoryName(VstIntPtr category);
// The set flag bits by name, separated by spaces; unnamed bits as hex.
std::string FlagNames(VstInt32 flags);
// "yes", "no", "don't know" or the raw number.
std::string CanDoAnswerText(VstIntPtr answer);
// The text in quotes, control bytes escaped, followed by a warning when the
// plug-in wrote past its buffer or left the text unterminated.
std::string ReplyText(const TTextReply& reply);
