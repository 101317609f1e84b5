#include "tools/artwork/PngFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

TEST(PngFileTest, PixelsComeBackAsTheyWereWrittenAlphaIncluded) {
  TPixelBuffer pixels(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      pixels.Row(y)[x] = static_cast<std::uint32_t>(0x01000000u * (x * 60 + y * 5) +
                                                    0x00010203u * (x * 7 + y * 30));
    }
  }
  const std::string path =
      (std::filesystem::temp_directory_path() / ("quillo-png-" + std::to_string(getpid()) + ".png"))
          .string();
  ASSERT_TRUE(WritePng(path, pixels));
  const std::optional<TPixelBuffer> read = ReadPng(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->Width(), 5);
  ASSERT_EQ(read->Height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(read->Row(y)[x], pixels.Row(y)[x]) << x << ", " << y;
  }
}

TEST(PngFileTest, MissingFilesAndFoldersFail) {
  EXPECT_FALSE(ReadPng("/nonexistent-quillo-folder/picture.png").has_value());
  EXPECT_FALSE(WritePng("/nonexistent-quillo-folder/picture.png", TPixelBuffer(2, 2)));
  EXPECT_FALSE(WritePng("/tmp/quillo-empty.png", TPixelBuffer(0, 0)));
}

}  // namespace
