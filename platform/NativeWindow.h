#pragma once

#include <cstdint>
#include <memory>

#include "widgets/InputEvent.h"

class TClock;

// Receives what the native window delivers, on the editor's own thread.
class TNativeWindowClient {
 public:
  virtual ~TNativeWindowClient() = default;
  virtual void HandleInput(const TInputEvent& event) = 0;
  // The window needs these client pixels shown again (it was exposed).
  virtual void HandleExpose(int left, int top, int width, int height) = 0;
  // A tick of the window's own timer, for systems whose windows receive
  // their messages without the editor's idle call (Win32). X11 windows
  // never tick: there the host's idle call drives everything.
  virtual void HandleTimer() {}
};

// The one thing each windowing system provides the editor: a borderless child
// of the host's window that shows finished pixels and reports input. It draws
// nothing itself. Every call comes from the editor's thread (the host's GUI
// thread, in effEditOpen, effEditIdle and effEditClose).
class TNativeWindow {
 public:
  // A child of `parent` (an X11 window id or an HWND), width x height, shown;
  // nullptr when no window can be made (no display, no such parent, an
  // unsupported visual). Never throws.
  static std::unique_ptr<TNativeWindow> Create(void* parent, int width, int height,
                                               TNativeWindowClient& client);
  // The platform's monotonic clock, for the controls' timers.
  static const TClock& SystemClock();

  // Destroys the child window; quietly when the parent is already gone.
  virtual ~TNativeWindow() = default;
  // Shows the given rectangle of `pixels` (0xAARRGGBB rows of `stride`
  // words, the whole client area) at the same place in the window.
  virtual void Present(const std::uint32_t* pixels, int stride, int left, int top, int width,
                       int height) = 0;
  // Delivers the input and expose events that arrived since the last call to
  // the client, on the calling thread.
  virtual void PumpEvents() = 0;
};
