#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/HostEncodingSkip.h"
#include "tests/frame/PluginFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What a module with no handlers, programs, parameters or editor answers to
// every opcode, with ptr at a zeroed scratch record.
struct TOpcodeRow {
  VstInt32 Opcode;
  VstIntPtr Value;
  VstIntPtr Expected;
};

const TOpcodeRow kBareAnswers[] = {
    {effOpen, 0, 0},
    {effSetProgram, 0, 0},
    {effGetProgram, 0, -1},
    {effSetProgramName, 0, 0},
    {effGetProgramName, 0, 0},
    {effGetParamLabel, 0, 0},
    {effGetParamDisplay, 0, 0},
    {effGetParamName, 0, 0},
    {effGetVu, 0, 0},
    {effSetSampleRate, 0, 1},
    {effSetBlockSize, 512, 0},
    {effMainsChanged, 1, 0},
    {effEditGetRect, 0, 0},
    {effEditOpen, 0, 0},
    {effEditClose, 0, 0},
    {effEditDraw, 0, 0},
    {effEditMouse, 0, 0},
    {effEditKey, 0, 0},
    {effEditIdle, 0, 0},
    {effEditTop, 0, 0},
    {effEditSleep, 0, 0},
    {effIdentify, 0, 0x4E764566},
    {effGetChunk, 0, 0},
    {effSetChunk, 16, 0},
    {effProcessEvents, 0, 1},
    {effCanBeAutomated, 0, 1},
    {effString2Parameter, 0, 0},
    {effGetNumProgramCategories, 0, 1},
    {effGetProgramNameIndexed, 0, 0},
    {effCopyProgram, 0, 0},
    {effConnectInput, 1, 1},
    {effConnectOutput, 1, 1},
    {effGetInputProperties, 0, 1},
    {effGetOutputProperties, 0, 1},
    {effGetPlugCategory, 0, cgUnknown},
    {effGetCurrentPosition, 0, 0},
    {effGetDestinationBuffer, 0, 0},
    {effOfflineNotify, 1, 0},
    {effOfflinePrepare, 1, 0},
    {effOfflineRun, 1, 0},
    {effProcessVarIo, 0, 0},
    {effSetSpeakerArrangement, 0, 0},
    {effSetBlockSizeAndSampleRate, 256, 1},
    {effSetBypass, 1, 0},
    {effGetEffectName, 0, 1},
    {effGetErrorText, 0, 0},
    {effGetVendorString, 0, 1},
    {effGetProductString, 0, 1},
    {effGetVendorVersion, 0, 0x00010000},
    {effVendorSpecific, 0, 0},
    {effCanDo, 0, 0},
    {effGetTailSize, 0, 0},
    {effIdle, 0, 0},
    {effGetIcon, 0, 0},
    {effSetViewPosition, 0, 0},
    {effGetParameterProperties, 0, 0},
    {effKeysRequired, 0, 1},
    {effGetVstVersion, 0, 2400},
    {effEditKeyDown, 0, 0},
    {effEditKeyUp, 0, 0},
    {effSetEditKnobMode, 0, 0},
    {effGetMidiProgramName, 0, 0},
    {effGetCurrentMidiProgram, 0, -1},
    {effGetMidiProgramCategory, 0, 0},
    {effHasMidiProgramsChanged, 0, 0},
    {effGetMidiKeyName, 0, 0},
    {effBeginSetProgram, 0, 0},
    {effEndSetProgram, 0, 0},
    {effGetSpeakerArrangement, 0, 0},
    {effShellGetNextPlugin, 0, 0},
    {effStartProcess, 0, 0},
    {effStopProcess, 0, 0},
    {effSetTotalSampleToProcess, 12345, 12345},
    {effSetPanLaw, 0, 0},
    {effBeginLoadBank, 0, -1},  // the zeroed info names another plug-in
    {effBeginLoadProgram, 0, -1},
    {77, 0, 0},
    {-1, 0, 0},
    {100000, 0, 0},
};

TEST(Dispatcher, BareModuleAnswersEveryOpcodeAsTabled) {
  TPluginFixture plugin("test_bare_plugin");
  auto effect = plugin.Instantiate();
  std::vector<VstInt32> covered;
  for (const TOpcodeRow& row : kBareAnswers) {
    alignas(16) std::array<char, 1024> scratch{};
    EXPECT_EQ(effect->Dispatch(row.Opcode, 0, row.Value, scratch.data()), row.Expected)
        << "opcode " << row.Opcode;
    covered.push_back(row.Opcode);
  }
  for (VstInt32 opcode = 0; opcode <= effBeginLoadProgram; ++opcode) {
    if (opcode == effClose) continue;
    EXPECT_NE(std::find(covered.begin(), covered.end(), opcode), covered.end()) << opcode;
  }
}

TEST(Dispatcher, NullPointersAreAnsweredWithoutWriting) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  for (VstInt32 opcode : {effSetProgramName,
                          effGetProgramName,
                          effGetParamLabel,
                          effGetParamDisplay,
                          effGetParamName,
                          effEditGetRect,
                          effGetChunk,
                          effSetChunk,
                          effProcessEvents,
                          effString2Parameter,
                          effGetProgramNameIndexed,
                          effGetInputProperties,
                          effGetOutputProperties,
                          effOfflineNotify,
                          effOfflinePrepare,
                          effOfflineRun,
                          effProcessVarIo,
                          effGetEffectName,
                          effGetVendorString,
                          effGetProductString,
                          effCanDo,
                          effGetParameterProperties,
                          effShellGetNextPlugin,
                          effBeginLoadBank,
                          effBeginLoadProgram})
    EXPECT_EQ(effect->Dispatch(opcode, 0, 1, nullptr), 0) << "opcode " << opcode;
}

TEST(Dispatcher, ParameterTextsOfAModuleWithoutParametersAreUndefinedAndBounded) {
  TPluginFixture plugin("test_bare_plugin");
  auto effect = plugin.Instantiate();
  const auto name = effect->ParameterName(0);
  const auto label = effect->ParameterLabel(3);
  const auto display = effect->ParameterDisplay(-1);
  EXPECT_EQ(name.Text, "undefined");
  EXPECT_EQ(label.Text, "undefin");
  EXPECT_EQ(display.Text, "undefin");
  EXPECT_FALSE(label.Overrun());
  EXPECT_FALSE(display.Overrun());
}

// A text cut to fit a host buffer must stay valid UTF-8.
bool EndsOnCharacterBoundary(const std::string& text) {
  std::size_t i = text.size();
  std::size_t continuation = 0;
  while (i > 0 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80) {
    --i;
    ++continuation;
  }
  if (i == 0) return continuation == 0;
  const auto lead = static_cast<unsigned char>(text[i - 1]);
  const std::size_t expected = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  return continuation == expected;
}

TEST(Dispatcher, NamesLongerThanHostBuffersAreCutAtCharacterBoundaries) {
  QUILLO_SKIP_UNLESS_UTF8_HOSTS();
  TPluginFixture plugin("test_bare_plugin");
  auto effect = plugin.Instantiate();
  const std::string fullName = "Bare test plug-in with ü and é!!";
  const auto name = effect->EffectName();
  EXPECT_FALSE(name.Overrun());
  EXPECT_LE(name.Text.size(), kVstMaxEffectNameLen - 1);
  EXPECT_EQ(fullName.rfind(name.Text, 0), 0u);
  EXPECT_TRUE(EndsOnCharacterBoundary(name.Text));
  for (const auto& reply : {effect->VendorString(), effect->ProductString()}) {
    EXPECT_FALSE(reply.Overrun());
    EXPECT_LE(reply.Text.size(), kVstMaxVendorStrLen - 1);
    EXPECT_TRUE(EndsOnCharacterBoundary(reply.Text));
  }
  EXPECT_EQ(effect->ProductString().Text, fullName);  // no product name: the effect name
}

TEST(Dispatcher, OnDispatcherFiresFirstForEveryOpcode) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  plugin.ClearEvents(*effect);
  effect->Dispatch(effOpen);
  effect->Dispatch(200);
  effect->Dispatch(-5);
  EXPECT_THAT(plugin.Traces, ElementsAre("Dispatch:0", "Open", "Dispatch:200", "Dispatch:-5"));
}

TEST(Dispatcher, HandlerExceptionsDoNotReachTheHost) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  effect->Dispatch(effVendorSpecific, kThrowNext);
  EXPECT_EQ(effect->Dispatch(effOpen), 0);
  EXPECT_EQ(effect->Dispatch(effGetVstVersion), 2400);
}

TEST(Dispatcher, VuIsScaledAndRoundedToEven) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  const std::pair<float, VstIntPtr> cases[] = {
      {1.0f, 32767}, {0.5f, 16384}, {0.0f, 0}, {-1.0f, -32767}, {0.03129673f, 1025}};
  for (const auto& [level, expected] : cases) {
    effect->Dispatch(effVendorSpecific, kSetVu, 0, nullptr, level);
    EXPECT_EQ(effect->Dispatch(effGetVu), expected) << level;
  }
}

TEST(Dispatcher, CanDoAnswersFromTheClaimedCapabilities) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  for (const TCanDoText& entry : kCanDoTexts) {
    const bool claimed =
        entry.CanDo == plugAsChannelInsert || entry.CanDo == plugAsSend || entry.CanDo == _2in2out;
    EXPECT_EQ(effect->CanDo(entry.Text), claimed ? 1 : -1) << entry.Text;
  }
  EXPECT_EQ(effect->CanDo("_2in2out"), 0);
  EXPECT_EQ(effect->CanDo("receiveVSTEvents"), 0);
  EXPECT_EQ(effect->CanDo(""), 0);
  plugin.ClearEvents(*effect);
  effect->CanDo("bypass");
  EXPECT_THAT(plugin.Events(*effect), ElementsAre("CanDo:bypass"));
}

TEST(Dispatcher, CanDoReadsAtMost64Bytes) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  // Exactly 64 bytes without a terminating zero, on the heap so that reading
  // past them is caught.
  auto query = std::make_unique<char[]>(kVstMaxCanDoLen);
  std::memset(query.get(), 'x', kVstMaxCanDoLen);
  std::memcpy(query.get(), "2in2out", 7);
  EXPECT_EQ(effect->Dispatch(effCanDo, 0, 0, query.get()), 0);
}

TEST(Dispatcher, PinPropertiesNameEachPinAndRejectBadIndexes) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  VstPinProperties pin;
  std::memset(&pin, 0x5A, sizeof(pin));
  pin.arrangementType = 1234;
  ASSERT_EQ(effect->Dispatch(effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input #2");
  EXPECT_STREQ(pin.shortLabel, "In2");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_EQ(pin.arrangementType, 1234);  // left as the host gave it

  for (VstInt32 index : {-1, 2, 1000}) {
    VstPinProperties untouched;
    std::memset(&untouched, 0x5A, sizeof(untouched));
    const VstPinProperties before = untouched;
    EXPECT_EQ(effect->Dispatch(effGetInputProperties, index, 0, &untouched), 0);
    EXPECT_EQ(effect->Dispatch(effGetOutputProperties, index, 0, &untouched), 0);
    EXPECT_EQ(std::memcmp(&before, &untouched, sizeof(untouched)), 0) << index;
  }
}

TEST(Dispatcher, PinHandlerMayChangeTextsButTheyStayWithinTheRecord) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  VstPinProperties pin{};
  ASSERT_EQ(effect->Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(std::string(pin.label), ("Output #1" + std::string(70, 'x')).substr(0, 63));
  EXPECT_STREQ(pin.shortLabel, "Outputs");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo | kVstPinUseSpeaker);
}

TEST(Dispatcher, MidiEventsReachTheHandlerInOrderSkippingOthers) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  VstMidiEvent first{};
  first.type = kVstMidiType;
  first.midiData[1] = 60;
  VstMidiEvent second = first;
  second.midiData[1] = 64;
  VstEvent sysex{};
  sysex.type = 6;
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } list{
      4,
      0,
      {reinterpret_cast<VstEvent*>(&first), nullptr, &sysex, reinterpret_cast<VstEvent*>(&second)}};
  plugin.ClearEvents(*effect);
  EXPECT_EQ(effect->Dispatch(effProcessEvents, 0, 0, &list), 1);
  EXPECT_THAT(plugin.Events(*effect), ElementsAre("Midi:60", "Midi:64"));

  for (VstInt32 count : {-1, 5000}) {
    plugin.ClearEvents(*effect);
    list.numEvents = count;
    effect->Dispatch(effProcessEvents, 0, 0, &list);
    EXPECT_THAT(plugin.Events(*effect), IsEmpty()) << count;
  }
}

TEST(Dispatcher, ProgramSelectionIgnoresSameAndOutOfRangeValues) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  for (VstIntPtr program : {VstIntPtr{-1}, VstIntPtr{3}, std::numeric_limits<VstIntPtr>::max(),
                            std::numeric_limits<VstIntPtr>::min()}) {
    effect->Dispatch(effSetProgram, 0, program);
    EXPECT_EQ(effect->Dispatch(effGetProgram), 0);
  }
  effect->Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(effect->Dispatch(effGetProgram), 2);
  EXPECT_EQ(effect->ProgramName().Text, "Third");
  EXPECT_EQ(plugin.Events(*effect).back(), "Create");  // no further handler ran
}

TEST(Dispatcher, ProgramNamesAreStoredInFullAndHandedOutWithinTheBuffer) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  const std::string longName(60, 'n');
  effect->Dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  const auto reply = effect->ProgramName();
  EXPECT_FALSE(reply.Overrun());
  EXPECT_EQ(reply.Text, std::string(kVstMaxProgNameLen - 1, 'n'));
  // Hosts may hand a larger buffer; the plug-in still writes only 24 bytes.
  EXPECT_EQ(effect->ProgramName(100).BytesWritten, kVstMaxProgNameLen);
}

TEST(Dispatcher, EventsWithResultsAnswerOneOnlyWhenAssigned) {
  TPluginFixture full("test_full_plugin");
  auto effect = full.Instantiate();
  full.ClearEvents(*effect);
  EXPECT_EQ(effect->Dispatch(effStartProcess), 1);
  EXPECT_EQ(effect->Dispatch(effStopProcess), 0);
  EXPECT_EQ(effect->Dispatch(effSetPanLaw, 0, 2, nullptr, 0.5f), 1);
  EXPECT_EQ(effect->Dispatch(effConnectInput, 1, 1), 1);
  VstPatchChunkInfo info{};
  info.pluginUniqueID = effect->Record()->uniqueID;
  info.numElements = 3;
  EXPECT_EQ(effect->Dispatch(effBeginLoadBank, 0, 0, &info), 0);
  info.pluginUniqueID = FourCharCode('O', 't', 'h', 'r');
  EXPECT_EQ(effect->Dispatch(effBeginLoadBank, 0, 0, &info), -1);
  // The event fires for another plug-in's data too; it cannot change the answer.
  EXPECT_THAT(full.Events(*effect),
              ElementsAre("StartProcess", "PanLaw:2,0.500000", "InConnected:1,1", "BeginLoadBank:3",
                          "BeginLoadBank:3"));
}

TEST(Dispatcher, SampleRateAndBlockSizeFireOnlyOnChange) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  plugin.ClearEvents(*effect);
  effect->Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->Dispatch(effSetBlockSize, 0, 1024);
  effect->Dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f);
  EXPECT_THAT(plugin.Events(*effect), ElementsAre("SampleRate:48000", "BlockSize:256"));
}

TEST(Dispatcher, ResumeAsksForMidiAndSuspendDoesNot) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  plugin.ClearEvents(*effect);
  plugin.Host.ClearCalls();
  effect->Dispatch(effMainsChanged, 0, 1);
  effect->Dispatch(effMainsChanged, 0, 0);
  EXPECT_THAT(plugin.Events(*effect), ElementsAre("Resume", "Suspend"));
  const auto wantMidi = plugin.Host.CallsWithOpcode(audioMasterWantMidi);
  ASSERT_EQ(wantMidi.size(), 1u);
  EXPECT_EQ(wantMidi[0].Value, 1);
}

class EditorHosting : public ::testing::Test {
 protected:
  TPluginFixture Plugin{"test_full_plugin"};
  std::unique_ptr<TEffect> Effect = Plugin.Instantiate();
};

TEST_F(EditorHosting, OpenEmbedsTheFormAndTheRectangleReportsItsSize) {
  ERect* rect = nullptr;
  EXPECT_EQ(Effect->Dispatch(effEditGetRect, 0, 0, &rect), 0);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->bottom, 0);
  Plugin.ClearEvents(*Effect);
  int parent = 0;
  EXPECT_EQ(Effect->Dispatch(effEditOpen, 0, 0, &parent), 1);
  const std::string parentText =
      "Form.Parent:" + std::to_string(reinterpret_cast<std::uintptr_t>(&parent));
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("EditOpen", parentText, "Form.Show", "Form.Borderless",
                          "Form.Bounds:0,0,443,314", "Form.Invalidate"));
  EXPECT_EQ(Effect->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 314);
  EXPECT_EQ(rect->right, 443);
}

TEST_F(EditorHosting, CloseFiresBeforeTheFormGoesAndTheRectangleKeepsItsSize) {
  Effect->Dispatch(effEditOpen);
  ERect* rect = nullptr;
  Effect->Dispatch(effEditGetRect, 0, 0, &rect);
  Plugin.ClearEvents(*Effect);
  Effect->Dispatch(effEditClose);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("EditClose", "Form.Destroy"));
  EXPECT_EQ(Effect->Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect->bottom, 314);
  EXPECT_EQ(rect->right, 443);
}

TEST_F(EditorHosting, IdleGivesTheFormTimeAndRepaintsOnlyAfterAChange) {
  Effect->Dispatch(effEditOpen);
  Effect->Dispatch(effEditIdle);  // the open itself is no pending change
  Plugin.ClearEvents(*Effect);
  Effect->Dispatch(effEditIdle);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Form.Idle"));
  Plugin.ClearEvents(*Effect);
  Effect->Dispatch(effSetProgram, 0, 1);
  Effect->Dispatch(effEditIdle);
  Effect->Dispatch(effEditIdle);
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("EditIdle", "Form.Invalidate", "Form.Idle", "Form.Idle"));
}

TEST_F(EditorHosting, ModuleWithoutEditorFlagNeverOpens) {
  TPluginFixture bare("test_bare_plugin");
  auto effect = bare.Instantiate();
  EXPECT_EQ(effect->Dispatch(effEditOpen), 0);
  EXPECT_EQ(effect->Dispatch(effKeysRequired), 1);
}

TEST_F(EditorHosting, KeysGoToTheFormAndTheHandler) {
  struct TCase {
    VstInt32 Opcode;
    VstInt32 Character;
    VstIntPtr Virt;
    float Modifier;
    std::vector<std::string> Expected;
  };
  const TCase cases[] = {
      // 'a' with shift; no alternate bit, so the key goes as a system key.
      {effEditKeyDown,
       'a',
       0,
       1.0f,
       {"Form.Key:Down,sys,65,8192", "Form.Key:Char,65,0", "KeyDown:97,0,1"}},
      // Virtual key 15 (page up) with the alternate bit: a plain key.
      {effEditKeyDown,
       0,
       15,
       2.0f,
       {"Form.Key:Down,38,256", "Form.Key:Char,38,256", "KeyDown:0,15,2"}},
      {effEditKeyUp, 0, 15, 2.0f, {"Form.Key:Up,38,256"}},
      {effEditKeyUp, 'a', 0, 0.0f, {"Form.Key:Up,sys,97,8192"}},
  };
  EXPECT_EQ(Effect->Dispatch(effKeysRequired), 0);
  Effect->Dispatch(effEditOpen);
  for (const TCase& c : cases) {
    Plugin.ClearEvents(*Effect);
    EXPECT_EQ(Effect->Dispatch(c.Opcode, c.Character, c.Virt, nullptr, c.Modifier), 0);
    EXPECT_EQ(Plugin.Events(*Effect), c.Expected) << c.Character << "," << c.Virt;
  }
}

TEST_F(EditorHosting, DeclaredSizeIsReportedBeforeWhileAndAfterOpenAndWhenNoWindowIsMade) {
  // The fake form's own size, declared as the effect declares its editor's.
  constexpr int kWidth = 443;
  constexpr float kHeight = 314.0f;
  Effect->Dispatch(effVendorSpecific, kSetEditorSize, kWidth, nullptr, kHeight);
  ERect* rect = nullptr;
  const auto expectSize = [&](const char* when) {
    EXPECT_EQ(Effect->Dispatch(effEditGetRect, 0, 0, &rect), 1) << when;
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(std::vector<int>({rect->top, rect->left, rect->bottom, rect->right}),
              std::vector<int>({0, 0, 314, 443}))
        << when;
  };
  expectSize("before the first open");
  Effect->Dispatch(effVendorSpecific, kFailNextWindow);
  Plugin.ClearEvents(*Effect);
  EXPECT_EQ(Effect->Dispatch(effEditOpen), 0);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("EditOpen", "Form.Parent:0", "Form.Destroy"));
  expectSize("after a failed open");
  EXPECT_EQ(Effect->Dispatch(effEditOpen), 1);
  expectSize("while open");
  Effect->Dispatch(effEditClose);
  expectSize("after close");
}

TEST_F(EditorHosting, WithoutDeclaredSizeAFailedOpenLeavesTheRectangleUnanswered) {
  Effect->Dispatch(effVendorSpecific, kFailNextWindow);
  EXPECT_EQ(Effect->Dispatch(effEditOpen), 0);
  ERect* rect = nullptr;
  EXPECT_EQ(Effect->Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect->bottom, 0);
  EXPECT_EQ(rect->right, 0);
}

TEST_F(EditorHosting, SecondOpenClosesTheFirstFormBeforeMakingTheNext) {
  Effect->Dispatch(effEditOpen);
  Plugin.ClearEvents(*Effect);
  EXPECT_EQ(Effect->Dispatch(effEditOpen), 1);
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("EditClose", "Form.Destroy", "EditOpen", "Form.Parent:0", "Form.Show",
                          "Form.Borderless", "Form.Bounds:0,0,443,314", "Form.Invalidate"));
}

TEST(OutputEvents, QueuedEventsAreSentOnceAfterProcessing) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  VstInt32 sentCount = -1;
  plugin.Host.SetHook(audioMasterProcessEvents, [&](const THostCall& call) -> VstIntPtr {
    sentCount = static_cast<const VstEvents*>(call.Ptr)->numEvents;
    return 1;
  });
  effect->Dispatch(effVendorSpecific, kQueueEvents, 3);
  TChannelBuffers<float> in(2, 16), out(2, 16);
  effect->ProcessReplacing(in, out);
  EXPECT_EQ(sentCount, 3);
  effect->ProcessReplacing(in, out);
  EXPECT_EQ(plugin.Host.CountOf(audioMasterProcessEvents), 1u);
}

TEST(Processing, NormalModeHandsTheHostArraysThrough) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  TChannelBuffers<float> in(2, 64, 0.125f), out(2, 64);
  plugin.ClearEvents(*effect);
  effect->ProcessReplacing(in, out);
  char expected[128];
  std::snprintf(expected, sizeof(expected), "Process:64:%p:%p", static_cast<void*>(in.Data()),
                static_cast<void*>(out.Data()));
  EXPECT_THAT(plugin.Events(*effect), ElementsAre(expected));
  EXPECT_EQ(out[1][63], 0.625f);

  TChannelBuffers<double> inD(2, 8, 1.0), outD(2, 8);
  effect->ProcessDoubleReplacing(inD, outD);
  EXPECT_EQ(outD[0][7], 1.25);
}

TEST(Processing, AccumulatingSlotAddsTheHandlersOutput) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  // More frames than the frame hands its handler at once.
  TChannelBuffers<float> in(2, 1000, 0.0f), out(2, 1000, 0.25f);
  effect->Process(in, out);
  for (std::size_t c = 0; c < 2; ++c)
    for (float sample : out[c])
      ASSERT_EQ(sample, 0.75f);
}

}  // namespace

namespace {

TEST(Processing, MissingHostBuffersAreNotTouched) {
  TPluginFixture plugin("test_full_plugin");
  auto effect = plugin.Instantiate();
  AEffect* record = effect->Record();
  TChannelBuffers<float> in(2, 32), out(2, 32);
  plugin.ClearEvents(*effect);
  record->processReplacing(record, in.Data(), nullptr, 32);
  record->processReplacing(record, nullptr, out.Data(), 32);
  float* holes[2] = {out.Data()[0], nullptr};
  record->processReplacing(record, in.Data(), holes, 32);
  record->process(record, in.Data(), holes, 32);
  double* doubleHoles[2] = {nullptr, nullptr};
  record->processDoubleReplacing(record, doubleHoles, doubleHoles, 32);
  EXPECT_THAT(plugin.Events(*effect), IsEmpty());
  // Queued events still reach the host.
  effect->Dispatch(effVendorSpecific, kQueueEvents, 2);
  record->processReplacing(record, nullptr, nullptr, 32);
  EXPECT_EQ(plugin.Host.CountOf(audioMasterProcessEvents), 1u);
}

}  // namespace
