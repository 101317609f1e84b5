#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "frame/PropertyTable.h"
#include "frame/VSTModule.h"

// Module behaviour that needs no plug-in binary: a TVSTModule built in the
// test process and connected to a scripted host callback.
namespace {

struct TScriptedHost {
  std::map<VstInt32, VstIntPtr> Answers;
  std::optional<std::string> ProductString;
  std::vector<VstInt32> Opcodes;
};
TScriptedHost* gHost = nullptr;

VstIntPtr VSTCALLBACK ScriptedCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                       float) {
  gHost->Opcodes.push_back(opcode);
  if (opcode == audioMasterGetProductString && gHost->ProductString) {
    std::strcpy(static_cast<char*>(ptr), gHost->ProductString->c_str());
    return 1;
  }
  const auto answer = gHost->Answers.find(opcode);
  return answer == gHost->Answers.end() ? 0 : answer->second;
}

class InProcessModule : public ::testing::Test {
 protected:
  void SetUp() override {
    gHost = &Host;
    Host.Answers[audioMasterVersion] = 2400;
    Module.Construct(TVSTModule::Class);
  }
  void TearDown() override { gHost = nullptr; }
  void Connect() { Module.SetHostCallback(&ScriptedCallback); }

  TScriptedHost Host;
  TVSTModule Module;
};

TEST_F(InProcessModule, DefaultsWithoutDescription) {
  EXPECT_EQ(Module.Effect()->uniqueID, 0x4E6F4566);
  EXPECT_EQ(Module.UniqueID(), "NoEf");
  EXPECT_EQ(Module.Effect()->version, 0x00010000);
  EXPECT_EQ(Module.Version(), "0.0");
  EXPECT_EQ(Module.CurrentProgram(), -1);
  EXPECT_EQ(Module.SampleRate(), 44100.0f);
  EXPECT_EQ(Module.BlockSize(), 1024);
  EXPECT_EQ(Module.OutputEvents().numEvents, 0);
  for (int i = 0; i < kPreallocatedMidiEvents; ++i) {
    const auto* event = Module.OutputEvents().events[static_cast<std::size_t>(i)];
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->type, kVstMidiType);
    EXPECT_EQ(event->byteSize, 24);
  }
  EXPECT_EQ(Module.OutputEvents().events[kPreallocatedMidiEvents], nullptr);
}

TEST_F(InProcessModule, UniqueIdAndVersionPacking) {
  Module.SetUniqueID("DODU");
  EXPECT_EQ(Module.Effect()->uniqueID, 0x444F4455);
  EXPECT_EQ(Module.UniqueID(), "DODU");
  Module.SetVersionMajor(2);
  Module.SetVersionMinor(3);
  Module.SetVersionRelease(4);
  EXPECT_EQ(Module.Effect()->version, 0x00020304);
}

TEST_F(InProcessModule, WrappersWithoutCallbackAnswerTheirDefaults) {
  EXPECT_EQ(Module.HostVersion(), 1);
  EXPECT_TRUE(Module.HostIsInputConnected(0));
  EXPECT_TRUE(Module.HostIsOutputConnected(1));
  EXPECT_EQ(Module.HostGetSampleRate(), 44100.0f);
  EXPECT_EQ(Module.HostGetBlockSize(), 1024);
  EXPECT_FALSE(Module.HostProcessEvents(nullptr));
  EXPECT_FALSE(Module.HostIOChanged());
  EXPECT_EQ(Module.HostCanDo("shellCategory"), 0);
  EXPECT_EQ(Module.HostGetTimeInfo(0), nullptr);
  EXPECT_EQ(Module.HostProductString(), "Unknown");
  EXPECT_TRUE(Host.Opcodes.empty());
}

TEST_F(InProcessModule, ProductStringAskedBeforeConnectionIsAskedAgainOnceConnected) {
  EXPECT_EQ(Module.HostProductString(), "Unknown");
  Host.ProductString = "Some Host";
  Connect();
  EXPECT_EQ(Module.HostProductString(), "Some Host");
}

TEST_F(InProcessModule, UnansweredProductStringStaysUnknown) {
  Connect();
  EXPECT_EQ(Module.HostProductString(), "Unknown");
  Host.ProductString = "Late";
  EXPECT_EQ(Module.HostProductString(), "Unknown");
}

TEST_F(InProcessModule, EmptyProductStringIsAskedAgain) {
  Host.ProductString = "";
  Connect();
  EXPECT_EQ(Module.HostProductString(), "");
  Host.ProductString = "Named Later";
  EXPECT_EQ(Module.HostProductString(), "Named Later");
  Host.ProductString = "Renamed";
  EXPECT_EQ(Module.HostProductString(), "Named Later");
}

VstIntPtr VSTCALLBACK NamingCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                     float) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode != audioMasterGetProductString) return 0;
  std::strcpy(static_cast<char*>(ptr), "Threaded Host");
  return 1;
}

// Threads that ask at once all read the one published text (the thread
// sanitizer build checks that nobody reads it while it is written).
TEST(ProductString, ConcurrentFirstQueriesAgree) {
  constexpr int kThreads = 4;
  for (int round = 0; round < 20; ++round) {
    TVSTModule module;
    module.Construct(TVSTModule::Class);
    module.SetHostCallback(&NamingCallback);
    std::vector<std::thread> threads;
    std::atomic<int> agreed{0};
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([&] {
        if (module.HostProductString() == "Threaded Host") agreed.fetch_add(1);
      });
    for (std::thread& thread : threads)
      thread.join();
    EXPECT_EQ(agreed.load(), kThreads);
  }
}

TEST(RandomSeeding, ConstructionLeavesTheCLibraryGeneratorAlone) {
  std::srand(1234);
  const int expected[] = {std::rand(), std::rand(), std::rand()};
  std::srand(1234);
  const int first = std::rand();
  TVSTModule module;
  module.Construct(TVSTModule::Class);
  EXPECT_EQ(first, expected[0]);
  EXPECT_EQ(std::rand(), expected[1]);
  EXPECT_EQ(std::rand(), expected[2]);
}

TEST_F(InProcessModule, VersionAnswerOfZeroFailsTheConnection) {
  Host.Answers[audioMasterVersion] = 0;
  try {
    Connect();
    FAIL() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "AudioMaster Error");
  }
}

TEST_F(InProcessModule, WrappersInterpretTheHostsAnswers) {
  Connect();
  Host.Answers[audioMasterVersion] = 0;
  EXPECT_EQ(Module.HostVersion(), 1);
  Host.Answers[audioMasterPinConnected] = 0;
  EXPECT_TRUE(Module.HostIsInputConnected(0));
  Host.Answers[audioMasterPinConnected] = 1;
  EXPECT_FALSE(Module.HostIsOutputConnected(0));
  Host.Answers[audioMasterProcessEvents] = 2;
  EXPECT_FALSE(Module.HostProcessEvents(nullptr));
  Host.Answers[audioMasterProcessEvents] = 1;
  EXPECT_TRUE(Module.HostProcessEvents(nullptr));
  Host.Answers[audioMasterOfflineGetCurrentPass] = 7;
  EXPECT_EQ(Module.HostOfflineGetCurrentPass(), 1);
  Host.Answers[audioMasterGetBlockSize] = 256;
  EXPECT_EQ(Module.HostGetBlockSize(), 256);
  EXPECT_EQ(Module.BlockSize(), 256);
  Host.Opcodes.clear();
  EXPECT_FALSE(Module.HostOpenFileSelector(nullptr));
  EXPECT_TRUE(Host.Opcodes.empty());
}

TEST_F(InProcessModule, CollectionsDriveTheRecordCounts) {
  Module.ParameterProperties().Add();
  Module.ParameterProperties().Add();
  Module.Programs().Add();
  EXPECT_EQ(Module.Effect()->numParams, 2);
  EXPECT_EQ(Module.Effect()->numPrograms, 1);
  EXPECT_EQ(Module.ParameterProperties()[1].DisplayName(), "Parameter 2");
  EXPECT_EQ(Module.Programs()[0].DisplayName(), "Init");
  Module.ParameterProperties().Delete(0);
  EXPECT_EQ(Module.Effect()->numParams, 1);
  EXPECT_EQ(Module.ParameterProperties()[0].Index(), 0);
}

TEST_F(InProcessModule, DescriptionsRejectUnknownPropertiesWrongValuesAndMismatchedHandlers) {
  const auto apply = [this](TProperty property) {
    ApplyProperty<TCustomVSTModule>(Module, TVSTModule::PublishedProperties(), TVSTModule::Class,
                                    property);
  };
  EXPECT_THROW(apply({"NoSuchProperty", std::int64_t{1}}), std::runtime_error);
  EXPECT_THROW(apply({"EffectName", std::int64_t{1}}), std::runtime_error);
  EXPECT_THROW(apply({"PlugCategory", TIdent{"cgNothing"}}), std::runtime_error);
  EXPECT_THROW(apply({"OnOpen", THandler{"Missing"}}), std::runtime_error);
  apply({"PlugCategory", TIdent{"cgMastering"}});
  EXPECT_EQ(Module.PlugCategory(), cgMastering);
  apply({"numParams", std::int64_t{99}});  // follows the collection instead
  EXPECT_EQ(Module.numParams(), 0);
}

TEST_F(InProcessModule, SpeakerArrangementUtilities) {
  VstSpeakerArrangement* from = nullptr;
  ASSERT_TRUE(Module.AllocateArrangement(from, 10));
  EXPECT_EQ(from->numChannels, 10);
  from->type = 42;
  VstSpeakerProperties* speakers = &from->speakers[0];
  for (int i = 0; i < 10; ++i) {
    speakers[i].azimuth = static_cast<float>(i);
    std::snprintf(speakers[i].name, sizeof(speakers[i].name), "Speaker %d", i);
    speakers[i].future[27] = static_cast<char>(i);
  }
  VstSpeakerArrangement* to = nullptr;
  ASSERT_TRUE(Module.MatchArrangement(to, from));
  EXPECT_EQ(to->type, 42);
  EXPECT_EQ(to->numChannels, 10);
  const VstSpeakerProperties* copied = &to->speakers[0];
  EXPECT_EQ(copied[9].azimuth, 9.0f);
  EXPECT_STREQ(copied[9].name, "Speaker 9");
  EXPECT_EQ(copied[9].future[27], 9);
  EXPECT_FALSE(Module.CopySpeaker(nullptr, speakers));
  EXPECT_FALSE(Module.MatchArrangement(to, nullptr));
  EXPECT_TRUE(Module.DeallocateArrangement(from));
  EXPECT_EQ(from, nullptr);
  Module.DeallocateArrangement(to);
}

}  // namespace
