#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>

#include "platform/NativeWindow.h"

// The editor's window on X11: a borderless child of the host's window, made
// on a connection of our own so that the host's connection, its event queue
// and its threads are never touched. The child takes the parent's visual
// and depth, which must be TrueColor with 24 or 32 bits of 8-bit red, green
// and blue; our 0xAARRGGBB rows then go to the server unchanged.
//
// No X error of ours reaches the process-wide handlers, and a lost
// connection leaves a window that does nothing (see TX11ErrorTrap).
class TX11Window final : public TNativeWindow {
 public:
  static std::unique_ptr<TNativeWindow> Create(Window parent, int width, int height,
                                               TNativeWindowClient& client);
  ~TX11Window() override;

  void Present(const std::uint32_t* pixels, int stride, int left, int top, int width,
               int height) override;
  void PumpEvents() override;

 private:
  TX11Window(Display* display, int width, int height, TNativeWindowClient& client);
  bool Build(Window parent);
  bool NextEvent(XEvent& event);
  void Deliver(const XEvent& event);
  // Keeps what a trap saw: after a lost connection or a vanished window
  // nothing is sent any more.
  void Note(int errorCode, bool connectionLost);

  Display* FDisplay;
  int FWidth;
  int FHeight;
  TNativeWindowClient& FClient;
  int FDepth = 0;
  Visual* FVisual = nullptr;
  Colormap FColormap = 0;
  Window FWindow = 0;
  GC FContext = nullptr;
  bool FWindowGone = false;
  bool FConnectionLost = false;
};
