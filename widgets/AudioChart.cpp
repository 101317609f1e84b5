#include "widgets/AudioChart.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "widgets/ClipScope.h"

namespace {

// Pixels between a label's right end and the plot.
constexpr int kLabelGap = 2;
// No more grid lines than this are drawn on one axis, so that a tiny
// granularity without AutoGranularity cannot stall the editor.
constexpr long long kMaxGridLines = 1000;
// The coarsening steps within a decade, and how many decades are tried.
constexpr double kCoarseSteps[] = {1.0, 2.0, 5.0};
constexpr int kCoarseDecades = 30;
constexpr double kDecade = 10.0;
// Grid lines at a whole multiple of the granularity within this fraction of
// it beyond an end of the range still count, against rounding in k * step.
constexpr double kGridTolerance = 1e-9;
// Labels show at most this many decimals.
constexpr int kMaxDecimals = 6;

// Cuts the segment to the rectangle [left, right] x [top, bottom]
// (Liang-Barsky); false when nothing of it lies inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top,
                 double right, double bottom) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  double enter = 0.0;
  double leave = 1.0;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {x0 - left, right - x0, y0 - top, bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
  }
  if (enter > leave) return false;
  const double startX = x0;
  const double startY = y0;
  x0 = startX + enter * dx;
  y0 = startY + enter * dy;
  x1 = startX + leave * dx;
  y1 = startY + leave * dy;
  return true;
}

// The pixel row or column a grid line at pixel coordinate `at` lies on,
// kept inside [first, last].
int LinePixel(double at, int first, int last) {
  return std::clamp(static_cast<int>(std::floor(at)), first, last);
}

}  // namespace

void TAudioChart::SetTimeDomain(const TTimeDomain* data) {
  FData = data;
  FSeenVersion = data ? data->Version() : 0;
  Invalidate();
}

void TAudioChart::Tick() {
  if (FData && FData->Version() != FSeenVersion) {
    FSeenVersion = FData->Version();
    Invalidate();
  }
}

TAudioChart::TGridLines TAudioChart::GridLines(double lower, double upper, double granularity) {
  if (!(granularity > 0.0) || !(upper > lower) || !std::isfinite(lower) || !std::isfinite(upper))
    return {};
  const double first = std::ceil(lower / granularity - kGridTolerance);
  const double last = std::floor(upper / granularity + kGridTolerance);
  if (!(last >= first) || last - first >= kMaxGridLines) return {};
  return {static_cast<long long>(first), static_cast<long long>(last - first) + 1};
}

double TAudioChart::Coarsened(double granularity, double span, int pixels) const {
  if (!AutoGranularity || !(granularity > 0.0) || !(span > 0.0) || pixels <= 0) return granularity;
  const double pixelsPerUnit = pixels / span;
  double decade = 1.0;
  for (int i = 0; i < kCoarseDecades; ++i, decade *= kDecade)
    for (const double step : kCoarseSteps)
      if (granularity * step * decade * pixelsPerUnit >= kMinGridSpacing)
        return granularity * step * decade;
  return granularity * decade;
}

int TAudioChart::VerticalInset() const {
  return (TCanvas::LineHeight(FontHeight) + 1) / 2;
}

double TAudioChart::EffectiveValueGranularity() const {
  return Coarsened(ValueGranularity, ValueUpper - ValueLower, Bounds.Height - 2 * VerticalInset());
}

double TAudioChart::EffectiveTimeGranularity() const {
  return TimeStepIn(PlotRect());
}

double TAudioChart::TimeStepIn(const TRect& plot) const {
  return Coarsened(TimeGranularity, TimeUpper - TimeLower, plot.Width);
}

std::string TAudioChart::LabelText(double value, double granularity) const {
  int decimals = 0;
  for (double scaled = granularity; decimals < kMaxDecimals; ++decimals, scaled *= kDecade)
    if (std::fabs(scaled - std::nearbyint(scaled)) <= kGridTolerance * std::max(1.0, scaled)) break;
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string label(text, result.ptr);
  // "1.0" reads "1", "0.50" reads "0.5".
  if (label.find('.') != std::string::npos) {
    label.erase(label.find_last_not_of('0') + 1);
    if (label.back() == '.') label.pop_back();
  }
  if (label == "-0") label = "0";
  return label + LabelUnit;
}

TRect TAudioChart::PlotRect() const {
  const int inset = VerticalInset();
  const double granularity = EffectiveValueGranularity();
  const TGridLines lines = GridLines(ValueLower, ValueUpper, granularity);
  int labelWidth = 0;
  for (long long k = lines.First; k < lines.First + lines.Count; ++k)
    labelWidth = std::max(labelWidth,
                          TCanvas::TextWidth(LabelText(k * granularity, granularity), FontHeight));
  const int left = labelWidth > 0 ? labelWidth + kLabelGap : 0;
  return {Bounds.Left + left, Bounds.Top + inset, std::max(0, Bounds.Width - left),
          std::max(0, Bounds.Height - 2 * inset)};
}

double TAudioChart::ValueToY(double value) const {
  return YIn(PlotRect(), value);
}

double TAudioChart::TimeToX(double time) const {
  return XIn(PlotRect(), time);
}

double TAudioChart::YIn(const TRect& plot, double value) const {
  const double span = ValueUpper - ValueLower;
  if (!(span > 0.0)) return plot.Top + plot.Height / 2.0;
  return plot.Top + (ValueUpper - value) / span * plot.Height;
}

double TAudioChart::XIn(const TRect& plot, double time) const {
  const double span = TimeUpper - TimeLower;
  if (!(span > 0.0)) return plot.Left;
  return plot.Left + (time - TimeLower) / span * plot.Width;
}

void TAudioChart::Paint(TCanvas& canvas) {
  const TRect plot = PlotRect();
  if (plot.Empty()) return;
  const TClipScope clip(canvas, Bounds);
  PaintGrid(canvas, plot);
  PaintLabels(canvas, plot);
  canvas.FrameRect(plot, RectColor);
  PaintCurves(canvas, plot);
}

void TAudioChart::PaintGrid(TCanvas& canvas, const TRect& plot) const {
  const int lastRow = plot.Bottom() - 1;
  const int lastColumn = plot.Right() - 1;
  const double valueStep = EffectiveValueGranularity();
  const TGridLines rows = GridLines(ValueLower, ValueUpper, valueStep);
  for (long long k = rows.First; k < rows.First + rows.Count; ++k) {
    const int y = LinePixel(YIn(plot, k * valueStep), plot.Top, lastRow);
    for (int x = plot.Left; x < plot.Right(); x += 2)
      canvas.BlendPixel(x, y, RectColor);
  }
  const double timeStep = TimeStepIn(plot);
  const TGridLines columns = GridLines(TimeLower, TimeUpper, timeStep);
  for (long long k = columns.First; k < columns.First + columns.Count; ++k) {
    const int x = LinePixel(XIn(plot, k * timeStep), plot.Left, lastColumn);
    for (int y = plot.Top; y < plot.Bottom(); y += 2)
      canvas.BlendPixel(x, y, RectColor);
  }
  for (const double limit : {LimitLower, LimitUpper})
    if (limit > ValueLower && limit < ValueUpper)
      canvas.FillRect({plot.Left, LinePixel(YIn(plot, limit), plot.Top, lastRow), plot.Width, 1},
                      RectColor);
}

void TAudioChart::PaintLabels(TCanvas& canvas, const TRect& plot) const {
  const double granularity = EffectiveValueGranularity();
  const TGridLines lines = GridLines(ValueLower, ValueUpper, granularity);
  const int lineHeight = TCanvas::LineHeight(FontHeight);
  for (long long k = lines.First; k < lines.First + lines.Count; ++k) {
    const double value = k * granularity;
    const std::string text = LabelText(value, granularity);
    const int x = plot.Left - kLabelGap - TCanvas::TextWidth(text, FontHeight);
    const int top = static_cast<int>(std::nearbyint(YIn(plot, value) - lineHeight / 2.0));
    canvas.DrawText(x, top, text, FontHeight, FontColor);
  }
}

void TAudioChart::PaintCurves(TCanvas& canvas, const TRect& plot) const {
  if (!FData) return;
  const TClipScope clip(canvas, plot);
  for (int c = 0; c < FData->ChannelCount(); ++c) {
    const TTimeDomainChannel& channel = FData->Channel(c);
    if (!channel.Visible) continue;
    const float* samples = channel.Data();
    for (int i = 1; i < channel.Count(); ++i) {
      double x0 = XIn(plot, i - 1);
      double y0 = YIn(plot, samples[i - 1]);
      double x1 = XIn(plot, i);
      double y1 = YIn(plot, samples[i]);
      if (!std::isfinite(y0) || !std::isfinite(y1)) continue;
      if (ClipSegment(x0, y0, x1, y1, plot.Left, plot.Top, plot.Right(), plot.Bottom()))
        canvas.DrawLine(x0, y0, x1, y1, channel.Color, channel.Alpha);
    }
  }
}
