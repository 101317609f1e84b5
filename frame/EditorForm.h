#pragma once

#include <cstdint>

#include "frame/Object.h"

// What the frame needs of an editor window: the module's OnEditOpen handler
// creates one, the frame embeds it in the host's window, sizes, repaints and
// forwards keys to it, and destroys it on close. The windowing layer of each
// platform implements it.
class TEditorForm : public TObject {
 public:
  // Key messages, as the Windows message numbers the form understands.
  static constexpr std::uint32_t kKeyDown = 0x0100;
  static constexpr std::uint32_t kKeyUp = 0x0101;
  static constexpr std::uint32_t kChar = 0x0102;
  static constexpr std::uint32_t kSysKeyDown = 0x0104;
  static constexpr std::uint32_t kSysKeyUp = 0x0105;

  // Makes the host's window (an HWND or an X11 window id) the form's parent.
  virtual void SetParentWindow(void* parent) = 0;
  virtual void Show() = 0;
  virtual void SetBorderless() = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual void Invalidate() = 0;
  // Sends a key message to the form's active control.
  virtual void SendKeyMessage(std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) = 0;
};
