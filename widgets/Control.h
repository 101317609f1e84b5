#pragma once

#include <functional>
#include <string>

#include "widgets/Clock.h"
#include "widgets/InputEvent.h"
#include "widgets/graphics/Canvas.h"

// A control of the editor: a rectangle of the form that draws itself with
// the canvas and reacts to pointer input and timer ticks. Controls live on
// the editor's thread only; the form owns them, routes input to them and
// repaints the ones that asked for it.
class TControl {
 public:
  using TMouseMoveEvent = std::function<void(TControl* Sender, TShiftState Shift, int X, int Y)>;
  // A change or click the control reports (OnChange, OnClick).
  using TNotifyEvent = std::function<void(TControl* Sender)>;

  TControl() = default;
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  std::string Name;
  int Tag = 0;
  // Position and size in form coordinates.
  TRect Bounds;
  bool Visible = true;
  TMouseMoveEvent OnMouseMove;

  // Pointer input in the control's own coordinates (0, 0 is its top-left
  // corner). The form sends each event to the control under the pointer,
  // and every event from a press to its release to the control that took
  // the press, even when the pointer has left it; Leave when the pointer
  // moves off the control. The default fires OnMouseMove for moves.
  virtual void HandleInput(const TInputEvent& event);
  // Draws the control in form coordinates; the caller has clipped the
  // canvas to what needs painting and drawn what lies below.
  virtual void Paint(TCanvas& canvas) = 0;
  // Advances the control's timers to Clock()'s time.
  virtual void Tick() {}

  // The time the control's timers read; the form sets it before any input.
  void SetClock(const TClock* clock) { FClock = clock; }
  const TClock& Clock() const { return *FClock; }

  // Asks the form to repaint the control.
  void Invalidate() { FInvalid = true; }
  // Whether a repaint was asked for since the last call; clears the request.
  bool TakeInvalid() {
    const bool invalid = FInvalid;
    FInvalid = false;
    return invalid;
  }

 private:
  const TClock* FClock = nullptr;
  bool FInvalid = true;
};
