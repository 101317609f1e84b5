#pragma once

#include "frame/DVSTEffect.h"

// How the frame tests talk to their test plug-ins beyond the protocol itself.
//
// A test module reports what its handlers saw in two ways: it keeps a log the
// test reads back with effVendorSpecific (index kReadLog, value = buffer size,
// ptr = buffer; entries separated by '|'), and, once connected, it also sends
// each entry to the host with audioMasterVendorSpecific (index kTrace, ptr =
// the entry as a NUL-terminated text), which reaches the test even while the
// module is being destroyed.
inline constexpr VstInt32 kReadLog = FourCharCode('L', 'o', 'g', '?');
inline constexpr VstInt32 kClearLog = FourCharCode('L', 'o', 'g', '0');
inline constexpr VstInt32 kTrace = FourCharCode('T', 'r', 'c', 'e');
// effVendorSpecific index that sets the level the module's OnGetVU reports
// (opt = the level).
inline constexpr VstInt32 kSetVu = FourCharCode('V', 'u', '=', ' ');
// effVendorSpecific index that sets the module's InitialDelay (value).
inline constexpr VstInt32 kSetDelay = FourCharCode('D', 'l', 'y', '=');
// effVendorSpecific index that queues value MIDI output events for the next
// processing call.
inline constexpr VstInt32 kQueueEvents = FourCharCode('Q', 'E', 'v', 't');
// effVendorSpecific index that asks the host's sample rate (audioMasterGetSampleRate)
// and answers it in whole samples per second.
inline constexpr VstInt32 kAskSampleRate = FourCharCode('A', 's', 'k', 'R');
// effVendorSpecific index that makes the next handler call throw.
inline constexpr VstInt32 kThrowNext = FourCharCode('T', 'h', 'r', 'w');
// effVendorSpecific index that declares the editor's size (value = width,
// opt = height).
inline constexpr VstInt32 kSetEditorSize = FourCharCode('E', 'd', 'S', '=');
// effVendorSpecific index after which the next editor form finds no window
// to embed in.
inline constexpr VstInt32 kFailNextWindow = FourCharCode('N', 'o', 'W', 'n');

// effVendorSpecific indexes understood by the parameter test module.
// Value 1 arms its re-entrant change handler, 0 disarms it.
inline constexpr VstInt32 kArmReentry = FourCharCode('R', 'e', 'n', 't');
// Makes the next call of its blocking change handler wait until kRelease;
// kBlocked answers 1 while the handler waits.
inline constexpr VstInt32 kArmBlocking = FourCharCode('B', 'l', 'k', '!');
inline constexpr VstInt32 kBlocked = FourCharCode('B', 'l', 'k', '?');
inline constexpr VstInt32 kRelease = FourCharCode('B', 'l', 'k', '0');
// Value 0 stops the module's log, 1 resumes it (for tests that change
// parameters from several threads).
inline constexpr VstInt32 kSetLogging = FourCharCode('L', 'o', 'g', '=');
// Copies the current program's whole name into ptr (value = buffer size).
inline constexpr VstInt32 kReadProgramName = FourCharCode('P', 'r', 'g', '?');

// effVendorSpecific indexes understood by the processing-mode test module;
// each sets a property from value and answers the property afterwards.
inline constexpr VstInt32 kSetMode = FourCharCode('M', 'o', 'd', '=');
inline constexpr VstInt32 kSetBlockSize = FourCharCode('B', 'S', 'z', '=');
inline constexpr VstInt32 kSetOverlap = FourCharCode('O', 'v', 'l', '=');
inline constexpr VstInt32 kSetOutputs = FourCharCode('O', 'u', 't', '=');
