#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "dsp/DDSPBase.h"
#include "frame/DVSTEffect.h"
#include "frame/PublishedMethods.h"

class TObject;
class TEditorForm;

// The record flags as a set: each element is its flag bit.
using TEffFlags = VstInt32;
inline constexpr TEffFlags kKnownEffFlags =
    effFlagsHasEditor | effFlagsHasClip | effFlagsHasVu | effFlagsCanMono | effFlagsCanReplacing |
    effFlagsProgramChunks | effFlagsIsSynth | effFlagsNoSoundInStop | effFlagsExtIsAsync |
    effFlagsExtHasBuffer | effFlagsCanDoubleReplacing;

// The claimed capabilities as a set: bit n is TVstCanDo n.
using TVstCanDos = std::uint32_t;
constexpr TVstCanDos CanDoBit(TVstCanDo canDo) {
  return TVstCanDos{1} << canDo;
}

enum TProcessingMode : VstInt32 { pmNormal, pmBlockSave, pmCopy, pmMute };

// Pin flags as a set: each element is its pin-properties flag bit.
using TChannelPropertyFlags = VstInt32;
inline constexpr TChannelPropertyFlags cpfIsActive = kVstPinIsActive;
inline constexpr TChannelPropertyFlags cpfIsStereo = kVstPinIsStereo;
inline constexpr TChannelPropertyFlags cpfUseSpeaker = kVstPinUseSpeaker;

using TVstSpeakerArrangementType = VstInt32;
inline constexpr TVstSpeakerArrangementType kSpeakerArrStereo = 1;

// The block of events the plug-in sends the host after a processing call;
// laid out as the host's event list, with room for 2048 events.
inline constexpr int kMaxOutputEvents = 2048;
inline constexpr int kPreallocatedMidiEvents = 256;
struct TOutputEvents {
  VstInt32 numEvents = 0;
  VstIntPtr reserved = 0;
  std::array<VstEvent*, kMaxOutputEvents> events{};
};
static_assert(offsetof(TOutputEvents, events) == offsetof(VstEvents, events));

// Event signatures. Sender is the module unless stated otherwise.
using TNotifyEvent = TEvent<void(TObject* Sender)>;
using TDispatcherEvent = TEvent<void(TObject* Sender, VstInt32 opCode)>;
// The handler creates the editor form and hands it over through GUI.
using TEditOpenEvent = TEvent<void(TObject* Sender, std::unique_ptr<TEditorForm>& GUI)>;
using TVstKeyEvent = TEvent<void(TObject* Sender, VstKeyCode& keyCode)>;
using TKnobModeEvent = TEvent<void(TObject* Sender, VstInt32 val)>;
using TParameterChangeEvent = TEvent<void(TObject* Sender, VstInt32 Index, float& Value)>;
using TGetChunkParameterEvent = TEvent<float(TObject* Sender, VstInt32 Index)>;
using TPatchChunkInfoEvent = TEvent<void(TObject* Sender, VstPatchChunkInfo& PatchChunkInfo)>;
using TSampleRateChangeEvent = TEvent<void(TObject* Sender, float SampleRate)>;
using TBlockSizeChangeEvent = TEvent<void(TObject* Sender, VstInt32 BlockSize)>;
// Processing events have no Sender; channel counts come from the module.
using TProcessAudioEvent =
    TEvent<void(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs, VstInt32 sampleframes)>;
using TProcessDoubleEvent =
    TEvent<void(TArrayOfDoubleArray inputs, TArrayOfDoubleArray outputs, VstInt32 sampleframes)>;
using TSoftBypassEvent = TEvent<void(TObject* Sender, bool onOff)>;
using TGetVUEvent = TEvent<void(float& VU)>;
using TProcessMidiEvent = TEvent<void(TObject* Sender, VstMidiEvent& MidiEvent)>;
using TConnectionEvent = TEvent<void(TObject* Sender, VstInt32 Index, bool State)>;
using TOfflineNotifyEvent =
    TEvent<void(TObject* Sender, VstAudioFile& AudioFile, VstInt32 numAudioFiles, bool start)>;
using TOfflineTaskEvent =
    TEvent<void(TObject* Sender, VstOfflineTask& OfflineTask, VstInt32 count)>;
using TProcessVarIoEvent = TEvent<void(TObject* Sender, VstVariableIo& varIo)>;
using TSetPanLawEvent = TEvent<void(TObject* Sender, VstInt32& vType, float& val)>;
using TVendorSpecificEvent =
    TEvent<VstInt32(TObject* Sender, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg, float floatArg)>;
using TCanDoEvent = TEvent<VstInt32(TObject* Sender, const std::string& CanDoText)>;
using TPinPropertiesEvent =
    TEvent<VstInt32(TObject* Sender, std::string& vLabel, std::string& shortLabel,
                    TVstSpeakerArrangementType& SpeakerArrangement, TChannelPropertyFlags& Flags)>;
// Item events: Sender is the item's module, or the item where stated.
using TCustomParameterTextEvent =
    TEvent<void(TObject* Sender, VstInt32 Index, std::string& PreDefined)>;
using TChunkEvent = TEvent<void(TObject* Sender, VstInt32 Index, bool isPreset)>;
using TUIDInstantiateEvent = TEvent<void(TObject* Sender, const std::string& UID)>;
