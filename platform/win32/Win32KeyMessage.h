#pragma once

#include <windows.h>

#include "frame/EditorKeyEvent.h"

// The window message a control of a Win32 editor receives for a host key the
// frame forwards: WM_KEYDOWN, WM_CHAR or WM_KEYUP, or their system-key
// counterparts, with the translated key code and the frame's detail word.
struct TWin32KeyMessage {
  UINT Message;
  WPARAM WParam;
  LPARAM LParam;
};

TWin32KeyMessage ToWin32KeyMessage(const TEditorKeyEvent& key);
