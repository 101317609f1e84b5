#include "platform/win32/Win32KeyMessage.h"

TWin32KeyMessage ToWin32KeyMessage(const TEditorKeyEvent& key) {
  using TKind = TEditorKeyEvent::TKind;
  UINT message = 0;
  switch (key.Kind) {
    case TKind::Down:
      message = key.System ? WM_SYSKEYDOWN : WM_KEYDOWN;
      break;
    case TKind::Char:
      message = key.System ? WM_SYSCHAR : WM_CHAR;
      break;
    case TKind::Up:
      message = key.System ? WM_SYSKEYUP : WM_KEYUP;
      break;
  }
  return {message, static_cast<WPARAM>(key.Code), static_cast<LPARAM>(key.LParam)};
}
