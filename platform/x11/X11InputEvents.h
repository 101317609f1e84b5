#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "widgets/InputEvent.h"

// The editor's input event for an X pointer event on our window: motion,
// presses and releases of the three buttons, wheel notches (buttons 4 and 5,
// on press) and the pointer leaving. Nothing for every other event, the
// wheel's releases and the horizontal wheel (buttons 6 and 7).
//
// The shift state is the one after the event, as on every platform: a press
// of the left button holds ssLeft, its release no longer does.
std::optional<TInputEvent> TranslateX11Input(const XEvent& event);
