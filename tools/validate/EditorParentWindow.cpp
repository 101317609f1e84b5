#include "tools/validate/EditorParentWindow.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

constexpr auto kWaitLimit = std::chrono::seconds(2);
constexpr auto kWaitStep = std::chrono::milliseconds(10);

}  // namespace

bool DisplayAvailable() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
}

std::unique_ptr<TEditorParentWindow> TEditorParentWindow::Open(int width, int height) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  const int screen = DefaultScreen(display);
  const ::Window window = XCreateSimpleWindow(
      display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, BlackPixel(display, screen), BlackPixel(display, screen));
  XMapWindow(display, window);
  XSync(display, False);
  return std::unique_ptr<TEditorParentWindow>(new TEditorParentWindow(display, window));
}

TEditorParentWindow::TEditorParentWindow(_XDisplay* display, unsigned long window)
    : FDisplay(display), FWindow(window) {}

TEditorParentWindow::~TEditorParentWindow() {
  XDestroyWindow(FDisplay, FWindow);
  XCloseDisplay(FDisplay);
}

void* TEditorParentWindow::Handle() const {
  return reinterpret_cast<void*>(FWindow);
}

std::size_t TEditorParentWindow::Children() const {
  XSync(FDisplay, False);
  ::Window root = 0, parent = 0;
  ::Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(FDisplay, FWindow, &root, &parent, &children, &count)) return 0;
  if (children != nullptr) XFree(children);
  return count;
}

bool TEditorParentWindow::WaitForChildren(bool (*want)(std::size_t children)) const {
  const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
  for (;;) {
    if (want(Children())) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kWaitStep);
  }
}
