#pragma once

#include <cstdint>

#include "widgets/Clock.h"
#include "widgets/InputEvent.h"

// A clock the tests move by hand.
class TTestClock : public TClock {
 public:
  std::int64_t NowMilliseconds() const override { return Now; }
  std::int64_t Now = 1000;
};

inline TInputEvent PointerEvent(TInputEvent::TKind kind, int x, int y,
                                TInputEvent::TButton button = TInputEvent::mbNone) {
  TInputEvent event;
  event.Kind = kind;
  event.X = x;
  event.Y = y;
  event.Button = button;
  return event;
}

inline TInputEvent Down(int x, int y, TInputEvent::TButton button = TInputEvent::mbLeft) {
  return PointerEvent(TInputEvent::TKind::ButtonDown, x, y, button);
}
inline TInputEvent Up(int x, int y, TInputEvent::TButton button = TInputEvent::mbLeft) {
  return PointerEvent(TInputEvent::TKind::ButtonUp, x, y, button);
}
inline TInputEvent Move(int x, int y) {
  return PointerEvent(TInputEvent::TKind::PointerMove, x, y);
}
inline TInputEvent Leave() {
  return PointerEvent(TInputEvent::TKind::Leave, 0, 0);
}
inline TInputEvent Wheel(int delta) {
  TInputEvent event = PointerEvent(TInputEvent::TKind::Wheel, 0, 0);
  event.WheelDelta = delta;
  return event;
}
