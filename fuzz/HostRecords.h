#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame/DVSTEffect.h"
#include "fuzz/FuzzInput.h"

// The records a host hands through the dispatcher's ptr and value, made as a
// host makes them: valid and full-size, with fuzzed contents. Checks of what
// the plug-in wrote back sit beside them.

// A record filled with one fuzzed byte value, so its texts lack a zero
// unless the plug-in writes one.
template <class Record>
Record FuzzedRecord(TFuzzInput& input) {
  Record record;
  std::memset(&record, input.Byte(), sizeof(record));
  return record;
}

// A text handed to the plug-in, in storage of exactly its length plus the
// terminating zero, so a read past the zero is a sanitizer report.
class THostInputText {
 public:
  explicit THostInputText(const std::string& text);
  char* Data() { return Bytes.data(); }

 private:
  std::vector<char> Bytes;
};

// An event list of up to kMaxEvents events with fuzzed contents; most are
// MIDI events, each of its full 32 bytes.
class THostEvents {
 public:
  static constexpr std::size_t kMaxEvents = 8;

  explicit THostEvents(TFuzzInput& input);
  VstEvents* List() { return reinterpret_cast<VstEvents*>(Storage.get()); }

 private:
  std::vector<VstEvent> Events;
  std::unique_ptr<std::uint8_t[]> Storage;
};

// A speaker arrangement with room for all of its speakers; the channel count
// never exceeds the room.
VstSpeakerArrangement FuzzedSpeakerArrangement(TFuzzInput& input);

// A chunk description naming this plug-in's identifier or, sometimes,
// another one.
VstPatchChunkInfo FuzzedPatchChunkInfo(TFuzzInput& input, VstInt32 uniqueId);

// The texts of a pin or parameter record the plug-in answered 1 for must be
// terminated within their fields.
void CheckPinProperties(const VstPinProperties& properties, const char* query);
void CheckParameterProperties(const VstParameterProperties& properties);
// A chunk the plug-in handed out: a readable block of size bytes.
void CheckChunk(const void* data, VstIntPtr size, const char* query);
