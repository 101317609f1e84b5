#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "frame/HostText.h"
#include "tests/HostEncodingSkip.h"

namespace {

TEST(HostText, CharactersAreCodePointsNotBytes) {
  EXPECT_EQ(CutToCharacters("abcdef", 3), "abc");
  EXPECT_EQ(CutToCharacters("Ação", 3), "Açã");
  EXPECT_EQ(CutToCharacters("ab", 5), "ab");
  EXPECT_EQ(CutToCharacters("日本語", 2), "日本");
  EXPECT_EQ(CutToCharacters("x", 0), "");
}

TEST(HostText, WritesAreCutAtCharacterBoundaryAndTerminated) {
  QUILLO_SKIP_UNLESS_UTF8_HOSTS();
  struct Row {
    std::string Text;
    std::size_t Size;
    std::string Expected;
  };
  const Row rows[] = {
      {"undefined", 8, "undefin"}, {"abc", 8, "abc"},     {"abcdefgh", 8, "abcdefg"},
      {"abcdefé", 8, "abcdef"},  // "é" would need bytes 7 and 8
      {"abcdeé", 8, "abcdeé"},     {"日本語", 7, "日本"}, {"x", 1, ""},
  };
  for (const Row& row : rows) {
    std::array<char, 16> buffer;
    buffer.fill('#');
    WriteHostText(buffer.data(), row.Size, row.Text);
    EXPECT_EQ(std::string(buffer.data()), row.Expected) << row.Text;
    for (std::size_t i = row.Size; i < buffer.size(); ++i)
      ASSERT_EQ(buffer[i], '#') << row.Text;
  }
  WriteHostText(nullptr, 8, "ignored");
  char untouched = '#';
  WriteHostText(&untouched, 0, "ignored");
  EXPECT_EQ(untouched, '#');
}

TEST(HostText, ReadsStopAtTheBound) {
  auto bytes = std::make_unique<char[]>(4);
  std::memcpy(bytes.get(), "abcd", 4);  // no terminating zero
  EXPECT_EQ(ReadHostText(bytes.get(), 4), "abcd");
  EXPECT_EQ(ReadHostText("ab\0cd", 5), "ab");
  EXPECT_EQ(ReadHostText(nullptr, 10), "");
}

}  // namespace
