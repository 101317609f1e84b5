#include "widgets/GaugeBar.h"

#include <algorithm>
#include <cmath>

#include "widgets/ClipScope.h"

namespace {

// The buttons are never longer than this, whatever the bar's width.
constexpr int kMaxButtonLength = 32;
// The arrow on a button: half its width and half its height as fractions of
// the button's width and length.
constexpr double kArrowHalfWidth = 0.25;
constexpr double kArrowHalfHeight = 0.125;
// The grip lines: their count, the rows between them and how far they stay
// from the handle's sides.
constexpr int kGripLines = 3;
constexpr int kGripSpacing = 2;
constexpr int kGripInset = 4;

std::int64_t Clamp64(std::int64_t value, std::int64_t low, std::int64_t high) {
  // Min wins over Max while the range is being set up the wrong way round.
  return std::max(low, std::min(high, value));
}

}  // namespace

void TGaugeBar::SetMin(int value) {
  if (value == FMin) return;
  FMin = value;
  Invalidate();
  Step(0);
}

void TGaugeBar::SetMax(int value) {
  if (value == FMax) return;
  FMax = value;
  Invalidate();
  Step(0);
}

void TGaugeBar::SetPosition(int value) {
  const int position = static_cast<int>(Clamp64(value, FMin, FMax));
  if (position == FPosition) return;
  const int oldTop = HandleTop();
  FPosition = position;
  if (HandleTop() != oldTop) Invalidate();
  if (OnChange) OnChange(this);
}

void TGaugeBar::Step(std::int64_t delta) {
  SetPosition(static_cast<int>(Clamp64(FPosition + delta, FMin, FMax)));
}

int TGaugeBar::ButtonLength() const {
  return std::max(0, std::min({Bounds.Width, kMaxButtonLength, Bounds.Height / 2}) - 1);
}

int TGaugeBar::TrackLength() const {
  return std::max(0, Bounds.Height - 2 * ButtonLength());
}

int TGaugeBar::HandleLength() const {
  return std::max(0, std::min(Bounds.Width, TrackLength() - 1));
}

int TGaugeBar::HandleTop() const {
  if (FMax <= FMin) return TrackTop();
  const double travel = TrackLength() - HandleLength();
  const double offset = travel * static_cast<double>(static_cast<std::int64_t>(FPosition) - FMin) /
                        static_cast<double>(static_cast<std::int64_t>(FMax) - FMin);
  return TrackTop() + static_cast<int>(std::nearbyint(offset));
}

TGaugeBar::TZone TGaugeBar::ZoneAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= Bounds.Width || y >= Bounds.Height) return TZone::None;
  if (y < TrackTop()) return TZone::TopButton;
  if (y >= TrackTop() + TrackLength()) return TZone::BottomButton;
  const int handleTop = HandleTop();
  if (y < handleTop) return TZone::TrackAbove;
  if (y < handleTop + HandleLength()) return TZone::Handle;
  return TZone::TrackBelow;
}

void TGaugeBar::HandleInput(const TInputEvent& event) {
  using TKind = TInputEvent::TKind;
  switch (event.Kind) {
    case TKind::ButtonDown:
      if (event.Button == TInputEvent::mbLeft) Press(event.X, event.Y);
      break;
    case TKind::ButtonUp:
      if (event.Button == TInputEvent::mbLeft && FPressedZone != TZone::None)
        Release(event.X, event.Y);
      break;
    case TKind::PointerMove:
      if (FPressedZone != TZone::None) {
        FPointerX = event.X;
        FPointerY = event.Y;
        if (FPressedZone == TZone::Handle) Drag(event.Y);
      } else {
        FLeavePending = false;
        SetHotZone(ZoneAt(event.X, event.Y));
      }
      break;
    case TKind::Wheel:
      Step(static_cast<std::int64_t>(event.WheelDelta) * SmallChange / TInputEvent::kWheelNotch);
      break;
    case TKind::Leave:
      FLeavePending = true;
      FLeaveDue = Clock().NowMilliseconds() + kLeaveDelayMs;
      break;
  }
  TControl::HandleInput(event);
}

void TGaugeBar::Press(int x, int y) {
  const TZone zone = ZoneAt(x, y);
  if (zone == TZone::None) return;
  FLeavePending = false;
  FPointerX = x;
  FPointerY = y;
  SetHotZone(zone);
  SetPressedZone(zone);
  switch (zone) {
    case TZone::TopButton:
      Step(-static_cast<std::int64_t>(SmallChange));
      break;
    case TZone::BottomButton:
      Step(SmallChange);
      break;
    case TZone::TrackAbove:
      Step(-static_cast<std::int64_t>(LargeChange));
      break;
    case TZone::TrackBelow:
      Step(LargeChange);
      break;
    case TZone::Handle:
      FDragPosition = FPosition;
      FDragY = y;
      return;
    case TZone::None:
      return;
  }
  FRepeating = true;
  FNextRepeat = Clock().NowMilliseconds() + kRepeatDelayMs;
}

void TGaugeBar::Release(int x, int y) {
  FRepeating = false;
  SetPressedZone(TZone::None);
  SetHotZone(ZoneAt(x, y));
}

void TGaugeBar::Drag(int y) {
  const int travel = TrackLength() - HandleLength();
  if (travel <= 0) return;
  const double range = static_cast<double>(static_cast<std::int64_t>(FMax) - FMin);
  const double target = FDragPosition + static_cast<double>(y - FDragY) * range / travel;
  // Clamped before the conversion so that no pointer travel can overflow.
  const double clamped = std::max<double>(FMin, std::min<double>(FMax, target));
  SetPosition(static_cast<int>(std::nearbyint(clamped)));
}

bool TGaugeBar::RepeatStep() {
  const TZone under = ZoneAt(std::clamp(FPointerX, 0, std::max(0, Bounds.Width - 1)),
                             std::clamp(FPointerY, 0, std::max(0, Bounds.Height - 1)));
  std::int64_t delta = 0;
  switch (FPressedZone) {
    case TZone::TopButton:
      delta = -static_cast<std::int64_t>(SmallChange);
      break;
    case TZone::BottomButton:
      delta = SmallChange;
      break;
    case TZone::TrackAbove:
      if (under != TZone::TrackAbove && under != TZone::TopButton) return true;
      delta = -static_cast<std::int64_t>(LargeChange);
      break;
    case TZone::TrackBelow:
      if (under != TZone::TrackBelow && under != TZone::BottomButton) return true;
      delta = LargeChange;
      break;
    case TZone::Handle:
    case TZone::None:
      return false;
  }
  const int before = FPosition;
  Step(delta);
  return FPosition != before;
}

void TGaugeBar::Tick() {
  const std::int64_t now = Clock().NowMilliseconds();
  while (FRepeating && now >= FNextRepeat) {
    FNextRepeat += kRepeatIntervalMs;
    FRepeating = RepeatStep();
  }
  if (FLeavePending && now >= FLeaveDue) {
    FLeavePending = false;
    SetHotZone(TZone::None);
  }
}

void TGaugeBar::SetHotZone(TZone zone) {
  if (zone == FHotZone) return;
  FHotZone = zone;
  Invalidate();
}

void TGaugeBar::SetPressedZone(TZone zone) {
  if (zone == FPressedZone) return;
  FPressedZone = zone;
  Invalidate();
}

TColor TGaugeBar::ZoneFill(TZone zone, TColor base) const {
  if (zone == FPressedZone) return ShadowColor;
  if (zone == FHotZone) return HighLightColor;
  return base;
}

void TGaugeBar::Paint(TCanvas& canvas) {
  const TClipScope clip(canvas, Bounds);
  const int button = ButtonLength();
  const int trackTop = TrackTop();
  const int trackBottom = trackTop + TrackLength();
  const int handleTop = HandleTop();
  const int handleBottom = handleTop + HandleLength();

  PaintTrack(canvas, trackTop, handleTop, TZone::TrackAbove);
  PaintTrack(canvas, handleBottom, trackBottom, TZone::TrackBelow);
  if (button > 0) {
    PaintButton(canvas, {Bounds.Left, Bounds.Top, Bounds.Width, button}, TZone::TopButton, true);
    PaintButton(canvas, {Bounds.Left, Bounds.Top + trackBottom, Bounds.Width, button},
                TZone::BottomButton, false);
  }
  if (HandleLength() > 0)
    PaintHandle(canvas, {Bounds.Left, Bounds.Top + handleTop, Bounds.Width, HandleLength()});
  canvas.FrameRect(Bounds, BorderColor);
}

void TGaugeBar::PaintTrack(TCanvas& canvas, int top, int bottom, TZone zone) const {
  const TColor color = ZoneFill(zone, Color);
  for (int y = top; y < bottom; ++y)
    for (int x = (y & 1); x < Bounds.Width; x += 2)
      canvas.BlendPixel(Bounds.Left + x, Bounds.Top + y, color);
}

void TGaugeBar::PaintButton(TCanvas& canvas, const TRect& rect, TZone zone, bool pointsUp) const {
  canvas.FillRect(rect, ZoneFill(zone, ButtonColor));
  canvas.FrameRect(rect, BorderColor);
  const double cx = rect.Left + rect.Width / 2.0;
  const double cy = rect.Top + rect.Height / 2.0;
  const double halfWidth = rect.Width * kArrowHalfWidth;
  // The tip points away from the track.
  const double tip = (pointsUp ? -1.0 : 1.0) * rect.Height * kArrowHalfHeight;
  canvas.FillTriangle(cx, cy + tip, cx - halfWidth, cy - tip, cx + halfWidth, cy - tip,
                      BorderColor);
}

void TGaugeBar::PaintHandle(TCanvas& canvas, const TRect& rect) const {
  canvas.FillRect(rect, ZoneFill(TZone::Handle, HandleColor));
  canvas.FrameRect(rect, BorderColor);
  const int middle = rect.Top + rect.Height / 2;
  const int first = middle - (kGripLines / 2) * kGripSpacing;
  for (int line = 0; line < kGripLines; ++line)
    canvas.FillRect(
        {rect.Left + kGripInset, first + line * kGripSpacing, rect.Width - 2 * kGripInset, 1},
        BorderColor);
}
