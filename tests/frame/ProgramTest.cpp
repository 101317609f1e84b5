#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/HostEncodingSkip.h"
#include "tests/frame/ParameterTestPlugin.h"
#include "tests/frame/PluginFixture.h"

#if defined(_WIN32)
#include <windows.h>

constexpr UINT kWesternEuropean = 1252;
#endif

namespace {

using namespace parameter_plugin;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr const char* kDisplayRefresh = "<updateDisplay>";

class Programs : public ::testing::Test {
 protected:
  void SetUp() override {
    // Display refreshes join the module's traces, so that their place among
    // the handler calls shows.
    Plugin.Host.SetHook(audioMasterUpdateDisplay, [this](const THostCall&) -> VstIntPtr {
      Plugin.Traces.emplace_back(kDisplayRefresh);
      return 1;
    });
    Effect = Plugin.Instantiate();
    Plugin.ClearEvents(*Effect);
  }
  void Select(VstIntPtr program) { Effect->Dispatch(effSetProgram, 0, program); }
  std::string FullProgramName() {
    std::array<char, 256> buffer{};
    Effect->Dispatch(effVendorSpecific, kReadProgramName, buffer.size(), buffer.data());
    return buffer.data();
  }

  TPluginFixture Plugin{"test_parameter_plugin"};
  std::unique_ptr<TEffect> Effect;
};

TEST_F(Programs, SwitchFiresBeforeAfterEveryValueThenRefreshesTheDisplay) {
  Select(5);
  std::vector<std::string> expected{"Before:0", "After:5", "Item:0=-5"};
  for (VstInt32 i = 0; i < kCount; ++i)
    expected.push_back("Module:" + std::to_string(i) + "=-5");
  expected.emplace_back(kDisplayRefresh);
  EXPECT_THAT(Plugin.Traces, ElementsAreArray(expected));
  EXPECT_EQ(Effect->Dispatch(effGetProgram), 5);
  EXPECT_EQ(Effect->ParameterDisplay(kPlain).Text, "-5");
}

TEST_F(Programs, SelectingTheCurrentOrAMissingProgramDoesNothing) {
  for (VstIntPtr program : {VstIntPtr{0}, VstIntPtr{-1}, VstIntPtr{kCount}})
    Select(program);
  EXPECT_THAT(Plugin.Traces, IsEmpty());
  EXPECT_EQ(Effect->Dispatch(effGetProgram), 0);
}

TEST_F(Programs, EditsSurviveSwitchingAwayAndBack) {
  Select(2);
  Effect->SetParameter(kPlain, 0.5f);
  Select(3);
  EXPECT_EQ(Effect->ParameterDisplay(kPlain).Text, "-3");
  Select(2);
  EXPECT_EQ(Effect->ParameterDisplay(kPlain).Text, "-69.5");
  EXPECT_EQ(Effect->ParameterDisplay(kLogged).Text, "-2");
}

TEST_F(Programs, AFailingHandlerEndsTheReapplicationButNotTheSwitch) {
  Effect->Dispatch(effVendorSpecific, kThrowNext);
  Select(3);
  EXPECT_THAT(Plugin.Traces, ElementsAre("Before:0", "After:3", "Item:0=-3", "Module:0=-3",
                                         "Module:1=-3", kDisplayRefresh));
  EXPECT_EQ(Effect->Dispatch(effGetProgram), 3);
  EXPECT_EQ(Effect->ProgramName().Text, "Program 3");
  // Nothing is left blocked: the next switch applies every value.
  Plugin.ClearEvents(*Effect);
  Select(4);
  EXPECT_EQ(Plugin.Traces.size(), 2u + 1u + kCount + 1u);
}

TEST_F(Programs, NamesAreKeptWholeAndHandedOutWithin24Bytes) {
  QUILLO_SKIP_UNLESS_UTF8_HOSTS();
  for (VstInt32 i = 0; i < 14; ++i)
    EXPECT_EQ(Effect->ProgramNameIndexed(i).Text, "Program " + std::to_string(i));
  const TTextReply multiByte = Effect->ProgramNameIndexed(15);
  EXPECT_EQ(multiByte.Result, 1);
  EXPECT_FALSE(multiByte.Overrun());
  EXPECT_EQ(multiByte.Text, "Prögrâmmé mit einem ");
  for (VstInt32 index : {-1, kCount}) {
    const TTextReply none = Effect->ProgramNameIndexed(index);
    EXPECT_EQ(none.Result, 0) << index;
    EXPECT_EQ(none.BytesWritten, 0u) << index;
  }
  // A stored name keeps 50 characters.
  Select(14);
  EXPECT_EQ(FullProgramName(), "Fourteen: " + std::string(40, 'x'));
  const TTextReply current = Effect->ProgramName();
  EXPECT_FALSE(current.Overrun());
  EXPECT_EQ(current.Text, "Fourteen: " + std::string(13, 'x'));
}

TEST_F(Programs, HostNamesAreReadBoundedAndKeptTo50Characters) {
  QUILLO_SKIP_UNLESS_UTF8_HOSTS();
  std::string twoByte;
  for (int i = 0; i < 60; ++i)
    twoByte += "é";
  Effect->Dispatch(effSetProgramName, 0, 0, twoByte.data());
  EXPECT_EQ(FullProgramName(), twoByte.substr(0, 100));
  EXPECT_EQ(Effect->ProgramName().Text, twoByte.substr(0, 22));

  // 256 bytes without a terminating zero, on the heap so that reading past
  // them is caught.
  constexpr std::size_t kBound = 256;
  auto unterminated = std::make_unique<char[]>(kBound);
  std::memset(unterminated.get(), 'n', kBound);
  Effect->Dispatch(effSetProgramName, 0, 0, unterminated.get());
  EXPECT_EQ(FullProgramName(), std::string(50, 'n'));
  EXPECT_EQ(Effect->ProgramNameIndexed(0).Text, std::string(23, 'n'));
}

TEST_F(Programs, ChunkRequestsWithoutProgramChunksAnswerZero) {
  int sentinel = 0;
  for (VstInt32 isPreset : {0, 1}) {
    void* data = &sentinel;
    EXPECT_EQ(Effect->Dispatch(effGetChunk, isPreset, 0, &data), 0);
    EXPECT_EQ(data, &sentinel);
    std::array<std::uint8_t, 8> chunk{};
    EXPECT_EQ(Effect->Dispatch(effSetChunk, isPreset, chunk.size(), chunk.data()), 0);
  }
  EXPECT_THAT(Plugin.Traces, IsEmpty());
  EXPECT_EQ(Effect->ParameterDisplay(kPlain).Text, "0");
}

#if defined(_WIN32)
// A Windows host reads and writes program names in its ANSI code page
// (Windows-1252 in the test prefix): an accented letter takes one byte, so
// more of a name fits the 24 bytes, and the host's bytes are stored as the
// letters they stand for.
TEST_F(Programs, WindowsHostsExchangeNamesInTheirCodePage) {
  if (GetACP() != kWesternEuropean) GTEST_SKIP() << "needs code page " << kWesternEuropean;
  const TTextReply multiByte = Effect->ProgramNameIndexed(15);
  EXPECT_FALSE(multiByte.Overrun());
  EXPECT_EQ(multiByte.BytesWritten, 24u);
  EXPECT_EQ(multiByte.Text, "Prögrâmmé mit einem Nam");
  char cp1252[] = "S\xE3o Silvestre";
  Effect->Dispatch(effSetProgramName, 0, 0, cp1252);
  EXPECT_EQ(Effect->ProgramName().Text, "São Silvestre");
}
#endif

}  // namespace
