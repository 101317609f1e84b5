#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "tests/effect/EffectFixture.h"

// The built plug-in binary driven through its record, as a host drives it.
namespace {

TEST(EffectPlugin, RecordAndIdentity) {
  TEffectFixture fx;
  const AEffect& record = *fx.Effect->Record();
  EXPECT_EQ(record.magic, 0x56737450);
  EXPECT_EQ(record.numPrograms, 16);
  EXPECT_EQ(record.numParams, 16);
  EXPECT_EQ(record.numInputs, 2);
  EXPECT_EQ(record.numOutputs, 2);
  EXPECT_EQ(record.flags, 0x1011);
  EXPECT_EQ(record.uniqueID, 0x444F4455);
  EXPECT_EQ(record.version, 65536);
  EXPECT_EQ(record.initialDelay, 0);
  EXPECT_EQ(record.ioRatio, 1);
  EXPECT_EQ(fx.Effect->EffectName().Text, "Quillotron");
  EXPECT_EQ(fx.Effect->VendorString().Text, "Ostranel");
  EXPECT_EQ(fx.Effect->ProductString().Text, "Quillotron");
  EXPECT_EQ(fx.Effect->Dispatch(effGetPlugCategory), cgEffect);
  EXPECT_EQ(fx.Effect->Dispatch(effKeysRequired), 1);
  EXPECT_EQ(fx.Effect->Dispatch(effGetVendorVersion), 65536);
  EXPECT_EQ(fx.Effect->Dispatch(effEditOpen), 0);  // no parent window to open in
  ERect* rect = nullptr;
  EXPECT_EQ(fx.Effect->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ((std::array<int, 4>{rect->top, rect->left, rect->bottom, rect->right}),
            (std::array<int, 4>{0, 0, 314, 443}));
  for (const TCanDoText& entry : kCanDoTexts) {
    const bool claimed =
        entry.CanDo == plugAsChannelInsert || entry.CanDo == plugAsSend || entry.CanDo == _2in2out;
    EXPECT_EQ(fx.Effect->CanDo(entry.Text), claimed ? 1 : -1) << entry.Text;
  }
}

TEST(EffectPlugin, ParameterTextsAfterConstruction) {
  TEffectFixture fx;
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(fx.Effect->ParameterName(k).Text, "Harm " + std::to_string(k));
    EXPECT_EQ(fx.Effect->ParameterName(8 + k).Text, "Harm " + std::to_string(k) + " Phase");
    EXPECT_EQ(fx.Effect->ParameterLabel(k).Text, "dB");
    EXPECT_EQ(fx.Effect->ParameterLabel(8 + k).Text, "");
    EXPECT_EQ(fx.Effect->ParameterDisplay(k).Text, k == 0 ? "0" : "-140");
    EXPECT_EQ(fx.Effect->ParameterDisplay(8 + k).Text, "Norm.");
  }
  EXPECT_FLOAT_EQ(fx.Effect->GetParameter(0), 140.0f / 141.0f);
  EXPECT_EQ(fx.Effect->GetParameter(1), 0.0f);
}

TEST(EffectPlugin, PhaseDisplayFollowsTheUnroundedValue) {
  TEffectFixture fx;
  const std::pair<float, const char*> cases[] = {
      {0.5f, "Inv."}, {0.49f, "Norm."}, {1.0f, "Inv."}, {0.0f, "Norm."}};
  for (const auto& [value, text] : cases) {
    fx.Effect->SetParameter(9, value);
    EXPECT_EQ(fx.Effect->ParameterDisplay(9).Text, text) << value;
  }
}

TEST(EffectPlugin, OnlyTheFirstPhaseSwitchReportsItsProperties) {
  TEffectFixture fx;
  VstParameterProperties properties;
  std::memset(&properties, 0, sizeof(properties));
  ASSERT_EQ(fx.Effect->Dispatch(effGetParameterProperties, 8, 0, &properties), 1);
  EXPECT_EQ(properties.flags, kVstParameterIsSwitch);
  EXPECT_STREQ(properties.label, "Harm 0 Phase");
  EXPECT_STREQ(properties.shortLabel, "Inv.");
  EXPECT_EQ(properties.stepFloat, 1.0f);
  EXPECT_EQ(properties.maxInteger, 1);
  for (int index : {0, 7, 9, 15}) {
    EXPECT_EQ(fx.Effect->Dispatch(effGetParameterProperties, index, 0, &properties), 0) << index;
  }
}

TEST(EffectPlugin, ProgramNamesReachTheHostAsUtf8) {
  TEffectFixture fx;
  const char* names[] = {
      "Fundamental", "Hot Night In Rio", "Marivela",     "Pão de Açucar", "Apoador",
      "Leblon",      "Carnaval",         "Galeto Mania", "Tijuca",        "São Silvestre",
      "Bikini",      "Flutter",          "User",         "User",          "User",
      "User"};
  for (int i = 0; i < 16; ++i) {
    const auto reply = fx.Effect->ProgramNameIndexed(i);
    EXPECT_EQ(reply.Result, 1);
    EXPECT_EQ(reply.Text, names[i]) << i;
  }
  EXPECT_EQ(fx.Effect->Dispatch(effGetProgram), 0);
  EXPECT_EQ(fx.Effect->ProgramName().Text, "Fundamental");
}

TEST(EffectPlugin, SelectingAProgramAppliesItsValues) {
  TEffectFixture fx;
  fx.Effect->Dispatch(effSetProgram, 0, 8);  // Tijuca
  const char* expected[] = {"-100",  "-140",  "0",    "-140",  "0",     "-140",  "0",    "-140",
                            "Norm.", "Norm.", "Inv.", "Norm.", "Norm.", "Norm.", "Inv.", "Norm."};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(fx.Effect->ParameterDisplay(i).Text, expected[i]) << i;
  fx.Effect->Dispatch(effSetProgram, 0, 12);  // User: every harmonic at 0 dB
  for (int k = 0; k < 8; ++k)
    EXPECT_EQ(fx.Effect->ParameterDisplay(k).Text, "0") << k;
}

TEST(EffectPlugin, EditsSurviveProgramSwitches) {
  TEffectFixture fx;
  fx.Effect->Dispatch(effSetProgram, 0, 2);
  ASSERT_EQ(fx.Effect->Dispatch(effString2Parameter, 5, 0, const_cast<char*>("-12")), 1);
  fx.Effect->Dispatch(effSetProgram, 0, 3);
  fx.Effect->Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(fx.Effect->ParameterDisplay(5).Text, "-12");
}

class EffectProcessing : public ::testing::Test {
 protected:
  static std::vector<float> Noise(std::size_t frames, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::vector<float> noise(frames);
    for (float& x : noise)
      x = sample(random);
    return noise;
  }
  // Copies into the channel's own storage; assigning a new vector would leave
  // the host-side pointer array behind.
  template <class Sample>
  static void Fill(TChannelBuffers<Sample>& buffers, std::size_t channel,
                   const std::vector<float>& samples) {
    std::copy(samples.begin(), samples.end(), buffers[channel].begin());
  }
};

TEST_F(EffectProcessing, EveryOutputSampleIsWrittenNotAdded) {
  TEffectFixture fx;
  fx.SelectProgram(6);
  TChannelBuffers<float> in(2, 300), out(2, 300, std::numeric_limits<float>::quiet_NaN());
  Fill(in, 0, Noise(300, 1));
  Fill(in, 1, Noise(300, 2));
  fx.Effect->ProcessReplacing(in, out);
  for (std::size_t c = 0; c < 2; ++c)
    for (float x : out[c])
      ASSERT_TRUE(std::isfinite(x));
}

TEST_F(EffectProcessing, NonPositiveFrameCountsLeaveOutputsUntouched) {
  TEffectFixture fx;
  TChannelBuffers<float> in(2, 16, 0.5f), out(2, 16, 7.0f);
  for (VstInt32 frames : {0, -1, -4096}) {
    fx.Effect->ProcessReplacing(in.Data(), out.Data(), frames);
    for (std::size_t c = 0; c < 2; ++c)
      for (float x : out[c])
        ASSERT_EQ(x, 7.0f);
  }
}

TEST_F(EffectProcessing, InPlaceBuffersGiveTheSameOutput) {
  TEffectFixture separate, inPlace;
  separate.SelectProgram(3);
  inPlace.SelectProgram(3);
  TChannelBuffers<float> in(2, 512), out(2, 512), shared(2, 512);
  for (std::size_t c = 0; c < 2; ++c) {
    Fill(in, c, Noise(512, 3 + static_cast<unsigned>(c)));
    Fill(shared, c, Noise(512, 3 + static_cast<unsigned>(c)));
  }
  separate.Effect->ProcessReplacing(in, out);
  inPlace.Effect->ProcessReplacing(shared.Data(), shared.Data(), 512);
  for (std::size_t c = 0; c < 2; ++c)
    EXPECT_EQ(out[c], shared[c]);
}

TEST_F(EffectProcessing, OutputDoesNotDependOnTheBlockSize) {
  constexpr std::size_t kFrames = 8192;
  const std::vector<float> signal = Noise(kFrames, 5);
  std::vector<std::vector<float>> results;
  for (std::size_t block : {1u, 7u, 64u, 4096u}) {
    TEffectFixture fx;
    fx.SelectProgram(1);
    std::vector<float> output(kFrames);
    for (std::size_t done = 0; done < kFrames; done += block) {
      const std::size_t n = std::min(block, kFrames - done);
      TChannelBuffers<float> in(2, n), out(2, n);
      std::copy_n(signal.begin() + static_cast<std::ptrdiff_t>(done), n, in[0].begin());
      in[1] = in[0];
      fx.Effect->ProcessReplacing(in, out);
      std::copy(out[0].begin(), out[0].end(), output.begin() + static_cast<std::ptrdiff_t>(done));
    }
    results.push_back(output);
  }
  for (std::size_t i = 1; i < results.size(); ++i)
    EXPECT_EQ(results[i], results[0]) << i;
}

TEST_F(EffectProcessing, SingleAndDoublePrecisionAgreeToFloatPrecision) {
  TEffectFixture single, twice;
  single.SelectProgram(4);
  twice.SelectProgram(4);
  const std::vector<float> noise = Noise(2048, 6);
  TChannelBuffers<float> in(2, 2048), out(2, 2048);
  TChannelBuffers<double> inD(2, 2048), outD(2, 2048);
  for (std::size_t i = 0; i < noise.size(); ++i) {
    in[0][i] = in[1][i] = noise[i];
    inD[0][i] = inD[1][i] = noise[i];
  }
  single.Effect->ProcessReplacing(in, out);
  twice.Effect->ProcessDoubleReplacing(inD, outD);
  for (std::size_t i = 0; i < noise.size(); ++i)
    ASSERT_EQ(out[0][i], static_cast<float>(outD[0][i])) << i;
}

TEST_F(EffectProcessing, SilenceWithAnEvenHarmonicSettlesToTheConstantTerm) {
  TEffectFixture fx;
  fx.SetLevel(1, 0.0f);  // "Harm 1": the second harmonic at 0 dB gives c0 = 1
  TChannelBuffers<float> in(2, 4096), out(2, 4096);
  fx.Effect->ProcessReplacing(in, out);
  for (std::size_t i = 2048; i < 4096; ++i)
    ASSERT_NEAR(out[0][i], 1.0f, 1e-6f) << i;
}

TEST_F(EffectProcessing, SilenceNeverGivesSubnormalOutput) {
  TEffectFixture fx;
  TChannelBuffers<float> in(2, 48000), out(2, 48000);
  fx.Effect->ProcessReplacing(in, out);
  for (std::size_t c = 0; c < 2; ++c)
    for (float x : out[c])
      ASSERT_TRUE(x == 0.0f || std::fabs(x) >= FLT_MIN) << x;
  TChannelBuffers<double> inD(2, 48000), outD(2, 48000);
  fx.Effect->ProcessDoubleReplacing(inD, outD);
  for (double x : outD[0])
    ASSERT_TRUE(x == 0.0 || std::fabs(x) >= DBL_MIN) << x;
}

TEST_F(EffectProcessing, ANonFiniteBurstDoesNotSilenceTheChannelForGood) {
  TEffectFixture fx, reference;
  TChannelBuffers<float> burst(2, 64, 0.25f), out(2, 64);
  burst[0][10] = std::numeric_limits<float>::quiet_NaN();
  burst[1][20] = std::numeric_limits<float>::infinity();
  fx.Effect->ProcessReplacing(burst, out);
  // Afterwards the channel behaves like a fresh one.
  TChannelBuffers<float> in(2, 256), after(2, 256), fresh(2, 256);
  Fill(in, 0, Noise(256, 7));
  Fill(in, 1, Noise(256, 7));
  fx.Effect->ProcessReplacing(in, after);
  reference.Effect->ProcessReplacing(in, fresh);
  for (std::size_t c = 0; c < 2; ++c)
    EXPECT_EQ(after[c], fresh[c]);
}

}  // namespace

namespace {

// A single level change is picked up by recomputing only that level's
// coefficients; several changes by recomputing everything. Both must sound
// the same to the bit.
TEST(EffectCoefficients, OneLevelChangeSoundsLikeAFullRecomputation) {
  TEffectFixture partial, full;
  TChannelBuffers<float> silence(2, 256), ignored(2, 256);
  for (TEffectFixture* fx : {&partial, &full}) {
    fx->SelectProgram(3);  // "Harm 5" is off (-140 dB) there
    fx->Effect->ProcessReplacing(silence, ignored);
  }
  partial.SetLevel(2, -3.0f);
  full.SetLevel(2, -3.0f);
  full.SetLevel(5, -140.0f);  // unchanged, but a second change
  TChannelBuffers<float> in(2, 512), outPartial(2, 512), outFull(2, 512);
  for (std::size_t i = 0; i < 512; ++i)
    in[0][i] = in[1][i] = static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
  partial.Effect->ProcessReplacing(in, outPartial);
  full.Effect->ProcessReplacing(in, outFull);
  for (std::size_t c = 0; c < 2; ++c)
    EXPECT_EQ(outPartial[c], outFull[c]);
}

}  // namespace

namespace {

// Hosts send opcodes in any order and with any arguments; none may crash the
// plug-in or leave it unable to process. Buffers are large and zeroed, as a
// careful host's would be; null pointers are mixed in.
TEST(EffectRobustness, RandomDispatcherCallsLeaveAWorkingPlugin) {
  TEffectFixture fx;
  std::mt19937 random(2024);
  std::uniform_int_distribution<VstInt32> opcode(-2, effBeginLoadProgram + 4);
  std::uniform_int_distribution<VstInt32> index(-3, 20);
  std::uniform_int_distribution<int> coin(0, 3);
  std::uniform_real_distribution<float> opt(-2.0f, 96000.0f);
  for (int call = 0; call < 20000; ++call) {
    const VstInt32 op = opcode(random);
    if (op == effClose || op == effEditOpen) continue;
    alignas(16) std::array<char, 4096> scratch{};
    void* ptr = coin(random) == 0 ? nullptr : scratch.data();
    const VstIntPtr value = coin(random) == 0 ? -1 : static_cast<VstIntPtr>(random() % 20);
    fx.Effect->Dispatch(op, index(random), value, ptr, opt(random));
    if (call % 97 == 0) fx.Effect->SetParameter(index(random), opt(random) / 96000.0f);
  }
  fx.Effect->Dispatch(effMainsChanged, 0, 1);
  fx.SelectProgram(0);
  TChannelBuffers<float> in(2, 512, 0.25f), out(2, 512);
  fx.Effect->ProcessReplacing(in, out);
  for (std::size_t c = 0; c < 2; ++c)
    for (float x : out[c])
      ASSERT_TRUE(std::isfinite(x));
}

}  // namespace
