#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tools/validate/AudioRun.h"
#include "tools/validate/CheckOutcome.h"
#include "tools/validate/CheckProcess.h"
#include "tools/validate/Checks.h"
#include "tools/validate/TestedPlugin.h"

// Scanning: what hosts do to every binary they find, often several times,
// before anything is shown to the user.

namespace {

constexpr int kScans = 3;
constexpr int kInstancesInSequence = 16;
constexpr int kInstancesAtOnce = 8;
constexpr int kThreads = 4;
constexpr int kInstancesPerThread = 8;
// Sanity bounds on the record: more would be a corrupt record.
constexpr VstInt32 kMostPins = 128;
constexpr VstInt32 kMostSlots = 100000;
constexpr double kRate = 44100.0;
constexpr VstInt32 kBlock = 512;
constexpr std::size_t kBigText = 256;

const char* const kCanDos[] = {"sendVstEvents",
                               "sendVstMidiEvent",
                               "receiveVstEvents",
                               "receiveVstMidiEvent",
                               "receiveVstTimeInfo",
                               "offline",
                               "midiProgramNames",
                               "bypass",
                               "plugAsChannelInsert",
                               "plugAsSend",
                               "mixDryWet",
                               "noRealTime",
                               "multipass",
                               "metapass",
                               "1in1out",
                               "1in2out",
                               "2in1out",
                               "2in2out",
                               "2in4out",
                               "4in2out",
                               "4in4out",
                               "4in8out",
                               "8in4out",
                               "8in8out",
                               "sendVstTimeInfo",
                               "sizeWindow",
                               "supplyIdle",
                               "hasCockosExtensions",
                               "unknown query"};

// What a scan learns: a host caches it, so it must not change between scans.
struct TScanResult {
  std::string Name, Vendor, Product;
  VstInt32 UniqueId = 0, Version = 0, Flags = 0, Inputs = 0, Outputs = 0, Parameters = 0,
           Programs = 0;
  VstIntPtr Category = 0, VstVersion = 0, VendorVersion = 0;
  std::vector<VstIntPtr> CanDos;
  std::vector<std::string> ParameterNames;

  bool operator==(const TScanResult&) const = default;
};

void CheckRecord(const AEffect& record) {
  Require(record.numInputs >= 0 && record.numInputs <= kMostPins,
          "the record announces " + std::to_string(record.numInputs) + " inputs");
  Require(record.numOutputs >= 0 && record.numOutputs <= kMostPins,
          "the record announces " + std::to_string(record.numOutputs) + " outputs");
  Require(record.numParams >= 0 && record.numParams <= kMostSlots,
          "the record announces " + std::to_string(record.numParams) + " parameters");
  Require(record.numPrograms >= 0 && record.numPrograms <= kMostSlots,
          "the record announces " + std::to_string(record.numPrograms) + " programs");
  Require(record.dispatcher != nullptr, "the record has no dispatcher");
  Require(record.getParameter != nullptr && record.setParameter != nullptr,
          "the record lacks a parameter slot");
  Require(record.processReplacing != nullptr || record.process != nullptr,
          "the record has no processing slot");
  Require(record.initialDelay >= 0, "the record announces a negative initial delay");
}

TScanResult Scan(TTestedPlugin& plugin) {
  auto instance = plugin.Instantiate();
  CheckRecord(instance->Record());
  instance->Dispatch(effOpen);
  TScanResult scan;
  const AEffect& record = instance->Record();
  scan.Name = instance->Text(effGetEffectName, kBigText).Text;
  scan.Vendor = instance->Text(effGetVendorString, kBigText).Text;
  scan.Product = instance->Text(effGetProductString, kBigText).Text;
  scan.VstVersion = instance->Dispatch(effGetVstVersion);
  scan.VendorVersion = instance->Dispatch(effGetVendorVersion);
  scan.Category = instance->Dispatch(effGetPlugCategory);
  scan.UniqueId = record.uniqueID;
  scan.Version = record.version;
  scan.Flags = record.flags;
  scan.Inputs = record.numInputs;
  scan.Outputs = record.numOutputs;
  scan.Parameters = record.numParams;
  scan.Programs = record.numPrograms;
  for (const char* canDo : kCanDos)
    scan.CanDos.push_back(instance->Effect().CanDo(canDo));
  for (VstInt32 index = 0; index < instance->Parameters(); ++index)
    scan.ParameterNames.push_back(instance->Text(effGetParamName, kBigText, index).Text);
  instance->Dispatch(effGetTailSize);
  // Scanners suspend before they close, though nothing was resumed.
  instance->Dispatch(effMainsChanged, 0, 0);
  instance->Close();
  return scan;
}

// Opens, runs briefly and closes one instance.
void RunBriefly(TTestedPlugin& plugin, std::uint64_t seed) {
  auto instance = plugin.Open();
  instance->Resume(kRate, kBlock);
  const TAudio input = Noise(std::max<std::size_t>(instance->Inputs(), 1), kBlock, 0.5, seed);
  const std::string abnormal = FirstAbnormalSample(Run(*instance, input, {}), TPrecision::Single);
  Require(abnormal.empty(), abnormal);
  instance->Close();
}

}  // namespace

void CheckScan(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  SetCheckStep("the first scan");
  const TScanResult first = Scan(plugin);
  for (int scan = 1; scan < kScans * context.Repeats; ++scan) {
    SetCheckStep("scan " + std::to_string(scan + 1));
    Require(Scan(plugin) == first, "scan " + std::to_string(scan + 1) +
                                       " answered differently from the first (identity, "
                                       "pins, flags, can-dos or parameter names)");
  }
}

void CheckScanBeforeResume(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  // Some hosts know neither rate nor block size when they first load a
  // plug-in, and say 0.
  plugin.Host().SampleRate = 0;
  plugin.Host().BlockSize = 0;
  for (int round = 0; round < context.Repeats; ++round) {
    SetCheckStep("opcodes before the first resume");
    auto instance = plugin.Open();
    instance->Dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
    instance->Dispatch(effSetBlockSize, 0, 0);
    instance->Dispatch(effGetProgram);
    if (instance->Programs() > 0) instance->SetProgram(0);
    for (VstInt32 index = 0; index < instance->Parameters(); ++index) {
      const float value = instance->GetParameter(index);
      instance->SetParameter(index, value);
      instance->Text(effGetParamDisplay, kBigText, index);
    }
    instance->Dispatch(effGetTailSize);
    instance->Dispatch(effGetInputProperties, 0, 0, nullptr);
    SetCheckStep("processing before the first resume");
    const std::size_t channels = std::max<std::size_t>(instance->Inputs(), 1);
    const TAudio silence = Silence(channels, kBlock);
    std::string abnormal = FirstAbnormalSample(Run(*instance, silence, {}), TPrecision::Single);
    Require(abnormal.empty(), abnormal + " when processing before the first resume");
    if (instance->HasDouble()) {
      TRunSettings settings;
      settings.Precision = TPrecision::Double;
      abnormal = FirstAbnormalSample(Run(*instance, silence, settings), TPrecision::Double);
      Require(abnormal.empty(), abnormal + " when processing in double before the first resume");
    }
    SetCheckStep("the first resume after rate and block size 0");
    instance->Resume(kRate, kBlock);
    const TAudio noise = Noise(channels, static_cast<std::size_t>(kRate), 0.5, context.Seed);
    abnormal = FirstAbnormalSample(Run(*instance, noise, {}), TPrecision::Single);
    Require(abnormal.empty(), abnormal + " after the first resume");
    instance->Close();
  }
}

void CheckInstances(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  for (int round = 0; round < context.Repeats; ++round) {
    SetCheckStep("instances one after another");
    for (int index = 0; index < kInstancesInSequence; ++index)
      RunBriefly(plugin, context.Seed + static_cast<std::uint64_t>(index));
    SetCheckStep("instances open at once");
    std::vector<std::unique_ptr<TTestedInstance>> open;
    for (int index = 0; index < kInstancesAtOnce; ++index) {
      open.push_back(plugin.Open());
      open.back()->Resume(kRate, kBlock);
    }
    // Closed in another order than opened, as a user deletes them.
    for (int index = 0; index < kInstancesAtOnce; index += 2)
      open[static_cast<std::size_t>(index)]->Close();
    open.clear();
  }
}

void CheckInstanceThreads(const TCheckContext& context) {
  TTestedPlugin plugin(context.PluginPath);
  SetCheckStep("instances from " + std::to_string(kThreads) + " threads");
  std::vector<std::thread> threads;
  std::vector<std::string> failures(kThreads);
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([&, thread] {
      try {
        for (int index = 0; index < kInstancesPerThread * context.Repeats; ++index)
          RunBriefly(plugin, context.Seed + static_cast<std::uint64_t>(thread * 1000 + index));
      } catch (const std::exception& error) {
        failures[static_cast<std::size_t>(thread)] = error.what();
      }
    });
  }
  for (auto& thread : threads)
    thread.join();
  for (const std::string& failure : failures)
    Require(failure.empty(), failure);
}
