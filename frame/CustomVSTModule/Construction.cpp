#include "frame/CustomVSTModule.h"

#include <cstring>
#include <ctime>
#include <stdexcept>

#include "frame/FourCharCode.h"
#include "frame/RecordSlots.h"

namespace {

constexpr VstInt32 kDefaultUniqueID = FourCharCode('N', 'o', 'E', 'f');
constexpr int kMidiEventByteSize = 24;

}  // namespace

TCustomVSTModule::TCustomVSTModule() {
  // A fresh sequence for every instance, from a generator of its own: the C
  // library's generator belongs to the host process and every plug-in in it.
  FRandomGenerator.seed(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
  FEffect.magic = kEffectMagic;
  FEffect.object = static_cast<TCustomVSTModule*>(this);
  InstallRecordSlots(FEffect);
  FEffect.uniqueID = kDefaultUniqueID;
  RecomputeVersion();
  FEffect.ioRatio = 1;
  FParameterProperties = std::make_unique<TCustomVstParameterProperties>(*this);
  FPrograms = std::make_unique<TCustomVstPrograms>(*this);
  FEffect.numInputs = 2;
  FEffect.numOutputs = 2;
  FCPU = std::make_unique<TCPU>();
  FShellPlugins = std::make_unique<TCustomVstShellPlugins>(*this);
  FOutputEvents = std::make_unique<TOutputEvents>();
  FMidiEvents = std::make_unique<VstMidiEvent[]>(kPreallocatedMidiEvents);
  for (int i = 0; i < kPreallocatedMidiEvents; ++i) {
    FMidiEvents[i].type = kVstMidiType;
    FMidiEvents[i].byteSize = kMidiEventByteSize;
    FOutputEvents->events[static_cast<std::size_t>(i)] =
        reinterpret_cast<VstEvent*>(&FMidiEvents[i]);
  }
  ResizeAccumulateScratch();
}

TCustomVSTModule::~TCustomVSTModule() {
  // The owned objects go in the order the module lists them.
  FParameterProperties.reset();
  FPrograms.reset();
  FEditorForm.reset();
  FCPU.reset();
  FShellPlugins.reset();
  FOutputEvents.reset();
  FMidiEvents.reset();
  delete FHostProductString.load(std::memory_order_acquire);
}

TCustomVSTModule* TCustomVSTModule::FromEffect(AEffect* effect) {
  if (effect == nullptr || effect->magic != kEffectMagic) return nullptr;
  return static_cast<TCustomVSTModule*>(effect->object);
}

void TCustomVSTModule::BeforeDestruction() {
  // effClose already closed an open editor; this only catches a form left by
  // a close handler that failed. Nothing of the module is gone yet.
  FEditorForm.reset();
  if (OnDestroy) OnDestroy(this);
}

void TCustomVSTModule::SetModuleClass(const TModuleClass& moduleClass) {
  FClass = &moduleClass;
}

// ---- Published properties ----

TEffFlags TCustomVSTModule::Flags() const {
  return FEffect.flags;
}

void TCustomVSTModule::SetFlags(TEffFlags flags) {
  FEffect.flags = flags & kKnownEffFlags;
}

void TCustomVSTModule::SetEffectName(std::string name) {
  FEffectName = std::move(name);
}

void TCustomVSTModule::SetVersionMajor(VstInt32 value) {
  FVersionMajor = value;
  RecomputeVersion();
}

void TCustomVSTModule::SetVersionMinor(VstInt32 value) {
  FVersionMinor = value;
  RecomputeVersion();
}

void TCustomVSTModule::SetVersionRelease(VstInt32 value) {
  FVersionRelease = value;
  RecomputeVersion();
}

void TCustomVSTModule::RecomputeVersion() {
  const auto major = static_cast<std::uint32_t>(FVersionMajor);
  const auto minor = static_cast<std::uint32_t>(FVersionMinor);
  const auto release = static_cast<std::uint32_t>(FVersionRelease);
  FEffect.version = static_cast<VstInt32>((major << 16) + (minor << 8) + release);
}

void TCustomVSTModule::SetNumInputs(VstInt32 count) {
  FEffect.numInputs = count;
  ChannelCountsChanged();
  HostIOChanged();
}

void TCustomVSTModule::SetNumOutputs(VstInt32 count) {
  FEffect.numOutputs = count;
  ChannelCountsChanged();
  HostIOChanged();
}

void TCustomVSTModule::ChannelCountsChanged() {
  ResizeAccumulateScratch();
  SetUpBlockBuffers();
}

void TCustomVSTModule::RefreshNumParams() {
  FEffect.numParams = FParameterProperties->Count();
}

void TCustomVSTModule::RefreshNumPrograms() {
  FEffect.numPrograms = FPrograms->Count();
}

void TCustomVSTModule::SetInitialDelay(VstInt32 delay) {
  if (delay == FRequestedInitialDelay) return;
  FRequestedInitialDelay = delay;
  UpdateInitialDelay();
}

VstInt32 TCustomVSTModule::TargetInitialDelay() const {
  const VstInt32 blockLatency = FBlockModeSize - FBlockModeOverlap;
  return FProcessingMode == pmBlockSave && blockLatency > FRequestedInitialDelay
             ? blockLatency
             : FRequestedInitialDelay;
}

void TCustomVSTModule::UpdateInitialDelay() {
  FEffect.initialDelay = TargetInitialDelay();
  // This host mishandles a delay change it is told about.
  if (HostProductString() != "energyXT") HostIOChanged();
}

void TCustomVSTModule::SetEditorNeedsUpdate() {
  FEditorNeedsUpdate.store(true);
}

void TCustomVSTModule::SetKeysRequired(bool required) {
  FKeysRequired = required;
  HostUpdateDisplay();
}

std::string TCustomVSTModule::UniqueID() const {
  return UnpackFourCharCode(FEffect.uniqueID);
}

void TCustomVSTModule::SetUniqueID(const std::string& id) {
  FEffect.uniqueID = PackFourCharCode(id);
}

// ---- Connection to the host ----

void TCustomVSTModule::SetHostCallback(audioMasterCallback callback) {
  FHostCallback = callback;
  // The version query goes out before the host knows the record.
  if (callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
    throw std::runtime_error("AudioMaster Error");
  SelectShellPlugin();
}

void TCustomVSTModule::SelectShellPlugin() {
  // This host mishandles the shell question.
  const bool hostIsWaveLab = HostProductString() == "WaveLab";
  const bool hostTakesShells = !hostIsWaveLab && HostCanDo("shellCategory") == 1;
  if (FPlugCategory != cgShell) return;
  if (!hostTakesShells) {
    FPlugCategory = cgUnknown;
    return;
  }
  const VstInt32 id = HostCurrentId();
  if (id <= 0) return;
  for (int i = 0; i < FShellPlugins->Count(); ++i) {
    TCustomVstShellPlugin& entry = (*FShellPlugins)[i];
    if (entry.UniqueIDValue() != id) continue;
    FEffect.uniqueID = id;
    if (entry.numInputs >= 0) FEffect.numInputs = entry.numInputs;
    if (entry.numOutputs >= 0) FEffect.numOutputs = entry.numOutputs;
    if (entry.numPrograms >= 0) FEffect.numPrograms = entry.numPrograms;
    if (entry.numParams >= 0) FEffect.numParams = entry.numParams;
    FPlugCategory = entry.PlugCategory;
    ChannelCountsChanged();
    if (entry.OnInstanciate) entry.OnInstanciate(this, UnpackFourCharCode(id));
    HostIOChanged();
    return;
  }
}

const std::string& TCustomVSTModule::HostProductString() {
  static const std::string kUnknown = "Unknown";
  static const std::string kEmpty;
  // Any thread may ask (delay changes arrive from anywhere): the text is
  // published once, whole, and never changes afterwards.
  if (const std::string* known = FHostProductString.load(std::memory_order_acquire)) return *known;
  // Without a callback nobody can answer yet: the host is asked once it is
  // connected, instead of keeping "Unknown" for good.
  if (FHostCallback == nullptr) return kUnknown;
  std::string text;
  const bool answered = HostGetProductString(text);
  // An empty name is not kept: the host is asked again next time.
  if (answered && text.empty()) return kEmpty;
  auto candidate = std::make_unique<const std::string>(answered ? std::move(text) : kUnknown);
  const std::string* published = nullptr;
  if (FHostProductString.compare_exchange_strong(published, candidate.get(),
                                                 std::memory_order_acq_rel))
    return *candidate.release();
  return *published;
}
