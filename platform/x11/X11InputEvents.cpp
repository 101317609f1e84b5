#include "platform/x11/X11InputEvents.h"

namespace {

// X numbers the wheel as buttons: one press per notch.
constexpr unsigned int kWheelForward = Button4;
constexpr unsigned int kWheelBack = Button5;

TShiftState ShiftState(unsigned int state) {
  TShiftState shift = 0;
  if (state & ShiftMask) shift |= ssShift;
  if (state & ControlMask) shift |= ssCtrl;
  if (state & Mod1Mask) shift |= ssAlt;
  if (state & Button1Mask) shift |= ssLeft;
  if (state & Button2Mask) shift |= ssMiddle;
  if (state & Button3Mask) shift |= ssRight;
  return shift;
}

TInputEvent::TButton MouseButton(unsigned int button) {
  switch (button) {
    case Button1:
      return TInputEvent::mbLeft;
    case Button2:
      return TInputEvent::mbMiddle;
    case Button3:
      return TInputEvent::mbRight;
    default:
      return TInputEvent::mbNone;
  }
}

TShiftState ButtonShift(TInputEvent::TButton button) {
  switch (button) {
    case TInputEvent::mbLeft:
      return ssLeft;
    case TInputEvent::mbMiddle:
      return ssMiddle;
    case TInputEvent::mbRight:
      return ssRight;
    default:
      return 0;
  }
}

TInputEvent At(TInputEvent::TKind kind, int x, int y, unsigned int state) {
  TInputEvent input;
  input.Kind = kind;
  input.X = x;
  input.Y = y;
  input.Shift = ShiftState(state);
  return input;
}

// X reports the state before the event: the pressed button is not in it
// yet, the released one still is.
std::optional<TInputEvent> Button(const XButtonEvent& event) {
  const bool press = event.type == ButtonPress;
  if (event.button == kWheelForward || event.button == kWheelBack) {
    if (!press) return std::nullopt;
    TInputEvent wheel = At(TInputEvent::TKind::Wheel, event.x, event.y, event.state);
    wheel.WheelDelta =
        event.button == kWheelForward ? TInputEvent::kWheelNotch : -TInputEvent::kWheelNotch;
    return wheel;
  }
  const TInputEvent::TButton button = MouseButton(event.button);
  if (button == TInputEvent::mbNone) return std::nullopt;
  TInputEvent input = At(press ? TInputEvent::TKind::ButtonDown : TInputEvent::TKind::ButtonUp,
                         event.x, event.y, event.state);
  input.Button = button;
  if (press) {
    input.Shift |= ButtonShift(button);
  } else {
    input.Shift &= static_cast<TShiftState>(~ButtonShift(button));
  }
  return input;
}

}  // namespace

std::optional<TInputEvent> TranslateX11Input(const XEvent& event) {
  switch (event.type) {
    case MotionNotify:
      return At(TInputEvent::TKind::PointerMove, event.xmotion.x, event.xmotion.y,
                event.xmotion.state);
    case ButtonPress:
    case ButtonRelease:
      return Button(event.xbutton);
    case LeaveNotify:
      return At(TInputEvent::TKind::Leave, event.xcrossing.x, event.xcrossing.y,
                event.xcrossing.state);
    default:
      return std::nullopt;
  }
}
