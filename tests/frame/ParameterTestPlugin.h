#pragma once

#include "frame/DVSTEffect.h"

// The parameters of test_parameter_plugin, by what each is there to show.
// Program p holds -p for every parameter.
namespace parameter_plugin {

inline constexpr VstInt32 kLogged = 0;           // -140..1 dB; its handler logs "Item:i=v"
inline constexpr VstInt32 kReentrant = 1;        // -140..1 dB; its handler re-enters when armed
inline constexpr VstInt32 kThrowing = 2;         // -140..1 dB; its handler throws when armed
inline constexpr VstInt32 kBlocking = 3;         // -140..1 dB; its handler waits when armed
inline constexpr VstInt32 kPlain = 4;            // -140..1 dB; the re-entrant handler changes it
inline constexpr VstInt32 kLimited = 5;          // -140..1 dB; its handler limits values to 0
inline constexpr VstInt32 kReportingSwitch = 6;  // reports properties, flags 67
inline constexpr VstInt32 kSilentSwitch = 7;     // ppfIsSwitch, reports nothing
inline constexpr VstInt32 kCustomSwitch = 8;     // own display "On"/"Off", overlong label
inline constexpr VstInt32 kManualSwitch = 9;     // CanBeAutomated false
inline constexpr VstInt32 kLogarithmic = 10;     // 0..100, factor 9
inline constexpr VstInt32 kExponential = 11;     // 0..1, factor 1
inline constexpr VstInt32 kFrequency = 12;       // 20..20000 Hz
inline constexpr VstInt32 kSmoothed = 13;        // -200..0, SmoothingFactor 0.5
inline constexpr VstInt32 kEmptyRange = 14;      // Min = Max = 5
inline constexpr VstInt32 kLongTexts = 15;       // name, units, short label too long
inline constexpr VstInt32 kCount = 16;

}  // namespace parameter_plugin
