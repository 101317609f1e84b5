#pragma once

#include "frame/DVSTEffect.h"

// What the raw test plug-in reports, and the vendor-specific queries
// (effVendorSpecific, by index) through which the tests see what it learned
// from its host or make it call the host.

inline constexpr VstInt32 kRawUniqueId = FourCharCode('R', 'a', 'W', 'P');
inline constexpr VstInt32 kRawVersion = 0x00010203;
inline constexpr VstInt32 kRawInitialDelay = 7;
inline constexpr VstInt32 kRawNumParams = 2;
inline constexpr VstInt32 kRawNumPrograms = 2;
inline constexpr VstInt32 kRawNumChannels = 2;
inline constexpr const char* kRawEffectName = "Raw Test Plugin";
inline constexpr const char* kRawVendor = "Quillotron Tests";
inline constexpr const char* kRawProduct = "Raw Product";
// Parameter 0 is the gain applied by every processing slot.
inline constexpr VstInt32 kRawGainParameter = 0;
// Parameter 1's label is longer than the 8-byte label buffer, on purpose.
inline constexpr const char* kRawOverlongLabel = "percentage";
// The can-do query the plug-in sends from its entry point.
inline constexpr const char* kRawEntryCanDo = "sendVstEvents";
// Bytes of the unterminated can-do query sent on kRawSendUnterminatedCanDo.
inline constexpr int kRawUnterminatedCanDoSize = 100;
// The plug-in's buffer for the host's product string.
inline constexpr int kRawHostProductBufferSize = 65;

enum : VstInt32 {
  // Copies the host product string it got at the entry point into ptr, which
  // holds kRawHostProductBufferSize bytes.
  kRawQueryHostProduct = 1,
  // Answers the sample rate and block size asked from the host on effOpen.
  kRawQuerySampleRate,
  kRawQueryBlockSize,
  // Answers the host's reply to the can-do query of the entry point.
  kRawQueryEntryCanDo,
  // Sends audioMasterCanDo with a text of kRawUnterminatedCanDoSize bytes
  // without a terminating zero; answers the host's reply.
  kRawSendUnterminatedCanDo,
  // Reports parameter `value` set to `opt` with audioMasterAutomate, as an
  // editor would.
  kRawSendAutomate,
};
