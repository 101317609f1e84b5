#include <gtest/gtest.h>

#include <string>

#include "widgets/graphics/Canvas.h"

namespace {

constexpr std::uint32_t kPaper = 0xFFFFFFFFu;
constexpr TColor kInk = 0xFF000000u;
constexpr TFontHeight kHeights[] = {TFontHeight::fh7, TFontHeight::fh11};

// The rows and columns the drawn text changed, as a rectangle.
TRect InkBox(const TPixelBuffer& buffer) {
  TRect box;
  for (int y = 0; y < buffer.Height(); ++y) {
    for (int x = 0; x < buffer.Width(); ++x) {
      if (buffer.Row(y)[x] != kPaper) box = box.Union({x, y, 1, 1});
    }
  }
  return box;
}

TPixelBuffer Drawn(std::string_view text, TFontHeight height, int width = 120, int x = 10,
                   int top = 10) {
  TPixelBuffer buffer(width, 40);
  for (int y = 0; y < buffer.Height(); ++y) {
    for (int i = 0; i < width; ++i)
      buffer.Row(y)[i] = kPaper;
  }
  TCanvas(buffer).DrawText(x, top, text, height, kInk);
  return buffer;
}

bool SamePixels(const TPixelBuffer& a, const TPixelBuffer& b) {
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Row(y)[x] != b.Row(y)[x]) return false;
    }
  }
  return true;
}

TEST(TextTest, CapitalsStandOnTheBaselineAndEveryGlyphFitsTheLineBox) {
  for (const TFontHeight height : kHeights) {
    const int ascent = TCanvas::Ascent(height);
    const int lineHeight = TCanvas::LineHeight(height);
    EXPECT_GT(ascent, lineHeight / 2);
    EXPECT_LT(ascent, lineHeight);
    // The em is 7 or 11 pixels; the line box a little more.
    EXPECT_GE(lineHeight, static_cast<int>(height));
    EXPECT_LE(lineHeight, static_cast<int>(height) * 3 / 2);

    const TRect capital = InkBox(Drawn("H", height));
    EXPECT_EQ(capital.Bottom(), 10 + ascent);
    EXPECT_GE(capital.Height, static_cast<int>(height) * 2 / 3);
    const TRect descender = InkBox(Drawn("g", height));
    EXPECT_GT(descender.Bottom(), 10 + ascent);

    for (char c = 33; c < 127; ++c) {
      const TRect box = InkBox(Drawn(std::string(1, c), height));
      EXPECT_FALSE(box.Empty()) << c;
      EXPECT_GE(box.Top, 10) << c;
      EXPECT_LE(box.Bottom(), 10 + lineHeight) << c;
      // The ink stays near the pen's advance.
      EXPECT_GE(box.Left, 10 - 1) << c;
      EXPECT_LE(box.Right(), 10 + TCanvas::TextWidth(std::string(1, c), height) + 1) << c;
    }
  }
}

TEST(TextTest, WidthsAddUpOnWholePixels) {
  for (const TFontHeight height : kHeights) {
    const std::string text = "Harm 3: -20.0 dB";
    int sum = 0;
    for (const char c : text)
      sum += TCanvas::TextWidth(std::string(1, c), height);
    EXPECT_EQ(TCanvas::TextWidth(text, height), sum);
    EXPECT_EQ(TCanvas::TextWidth("", height), 0);
    EXPECT_GT(TCanvas::TextWidth(" ", height), 0);
    EXPECT_TRUE(InkBox(Drawn(" ", height)).Empty());
    // Figures share one advance, so that numbers keep their width.
    const int figure = TCanvas::TextWidth("0", height);
    for (const char* digit : {"1", "2", "3", "4", "5", "6", "7", "8", "9"}) {
      EXPECT_EQ(TCanvas::TextWidth(digit, height), figure) << digit;
    }
    EXPECT_LT(TCanvas::TextWidth("i", height), TCanvas::TextWidth("m", height));
    // Whole-pixel pens: the same word drawn a pixel further is the same
    // pixels a pixel further.
    const TPixelBuffer here = Drawn("Leblon", height, 120, 10);
    const TPixelBuffer there = Drawn("Leblon", height, 120, 11);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x + 1 < 120; ++x)
        ASSERT_EQ(here.Row(y)[x], there.Row(y)[x + 1]);
    }
  }
  EXPECT_LT(TCanvas::TextWidth("Carnaval", TFontHeight::fh7),
            TCanvas::TextWidth("Carnaval", TFontHeight::fh11));
}

TEST(TextTest, CharactersTheFacesLackDrawAsOneQuestionMarkEach) {
  for (const TFontHeight height : kHeights) {
    const TPixelBuffer question = Drawn("?", height);
    // A two-, a three- and a four-byte sequence, a byte that is no UTF-8,
    // a control character, and a sequence cut short.
    for (const char* unknown :
         {"\xC3\xA7", "\xE2\x82\xAC", "\xF0\x9F\x8C\xB4", "\xFF", "\t", "\xE2\x82"}) {
      EXPECT_TRUE(SamePixels(Drawn(unknown, height), question)) << unknown;
      EXPECT_EQ(TCanvas::TextWidth(unknown, height), TCanvas::TextWidth("?", height));
    }
    EXPECT_TRUE(
        SamePixels(Drawn("P\xC3\xA3o de A\xC3\xA7ucar", height), Drawn("P?o de A?ucar", height)));
    // A cut sequence does not swallow the character after it.
    EXPECT_TRUE(SamePixels(Drawn("\xC3x", height), Drawn("?x", height)));
  }
}

TEST(TextTest, TextIsClippedNeverWrapped) {
  const std::string text = "Hot Night In Rio, Leblon, Carnaval";
  const TFontHeight height = TFontHeight::fh11;
  ASSERT_GT(TCanvas::TextWidth(text, height), 100);
  TPixelBuffer buffer(60, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x)
      buffer.Row(y)[x] = kPaper;
  }
  TCanvas canvas(buffer);
  canvas.SetClip({4, 0, 50, 40});
  canvas.DrawText(0, 6, text, height, kInk);
  const TRect box = InkBox(buffer);
  // One line, cut at the clip's edges.
  EXPECT_GE(box.Top, 6);
  EXPECT_LE(box.Bottom(), 6 + TCanvas::LineHeight(height));
  EXPECT_GE(box.Left, 4);
  EXPECT_LE(box.Left, 6);
  EXPECT_GE(box.Right(), 50);
  EXPECT_LE(box.Right(), 54);
}

}  // namespace
