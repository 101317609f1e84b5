#include "tools/validate/EditorHostDisplay.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

constexpr auto kWaitLimit = std::chrono::seconds(2);
constexpr auto kWaitStep = std::chrono::milliseconds(10);

}  // namespace

std::unique_ptr<TEditorHostDisplay> TEditorHostDisplay::Open() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  return std::unique_ptr<TEditorHostDisplay>(new TEditorHostDisplay(display));
}

TEditorHostDisplay::TEditorHostDisplay(_XDisplay* display) : FDisplay(display) {}

TEditorHostDisplay::~TEditorHostDisplay() {
  XCloseDisplay(FDisplay);
}

TEditorHostDisplay::TWindowId TEditorHostDisplay::CreateParent(int width, int height) {
  const int screen = DefaultScreen(FDisplay);
  const Window window = XCreateSimpleWindow(
      FDisplay, RootWindow(FDisplay, screen), 0, 0, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, BlackPixel(FDisplay, screen), BlackPixel(FDisplay, screen));
  XMapWindow(FDisplay, window);
  XSync(FDisplay, False);
  return window;
}

void TEditorHostDisplay::DestroyWindow(TWindowId window) {
  XDestroyWindow(FDisplay, window);
  XSync(FDisplay, False);
}

void* TEditorHostDisplay::Handle(TWindowId window) {
  return reinterpret_cast<void*>(window);
}

std::size_t TEditorHostDisplay::Children(TWindowId window) const {
  XSync(FDisplay, False);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(FDisplay, window, &root, &parent, &children, &count)) return 0;
  if (children != nullptr) XFree(children);
  return count;
}

bool TEditorHostDisplay::WaitForChildren(TWindowId window,
                                         bool (*want)(std::size_t children)) const {
  const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
  for (;;) {
    if (want(Children(window))) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kWaitStep);
  }
}
