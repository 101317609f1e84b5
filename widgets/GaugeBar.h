#pragma once

#include <cstdint>

#include "widgets/Control.h"

// A vertical gauge bar: a slider with an arrow button at each end and a
// handle that moves along the track between them; Min at the top, Max at
// the bottom.
//
// Geometry (the whole control is the client area, there is no border): each
// button is as long as the bar is wide, at most 32 pixels and at most half
// the bar's length, minus one pixel. The track lies between the buttons. The
// handle is as long as the bar is wide, never longer than the track minus
// one pixel; its top edge lies at track top + round((track - handle) *
// (Position - Min) / (Max - Min)), halves to even.
//
// Look: a one-pixel BorderColor outline around the whole bar, each button
// and the handle; a BorderColor triangle on each button pointing away from
// the track; the track a checker of Color over whatever lies below (every
// other pixel is left alone, so the form's background shows through); the
// buttons filled with ButtonColor, the handle with HandleColor and three
// BorderColor grip lines across its middle. The zone under the pointer is
// filled with HighLightColor instead, the zone a press holds with
// ShadowColor.
//
// Input: a left press picks a zone. An arrow button steps by SmallChange at
// once, then again after 600 ms and every 100 ms while held; the track on
// either side of the handle pages by LargeChange on the same rhythm, but a
// repeated page step is only taken while the pointer (clamped into the bar)
// is still over that side's track or its button, judged against where the
// handle is now. Any repeated step that no longer moves the position ends
// the repetition. Dragging the handle moves the position by the pointer's
// travel scaled to the range. The wheel steps by SmallChange per notch.
// Timers run from Tick(); a repeat that fell due several times since the
// last tick catches up by whole 100 ms periods, so the number of steps
// depends only on the time elapsed, not on how often the form ticks.
class TGaugeBar : public TControl {
 public:
  enum class TZone { None, TopButton, TrackAbove, Handle, TrackBelow, BottomButton };

  TColor Color = kDefaultFace;
  TColor HandleColor = kDefaultFace;
  TColor ButtonColor = kDefaultFace;
  TColor HighLightColor = kDefaultFace;
  TColor ShadowColor = kDefaultFace;
  TColor BorderColor = kDefaultBorder;
  int SmallChange = 1;
  int LargeChange = 1;
  // Fires once for every real change of Position, by the user or by code.
  TNotifyEvent OnChange;

  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  // Each clamps the position into the new range (firing OnChange if it moves).
  void SetMin(int value);
  void SetMax(int value);
  // Clamps to Min..Max; a real change repaints and fires OnChange.
  void SetPosition(int value);

  // The zone at a point in control coordinates (None outside the bar).
  TZone ZoneAt(int x, int y) const;
  // The pixel row of the handle's top edge, in control coordinates.
  int HandleTop() const;
  int ButtonLength() const;
  int HandleLength() const;
  int TrackTop() const { return ButtonLength(); }
  int TrackLength() const;
  // The zone drawn highlighted: the one under the pointer while no button is
  // held, cleared 150 ms after the pointer has left.
  TZone HotZone() const { return FHotZone; }
  // The zone the current left press took (None without a press).
  TZone PressedZone() const { return FPressedZone; }

  void HandleInput(const TInputEvent& event) override;
  void Paint(TCanvas& canvas) override;
  void Tick() override;

 private:
  static constexpr TColor kDefaultFace = ColorFromRGB(0xDAE6F4);
  static constexpr TColor kDefaultBorder = ColorFromRGB(0xA2A3A8);
  static constexpr std::int64_t kRepeatDelayMs = 600;
  static constexpr std::int64_t kRepeatIntervalMs = 100;
  static constexpr std::int64_t kLeaveDelayMs = 150;

  void Press(int x, int y);
  void Release(int x, int y);
  void Drag(int y);
  // Takes one repeated step; false when the repetition should end.
  bool RepeatStep();
  void SetHotZone(TZone zone);
  void SetPressedZone(TZone zone);
  void Step(std::int64_t delta);
  TColor ZoneFill(TZone zone, TColor base) const;
  void PaintButton(TCanvas& canvas, const TRect& rect, TZone zone, bool pointsUp) const;
  void PaintHandle(TCanvas& canvas, const TRect& rect) const;
  void PaintTrack(TCanvas& canvas, int top, int bottom, TZone zone) const;

  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  TZone FHotZone = TZone::None;
  TZone FPressedZone = TZone::None;
  // The last pointer position during a press, for the paging repeat.
  int FPointerX = 0;
  int FPointerY = 0;
  // The handle drag's starting point.
  int FDragPosition = 0;
  int FDragY = 0;
  bool FRepeating = false;
  std::int64_t FNextRepeat = 0;
  bool FLeavePending = false;
  std::int64_t FLeaveDue = 0;
};
