#include "widgets/Image32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "widgets/graphics/Canvas.h"

namespace {

// A 2 x 2 picture in its stored form: little-endian width, height, pixels.
const std::vector<std::uint8_t> kStored = {
    2,    0,    0,    0,    2,    0,    0,    0,     // width, height
    0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0xFF,  // 0xFF332211, 0xFF665544
    0x77, 0x88, 0x99, 0xFF, 0xAA, 0xBB, 0xCC, 0xFF,  // 0xFF998877, 0xFFCCBBAA
};

TEST(Image32Test, StoredPictureIsCopiedAndClippedToTheControl) {
  TImage32 image;
  ASSERT_TRUE(image.LoadFromBytes(kStored));
  EXPECT_EQ(image.Pixels(),
            (std::vector<std::uint32_t>{0xFF332211u, 0xFF665544u, 0xFF998877u, 0xFFCCBBAAu}));
  // One byte short, or a size that does not match: refused, picture kept.
  EXPECT_FALSE(image.LoadFromBytes(std::span(kStored).first(kStored.size() - 1)));
  std::vector<std::uint8_t> huge = kStored;
  huge[3] = 0x7F;
  EXPECT_FALSE(image.LoadFromBytes(huge));
  EXPECT_EQ(image.PictureWidth(), 2);

  image.Bounds = {1, 1, 1, 2};
  TPixelBuffer buffer(4, 4);
  std::fill(buffer.Data(), buffer.Data() + 16, 0u);
  TCanvas canvas(buffer);
  image.Paint(canvas);
  EXPECT_EQ(buffer.Row(1)[1], 0xFF332211u);
  EXPECT_EQ(buffer.Row(2)[1], 0xFF998877u);
  EXPECT_EQ(buffer.Row(1)[2], 0u);
  EXPECT_EQ(buffer.Row(0)[1], 0u);
}

}  // namespace
