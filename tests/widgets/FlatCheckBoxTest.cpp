#include "widgets/FlatCheckBox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/graphics/Canvas.h"

namespace {

class FlatCheckBoxTest : public ::testing::Test {
 protected:
  FlatCheckBoxTest() {
    Box.Bounds = {3, 2, 15, 17};
    Box.OnClick = [this](TControl* sender) {
      EXPECT_EQ(sender, &Box);
      ++Clicks;
    };
  }

  // Paints the box on black into a buffer a little larger than the box.
  TPixelBuffer Render() {
    TPixelBuffer buffer(21, 21);
    std::fill(buffer.Data(), buffer.Data() + 21 * 21, kOpaque);
    TCanvas canvas(buffer);
    Box.Paint(canvas);
    return buffer;
  }
  // Pixels inside the outline that differ from `fill`.
  int MarkPixels(const TPixelBuffer& buffer, TColor fill) const {
    int count = 0;
    for (int y = Box.Bounds.Top + 1; y < Box.Bounds.Bottom() - 1; ++y)
      for (int x = Box.Bounds.Left + 1; x < Box.Bounds.Right() - 1; ++x)
        count += buffer.Row(y)[x] != fill;
    return count;
  }

  TFlatCheckBox Box;
  int Clicks = 0;
};

TEST_F(FlatCheckBoxTest, ClickTogglesAndFiresOnce) {
  const struct {
    TInputEvent Press, Release;
    bool Checked;
    int Clicks;
  } steps[] = {
      {Down(5, 5), Up(6, 7), true, 1},
      {Down(5, 5), Up(5, 5), false, 2},
      // Released outside the box: no click.
      {Down(5, 5), Up(20, 5), false, 2},
      {Down(5, 5, TInputEvent::mbRight), Up(5, 5, TInputEvent::mbRight), false, 2},
  };
  for (const auto& step : steps) {
    Box.HandleInput(step.Press);
    Box.HandleInput(step.Release);
    EXPECT_EQ(Box.Checked(), step.Checked);
    EXPECT_EQ(Clicks, step.Clicks);
  }
  Box.SetChecked(false);
  EXPECT_EQ(Clicks, 2);
  Box.SetChecked(true);
  EXPECT_EQ(Clicks, 3);
  Box.SetChecked(true);
  EXPECT_EQ(Clicks, 3);
}

TEST_F(FlatCheckBoxTest, FillOutlineAndMark) {
  Box.Color = 0xFF202020u;
  Box.ColorFocused = 0xFF303030u;
  Box.ColorDown = 0xFF404040u;
  Box.ColorBorder = 0xFFFF0000u;
  Box.ColorCheck = 0xFF00FF00u;

  TPixelBuffer plain = Render();
  EXPECT_EQ(MarkPixels(plain, Box.Color), 0);
  EXPECT_EQ(plain.Row(Box.Bounds.Top)[Box.Bounds.Left], Box.ColorBorder);
  EXPECT_EQ(plain.Row(Box.Bounds.Bottom() - 1)[Box.Bounds.Right() - 1], Box.ColorBorder);
  EXPECT_EQ(plain.Row(Box.Bounds.Top - 1)[Box.Bounds.Left], kOpaque);

  Box.SetChecked(true);
  TPixelBuffer checked = Render();
  EXPECT_GT(MarkPixels(checked, Box.Color), 10);
  // The mark keeps inside the outline.
  const TRect interior{Box.Bounds.Left + 1, Box.Bounds.Top + 1, Box.Bounds.Width - 2,
                       Box.Bounds.Height - 2};
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 21; ++x) {
      if (!interior.Contains(x, y)) {
        EXPECT_EQ(checked.Row(y)[x], plain.Row(y)[x]) << x << "," << y;
      }
    }
  }

  Box.SetChecked(false);
  Box.SetFocused(true);
  EXPECT_EQ(MarkPixels(Render(), Box.ColorFocused), 0);
  Box.HandleInput(Down(5, 5));
  EXPECT_EQ(MarkPixels(Render(), Box.ColorDown), 0);
  // Dragged off the box while pressed: no longer drawn down.
  Box.HandleInput(Move(30, 5));
  EXPECT_EQ(MarkPixels(Render(), Box.ColorFocused), 0);
}

}  // namespace
