#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <thread>

#include "tests/HostEncodingSkip.h"
#include "tests/frame/ParameterTestPlugin.h"
#include "tests/frame/PluginFixture.h"

namespace {

using namespace parameter_plugin;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ParameterAccess : public ::testing::Test {
 protected:
  VstIntPtr SetText(VstInt32 index, const char* text) {
    return Effect->Dispatch(effString2Parameter, index, 0, const_cast<char*>(text));
  }
  std::string Display(VstInt32 index) {
    const TTextReply reply = Effect->ParameterDisplay(index);
    EXPECT_FALSE(reply.Overrun()) << index;
    return reply.Text;
  }
  void Clear() {
    Plugin.ClearEvents(*Effect);
    Plugin.Host.ClearCalls();
  }

  TPluginFixture Plugin{"test_parameter_plugin"};
  std::unique_ptr<TEffect> Effect = Plugin.Instantiate();
};

struct THostValueRow {
  float Normalized;
  const char* Display;
  float ReadBack;
};

TEST_F(ParameterAccess, LinearLevelMapsHostValuesWithoutClamping) {
  const THostValueRow rows[] = {
      {0.0f, "-140", 0.0f},    {1.0f, "1", 1.0f},
      {0.5f, "-69.5", 0.5f},   {1.5f, "71.5", 1.0f},  // stored beyond Max, read back clamped
      {-0.5f, "-210.5", 0.0f},
  };
  for (const THostValueRow& row : rows) {
    Effect->SetParameter(kPlain, row.Normalized);
    EXPECT_EQ(Display(kPlain), row.Display) << row.Normalized;
    EXPECT_FLOAT_EQ(Effect->GetParameter(kPlain), row.ReadBack) << row.Normalized;
  }
  EXPECT_EQ(Effect->ParameterLabel(kPlain).Text, "dB");
}

TEST_F(ParameterAccess, NonFiniteHostValuesAreIgnored) {
  Effect->SetParameter(kLogged, 0.25f);
  Clear();
  for (float value :
       {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity()})
    Effect->SetParameter(kLogged, value);
  EXPECT_FLOAT_EQ(Effect->GetParameter(kLogged), 0.25f);
  EXPECT_THAT(Plugin.Events(*Effect), IsEmpty());
}

TEST_F(ParameterAccess, SwitchesAreNotQuantised) {
  Effect->SetParameter(kSilentSwitch, 0.3f);
  EXPECT_FLOAT_EQ(Effect->GetParameter(kSilentSwitch), 0.3f);
  EXPECT_EQ(Display(kSilentSwitch), "0.3");
}

TEST_F(ParameterAccess, CurvedAndDegenerateParametersThroughTheHost) {
  Effect->SetParameter(kLogarithmic, 0.5f);
  EXPECT_EQ(Display(kLogarithmic), "24.0253");
  EXPECT_NEAR(Effect->GetParameter(kLogarithmic), 0.5f, 1e-6f);
  Effect->SetParameter(kEmptyRange, 0.7f);
  EXPECT_EQ(Display(kEmptyRange), "5");
  EXPECT_EQ(Effect->GetParameter(kEmptyRange), 0.0f);
}

TEST_F(ParameterAccess, SmoothedParameterApproachesInTwoStages) {
  // 0.5 maps to -100; the states start at 0.
  Effect->SetParameter(kSmoothed, 0.5f);
  EXPECT_EQ(Display(kSmoothed), "-25");
  Effect->SetParameter(kSmoothed, 0.5f);
  EXPECT_EQ(Display(kSmoothed), "-50");
  EXPECT_FLOAT_EQ(Effect->GetParameter(kSmoothed), 0.75f);
}

TEST_F(ParameterAccess, DisplayShowsTheMostDigitsThatFit) {
  const std::pair<const char*, const char*> rows[] = {
      {"-97.7", "-97.7"},     {"0.00001", "1E-5"},     {"-139.999984741211", "-140"}, {"-0", "0"},
      {"1234567", "1234567"}, {"-1234567", "-1.23E6"}, {"0.000123456", "0.00012"},
  };
  for (const auto& [text, display] : rows) {
    ASSERT_EQ(SetText(kPlain, text), 1) << text;
    EXPECT_EQ(Display(kPlain), display) << text;
  }
}

TEST_F(ParameterAccess, TextEntrySetsRealValuesAndReportsThem) {
  Clear();
  EXPECT_EQ(Effect->Dispatch(effString2Parameter, kPlain, 0, nullptr), 0);
  EXPECT_EQ(SetText(kPlain, " -12 "), 1);
  EXPECT_EQ(Display(kPlain), "-12");
  const auto reports = Plugin.Host.CallsWithOpcode(audioMasterAutomate);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].Index, kPlain);
  EXPECT_FLOAT_EQ(reports[0].Opt, 128.0f / 141.0f);
}

TEST_F(ParameterAccess, RejectedTextsChangeNothing) {
  SetText(kPlain, "-12");
  Clear();
  for (const char* text : {"12 dB", "", "nan", "0x10", "1e39", "1,5", "- 3"})
    EXPECT_EQ(SetText(kPlain, text), 0) << '"' << text << '"';
  for (VstInt32 index : {-1, kCount})
    EXPECT_EQ(SetText(index, "-3"), 0) << index;
  EXPECT_EQ(Display(kPlain), "-12");
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterAutomate), 0u);
  EXPECT_THAT(Plugin.Events(*Effect), IsEmpty());
}

TEST_F(ParameterAccess, HostTextsAreReadAtMost256Bytes) {
  // 256 bytes without a terminating zero, on the heap so that reading past
  // them is caught.
  constexpr std::size_t kBound = 256;
  auto text = std::make_unique<char[]>(kBound);
  std::memset(text.get(), ' ', kBound);
  text[kBound - 1] = '5';
  EXPECT_EQ(Effect->Dispatch(effString2Parameter, kPlain, 0, text.get()), 1);
  EXPECT_EQ(Display(kPlain), "5");
}

TEST_F(ParameterAccess, HandlersThatChangeTheValueChangeWhatIsStored) {
  Clear();
  EXPECT_EQ(SetText(kLimited, "0.75"), 1);
  EXPECT_EQ(Display(kLimited), "0");
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Module:5=0"));
}

TEST_F(ParameterAccess, OnlyTheHostsCallChainDropsReentryAndAutomation) {
  const float plainBefore = Effect->GetParameter(kPlain);
  Effect->Dispatch(effVendorSpecific, kArmReentry, 1);

  // From the host: the handler's setParameter calls are dropped before they
  // look at the index, its own change is dropped and nothing is reported.
  Clear();
  Effect->SetParameter(kReentrant, 0.5f);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Reentered", "Module:1=-69.5"));
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterAutomate), 0u);

  // From text entry: the nested setParameter runs (and reports the missing
  // parameter) but its change is dropped; both automated changes are
  // reported, the handler's before the outer one.
  Clear();
  EXPECT_EQ(SetText(kReentrant, "-20"), 1);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("SizeFailed", "Reentered", "Module:1=-20"));
  const auto reports = Plugin.Host.CallsWithOpcode(audioMasterAutomate);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].Index, kPlain);
  EXPECT_FLOAT_EQ(reports[0].Opt, 130.0f / 141.0f);
  EXPECT_EQ(reports[1].Index, kReentrant);
  EXPECT_FLOAT_EQ(reports[1].Opt, 120.0f / 141.0f);
  EXPECT_EQ(Effect->GetParameter(kPlain), plainBefore);
}

TEST_F(ParameterAccess, AThrowingHandlerLeavesNoGuardRaised) {
  Effect->Dispatch(effVendorSpecific, kThrowNext);
  Effect->SetParameter(kThrowing, 0.5f);
  Clear();
  Effect->SetParameter(kThrowing, 1.0f);
  Effect->SetParameter(kPlain, 0.0f);
  EXPECT_EQ(Display(kThrowing), "1");
  EXPECT_EQ(Display(kPlain), "-140");
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Module:2=1", "Module:4=-140"));
}

TEST_F(ParameterAccess, ChangesFromAnotherThreadAreNotDroppedWhileAHandlerRuns) {
  Effect->Dispatch(effVendorSpecific, kArmBlocking);
  std::thread automation([this] { Effect->SetParameter(kBlocking, 0.5f); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  bool blocked = false;
  while (!blocked && std::chrono::steady_clock::now() < deadline) {
    blocked = Effect->Dispatch(effVendorSpecific, kBlocked) == 1;
    std::this_thread::yield();
  }
  // While the other thread is inside its handler, this thread's host and
  // text-entry changes go through.
  Effect->SetParameter(kPlain, 0.25f);
  const VstIntPtr accepted = SetText(kLogged, "-7");
  const float plain = Effect->GetParameter(kPlain);
  const std::string logged = Display(kLogged);
  Effect->Dispatch(effVendorSpecific, kRelease);
  automation.join();
  EXPECT_TRUE(blocked);
  EXPECT_FLOAT_EQ(plain, 0.25f);
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(logged, "-7");
  EXPECT_FLOAT_EQ(Effect->GetParameter(kBlocking), 0.5f);
}

TEST_F(ParameterAccess, IndexesOutsideTheParametersAreRejected) {
  Clear();
  for (VstInt32 index : {-1, kCount, 1000}) {
    Effect->SetParameter(index, 0.5f);
    EXPECT_EQ(Effect->GetParameter(index), 0.0f) << index;
    EXPECT_EQ(Effect->ParameterName(index).Text, "undefined") << index;
    EXPECT_EQ(Effect->ParameterLabel(index).Text, "undefin") << index;
    EXPECT_EQ(Display(index), "undefin") << index;
    EXPECT_EQ(Effect->Dispatch(effCanBeAutomated, index), 1) << index;
  }
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("SizeFailed", "SizeFailed", "SizeFailed"));
}

TEST_F(ParameterAccess, AutomationFollowsCanBeAutomated) {
  EXPECT_EQ(Effect->Dispatch(effCanBeAutomated, kManualSwitch), 0);
  EXPECT_EQ(Effect->Dispatch(effCanBeAutomated, kReportingSwitch), 1);
  Clear();
  EXPECT_EQ(SetText(kManualSwitch, "1"), 1);
  EXPECT_EQ(Display(kManualSwitch), "1");
  EXPECT_EQ(Plugin.Host.CountOf(audioMasterAutomate), 0u);
}

TEST_F(ParameterAccess, TextsFitTheHostsBuffersAtCharacterBoundaries) {
  QUILLO_SKIP_UNLESS_UTF8_HOSTS();
  const TTextReply name = Effect->ParameterName(kLongTexts);
  const TTextReply units = Effect->ParameterLabel(kLongTexts);
  const TTextReply customLabel = Effect->ParameterLabel(kCustomSwitch);
  for (const TTextReply* reply : {&name, &units, &customLabel})
    EXPECT_FALSE(reply->Overrun());
  EXPECT_EQ(name.Text, "Größe der Übergänge für ä");
  EXPECT_EQ(units.Text, "µs/°C");
  EXPECT_EQ(customLabel.Text, "sw and ");
  EXPECT_EQ(Effect->ParameterName(kPlain).Text, "Harm 4");
}

TEST_F(ParameterAccess, CustomDisplayReplacesTheNumber) {
  Effect->SetParameter(kCustomSwitch, 1.0f);
  EXPECT_EQ(Display(kCustomSwitch), "On");
  Effect->SetParameter(kCustomSwitch, 0.2f);
  EXPECT_EQ(Display(kCustomSwitch), "Off");
}

VstParameterProperties Patterned() {
  VstParameterProperties properties;
  std::memset(&properties, 0x5A, sizeof(properties));
  return properties;
}

TEST_F(ParameterAccess, PropertiesAreReportedOnlyWhenAskedFor) {
  QUILLO_SKIP_UNLESS_UTF8_HOSTS();
  VstParameterProperties properties = Patterned();
  ASSERT_EQ(Effect->Dispatch(effGetParameterProperties, kReportingSwitch, 0, &properties), 1);
  EXPECT_EQ(properties.flags, 67);
  EXPECT_EQ(properties.stepFloat, 1.0f);
  EXPECT_EQ(properties.smallStepFloat, 0.5f);
  EXPECT_EQ(properties.largeStepFloat, 1.0f);
  EXPECT_STREQ(properties.label, "Harm 0 Phase");
  EXPECT_STREQ(properties.shortLabel, "PhaseIn");
  EXPECT_EQ(properties.minInteger, 0);
  EXPECT_EQ(properties.maxInteger, 1);
  EXPECT_EQ(properties.stepInteger, 1);
  EXPECT_EQ(properties.largeStepInteger, 1);
  EXPECT_EQ(properties.displayIndex, 0);
  // Not the plug-in's to write.
  EXPECT_EQ(properties.category, 0x5A5A);
  EXPECT_EQ(properties.numParametersInCategory, 0x5A5A);

  VstParameterProperties longTexts = Patterned();
  ASSERT_EQ(Effect->Dispatch(effGetParameterProperties, kLongTexts, 0, &longTexts), 1);
  EXPECT_STREQ(longTexts.label, "Größe der Übergänge für äußere");
  EXPECT_STREQ(longTexts.shortLabel, "äöü");

  for (VstInt32 index : {kSilentSwitch, -1, kCount}) {
    VstParameterProperties untouched = Patterned();
    const VstParameterProperties before = untouched;
    EXPECT_EQ(Effect->Dispatch(effGetParameterProperties, index, 0, &untouched), 0) << index;
    EXPECT_EQ(std::memcmp(&before, &untouched, sizeof(untouched)), 0) << index;
  }
}

}  // namespace
