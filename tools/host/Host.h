#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "frame/DVSTEffect.h"
#include "tools/host/Effect.h"
#include "tools/host/HostCall.h"
#include "tools/host/PluginLibrary.h"

// The host side of a loaded plug-in: one host callback shared by every
// instance, answering as configured. The tools run plug-ins through it.
//
// An answer comes from the opcode's hook if one is set, else from its fixed
// answer, else from the defaults below; every other opcode answers 0. The
// answer fields are plain data: set them before the plug-in runs.
//
// Recording every call is for tests and is off unless switched on: a host
// that only answers keeps no memory per call and takes no lock unless hooks
// or fixed answers are set. The record of calls may be read while plug-in
// threads call in.
//
// A host must outlive the effects it instantiated.
class THost {
 public:
  using THook = std::function<VstIntPtr(const THostCall& call)>;

  // audioMasterVersion.
  VstIntPtr Version = kVstVersion;
  // audioMasterGetProductString and audioMasterGetVendorString write these
  // into the plug-in's buffer, cut to the published 64 bytes.
  std::string ProductString = "Quillotron Test Host";
  std::string VendorString = "Quillotron";
  // audioMasterGetVendorVersion.
  VstIntPtr VendorVersion = 1;
  // audioMasterGetSampleRate (whole samples per second) and
  // audioMasterGetBlockSize.
  VstIntPtr SampleRate = 44100;
  VstIntPtr BlockSize = 1024;
  // audioMasterCurrentId.
  VstIntPtr CurrentId = 0;
  // audioMasterCanDo by query text; a text not listed answers 0.
  std::map<std::string, VstIntPtr, std::less<>> CanDoAnswers;

  THost() = default;
  ~THost();
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;

  // The callback to hand an entry point; it never lets an exception out.
  static audioMasterCallback Callback();

  void SetAnswer(VstInt32 opcode, VstIntPtr answer);
  void SetHook(VstInt32 opcode, THook hook);
  // Back to the default answer.
  void ClearAnswer(VstInt32 opcode);

  // Calls the entry point with this host's callback. Throws std::runtime_error
  // when it returns null or a record without the effect magic.
  std::unique_ptr<TEffect> Instantiate(const TPluginLibrary& library);
  std::unique_ptr<TEffect> Instantiate(TVstEntryPoint entry);
  // As Instantiate, but answers null when the entry point returns null.
  std::unique_ptr<TEffect> TryInstantiate(const TPluginLibrary& library);
  std::unique_ptr<TEffect> TryInstantiate(TVstEntryPoint entry);

  // From now on every call is recorded (until the host goes).
  void StartRecording();
  bool IsRecording() const { return Recording.load(std::memory_order_acquire); }
  std::vector<THostCall> Calls() const;
  std::vector<THostCall> CallsWithOpcode(VstInt32 opcode) const;
  std::size_t CountOf(VstInt32 opcode) const;
  void ClearCalls();
  // Messages of hooks that threw; the callback answered 0 for them.
  std::vector<std::string> Errors() const;

 private:
  static VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
  VstIntPtr Receive(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                    float opt);
  VstIntPtr SafeAnswer(const THostCall& call);
  VstIntPtr Answer(const THostCall& call) const;
  VstIntPtr DefaultAnswer(const THostCall& call) const;
  void RecordError(std::string message);

  std::atomic<bool> Recording{false};
  // Set once a fixed answer or hook was ever given: until then answers need
  // no lock.
  std::atomic<bool> HasOverrides{false};
  mutable std::mutex AnswerLock;
  std::map<VstInt32, VstIntPtr> FixedAnswers;
  std::map<VstInt32, THook> Hooks;

  mutable std::mutex LogLock;
  std::vector<THostCall> Log;
  // Counts ClearCalls, so that an answer arriving after a clear is not
  // written into someone else's entry.
  std::size_t LogGeneration = 0;
  std::vector<std::string> HookErrors;
};

// A host that records from the start, as tests want it.
class TRecordingHost : public THost {
 public:
  TRecordingHost() { StartRecording(); }
};
