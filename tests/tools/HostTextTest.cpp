#include "tools/host/HostText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "tools/host/GuardedTextBuffer.h"

namespace {

constexpr char kUntouched = '#';
constexpr std::size_t kArena = 16;

struct TWriteCase {
  const char* Name;
  const char* Text;
  std::size_t Size;
  bool Written;
  // The arena afterwards, kUntouched where nothing was written.
  const char* Expected;
};

void PrintTo(const TWriteCase& test, std::ostream* out) {
  *out << test.Name;
}

}  // namespace

class HostSideTextWrite : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(HostSideTextWrite, CutsAndTerminatesWithinTheSize) {
  const TWriteCase& test = GetParam();
  char arena[kArena];
  std::memset(arena, kUntouched, sizeof arena);
  EXPECT_EQ(WriteBoundedText(arena, test.Text, test.Size), test.Written);
  EXPECT_EQ(std::string(arena, kArena), std::string(test.Expected, kArena));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostSideTextWrite,
    ::testing::Values(TWriteCase{"Fits", "abc", 8, true, "abc\0############"},
                      TWriteCase{"FillsExactly", "abcdefg", 8, true, "abcdefg\0########"},
                      TWriteCase{"OneTooLong", "abcdefgh", 8, true, "abcdefg\0########"},
                      TWriteCase{"MuchTooLong", "abcdefghijk", 4, true, "abc\0############"},
                      TWriteCase{"RoomForTheZeroOnly", "abc", 1, true, "\0###############"},
                      TWriteCase{"NoRoom", "abc", 0, false, "################"},
                      TWriteCase{"Empty", "", 8, true, "\0###############"}),
    [](const ::testing::TestParamInfo<TWriteCase>& info) { return std::string(info.param.Name); });

TEST(HostSideTextWrite, NullBufferIsNotWritten) {
  EXPECT_FALSE(WriteBoundedText(nullptr, "a", 8));
}

TEST(HostSideTextRead, StopsAtTheTerminator) {
  const char text[] = "can\0do";
  const TBoundedText read = ReadBoundedText(text, sizeof text);
  EXPECT_EQ(read.Text, "can");
  EXPECT_TRUE(read.Terminated);
}

TEST(HostSideTextRead, StopsAtTheBoundWithoutTerminator) {
  const char text[] = {'a', 'b', 'c', 'd', 'e'};
  const TBoundedText read = ReadBoundedText(text, 3);
  EXPECT_EQ(read.Text, "abc");
  EXPECT_FALSE(read.Terminated);
}

TEST(HostSideTextRead, TerminatorAsTheLastByteWithinTheBoundCounts) {
  const char text[] = "abc";
  const TBoundedText read = ReadBoundedText(text, 4);
  EXPECT_EQ(read.Text, "abc");
  EXPECT_TRUE(read.Terminated);
}

TEST(HostSideTextRead, NullReadsEmptyAndUnterminated) {
  const TBoundedText read = ReadBoundedText(nullptr, 8);
  EXPECT_EQ(read.Text, "");
  EXPECT_FALSE(read.Terminated);
}

TEST(GuardedTextBuffer, ExtentOfWhatWasWritten) {
  TGuardedTextBuffer buffer(8);
  std::memcpy(buffer.Data(), "abc", 4);
  const TTextReply reply = buffer.Inspect(1);
  EXPECT_EQ(reply.Text, "abc");
  EXPECT_EQ(reply.Result, 1);
  EXPECT_EQ(reply.BytesWritten, 4u);
  EXPECT_TRUE(reply.Terminated);
  EXPECT_FALSE(reply.Overrun());
}

TEST(GuardedTextBuffer, FullBufferIsNoOverrun) {
  TGuardedTextBuffer buffer(8);
  std::memcpy(buffer.Data(), "1234567", 8);
  const TTextReply reply = buffer.Inspect(0);
  EXPECT_EQ(reply.BytesWritten, 8u);
  EXPECT_FALSE(reply.Overrun());
  EXPECT_TRUE(reply.Terminated);
}

TEST(GuardedTextBuffer, OneBytePastTheBufferIsAnOverrun) {
  TGuardedTextBuffer buffer(8);
  std::memcpy(buffer.Data(), "12345678", 9);
  const TTextReply reply = buffer.Inspect(0);
  EXPECT_EQ(reply.BytesWritten, 9u);
  EXPECT_TRUE(reply.Overrun());
  EXPECT_FALSE(reply.Terminated);
  EXPECT_EQ(reply.Text, "12345678");
}

TEST(GuardedTextBuffer, WriteDeepInTheGuardCounts) {
  TGuardedTextBuffer buffer(8);
  buffer.Data()[8 + TGuardedTextBuffer::kGuardSize - 1] = 'x';
  EXPECT_EQ(buffer.Inspect(0).BytesWritten, 8 + TGuardedTextBuffer::kGuardSize);
}

TEST(GuardedTextBuffer, UntouchedBufferReportsNothingWritten) {
  const TGuardedTextBuffer buffer(8);
  const TTextReply reply = buffer.Inspect(0);
  EXPECT_EQ(reply.BytesWritten, 0u);
  EXPECT_FALSE(reply.Terminated);
}
