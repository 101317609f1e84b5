#pragma once

#include <cstdint>
#include <string>

#include "widgets/Control.h"
#include "widgets/TimeDomain.h"

// A transparent chart of time-domain data: each visible channel's samples
// against their index, as an anti-aliased curve in the channel's colour and
// alpha. The plot rectangle is framed in RectColor, with dotted grid lines
// every TimeGranularity samples and every ValueGranularity of value, solid
// lines at LimitLower and LimitUpper, and a value label (LabelUnit appended)
// left of the plot at every value grid line, in FontColor. The plot is
// inset from the control's left edge by the widest label and from its top
// and bottom by half a text line, so the labels fit inside the control.
//
// AutoGranularity coarsens a granularity whose grid lines would lie closer
// than kMinGridSpacing pixels, trying 2, 5, 10, 20, 50, ... times the set
// value and taking the first that spaces them far enough apart.
//
// Samples keep their values; the curve is clipped to the plot rectangle,
// and a segment with a non-finite end is left out.
class TAudioChart : public TControl {
 public:
  static constexpr double kMinGridSpacing = 8.0;

  double TimeLower = 0.0;
  double TimeUpper = 512.0;
  double TimeGranularity = 50.0;
  double ValueLower = -1.1;
  double ValueUpper = 1.1;
  double ValueGranularity = 0.2;
  double LimitLower = -1.0;
  double LimitUpper = 1.0;
  bool AutoGranularity = true;
  std::string LabelUnit = " ";
  TColor RectColor = ColorFromRGB(0x66676C);
  TColor FontColor = ColorFromRGB(0x66676C);
  TFontHeight FontHeight = TFontHeight::fh7;

  // The data to show; the chart does not own it and repaints on the next
  // tick after the data's Changed().
  void SetTimeDomain(const TTimeDomain* data);
  const TTimeDomain* TimeDomain() const { return FData; }

  // The plot rectangle in form coordinates (where Paint draws).
  TRect PlotRect() const;
  // Pixel coordinates of a value and of a time within the plot: ValueUpper
  // lies on the plot's top edge, ValueLower on its bottom edge.
  double ValueToY(double value) const;
  double TimeToX(double time) const;
  // The granularities the grid uses, after AutoGranularity.
  double EffectiveValueGranularity() const;
  double EffectiveTimeGranularity() const;

  void Paint(TCanvas& canvas) override;
  void Tick() override;

 private:
  // The first grid index and how many lines there are from `lower` to
  // `upper` at `granularity`; no lines for a degenerate range.
  struct TGridLines {
    long long First = 0;
    long long Count = 0;
  };
  static TGridLines GridLines(double lower, double upper, double granularity);
  double Coarsened(double granularity, double span, int pixels) const;
  // The mappings and the time granularity for a plot rectangle computed once.
  double YIn(const TRect& plot, double value) const;
  double XIn(const TRect& plot, double time) const;
  double TimeStepIn(const TRect& plot) const;
  int VerticalInset() const;
  std::string LabelText(double value, double granularity) const;
  void PaintGrid(TCanvas& canvas, const TRect& plot) const;
  void PaintLabels(TCanvas& canvas, const TRect& plot) const;
  void PaintCurves(TCanvas& canvas, const TRect& plot) const;

  const TTimeDomain* FData = nullptr;
  std::uint64_t FSeenVersion = 0;
};
