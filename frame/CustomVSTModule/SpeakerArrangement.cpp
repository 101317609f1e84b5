#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/CustomVSTModule.h"

namespace {

constexpr std::size_t kArrangementHeader = offsetof(VstSpeakerArrangement, speakers);

// Speaker i of an arrangement, which may hold more than the record's nominal
// eight speakers.
template <class TArrangement>
auto SpeakerAt(TArrangement* arrangement, VstInt32 i) {
  auto* first = &arrangement->speakers[0];
  return first + i;
}

}  // namespace

bool TCustomVSTModule::AllocateArrangement(VstSpeakerArrangement*& arrangement, VstInt32 channels) {
  DeallocateArrangement(arrangement);
  if (channels < 0) return false;
  const std::size_t size =
      kArrangementHeader + sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels);
  // Sized for the channels, not for the record's nominal eight speakers.
  void* memory = std::calloc(1, size);
  if (memory == nullptr) return false;
  arrangement = static_cast<VstSpeakerArrangement*>(memory);
  arrangement->numChannels = channels;
  return true;
}

bool TCustomVSTModule::DeallocateArrangement(VstSpeakerArrangement*& arrangement) {
  std::free(arrangement);
  arrangement = nullptr;
  return true;
}

bool TCustomVSTModule::CopySpeaker(VstSpeakerProperties* to, const VstSpeakerProperties* from) {
  if (to == nullptr || from == nullptr) return false;
  std::memcpy(to->name, from->name, sizeof(to->name));
  to->type = from->type;
  to->azimuth = from->azimuth;
  to->elevation = from->elevation;
  to->radius = from->radius;
  to->reserved = from->reserved;
  std::memcpy(to->future, from->future, sizeof(to->future));
  return true;
}

bool TCustomVSTModule::MatchArrangement(VstSpeakerArrangement*& to,
                                        const VstSpeakerArrangement* from) {
  if (from == nullptr) return false;
  if (!DeallocateArrangement(to) || !AllocateArrangement(to, from->numChannels)) return false;
  to->type = from->type;
  for (VstInt32 i = 0; i < from->numChannels; ++i)
    if (!CopySpeaker(SpeakerAt(to, i), SpeakerAt(from, i))) return false;
  return true;
}
