#pragma once

#include "widgets/Control.h"

// A flat check box without a caption: a filled box with a one-pixel outline
// and, when checked, a check mark. A left click (press and release inside
// the box) toggles it. The box shows ColorDown while a press lasts with the
// pointer inside, ColorFocused while it has the keyboard focus, else Color.
class TFlatCheckBox : public TControl {
 public:
  TColor Color = ColorFromRGB(0xDAE6F4);
  TColor ColorFocused = ColorFromRGB(0xE8EFF9);
  TColor ColorDown = ColorFromRGB(0xC9DAEF);
  TColor ColorCheck = ColorFromRGB(0xA2A3A8);
  TColor ColorBorder = ColorFromRGB(0xA2A3A8);
  // Fires after every real change of Checked, by a click or by code.
  TNotifyEvent OnClick;

  bool Checked() const { return FChecked; }
  void SetChecked(bool checked);
  bool Focused() const { return FFocused; }
  void SetFocused(bool focused);

  void HandleInput(const TInputEvent& event) override;
  void Paint(TCanvas& canvas) override;

 private:
  void SetDown(bool down);

  bool FChecked = false;
  bool FFocused = false;
  bool FPressed = false;
  bool FDown = false;
};
