#include "widgets/FlatCheckBox.h"

#include <iterator>

#include "widgets/ClipScope.h"

namespace {

// The check mark's three points as fractions of the box: the short stroke
// runs down to the bottom point, the long one up to the right.
struct TMarkPoint {
  double X;
  double Y;
};
constexpr TMarkPoint kMark[] = {{0.27, 0.50}, {0.43, 0.68}, {0.75, 0.30}};
// Each stroke is drawn twice, one pixel apart, for a two-pixel mark.
constexpr double kStrokeOffset = 1.0;

}  // namespace

void TFlatCheckBox::SetChecked(bool checked) {
  if (checked == FChecked) return;
  FChecked = checked;
  Invalidate();
  if (OnClick) OnClick(this);
}

void TFlatCheckBox::SetFocused(bool focused) {
  if (focused == FFocused) return;
  FFocused = focused;
  Invalidate();
}

void TFlatCheckBox::SetDown(bool down) {
  if (down == FDown) return;
  FDown = down;
  Invalidate();
}

void TFlatCheckBox::HandleInput(const TInputEvent& event) {
  using TKind = TInputEvent::TKind;
  const bool inside =
      event.X >= 0 && event.Y >= 0 && event.X < Bounds.Width && event.Y < Bounds.Height;
  const bool left = event.Button == TInputEvent::mbLeft;
  if (event.Kind == TKind::ButtonDown && left && inside) {
    FPressed = true;
    SetDown(true);
  } else if (event.Kind == TKind::PointerMove && FPressed) {
    SetDown(inside);
  } else if (event.Kind == TKind::ButtonUp && left && FPressed) {
    FPressed = false;
    SetDown(false);
    if (inside) SetChecked(!FChecked);
  }
  TControl::HandleInput(event);
}

void TFlatCheckBox::Paint(TCanvas& canvas) {
  const TClipScope clip(canvas, Bounds);
  canvas.FillRect(Bounds, FDown ? ColorDown : FFocused ? ColorFocused : Color);
  canvas.FrameRect(Bounds, ColorBorder);
  if (!FChecked) return;
  const auto x = [this](const TMarkPoint& p) { return Bounds.Left + p.X * Bounds.Width; };
  const auto y = [this](const TMarkPoint& p) { return Bounds.Top + p.Y * Bounds.Height; };
  for (const double offset : {0.0, kStrokeOffset})
    for (int i = 0; i + 1 < static_cast<int>(std::size(kMark)); ++i)
      canvas.DrawLine(x(kMark[i]), y(kMark[i]) + offset, x(kMark[i + 1]), y(kMark[i + 1]) + offset,
                      ColorCheck);
}
