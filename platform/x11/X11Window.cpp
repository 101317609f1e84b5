#include "platform/x11/X11Window.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstdint>

#include "platform/x11/X11ErrorTrap.h"
#include "platform/x11/X11InputEvents.h"

namespace {

// The pixel layout our rows have, as an X visual describes it.
constexpr unsigned long kRedMask = 0xFF0000;
constexpr unsigned long kGreenMask = 0x00FF00;
constexpr unsigned long kBlueMask = 0x0000FF;
constexpr int kOpaqueDepth = 24;
constexpr int kAlphaDepth = 32;
constexpr int kBitsPerPixel = 32;
constexpr int kBytesPerPixel = sizeof(std::uint32_t);

constexpr long kEventMask =
    ExposureMask | PointerMotionMask | ButtonPressMask | ButtonReleaseMask | LeaveWindowMask;

bool IsSupported(const XWindowAttributes& parent) {
  const Visual* visual = parent.visual;
  return visual && visual->c_class == TrueColor &&
         (parent.depth == kOpaqueDepth || parent.depth == kAlphaDepth) &&
         visual->red_mask == kRedMask && visual->green_mask == kGreenMask &&
         visual->blue_mask == kBlueMask;
}

}  // namespace

std::unique_ptr<TNativeWindow> TNativeWindow::Create(void* parent, int width, int height,
                                                     TNativeWindowClient& client) {
  return TX11Window::Create(static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent)), width,
                            height, client);
}

std::unique_ptr<TNativeWindow> TX11Window::Create(Window parent, int width, int height,
                                                  TNativeWindowClient& client) {
  if (parent == 0 || width <= 0 || height <= 0) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  TX11ErrorTrap::KeepAliveOnConnectionLoss(display);
  // From here the destructor frees whatever Build made, and the display.
  std::unique_ptr<TX11Window> window(new TX11Window(display, width, height, client));
  if (!window->Build(parent)) return nullptr;
  return window;
}

TX11Window::TX11Window(Display* display, int width, int height, TNativeWindowClient& client)
    : FDisplay(display), FWidth(width), FHeight(height), FClient(client) {}

bool TX11Window::Build(Window parent) {
  TX11ErrorTrap trap(FDisplay);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(FDisplay, parent, &attributes) || !trap.Sync()) return false;
  if (!IsSupported(attributes)) return false;
  FDepth = attributes.depth;
  FVisual = attributes.visual;

  // A colormap of the parent's visual: a 32-bit visual is rarely the
  // parent's colormap's, and CopyFromParent would then fail.
  FColormap = XCreateColormap(FDisplay, parent, FVisual, AllocNone);
  XSetWindowAttributes settings{};
  // No background: the server does not clear what we are about to paint.
  settings.background_pixmap = None;
  settings.border_pixel = 0;
  settings.colormap = FColormap;
  settings.event_mask = kEventMask;
  FWindow = XCreateWindow(FDisplay, parent, 0, 0, FWidth, FHeight, 0, FDepth, InputOutput, FVisual,
                          CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &settings);
  FContext = XCreateGC(FDisplay, FWindow, 0, nullptr);
  XMapWindow(FDisplay, FWindow);
  return trap.Sync();
}

TX11Window::~TX11Window() {
  // Closing reads the connection once more, so it happens under the trap.
  // The parent may be gone already, and our child with it: the BadWindow
  // that destroying it then earns stays here.
  TX11ErrorTrap trap(FDisplay);
  if (FContext) XFreeGC(FDisplay, FContext);
  if (FWindow) XDestroyWindow(FDisplay, FWindow);
  if (FColormap) XFreeColormap(FDisplay, FColormap);
  XCloseDisplay(FDisplay);
}

void TX11Window::Present(const std::uint32_t* pixels, int stride, int left, int top, int width,
                         int height) {
  if (!pixels || FWindowGone || FConnectionLost) return;
  const int right = std::min({left + width, FWidth, stride});
  const int bottom = std::min(top + height, FHeight);
  left = std::max(left, 0);
  top = std::max(top, 0);
  if (right <= left || bottom <= top) return;

  // An image over the caller's rows, down to the last one shown; Xlib only
  // reads them.
  XImage image{};
  image.width = stride;
  image.height = bottom;
  image.format = ZPixmap;
  image.data = const_cast<char*>(reinterpret_cast<const char*>(pixels));
  image.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  image.bitmap_unit = kBitsPerPixel;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = kBitsPerPixel;
  image.depth = FDepth;
  image.bytes_per_line = stride * kBytesPerPixel;
  image.bits_per_pixel = kBitsPerPixel;
  image.red_mask = kRedMask;
  image.green_mask = kGreenMask;
  image.blue_mask = kBlueMask;
  if (!XInitImage(&image)) return;

  // No round trip per frame: an error of this request is read, under a
  // trap, by a later call.
  TX11ErrorTrap trap(FDisplay);
  XPutImage(FDisplay, FWindow, FContext, &image, left, top, left, top, right - left, bottom - top);
  XFlush(FDisplay);
  Note(trap.ErrorCode(), trap.ConnectionLost());
}

void TX11Window::PumpEvents() {
  // The client runs between the events, outside any trap: it presents.
  XEvent event;
  while (NextEvent(event))
    Deliver(event);
}

bool TX11Window::NextEvent(XEvent& event) {
  if (FConnectionLost) return false;
  TX11ErrorTrap trap(FDisplay);
  const bool pending = XPending(FDisplay) > 0;
  if (pending) XNextEvent(FDisplay, &event);
  Note(trap.ErrorCode(), trap.ConnectionLost());
  return pending && !FConnectionLost;
}

void TX11Window::Deliver(const XEvent& event) {
  if (event.xany.window != FWindow) return;
  if (event.type == Expose) {
    const XExposeEvent& expose = event.xexpose;
    FClient.HandleExpose(expose.x, expose.y, expose.width, expose.height);
  } else if (const std::optional<TInputEvent> input = TranslateX11Input(event)) {
    FClient.HandleInput(*input);
  }
}

void TX11Window::Note(int errorCode, bool connectionLost) {
  if (errorCode == BadWindow || errorCode == BadDrawable) FWindowGone = true;
  if (connectionLost) FConnectionLost = true;
}
