#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "frame/EntryPoint.h"
#include "frame/HostText.h"
#include "frame/VSTModule.h"
#include "tests/plugins/TestControl.h"
#include "tests/plugins/TraceLog.h"

// Sixteen parameters of every kind and sixteen programs; the handlers log what
// they see and some misbehave on request (re-enter, throw, block).
class TParameterTestModule : public TVSTModule {
 public:
  static const TModuleClass Class;

  void VSTModuleInitialize(TObject* Sender);
  void VSTModuleParameterChange(TObject* Sender, VstInt32 Index, float& Value);
  void VSTModuleBeforeProgramChange(TObject* Sender);
  void VSTModuleAfterProgramChange(TObject* Sender);
  void VSTModuleParameterSizeFailed(TObject* Sender);
  VstInt32 VSTModuleVendorSpecific(TObject* Sender, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg,
                                   float floatArg);
  void VSTModuleProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                        VstInt32 sampleframes);
  void LoggingChange(TObject* Sender, VstInt32 Index, float& Value);
  void ReentrantChange(TObject* Sender, VstInt32 Index, float& Value);
  void ThrowingChange(TObject* Sender, VstInt32 Index, float& Value);
  void BlockingChange(TObject* Sender, VstInt32 Index, float& Value);
  void LimitingChange(TObject* Sender, VstInt32 Index, float& Value);
  void SwitchDisplay(TObject* Sender, VstInt32 Index, std::string& PreDefined);
  void LongLabel(TObject* Sender, VstInt32 Index, std::string& PreDefined);

 private:
  void Note(const std::string& entry);

  TTraceLog Log;
  std::atomic<bool> Logging{true};
  std::atomic<bool> Reentry{false};
  std::atomic<bool> ThrowNext{false};
  std::atomic<bool> BlockNext{false};
  std::atomic<bool> Blocked{false};
  std::atomic<bool> Released{false};
};

namespace {

using M = TParameterTestModule;

constexpr TPublishedMethod kMethods[] = {
    Published<&M::VSTModuleInitialize>("VSTModuleInitialize"),
    Published<&M::VSTModuleParameterChange>("VSTModuleParameterChange"),
    Published<&M::VSTModuleBeforeProgramChange>("VSTModuleBeforeProgramChange"),
    Published<&M::VSTModuleAfterProgramChange>("VSTModuleAfterProgramChange"),
    Published<&M::VSTModuleParameterSizeFailed>("VSTModuleParameterSizeFailed"),
    Published<&M::VSTModuleVendorSpecific>("VSTModuleVendorSpecific"),
    Published<&M::VSTModuleProcess>("VSTModuleProcess"),
    Published<&M::LoggingChange>("LoggingChange"),
    Published<&M::ReentrantChange>("ReentrantChange"),
    Published<&M::ThrowingChange>("ThrowingChange"),
    Published<&M::BlockingChange>("BlockingChange"),
    Published<&M::LimitingChange>("LimitingChange"),
    Published<&M::SwitchDisplay>("SwitchDisplay"),
    Published<&M::LongLabel>("LongLabel"),
};

// The handler of the blocking parameter gives up waiting after this long, so
// a failing test cannot hang.
constexpr auto kMaxBlocking = std::chrono::seconds(10);
// Parameter the re-entrant handler changes, and one that does not exist.
constexpr VstInt32 kReenteredParameter = 4;
constexpr VstInt32 kMissingParameter = 99;

std::string Number(float value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof(text), value);
  return std::string(text, result.ptr);
}

}  // namespace

const TModuleClass TParameterTestModule::Class{"TParameterTestModule", &TVSTModule::Class,
                                               kMethods};

void M::Note(const std::string& entry) {
  if (Logging.load()) Log.Add(*this, entry);
}

void M::VSTModuleInitialize(TObject*) {
  // Program p holds -p for every parameter: distinct per program and never
  // above the limiting handler's 0.
  for (int p = 0; p < Programs().Count(); ++p)
    for (VstInt32 i = 0; i < numParams(); ++i)
      Programs()[p].SetValue(i, -static_cast<float>(p));
}

void M::VSTModuleParameterChange(TObject*, VstInt32 Index, float& Value) {
  // Checked before the text is built: with the log off a change costs only
  // the call (the benchmark relies on it).
  if (!Logging.load()) return;
  Note("Module:" + std::to_string(Index) + "=" + Number(Value));
}

void M::VSTModuleBeforeProgramChange(TObject*) {
  Note("Before:" + std::to_string(CurrentProgram()));
}

void M::VSTModuleAfterProgramChange(TObject*) {
  Note("After:" + std::to_string(CurrentProgram()));
}

void M::VSTModuleParameterSizeFailed(TObject*) {
  Note("SizeFailed");
}

VstInt32 M::VSTModuleVendorSpecific(TObject*, VstInt32 lArg1, VstInt32 lArg2, void* ptrArg, float) {
  if (Log.HandleRequest(lArg1, lArg2, ptrArg)) return 1;
  switch (lArg1) {
    case kSetLogging:
      Logging = lArg2 != 0;
      return 1;
    case kArmReentry:
      Reentry = lArg2 != 0;
      return 1;
    case kThrowNext:
      ThrowNext = true;
      return 1;
    case kArmBlocking:
      Released = false;
      BlockNext = true;
      return 1;
    case kBlocked:
      return Blocked.load() ? 1 : 0;
    case kRelease:
      Released = true;
      return 1;
    case kReadProgramName:
      if (lArg2 > 0)
        WriteHostText(static_cast<char*>(ptrArg), static_cast<std::size_t>(lArg2),
                      GetCurrentProgramName());
      return 1;
    default:
      return 0;
  }
}

void M::VSTModuleProcess(TArrayOfSingleArray inputs, TArrayOfSingleArray outputs,
                         VstInt32 sampleframes) {
  // Reads a parameter on the audio thread, as an effect does.
  const float gain = GetParameterValue(6) >= 0.5f ? -1.0f : 1.0f;
  for (VstInt32 c = 0; c < std::min(numInputs(), numOutputs()); ++c)
    for (VstInt32 i = 0; i < sampleframes; ++i)
      outputs[c][i] = inputs[c][i] * gain;
}

void M::LoggingChange(TObject*, VstInt32 Index, float& Value) {
  if (!Logging.load()) return;
  Note("Item:" + std::to_string(Index) + "=" + Number(Value));
}

void M::ReentrantChange(TObject*, VstInt32, float&) {
  if (!Reentry.load()) return;
  // The host's slot again, once for a parameter that does not exist (which
  // reports a size failure unless the call is dropped) and once for a real one;
  // then the editor's road, which reports automation.
  AEffect* effect = Effect();
  effect->setParameter(effect, kMissingParameter, 0.5f);
  effect->setParameter(effect, kReenteredParameter, 0.75f);
  SetParameterValueAutomated(kReenteredParameter, -10.0f);
  Note("Reentered");
}

void M::ThrowingChange(TObject*, VstInt32, float&) {
  if (ThrowNext.exchange(false)) throw std::runtime_error("handler failure");
}

void M::BlockingChange(TObject*, VstInt32, float&) {
  if (!BlockNext.exchange(false)) return;
  Blocked = true;
  const auto deadline = std::chrono::steady_clock::now() + kMaxBlocking;
  while (!Released.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::yield();
  Blocked = false;
}

void M::LimitingChange(TObject*, VstInt32, float& Value) {
  Value = std::min(Value, 0.0f);
}

void M::SwitchDisplay(TObject*, VstInt32 Index, std::string& PreDefined) {
  PreDefined = GetParameterValue(Index) >= 0.5f ? "On" : "Off";
}

void M::LongLabel(TObject*, VstInt32, std::string& PreDefined) {
  PreDefined += " and a label far longer than the host's buffer";
}

QUILLO_VST_PLUGIN(TParameterTestModule)
