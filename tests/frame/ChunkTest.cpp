#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/frame/PluginFixture.h"

// Program-chunk mode, through test_chunk_plugin: three programs whose chunks
// hold 10, 0 and 3 bytes at first, and two parameters owned by the module.
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using TBytes = std::vector<std::uint8_t>;

// A record's length field (32 bits, little-endian) followed by bytes.
TBytes WithLength(std::uint32_t length, const TBytes& rest) {
  TBytes record;
  for (int i = 0; i < 4; ++i)
    record.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  for (std::uint8_t byte : rest)
    record.push_back(byte);
  return record;
}

void AppendRecord(TBytes& bank, const TBytes& chunk) {
  for (std::uint8_t byte : WithLength(static_cast<std::uint32_t>(chunk.size()), chunk))
    bank.push_back(byte);
}

TBytes Bank(const std::vector<TBytes>& chunks) {
  TBytes bank;
  for (const TBytes& chunk : chunks)
    AppendRecord(bank, chunk);
  return bank;
}

const TBytes kInitialBank = Bank({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, {0x20, 0x21, 0x22}});

class Chunks : public ::testing::Test {
 protected:
  void SetUp() override { Plugin.ClearEvents(*Effect); }

  TBytes GetChunk(bool isPreset) {
    void* data = nullptr;
    const VstIntPtr size = Effect->Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return TBytes(bytes, bytes + size);
  }
  VstIntPtr SetChunk(bool isPreset, void* data, VstIntPtr size) {
    return Effect->Dispatch(effSetChunk, isPreset ? 1 : 0, size, data);
  }

  TPluginFixture Plugin{"test_chunk_plugin"};
  std::unique_ptr<TEffect> Effect = Plugin.Instantiate();
};

TEST_F(Chunks, BankIsEachProgramsLengthAndBytesInOrder) {
  const TBytes bank = GetChunk(false);
  EXPECT_EQ(bank.size(), 25u);
  EXPECT_EQ(bank, kInitialBank);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Store:0,bank", "Store:1,bank", "Store:2,bank"));
}

TEST_F(Chunks, ProgramChunkIsTheCurrentProgramsBytes) {
  EXPECT_EQ(GetChunk(true), (TBytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  Effect->Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(GetChunk(true), TBytes{});
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("Store:0,preset", "Before:0", "After:1", "Store:1,preset"));
}

TEST_F(Chunks, LoadedBankGivesEachProgramExactlyItsBytes) {
  TBytes bank = Bank({{7, 7}, {1, 2, 3, 4, 5}, {}});
  const TBytes expected = bank;
  bank.insert(bank.end(), {0xEE, 0xEE, 0xEE});  // bytes after the last record are ignored
  EXPECT_EQ(SetChunk(false, bank.data(), static_cast<VstIntPtr>(bank.size())),
            static_cast<VstIntPtr>(bank.size()));
  EXPECT_THAT(Plugin.Events(*Effect),
              ElementsAre("Load:0,bank", "Load:1,bank", "Load:2,bank", "Load:0,bank"));
  EXPECT_EQ(GetChunk(false), expected);
}

TEST_F(Chunks, LoadedProgramChunkReplacesOnlyTheCurrentProgram) {
  Effect->Dispatch(effSetProgram, 0, 2);
  TBytes chunk{9, 8, 7, 6};
  EXPECT_EQ(SetChunk(true, chunk.data(), 4), 4);
  EXPECT_EQ(GetChunk(true), chunk);
  EXPECT_EQ(GetChunk(false), Bank({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, chunk}));
  TBytes empty{0};
  EXPECT_EQ(SetChunk(true, empty.data(), 0), 0);
  EXPECT_EQ(GetChunk(true), TBytes{});
}

struct TMalformed {
  const char* Name;
  TBytes Data;
  VstIntPtr ByteSize;  // -1 here means the data's own size
};

TEST_F(Chunks, MalformedBanksAreRejectedWhole) {
  TBytes twoPrograms = Bank({{1}, {2}});
  TBytes negativeThird = Bank({{1}, {2}});
  const TBytes negative = WithLength(0xFFFFFFFFu, {3});
  negativeThird.insert(negativeThird.end(), negative.begin(), negative.end());
  const TMalformed cases[] = {
      {"truncated length", {10, 0}, -1},
      {"record past the end", WithLength(10, {1, 2, 3, 4, 5}), -1},
      {"missing programs", twoPrograms, -1},
      {"negative length first", WithLength(0x80000000u, {}), -1},
      {"negative length last", negativeThird, -1},
      {"oversized length", WithLength(0x7FFFFFFFu, {1, 2, 3}), -1},
      {"size cut inside a record", Bank({{1, 2, 3}, {4}, {5}}), 9},
      {"negative size", Bank({{1}, {2}, {3}}), -15},
      {"empty", {}, 0},
  };
  for (const TMalformed& malformed : cases) {
    TBytes data = malformed.Data;
    data.resize(data.size() + 8, 0);  // the size, not the buffer, must bound the reading
    const VstIntPtr size = malformed.ByteSize == -1 ? static_cast<VstIntPtr>(malformed.Data.size())
                                                    : malformed.ByteSize;
    EXPECT_EQ(SetChunk(false, data.data(), size), 0) << malformed.Name;
  }
  EXPECT_EQ(SetChunk(false, nullptr, 25), 0);
  EXPECT_EQ(SetChunk(true, nullptr, 4), 0);
  TBytes chunk{1, 2};
  EXPECT_EQ(SetChunk(true, chunk.data(), -2), 0);
  EXPECT_THAT(Plugin.Events(*Effect), IsEmpty());
  EXPECT_EQ(GetChunk(false), kInitialBank);
}

TEST_F(Chunks, ParameterValuesLiveInTheModule) {
  Effect->SetParameter(1, 0.5f);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Change:1=-69.5"));
  Plugin.ClearEvents(*Effect);
  EXPECT_FLOAT_EQ(Effect->GetParameter(1), 0.5f);
  EXPECT_EQ(Effect->ParameterDisplay(1).Text, "-69.5");
  EXPECT_EQ(Effect->GetParameter(2), 0.0f);
  EXPECT_EQ(Effect->GetParameter(-1), 0.0f);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Get:1", "Get:1"));
}

TEST_F(Chunks, ProgramSwitchAppliesNoValues) {
  Effect->Dispatch(effSetProgram, 0, 2);
  EXPECT_THAT(Plugin.Events(*Effect), ElementsAre("Before:0", "After:2"));
}

}  // namespace
