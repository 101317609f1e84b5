#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/frame/PluginFixture.h"

namespace {

using ::testing::ElementsAre;

TEST(EntryPoint, RecordCarriesTheDescribedIdentity) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  const AEffect& record = *effect->Record();
  EXPECT_EQ(record.magic, 0x56737450);
  EXPECT_EQ(record.numPrograms, 3);
  EXPECT_EQ(record.numParams, 0);
  EXPECT_EQ(record.numInputs, 2);
  EXPECT_EQ(record.numOutputs, 2);
  EXPECT_EQ(record.flags, 0x1011);
  EXPECT_EQ(record.initialDelay, 0);
  EXPECT_EQ(record.realQualities, 0);
  EXPECT_EQ(record.offQualities, 0);
  EXPECT_EQ(record.ioRatio, 1);
  EXPECT_EQ(record.uniqueID, FourCharCode('F', 'r', 'T', 's'));
  EXPECT_EQ(record.version, 0x00020304);
  EXPECT_EQ(record.resvd1, 0);
  EXPECT_EQ(record.resvd2, 0);
  EXPECT_NE(record.object, nullptr);
  EXPECT_EQ(record.object, record.user);
  EXPECT_NE(record.dispatcher, nullptr);
  EXPECT_NE(record.process, nullptr);
  EXPECT_NE(record.processReplacing, nullptr);
  EXPECT_NE(record.processDoubleReplacing, nullptr);
  EXPECT_NE(record.setParameter, nullptr);
  EXPECT_NE(record.getParameter, nullptr);
  const char zeros[sizeof(record.future)] = {};
  EXPECT_EQ(std::memcmp(record.future, zeros, sizeof(zeros)), 0);
}

TEST(EntryPoint, ConstructionRunsProgramInitThenInitializeThenCreate) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  EXPECT_THAT(plugin.Events(*effect), ElementsAre("ProgramInit:First", "ProgramInit:Third",
                                                  "Initialize:program=0", "Create"));
  EXPECT_EQ(effect->Dispatch(effGetProgram), 0);
}

TEST(EntryPoint, ConnectionAsksVersionWithoutRecordThenProductAndShellQuestion) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  const auto calls = plugin.Host.Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0].Opcode, audioMasterVersion);
  EXPECT_EQ(calls[0].Effect, nullptr);
  EXPECT_EQ(calls[1].Opcode, audioMasterGetProductString);
  EXPECT_EQ(calls[1].Effect, effect->Record());
  EXPECT_EQ(calls[2].Opcode, audioMasterCanDo);
  EXPECT_EQ(calls[2].Text, "shellCategory");
}

TEST(EntryPoint, FailuresAnswerNullWithoutLeaking) {
  {
    TPluginFixture plugin("test_full_plugin");
    plugin.Host.Version = 0;  // "AudioMaster Error"
    EXPECT_EQ(plugin.Host.TryInstantiate(plugin.Library), nullptr);
  }
  for (const char* name :
       {"test_nodesc_plugin", "test_badhandler_plugin", "test_createfail_new_plugin"}) {
    TPluginFixture plugin(name);
    EXPECT_EQ(plugin.Host.TryInstantiate(plugin.Library), nullptr) << name;
  }
  TPluginFixture plugin("test_full_plugin");
  EXPECT_EQ(plugin.Library.EntryPoint()(nullptr), nullptr);
}

TEST(EntryPoint, OnCreateFailureWithOldCreateOrderStillHandsOutTheModule) {
  TPluginFixture plugin("test_createfail_old_plugin");
  auto effect = plugin.Host.TryInstantiate(plugin.Library);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->EffectName().Text, "Create fails");
}

TEST(EntryPoint, ShortUniqueIdPacksMissingCharactersAsZero) {
  TPluginFixture plugin("test_bare_plugin");
  auto effect = plugin.Instantiate();
  EXPECT_EQ(effect->Record()->uniqueID, 0x41420000);
  EXPECT_EQ(effect->Record()->version, 0x00010000);
}

TEST(EntryPoint, CloseWithTheEditorOpenClosesItFirstThenDestroysTheModule) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  ASSERT_EQ(effect->Dispatch(effEditOpen, 0, 0, nullptr), 1);
  plugin.ClearEvents(*effect);
  EXPECT_EQ(effect->Close(), 1);
  EXPECT_THAT(plugin.Traces,
              ElementsAre("Dispatch:1", "EditClose", "Form.Destroy", "Close", "Destroy"));
}

TEST(EntryPoint, FailedCloseStillDestroysTheModule) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  effect->Dispatch(effVendorSpecific, kThrowNext);
  plugin.ClearEvents(*effect);
  EXPECT_EQ(effect->Close(), 0);
  EXPECT_THAT(plugin.Traces, ElementsAre("Dispatch:1", "Close", "Destroy"));
}

TEST(EntryPoint, InstancesAreIndependent) {
  TPluginFixture plugin("test_full_plugin");
  auto first = plugin.Instantiate();
  auto second = plugin.Instantiate();
  EXPECT_NE(first->Record(), second->Record());
  first->Dispatch(effVendorSpecific, kSetVu, 0, nullptr, 1.0f);
  EXPECT_EQ(first->Dispatch(effGetVu), 32767);
  EXPECT_EQ(second->Dispatch(effGetVu), 0);
  first->Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(first->Dispatch(effGetProgram), 2);
  EXPECT_EQ(second->Dispatch(effGetProgram), 0);
}

class ShellSelection : public ::testing::Test {
 protected:
  TPluginFixture Plugin{"test_shell_plugin"};
};

TEST_F(ShellSelection, WaveLabIsNeverAskedAndTheModuleLeavesTheShellCategory) {
  Plugin.Host.ProductString = "WaveLab";
  Plugin.Host.CanDoAnswers["shellCategory"] = 1;
  auto effect = Plugin.Instantiate();
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterCanDo), 0u);
  EXPECT_EQ(effect->Dispatch(effGetPlugCategory), cgUnknown);
  EXPECT_EQ(effect->Record()->uniqueID, FourCharCode('S', 'h', 'e', 'l'));
}

TEST_F(ShellSelection, HostWithoutShellSupportMakesTheCategoryUnknown) {
  auto effect = Plugin.Instantiate();
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterCanDo), 1u);
  EXPECT_EQ(effect->Dispatch(effGetPlugCategory), cgUnknown);
}

TEST_F(ShellSelection, RequestedEntryGivesItsIdentity) {
  Plugin.Host.CanDoAnswers["shellCategory"] = 1;
  Plugin.Host.CurrentId = FourCharCode('A', 'A', 'A', 'A');
  auto effect = Plugin.Instantiate();
  EXPECT_EQ(effect->Record()->uniqueID, FourCharCode('A', 'A', 'A', 'A'));
  EXPECT_EQ(effect->Record()->numInputs, 2);  // the entry's -1 keeps the module's
  EXPECT_EQ(effect->Record()->numOutputs, 4);
  EXPECT_EQ(effect->Dispatch(effGetPlugCategory), cgSynth);
  EXPECT_THAT(Plugin.Traces, ElementsAre("Instanciate:AAAA"));
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterIOChanged), 1u);
}

TEST_F(ShellSelection, UnknownIdLeavesTheModuleAShell) {
  Plugin.Host.CanDoAnswers["shellCategory"] = 1;
  Plugin.Host.CurrentId = FourCharCode('Z', 'Z', 'Z', 'Z');
  auto effect = Plugin.Instantiate();
  EXPECT_EQ(effect->Dispatch(effGetPlugCategory), cgShell);
  EXPECT_EQ(effect->Record()->uniqueID, FourCharCode('S', 'h', 'e', 'l'));
}

TEST_F(ShellSelection, EnumerationListsEntriesThenZeroThenStartsOver) {
  auto effect = Plugin.Instantiate();
  const auto first = effect->DispatchText(effShellGetNextPlugin, kVstMaxShellNameLen);
  const auto second = effect->DispatchText(effShellGetNextPlugin, kVstMaxShellNameLen);
  const auto end = effect->DispatchText(effShellGetNextPlugin, kVstMaxShellNameLen);
  const auto again = effect->DispatchText(effShellGetNextPlugin, kVstMaxShellNameLen);
  EXPECT_EQ(first.Result, FourCharCode('A', 'A', 'A', 'A'));
  EXPECT_EQ(first.Text, "Alpha");
  EXPECT_EQ(second.Result, FourCharCode('B', 'B', 'B', 'B'));
  EXPECT_EQ(second.Text, "Beta");
  EXPECT_EQ(end.Result, 0);
  EXPECT_EQ(end.BytesWritten, 0u);
  EXPECT_EQ(again.Result, FourCharCode('A', 'A', 'A', 'A'));
}

}  // namespace
