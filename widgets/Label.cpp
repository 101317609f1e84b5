#include "widgets/Label.h"

#include "widgets/ClipScope.h"

void TLabel::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  Invalidate();
}

void TLabel::Paint(TCanvas& canvas) {
  if (FText.empty()) return;
  const TClipScope clip(canvas, Bounds);
  const int spare = Bounds.Width - TCanvas::TextWidth(FText, FontHeight);
  int x = Bounds.Left;
  if (Alignment == TAlignment::Right) {
    x += spare;
  } else if (Alignment == TAlignment::Center) {
    // Rounds towards the left for odd amounts, whether the text fits or not.
    x += spare >= 0 ? spare / 2 : -((1 - spare) / 2);
  }
  canvas.DrawText(x, Bounds.Top, FText, FontHeight, FontColor);
}
