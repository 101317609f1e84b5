#include "tools/host/Host.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "tools/host/HostCallbackObserver.h"
#include "tools/host/HostRegistry.h"
#include "tools/host/HostText.h"

namespace {

std::string Hex(VstInt32 value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

THost::~THost() {
  UnregisterHost(this);
}

audioMasterCallback THost::Callback() {
  return &THost::HostCallback;
}

VstIntPtr VSTCALLBACK THost::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt) {
  // Plug-in code calls this: nothing may be thrown back into it.
  const THostCallbackScope scope;
  try {
    THost* host = FindHost(effect);
    return host != nullptr ? host->Receive(effect, opcode, index, value, ptr, opt) : 0;
  } catch (...) {
    return 0;
  }
}

VstIntPtr THost::Receive(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                         void* ptr, float opt) {
  THostCall call;
  call.Effect = effect;
  call.Opcode = opcode;
  call.Index = index;
  call.Value = value;
  call.Ptr = ptr;
  call.Opt = opt;
  if (opcode == audioMasterCanDo && ptr != nullptr) {
    TBoundedText query = ReadBoundedText(call.Ptr, kVstMaxCanDoLen);
    call.Text = std::move(query.Text);
    call.TextTerminated = query.Terminated;
  }
  call.Thread = std::this_thread::get_id();
  if (!IsRecording()) return SafeAnswer(call);

  std::size_t entry = 0;
  std::size_t generation = 0;
  {
    const std::lock_guard lock(LogLock);
    entry = Log.size();
    generation = LogGeneration;
    Log.push_back(call);
  }

  // The answer is worked out unlocked: a hook may call back into the plug-in,
  // which may call the host again.
  const VstIntPtr answer = SafeAnswer(call);
  const std::lock_guard lock(LogLock);
  if (generation == LogGeneration) Log[entry].Answer = answer;
  return answer;
}

VstIntPtr THost::SafeAnswer(const THostCall& call) {
  try {
    return Answer(call);
  } catch (const std::exception& error) {
    RecordError("opcode " + std::to_string(call.Opcode) + ": " + error.what());
  } catch (...) {
    RecordError("opcode " + std::to_string(call.Opcode) + ": unknown exception");
  }
  return 0;
}

VstIntPtr THost::Answer(const THostCall& call) const {
  if (!HasOverrides.load(std::memory_order_acquire)) return DefaultAnswer(call);
  THook hook;
  {
    const std::lock_guard lock(AnswerLock);
    if (const auto found = Hooks.find(call.Opcode); found != Hooks.end()) {
      hook = found->second;
    } else if (const auto fixed = FixedAnswers.find(call.Opcode); fixed != FixedAnswers.end()) {
      return fixed->second;
    }
  }
  return hook ? hook(call) : DefaultAnswer(call);
}

VstIntPtr THost::DefaultAnswer(const THostCall& call) const {
  switch (call.Opcode) {
    case audioMasterVersion:
      return Version;
    case audioMasterCurrentId:
      return CurrentId;
    case audioMasterGetSampleRate:
      return SampleRate;
    case audioMasterGetBlockSize:
      return BlockSize;
    case audioMasterGetVendorString:
      return WriteBoundedText(call.Ptr, VendorString, kVstMaxVendorStrLen) ? 1 : 0;
    case audioMasterGetProductString:
      return WriteBoundedText(call.Ptr, ProductString, kVstMaxProductStrLen) ? 1 : 0;
    case audioMasterGetVendorVersion:
      return VendorVersion;
    case audioMasterCanDo: {
      if (!call.Text) return 0;
      const auto found = CanDoAnswers.find(*call.Text);
      return found != CanDoAnswers.end() ? found->second : 0;
    }
    default:
      return 0;
  }
}

void THost::RecordError(std::string message) {
  const std::lock_guard lock(LogLock);
  HookErrors.push_back(std::move(message));
}

void THost::SetAnswer(VstInt32 opcode, VstIntPtr answer) {
  const std::lock_guard lock(AnswerLock);
  FixedAnswers[opcode] = answer;
  HasOverrides.store(true, std::memory_order_release);
}

void THost::SetHook(VstInt32 opcode, THook hook) {
  const std::lock_guard lock(AnswerLock);
  Hooks[opcode] = std::move(hook);
  HasOverrides.store(true, std::memory_order_release);
}

void THost::ClearAnswer(VstInt32 opcode) {
  const std::lock_guard lock(AnswerLock);
  FixedAnswers.erase(opcode);
  Hooks.erase(opcode);
}

std::unique_ptr<TEffect> THost::Instantiate(const TPluginLibrary& library) {
  return Instantiate(library.EntryPoint());
}

std::unique_ptr<TEffect> THost::Instantiate(TVstEntryPoint entry) {
  auto effect = TryInstantiate(entry);
  if (!effect) throw std::runtime_error("The plug-in's entry point returned no effect");
  return effect;
}

std::unique_ptr<TEffect> THost::TryInstantiate(const TPluginLibrary& library) {
  return TryInstantiate(library.EntryPoint());
}

std::unique_ptr<TEffect> THost::TryInstantiate(TVstEntryPoint entry) {
  if (entry == nullptr) throw std::invalid_argument("No entry point to instantiate");
  AEffect* record = nullptr;
  {
    const TInstantiatingScope scope(this);
    record = entry(Callback());
  }
  if (record == nullptr) return nullptr;
  if (record->magic != kEffectMagic) {
    // Its dispatcher cannot be trusted either, so the record is not closed.
    throw std::runtime_error("The plug-in's effect record has magic " + Hex(record->magic) +
                             " instead of " + Hex(kEffectMagic));
  }
  RegisterEffect(record, this);
  return std::make_unique<TEffect>(record, this);
}

void THost::StartRecording() {
  Recording.store(true, std::memory_order_release);
}

std::vector<THostCall> THost::Calls() const {
  const std::lock_guard lock(LogLock);
  return Log;
}

std::vector<THostCall> THost::CallsWithOpcode(VstInt32 opcode) const {
  const std::lock_guard lock(LogLock);
  std::vector<THostCall> calls;
  std::copy_if(Log.begin(), Log.end(), std::back_inserter(calls),
               [opcode](const THostCall& call) { return call.Opcode == opcode; });
  return calls;
}

std::size_t THost::CountOf(VstInt32 opcode) const {
  const std::lock_guard lock(LogLock);
  return static_cast<std::size_t>(std::count_if(
      Log.begin(), Log.end(), [opcode](const THostCall& call) { return call.Opcode == opcode; }));
}

void THost::ClearCalls() {
  const std::lock_guard lock(LogLock);
  Log.clear();
  ++LogGeneration;
}

std::vector<std::string> THost::Errors() const {
  const std::lock_guard lock(LogLock);
  return HookErrors;
}
