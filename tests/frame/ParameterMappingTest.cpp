#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/VSTModule.h"

// Parameter descriptions and the module's value access, on a module built in
// the test process.
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct TRange {
  TCurveType Curve;
  float Min;
  float Max;
  float CurveFactor;
};

class ParameterMapping : public ::testing::Test {
 protected:
  void SetUp() override { Module.Construct(TVSTModule::Class); }

  // Adds a description and answers its index.
  VstInt32 Add(const TRange& range) {
    TCustomVstParameterProperty& p = Module.ParameterProperties().Add();
    p.Curve = range.Curve;
    p.Min = range.Min;
    p.Max = range.Max;
    p.CurveFactor = range.CurveFactor;
    return p.Index();
  }

  TVSTModule Module;
};

const TRange kDecibels{ctLinear, -140.0f, 1.0f, 1.0f};
const TRange kLog{ctLogarithmic, 0.0f, 100.0f, 9.0f};
const TRange kExp{ctExponential, 0.0f, 1.0f, 1.0f};
const TRange kFrequency{ctFrequencyScale, 20.0f, 20000.0f, 1.0f};
const TRange kFrequencyFromZero{ctFrequencyScale, 0.0f, 100.0f, 1.0f};

enum TWay { kBothWays, kToNormalizedOnly, kToRealOnly };

struct TMappingRow {
  const char* Name;
  TRange Range;
  float Real;
  float Normalized;
  TWay Way;
};

const TMappingRow kMappingRows[] = {
    {"dB bottom", kDecibels, -140.0f, 0.0f, kBothWays},
    {"dB top", kDecibels, 1.0f, 1.0f, kBothWays},
    {"dB middle", kDecibels, -69.5f, 0.5f, kBothWays},
    {"dB above the range", kDecibels, 71.5f, 1.5f, kToRealOnly},
    {"dB clamped high", kDecibels, 71.5f, 1.0f, kToNormalizedOnly},
    {"dB clamped low", kDecibels, -200.0f, 0.0f, kToNormalizedOnly},
    {"log bottom", kLog, 0.0f, 0.0f, kBothWays},
    {"log top", kLog, 100.0f, 1.0f, kBothWays},
    {"log ninth", kLog, 100.0f / 9.0f, 0.30103f, kBothWays},
    {"log middle", kLog, 24.025307f, 0.5f, kBothWays},
    {"log clamped low", kLog, -5.0f, 0.0f, kToNormalizedOnly},
    {"log clamped high", kLog, 150.0f, 1.0f, kToNormalizedOnly},
    {"exp bottom", kExp, 0.0f, 0.0f, kBothWays},
    {"exp top", kExp, 1.0f, 1.0f, kBothWays},
    {"exp middle", kExp, 0.5f, 0.41421356f, kBothWays},
    {"exp quarter", kExp, 0.25f, 0.18920712f, kBothWays},
    // The frequency scale has no inverse: normalised values map linearly.
    {"frequency bottom", kFrequency, 20.0f, 0.0f, kToNormalizedOnly},
    {"frequency tenth", kFrequency, 2018.0f, 0.66810712f, kToNormalizedOnly},
    {"frequency top clamped", kFrequency, 20000.0f, 1.0f, kToNormalizedOnly},
    {"frequency below", kFrequency, 10.0f, 0.0f, kToNormalizedOnly},
    {"frequency linear back", kFrequency, 10010.0f, 0.5f, kToRealOnly},
    {"frequency from zero", kFrequencyFromZero, 9.0f, 0.5f, kToNormalizedOnly},
    {"frequency from zero back", kFrequencyFromZero, 50.0f, 0.5f, kToRealOnly},
};

TEST_F(ParameterMapping, CurvesMapBothWays) {
  for (const TMappingRow& row : kMappingRows) {
    const VstInt32 index = Add(row.Range);
    const float tolerance = 2e-6f * std::max(1.0f, std::fabs(row.Real));
    if (row.Way != kToRealOnly) {
      EXPECT_NEAR(Module.ParameterToNormalized(index, row.Real), row.Normalized, 2e-6f) << row.Name;
    }
    if (row.Way != kToNormalizedOnly) {
      EXPECT_NEAR(Module.NormalizedToParameter(index, row.Normalized), row.Real, tolerance)
          << row.Name;
    }
  }
}

struct TExactRow {
  const char* Name;
  TRange Range;
  float Real;
  float Normalized;
  TWay Way;
};

// Results to the last bit: the real value is formed with one rounding, the
// normalised one with the 32-bit steps as written.
const TExactRow kExactRows[] = {
    {"dB just above 0", kDecibels, 2.92062759e-6f, 0.99290782f, kToRealOnly},
    {"dB near the top", kDecibels, 0.859001815f, 0.999f, kToRealOnly},
    {"dB -7.72", kDecibels, -7.72165012f, 0.93814433f, kToRealOnly},
    {"dB middle", kDecibels, -69.5f, 0.5f, kToRealOnly},
    {"dB above the range", kDecibels, 71.5f, 1.5f, kToRealOnly},
    {"exp factor -0.5", {ctExponential, 0.0f, 1.0f, -0.5f}, 0.5f, 0.585786462f, kToNormalizedOnly},
    {"exp factor -0.5 back", {ctExponential, 0.0f, 1.0f, -0.5f}, 0.415037513f, 0.5f, kToRealOnly},
    {"log factor -0.5", {ctLogarithmic, 0.0f, 1.0f, -0.5f}, 0.5f, 0.415037513f, kToNormalizedOnly},
    {"frequency product first", kFrequency, 25.1800117f, 0.033371795f, kToNormalizedOnly},
};

TEST_F(ParameterMapping, MappingsRoundAsWritten) {
  for (const TExactRow& row : kExactRows) {
    const VstInt32 index = Add(row.Range);
    if (row.Way != kToRealOnly) {
      EXPECT_EQ(Module.ParameterToNormalized(index, row.Real), row.Normalized) << row.Name;
    }
    if (row.Way != kToNormalizedOnly) {
      EXPECT_EQ(Module.NormalizedToParameter(index, row.Normalized), row.Real) << row.Name;
    }
  }
}

struct TDegenerateRow {
  const char* Name;
  TRange Range;
  float Real;
  float Normalized;
  float NormalizedIn;
  float RealOut;
};

// Ranges outside the data model map linearly or onto Min, never through a
// division by zero.
const TDegenerateRow kDegenerateRows[] = {
    {"empty range", {ctLinear, 5.0f, 5.0f, 1.0f}, 7.0f, 0.0f, 0.7f, 5.0f},
    {"empty log range", {ctLogarithmic, 5.0f, 5.0f, 9.0f}, 5.0f, 0.0f, 0.7f, 5.0f},
    {"log factor 0", {ctLogarithmic, 0.0f, 1.0f, 0.0f}, 0.25f, 0.25f, 0.25f, 0.25f},
    {"log factor -1", {ctLogarithmic, 0.0f, 1.0f, -1.0f}, 0.25f, 0.25f, 0.25f, 0.25f},
    {"log factor NaN", {ctLogarithmic, 0.0f, 1.0f, kNaN}, 0.25f, 0.25f, 0.25f, 0.25f},
    {"log factor infinite", {ctLogarithmic, 0.0f, 1.0f, kInf}, 0.25f, 0.25f, 0.25f, 0.25f},
    {"exp factor 0", {ctExponential, 0.0f, 1.0f, 0.0f}, 0.75f, 0.75f, 0.75f, 0.75f},
    {"exp factor -2", {ctExponential, 0.0f, 1.0f, -2.0f}, 0.75f, 0.75f, 0.75f, 0.75f},
    {"frequency ratio 1", {ctFrequencyScale, 0.0f, 1.0f, 1.0f}, 0.25f, 0.25f, 0.25f, 0.25f},
    {"frequency negative ratio",
     {ctFrequencyScale, -20.0f, 20000.0f, 1.0f},
     4985.0f,
     0.25f,
     0.25f,
     4985.0f},
    {"frequency negative max", {ctFrequencyScale, 0.0f, -10.0f, 1.0f}, -2.5f, 0.25f, 0.25f, -2.5f},
};

TEST_F(ParameterMapping, DegenerateRangesStayFinite) {
  for (const TDegenerateRow& row : kDegenerateRows) {
    const VstInt32 index = Add(row.Range);
    EXPECT_FLOAT_EQ(Module.ParameterToNormalized(index, row.Real), row.Normalized) << row.Name;
    EXPECT_FLOAT_EQ(Module.NormalizedToParameter(index, row.NormalizedIn), row.RealOut) << row.Name;
  }
}

TEST_F(ParameterMapping, IndexesOutsideTheDescriptionsMapToZero) {
  Add(kDecibels);
  for (VstInt32 index : {-1, 1, 1000}) {
    EXPECT_EQ(Module.ParameterToNormalized(index, -69.5f), 0.0f) << index;
    EXPECT_EQ(Module.NormalizedToParameter(index, 0.5f), 0.0f) << index;
    EXPECT_EQ(Module.GetParameterValue(index), 0.0f) << index;
  }
}

TEST_F(ParameterMapping, SmoothingFactorOneReturnsTheValueExactly) {
  TCustomVstParameterProperty& p = Module.ParameterProperties().Add();
  // Far-apart values: arithmetic through the states alone would lose the
  // small ones next to the large.
  for (float value : {1e30f, 3.3f, -1e-30f, -1e30f, 0.1f, 7.0f})
    EXPECT_EQ(p.SmoothValue(value), value);
}

TEST_F(ParameterMapping, ValueArraysFollowTheDescriptions) {
  Module.Programs().Add();
  Module.Programs().Add();
  for (int i = 0; i < 3; ++i)
    Module.ParameterProperties().Add();
  TCustomVstProgram& second = Module.Programs()[1];
  ASSERT_EQ(second.ParameterValues().Count(), 3u);
  for (VstInt32 i = 0; i < 3; ++i)
    second.SetValue(i, static_cast<float>(i + 1));
  Module.ParameterProperties().Add();
  EXPECT_EQ(second.ParameterValues().Count(), 4u);
  EXPECT_EQ(second.GetValue(3), 0.0f);
  // Whichever description goes, the last value is dropped.
  Module.ParameterProperties().Delete(0);
  Module.ParameterProperties().Delete(0);
  ASSERT_EQ(Module.numParams(), 2);
  EXPECT_EQ(Module.Programs()[0].ParameterValues().Count(), 2u);
  EXPECT_EQ(second.GetValue(0), 1.0f);
  EXPECT_EQ(second.GetValue(1), 2.0f);
  EXPECT_EQ(second.GetValue(2), 0.0f);  // outside the parameters now
}

TEST_F(ParameterMapping, OutOfBoundsSetRaisesAndLeavesNoFlagBehind) {
  Add(kDecibels);
  for (VstInt32 index : {-1, 1}) {
    try {
      Module.SetParameterValue(index, 0.0f);
      ADD_FAILURE() << "no exception for " << index;
    } catch (const std::out_of_range& error) {
      EXPECT_STREQ(error.what(), "Index out of bounds");
    }
    EXPECT_FALSE(Module.InParameterChange());
  }
  Module.SetParameterValue(0, -3.0f);
  EXPECT_EQ(Module.GetParameterValue(0), -3.0f);
}

TEST_F(ParameterMapping, ChunkModeAsksTheModuleOnlyForExistingParameters) {
  Module.SetFlags(effFlagsProgramChunks);
  Add(kDecibels);
  Add(kDecibels);
  std::vector<VstInt32> asked;
  Module.OnGetChunkParameter = [&asked](TObject*, VstInt32 index) {
    asked.push_back(index);
    return -7.0f;
  };
  EXPECT_EQ(Module.GetParameterValue(1), -7.0f);
  EXPECT_EQ(Module.GetParameterValue(-1), 0.0f);
  EXPECT_EQ(Module.GetParameterValue(2), 0.0f);
  EXPECT_THAT(asked, ::testing::ElementsAre(1));
}

TEST_F(ParameterMapping, ChunkModeRejectsNullChunkData) {
  Module.SetFlags(effFlagsProgramChunks);
  Module.Programs().Add();
  Module.Programs().Add();
  EXPECT_EQ(Module.SetChunk(nullptr, 8, true), 0);
  EXPECT_EQ(Module.SetChunk(nullptr, 8, false), 0);
  EXPECT_TRUE(Module.Programs()[0].ChunkData().empty());
  EXPECT_FALSE(Module.EditorNeedsUpdate());
}

TEST_F(ParameterMapping, StoredTextsAreCutInCharactersNotBytes) {
  TCustomVstParameterProperty& p = Module.ParameterProperties().Add();
  std::string twoByteName;
  for (int i = 0; i < 31; ++i)
    twoByteName += "ä";
  p.SetDisplayName(twoByteName);
  p.SetUnits("µs/°C·m²x");
  p.SetShortLabel("äöüßéèàxy");
  EXPECT_EQ(p.DisplayName(), twoByteName.substr(0, 60));
  EXPECT_EQ(p.Units(), "µs/°C·m²");
  EXPECT_EQ(p.ShortLabel(), "äöüßéèà");
  TCustomVstProgram& program = Module.Programs().Add();
  program.SetDisplayName(twoByteName + twoByteName);
  EXPECT_EQ(program.DisplayName(), (twoByteName + twoByteName).substr(0, 100));
  TCustomVstShellPlugin& shell = Module.ShellPlugins().Add();
  shell.SetDisplayName(twoByteName + twoByteName);
  EXPECT_EQ(shell.DisplayName(), (twoByteName + twoByteName).substr(0, 100));
}

}  // namespace
