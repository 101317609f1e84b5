#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/NativeWindow.h"

// The editor's window on Windows: a WS_CHILD of the host's window. Its
// messages come through the host's own message loop, on the host's GUI
// thread; input goes to the client as it arrives, a timer of the window
// ticks the client, and WM_PAINT shows the pixels last presented again.
class TWin32Window final : public TNativeWindow {
 public:
  static std::unique_ptr<TNativeWindow> Create(HWND parent, int width, int height,
                                               TNativeWindowClient& client);
  ~TWin32Window() override;

  void Present(const std::uint32_t* pixels, int stride, int left, int top, int width,
               int height) override;
  // Messages reach the window through the host's loop; nothing to pump.
  void PumpEvents() override {}

 private:
  TWin32Window(int width, int height, TNativeWindowClient& client);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Show(HDC context);
  void Deliver(const TInputEvent& event);

  HWND FWindow = nullptr;
  int FWidth;
  int FHeight;
  TNativeWindowClient& FClient;
  // The pixels last presented (the form's own buffer), shown again on
  // WM_PAINT.
  const std::uint32_t* FPixels = nullptr;
  int FStride = 0;
  bool FTrackingLeave = false;
};
