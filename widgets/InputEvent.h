#pragma once

#include <cstdint>

// Mouse buttons and modifiers held during an event (the Shift argument of
// the mouse events).
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;

// Pointer input as every platform delivers it to the editor, in client
// coordinates of the editor window (the form hands controls their own).
struct TInputEvent {
  enum class TKind { PointerMove, ButtonDown, ButtonUp, Wheel, Leave };
  // The mouse buttons; the wheel arrives as Wheel events, not as buttons.
  enum TButton { mbNone = 0, mbLeft = 1, mbMiddle = 2, mbRight = 3 };
  // One notch of the wheel away from the user.
  static constexpr int kWheelNotch = 120;

  TKind Kind = TKind::PointerMove;
  int X = 0;
  int Y = 0;
  TButton Button = mbNone;
  // Wheel events: +120 per notch forward, -120 per notch back.
  int WheelDelta = 0;
  TShiftState Shift = 0;
};
