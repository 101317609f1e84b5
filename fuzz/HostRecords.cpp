#include "fuzz/HostRecords.h"

#include <cstring>

#include "fuzz/FuzzCheck.h"

namespace {

// One event in this many is of another type than MIDI.
constexpr std::uint8_t kOtherEventOdds = 8;

bool Terminated(const char* field, std::size_t size) {
  return std::memchr(field, 0, size) != nullptr;
}

}  // namespace

THostInputText::THostInputText(const std::string& text) : Bytes(text.begin(), text.end()) {
  Bytes.push_back('\0');
}

THostEvents::THostEvents(TFuzzInput& input) : Events(input.Below(kMaxEvents + 1)) {
  for (VstEvent& event : Events) {
    event = FuzzedRecord<VstEvent>(input);
    const std::vector<std::uint8_t> data = input.Bytes(sizeof(event.data));
    if (!data.empty()) std::memcpy(event.data, data.data(), data.size());
    event.type = input.Byte() % kOtherEventOdds == 0 ? input.Int32() : kVstMidiType;
    event.byteSize = sizeof(VstEvent);
    event.deltaFrames = static_cast<VstInt32>(input.Uint16());
  }
  // The list is a header followed by one pointer per event; the declared
  // record has room for two, longer lists extend it.
  const std::size_t pointers = Events.size() > 2 ? Events.size() : 2;
  const std::size_t bytes = offsetof(VstEvents, events) + pointers * sizeof(VstEvent*);
  Storage = std::make_unique<std::uint8_t[]>(bytes);
  VstEvents* list = List();
  list->numEvents = static_cast<VstInt32>(Events.size());
  list->reserved = 0;
  VstEvent** slots = reinterpret_cast<VstEvent**>(Storage.get() + offsetof(VstEvents, events));
  for (std::size_t i = 0; i < pointers; ++i)
    slots[i] = i < Events.size() ? &Events[i] : nullptr;
}

VstSpeakerArrangement FuzzedSpeakerArrangement(TFuzzInput& input) {
  auto arrangement = FuzzedRecord<VstSpeakerArrangement>(input);
  arrangement.type = input.Int32();
  arrangement.numChannels = static_cast<VstInt32>(input.Below(std::size(arrangement.speakers) + 1));
  return arrangement;
}

VstPatchChunkInfo FuzzedPatchChunkInfo(TFuzzInput& input, VstInt32 uniqueId) {
  auto info = FuzzedRecord<VstPatchChunkInfo>(input);
  info.version = input.Int32();
  info.pluginUniqueID = input.Flag() ? uniqueId : input.Int32();
  info.pluginVersion = input.Int32();
  info.numElements = input.Int32();
  return info;
}

void CheckPinProperties(const VstPinProperties& properties, const char* query) {
  if (!Terminated(properties.label, sizeof(properties.label)))
    FuzzFailure("%s: label without a terminating zero in its %zu bytes", query,
                sizeof(properties.label));
  if (!Terminated(properties.shortLabel, sizeof(properties.shortLabel)))
    FuzzFailure("%s: short label without a terminating zero in its %zu bytes", query,
                sizeof(properties.shortLabel));
}

void CheckParameterProperties(const VstParameterProperties& properties) {
  constexpr const char* kQuery = "effGetParameterProperties";
  if (!Terminated(properties.label, sizeof(properties.label)))
    FuzzFailure("%s: label without a terminating zero", kQuery);
  if (!Terminated(properties.shortLabel, sizeof(properties.shortLabel)))
    FuzzFailure("%s: short label without a terminating zero", kQuery);
  if ((properties.flags & kVstParameterSupportsDisplayCategory) != 0 &&
      !Terminated(properties.categoryLabel, sizeof(properties.categoryLabel)))
    FuzzFailure("%s: category label without a terminating zero", kQuery);
}

void CheckChunk(const void* data, VstIntPtr size, const char* query) {
  if (size < 0) FuzzFailure("%s: negative chunk size %lld", query, static_cast<long long>(size));
  if (size == 0) return;
  if (data == nullptr)
    FuzzFailure("%s: %lld bytes at a null pointer", query, static_cast<long long>(size));
  // Every byte is read, so a block shorter than announced is a sanitizer
  // report here rather than in the host's project file.
  const auto* bytes = static_cast<const volatile std::uint8_t*>(data);
  std::uint8_t sum = 0;
  for (VstIntPtr i = 0; i < size; ++i)
    sum = static_cast<std::uint8_t>(sum + bytes[i]);
  (void)sum;
}
