#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "frame/DVSTEffect.h"

namespace {

TEST(AbiLayout, FourCharCodesPackFirstCharacterHighest) {
  EXPECT_EQ(kEffectMagic, 0x56737450);
  EXPECT_EQ(kEffectIdentify, 0x4E764566);
  EXPECT_EQ(FourCharCode('D', 'O', 'D', 'U'), 0x444F4455);
}

struct OpcodeRow {
  VstInt32 Value;
  int Expected;
};

TEST(AbiLayout, PublishedNumbersOfSelectedOpcodes) {
  const OpcodeRow rows[] = {
      {effGetVu, 9},
      {effEditGetRect, 13},
      {effGetChunk, 23},
      {effProcessEvents, 25},
      {effGetPlugCategory, 35},
      {effSetBypass, 44},
      {effCanDo, 51},
      {effKeysRequired, 57},
      {effGetVstVersion, 58},
      {effEndSetProgram, 68},
      {effSetTotalSampleToProcess, 73},
      {audioMasterWantMidi, 6},
      {audioMasterIOChanged, 13},
      {audioMasterGetProductString, 33},
      {audioMasterCanDo, 37},
      {audioMasterOpenFileSelector, 45},
      {audioMasterGetInputSpeakerArrangement, 49},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.Value, row.Expected);
}

TEST(AbiLayout, CanDoTableNamesEveryCapabilityOnce) {
  bool seen[kVstCanDoCount] = {};
  for (const auto& entry : kCanDoTexts) {
    ASSERT_GE(entry.CanDo, 0);
    ASSERT_LT(entry.CanDo, kVstCanDoCount);
    EXPECT_FALSE(seen[entry.CanDo]) << entry.Text;
    seen[entry.CanDo] = true;
    EXPECT_LT(std::strlen(entry.Text), kVstMaxCanDoLen);
  }
}

}  // namespace
