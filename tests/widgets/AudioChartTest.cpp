#include "widgets/AudioChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "widgets/graphics/Canvas.h"

namespace {

constexpr int kWidth = 270;
constexpr int kHeight = 330;
constexpr TColor kCurve = 0xFF0000FFu;
constexpr TColor kFont = 0xFFFF0000u;
constexpr TColor kRect = 0xFF00FF00u;

std::uint32_t Blue(TColor pixel) {
  return pixel & 0xFFu;
}
std::uint32_t Red(TColor pixel) {
  return (pixel >> 16) & 0xFFu;
}

// The editor's chart: 249 x 108 at 6, 200, one channel of 512 samples.
class AudioChartTest : public ::testing::Test {
 protected:
  AudioChartTest() {
    TTimeDomainChannel& channel = Data.AddChannel();
    channel.Color = kCurve;
    channel.Alpha = 191;
    Data.SetMaximumTime(512);
    Chart.Bounds = {6, 200, 249, 108};
    Chart.FontColor = kFont;
    Chart.RectColor = kRect;
    Chart.SetTimeDomain(&Data);
  }

  TPixelBuffer Render() {
    TPixelBuffer buffer(kWidth, kHeight);
    std::fill(buffer.Data(), buffer.Data() + kWidth * kHeight, 0u);
    TCanvas canvas(buffer);
    Chart.Paint(canvas);
    return buffer;
  }

  TTimeDomain Data;
  TAudioChart Chart;
};

TEST_F(AudioChartTest, MappingAndPlotRectangle) {
  const TRect plot = Chart.PlotRect();
  EXPECT_EQ(plot.Intersect(Chart.Bounds), plot);
  EXPECT_GT(plot.Left, Chart.Bounds.Left);
  EXPECT_GT(plot.Height, 80);
  EXPECT_DOUBLE_EQ(Chart.ValueToY(0.0), plot.Top + plot.Height / 2.0);
  EXPECT_DOUBLE_EQ(Chart.ValueToY(1.1), plot.Top);
  EXPECT_DOUBLE_EQ(Chart.ValueToY(-1.1), plot.Bottom());
  EXPECT_DOUBLE_EQ(Chart.TimeToX(0.0), plot.Left);
  EXPECT_DOUBLE_EQ(Chart.TimeToX(512.0), plot.Right());
  // The editor's granularities already space the grid widely enough.
  EXPECT_DOUBLE_EQ(Chart.EffectiveValueGranularity(), 0.2);
  EXPECT_DOUBLE_EQ(Chart.EffectiveTimeGranularity(), 50.0);
}

TEST_F(AudioChartTest, AutoGranularityCoarsensCrowdedGrids) {
  // 0.2 over 2.2 on 30-odd rows is 3 pixels apart: x2 gives 6, x5 gives 14.
  Chart.Bounds.Height = 30 + 2 * ((TCanvas::LineHeight(TFontHeight::fh7) + 1) / 2);
  EXPECT_DOUBLE_EQ(Chart.EffectiveValueGranularity(), 1.0);
  Chart.AutoGranularity = false;
  EXPECT_DOUBLE_EQ(Chart.EffectiveValueGranularity(), 0.2);
  Chart.AutoGranularity = true;
  // 50 samples of 6400 on 52 to 102 columns: x10 is under 8 pixels, x20 over.
  Chart.Bounds.Width = 100;
  Chart.TimeUpper = 6400.0;
  ASSERT_GE(Chart.PlotRect().Width, 52);
  ASSERT_LE(Chart.PlotRect().Width, 102);
  EXPECT_DOUBLE_EQ(Chart.EffectiveTimeGranularity(), 1000.0);
}

TEST_F(AudioChartTest, WildSamplesStayInsideThePlot) {
  float* samples = Data.Channel(0).Data();
  for (int i = 0; i < Data.MaximumTime(); ++i)
    samples[i] = 0.5f * std::sin(i * 0.05f);
  samples[100] = std::numeric_limits<float>::quiet_NaN();
  samples[200] = 1e30f;
  samples[300] = std::numeric_limits<float>::infinity();
  samples[301] = -std::numeric_limits<float>::max();
  samples[400] = 3.0f;
  const TPixelBuffer buffer = Render();
  const TRect plot = Chart.PlotRect();
  int curve = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (plot.Contains(x, y)) {
        curve += Blue(buffer.Row(y)[x]) > 0;
      } else {
        EXPECT_EQ(Blue(buffer.Row(y)[x]), 0u) << x << "," << y;
      }
    }
  EXPECT_GT(curve, 400);
  // The huge sample pulls the curve up to the plot's top row and is cut there.
  const int column = static_cast<int>(Chart.TimeToX(200.0));
  int atTop = 0;
  for (int x = column - 2; x <= column + 2; ++x)
    atTop += Blue(buffer.Row(plot.Top)[x]) > 0;
  EXPECT_GT(atTop, 0);
}

TEST_F(AudioChartTest, LabelsLieLeftOfThePlot) {
  const TPixelBuffer buffer = Render();
  const TRect plot = Chart.PlotRect();
  int labelPixels = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (Red(buffer.Row(y)[x]) == 0) continue;
      ++labelPixels;
      EXPECT_LT(x, plot.Left) << x << "," << y;
      EXPECT_TRUE(Chart.Bounds.Contains(x, y)) << x << "," << y;
    }
  EXPECT_GT(labelPixels, 50);
}

TEST_F(AudioChartTest, DataKeepsItsBufferAndRepaintsTheChart) {
  float* samples = Data.Channel(0).Data();
  samples[7] = 0.25f;
  Data.SetMaximumTime(512);
  EXPECT_EQ(Data.Channel(0).Data(), samples);
  EXPECT_EQ(Data.Channel(0).Data()[7], 0.25f);
  EXPECT_EQ(Data.AddChannel().Count(), 512);

  Chart.Tick();
  Chart.TakeInvalid();
  Chart.Tick();
  EXPECT_FALSE(Chart.TakeInvalid());
  Data.Changed();
  Chart.Tick();
  EXPECT_TRUE(Chart.TakeInvalid());
}

}  // namespace
