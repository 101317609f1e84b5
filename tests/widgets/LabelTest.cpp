#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "widgets/graphics/Canvas.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 60;
constexpr TColor kUntouched = 0u;

TPixelBuffer Render(TLabel& label) {
  TPixelBuffer buffer(kWidth, kHeight);
  std::fill(buffer.Data(), buffer.Data() + kWidth * kHeight, kUntouched);
  TCanvas canvas(buffer);
  label.Paint(canvas);
  return buffer;
}

// A centred text wider than its label is the same text drawn at the centred
// position and cut at both of the label's edges; nothing is drawn outside the
// label and nothing wraps onto a second line.
TEST(LabelTest, CentredTextIsClippedOnBothSides) {
  const std::string text = "MMMMMMMMMMMM";
  const int width = TCanvas::TextWidth(text, TFontHeight::fh11);
  ASSERT_GT(width, 40);

  TLabel wide;
  wide.Bounds = {0, 20, kWidth, 3 * TCanvas::LineHeight(TFontHeight::fh11)};
  wide.Alignment = TLabel::TAlignment::Left;
  wide.SetText(text);
  const TPixelBuffer reference = Render(wide);

  // One of the two widths leaves an odd overhang.
  for (const int labelWidth : {20, 21}) {
    SCOPED_TRACE(labelWidth);
    TLabel label;
    label.Bounds = {30, 20, labelWidth, 3 * TCanvas::LineHeight(TFontHeight::fh11)};
    label.SetText(text);
    const TPixelBuffer clipped = Render(label);
    // Floor of (labelWidth - width) / 2 for an odd or even overhang alike.
    const int shift = label.Bounds.Left - (width - label.Bounds.Width + 1) / 2;

    int inkLeft = 0;
    int inkRight = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const TColor pixel = clipped.Row(y)[x];
        if (!label.Bounds.Contains(x, y)) {
          EXPECT_EQ(pixel, kUntouched) << x << "," << y;
          continue;
        }
        const int source = x - shift;
        EXPECT_EQ(pixel, source >= 0 && source < kWidth ? reference.Row(y)[source] : kUntouched)
            << x << "," << y;
        if (pixel != kUntouched && y >= label.Bounds.Top + TCanvas::LineHeight(TFontHeight::fh11))
          ADD_FAILURE() << "text below the first line at " << x << "," << y;
        inkLeft += pixel != kUntouched && x < label.Bounds.Left + 3;
        inkRight += pixel != kUntouched && x >= label.Bounds.Right() - 3;
      }
    }
    EXPECT_GT(inkLeft, 0);
    EXPECT_GT(inkRight, 0);
  }
}

TEST(LabelTest, RepaintsOnlyOnRealChange) {
  TLabel label;
  label.SetText("-12 dB");
  label.TakeInvalid();
  label.SetText("-12 dB");
  EXPECT_FALSE(label.TakeInvalid());
  label.SetText("-11 dB");
  EXPECT_TRUE(label.TakeInvalid());
}

}  // namespace
