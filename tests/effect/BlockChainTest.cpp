#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dsp/Downsampler2x.h"
#include "dsp/StereoOversampledChain.h"
#include "dsp/Upsampler2x.h"
#include "effect/FactoryPrograms.h"
#include "effect/ShapingPolynomial.h"

// The block path against the per-sample path, to the bit: every routine the
// machine has, both precisions, every factory program and random settings,
// all kinds of signal, fixed and random block schedules with setting changes
// between blocks, and the non-finite recovery at the end of each block.
namespace {

using TShaper = TShapingPolynomial;
constexpr int kChannels = 2;
constexpr int kSections = 8;
constexpr double kTransition = 0.01;
constexpr double kOffset = 1e-30;

#ifdef QUILLO_SANITIZED
constexpr int kSignalFrames = 1200;
constexpr int kLargestBlock = 512;
#else
constexpr int kSignalFrames = 6000;
constexpr int kLargestBlock = 4096;
#endif
// Block size 0 stands for a random schedule.
constexpr int kRandomSchedule = 0;
constexpr int kBlockSizes[] = {1, 2, 3, 7, 64, 511, 4096, kRandomSchedule};
// Settings change after this many blocks.
constexpr int kBlocksPerSetting = 5;

enum TSignal { sgNoise, sgSweep, sgSilence, sgFullScale, sgOver, sgNanBursts };
#ifdef QUILLO_SANITIZED
constexpr TSignal kSignals[] = {sgNoise, sgNanBursts};
#else
constexpr TSignal kSignals[] = {sgNoise, sgSweep, sgSilence, sgFullScale, sgOver, sgNanBursts};
#endif

std::vector<double> Signal(TSignal kind, int channel) {
  std::vector<double> s(kSignalFrames, 0.0);
  std::mt19937 random(17u + static_cast<unsigned>(channel) * 31u + static_cast<unsigned>(kind));
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (int n = 0; n < kSignalFrames; ++n) {
    const double t = static_cast<double>(n) / kSignalFrames;
    switch (kind) {
      case sgNoise:
        s[n] = noise(random);
        break;
      case sgSweep:  // up to nearly half the rate, the channels in quadrature
        s[n] = std::sin(0.5 * 3.14159 * t * n + channel * 1.5708);
        break;
      case sgSilence:
        break;
      case sgFullScale:
        s[n] = (n / (3 + channel)) % 2 == 0 ? 1.0 : -1.0;
        break;
      case sgOver:
        s[n] = 4.0 * noise(random);
        break;
      case sgNanBursts:
        s[n] = noise(random);
        if (n % 997 >= 990) s[n] = std::numeric_limits<double>::quiet_NaN();
        if (n % 1499 == 700 + channel) s[n] = std::numeric_limits<double>::infinity();
        break;
    }
  }
  return s;
}

std::vector<TShaper::TPolynomialCoefficients> Settings() {
  std::vector<TShaper::TPolynomialCoefficients> settings;
  const auto add = [&](const std::array<float, kHarmonicCount>& levels,
                       const std::array<float, kHarmonicCount>& phases) {
    TShaper::TLevels l{};
    TShaper::TPhaseSigns signs{};
    TShaper::TGains gains{};
    TShaper::TPolynomialCoefficients c{};
    for (int k = 0; k < kHarmonicCount; ++k) {
      l[k] = levels[k];
      signs[k] = TShaper::PhaseToSign(phases[k]);
    }
    TShaper::CalculateCoefficients(l, signs, gains, c);
    settings.push_back(c);
  };
  for (const TFactoryProgram& program : kFactoryPrograms)
    add(program.Levels, program.Phases);
  std::mt19937 random(5);
  std::uniform_real_distribution<float> level(-140.0f, 1.0f);
  std::uniform_real_distribution<float> phase(0.0f, 1.0f);
  for (int i = 0; i < 4; ++i) {
    std::array<float, kHarmonicCount> levels{};
    std::array<float, kHarmonicCount> phases{};
    for (int k = 0; k < kHarmonicCount; ++k) {
      levels[k] = level(random);
      phases[k] = i % 2 == 0 ? std::round(phase(random)) : phase(random);
    }
    add(levels, phases);
  }
  return settings;
}

// Two channels of resamplers as the effect designs them.
struct TResamplers {
  TResamplers() {
    for (int c = 0; c < kChannels; ++c) {
      Up[c].DesignCoefficients(kSections, kTransition);
      Down[c].DesignCoefficients(kSections, kTransition);
    }
  }
  // The effect's recovery at the end of a host call.
  void Recover() {
    for (int c = 0; c < kChannels; ++c) {
      if (!Up[c].StateIsFinite() || !Down[c].StateIsFinite()) {
        Up[c].ClearState();
        Down[c].ClearState();
      }
    }
  }
  TUpsampler2x Up[kChannels];
  TDownsampler2x Down[kChannels];
};

template <class Sample>
void PerSampleBlock(TResamplers& r, const Sample* const* in, Sample* const* out, int frames,
                    const TShaper::TPolynomialCoefficients& c) {
  for (int ch = 0; ch < kChannels; ++ch) {
    for (int n = 0; n < frames; ++n) {
      double pair[2];
      r.Up[ch].UpsampleDouble(static_cast<double>(in[ch][n]) + kOffset, pair);
      pair[0] = TShaper::Evaluate(c, pair[0]);
      pair[1] = TShaper::Evaluate(c, pair[1]);
      out[ch][n] = static_cast<Sample>(r.Down[ch].DownsampleDouble(pair));
    }
  }
  r.Recover();
}

// The same bits, except that any NaN matches any NaN: which payload and sign
// survive when two NaNs meet depends on the operand order, and compilers may
// swap the operands of an addition (builds of the per-sample path differ).
template <class Sample>
bool SameBits(Sample expected, Sample actual) {
  if (std::isnan(expected)) return std::isnan(actual);
  return std::memcmp(&expected, &actual, sizeof(Sample)) == 0;
}

template <class Sample>
void RunCase(TChainRoutine routine, TSignal signal, int blockSize, int firstSetting) {
  static const std::vector<TShaper::TPolynomialCoefficients> settings = Settings();
  std::vector<Sample> in[kChannels], expected[kChannels], actual[kChannels];
  for (int ch = 0; ch < kChannels; ++ch) {
    for (double v : Signal(signal, ch))
      in[ch].push_back(static_cast<Sample>(v));
    expected[ch].assign(in[ch].size(), Sample(0));
    actual[ch].assign(in[ch].size(), Sample(-7));
  }
  TResamplers reference;
  TResamplers blocks;
  TUpsampler2x* ups[kChannels] = {&blocks.Up[0], &blocks.Up[1]};
  TDownsampler2x* downs[kChannels] = {&blocks.Down[0], &blocks.Down[1]};
  TStereoOversampledChain chain;
  chain.Setup(ups, downs, kOffset);
  ASSERT_TRUE(chain.Ready());
  ASSERT_TRUE(chain.SelectRoutine(routine));
  std::mt19937 random(static_cast<unsigned>(blockSize * 7 + signal));
  std::uniform_int_distribution<int> randomSize(1, 700 < kLargestBlock ? 700 : kLargestBlock);
  int setting = firstSetting % static_cast<int>(settings.size());
  int start = 0;
  for (int block = 0; start < kSignalFrames; ++block) {
    if (block % kBlocksPerSetting == kBlocksPerSetting - 1)
      setting = (setting + 1) % static_cast<int>(settings.size());
    int size = blockSize == kRandomSchedule ? randomSize(random) : blockSize;
    if (size > kSignalFrames - start) size = kSignalFrames - start;
    const Sample* src[kChannels] = {in[0].data() + start, in[1].data() + start};
    Sample* ref[kChannels] = {expected[0].data() + start, expected[1].data() + start};
    Sample* got[kChannels] = {actual[0].data() + start, actual[1].data() + start};
    PerSampleBlock(reference, src, ref, size, settings[setting]);
    chain.Process(src, got, size, settings[setting].data());
    blocks.Recover();
    start += size;
  }
  for (int ch = 0; ch < kChannels; ++ch) {
    for (int n = 0; n < kSignalFrames; ++n) {
      if (!SameBits(expected[ch][n], actual[ch][n])) {
        FAIL() << "signal " << signal << ", block size " << blockSize << ", channel " << ch
               << ", frame " << n << ": " << expected[ch][n] << " expected, " << actual[ch][n]
               << " computed";
      }
    }
  }
}

class BlockChainIdentity : public testing::TestWithParam<TChainRoutine> {
 protected:
  void SetUp() override {
    if (!TStereoOversampledChain::RoutineAvailable(GetParam()))
      GTEST_SKIP() << "this machine lacks the routine";
  }

  template <class Sample>
  void RunAll() {
    int firstSetting = 0;
    for (TSignal signal : kSignals) {
      for (int size : kBlockSizes) {
        if (size > kLargestBlock) continue;
        RunCase<Sample>(GetParam(), signal, size, firstSetting++);
        if (HasFailure()) return;
      }
    }
  }
};

TEST_P(BlockChainIdentity, SinglePrecision) {
  RunAll<float>();
}

TEST_P(BlockChainIdentity, DoublePrecision) {
  RunAll<double>();
}

std::string RoutineName(const testing::TestParamInfo<TChainRoutine>& info) {
  static const char* const names[] = {"Portable", "Sse2", "Avx256"};
  return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Routines, BlockChainIdentity,
                         testing::Values(crPortable, crSse2, crAvx256), RoutineName);

TEST(BlockChainSetup, BindsTheFastestRoutineAndRefusesOtherSectionCounts) {
  TResamplers r;
  TUpsampler2x* ups[kChannels] = {&r.Up[0], &r.Up[1]};
  TDownsampler2x* downs[kChannels] = {&r.Down[0], &r.Down[1]};
  TStereoOversampledChain chain;
  chain.Setup(ups, downs, kOffset);
  EXPECT_TRUE(chain.Ready());
  EXPECT_EQ(chain.Routine(), TStereoOversampledChain::FastestRoutine());
  r.Down[1].DesignCoefficients(6, kTransition);
  chain.Setup(ups, downs, kOffset);
  EXPECT_FALSE(chain.Ready());
}

}  // namespace
