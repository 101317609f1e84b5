#include "tests/platform/X11TestHost.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/x11/X11ErrorTrap.h"

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000;
constexpr int kOpaqueDepth = 24;
constexpr int kAlphaDepth = 32;
constexpr unsigned kWheelForward = 4;
constexpr unsigned kWheelBack = 5;
constexpr auto kPollInterval = std::chrono::milliseconds(2);

// Runs requests under a trap and turns a failure into an exception.
template <typename TRequests>
void Checked(Display* display, const char* what, TRequests requests) {
  TX11ErrorTrap trap(display);
  requests();
  if (!trap.Sync()) {
    throw std::runtime_error(std::string("X11 test host: ") + what + " failed (X error " +
                             std::to_string(trap.ErrorCode()) + ")");
  }
}

void Hold(std::vector<unsigned>& held, unsigned item, bool press) {
  std::erase(held, item);
  if (press) held.push_back(item);
}

}  // namespace

bool UseTestDisplay(std::string* why) {
  std::ifstream file(QUILLO_XVFB_DISPLAY_FILE);
  std::string name;
  if (file >> name) {
    setenv("DISPLAY", name.c_str(), 1);
    return true;
  }
  const char* display = std::getenv("DISPLAY");
  if (display && *display) return true;
  if (why) {
    *why = std::string("no test display: ") + QUILLO_XVFB_DISPLAY_FILE +
           " is missing (run the tests through ctest) and DISPLAY is not set";
  }
  return false;
}

TX11TestHost::TX11TestHost() : FDisplay(XOpenDisplay(nullptr)) {
  if (!FDisplay) throw std::runtime_error("X11 test host: cannot open the display");
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(FDisplay, &event, &error, &major, &minor)) {
    XCloseDisplay(FDisplay);
    throw std::runtime_error("X11 test host: the server has no XTest extension");
  }
}

TX11TestHost::~TX11TestHost() {
  for (unsigned button : FHeldButtons)
    XTestFakeButtonEvent(FDisplay, button, False, CurrentTime);
  for (unsigned key : FHeldKeys)
    XTestFakeKeyEvent(FDisplay, key, False, CurrentTime);
  XCloseDisplay(FDisplay);
}

TX11TestHost::TWindowId TX11TestHost::CreateParent(int width, int height, TVisual visual) {
  const int depth = visual == TVisual::TrueColor32 ? kAlphaDepth : kOpaqueDepth;
  const int visualClass = visual == TVisual::DirectColor24 ? DirectColor : TrueColor;
  const int screen = DefaultScreen(FDisplay);
  XVisualInfo info{};
  if (!XMatchVisualInfo(FDisplay, screen, depth, visualClass, &info)) {
    throw std::runtime_error("X11 test host: the server has no such visual");
  }
  Window window = 0;
  Checked(FDisplay, "creating a parent window", [&] {
    const Window root = RootWindow(FDisplay, screen);
    XSetWindowAttributes settings{};
    settings.colormap = XCreateColormap(FDisplay, root, info.visual, AllocNone);
    settings.border_pixel = 0;
    settings.background_pixel = 0;
    window = XCreateWindow(FDisplay, root, 0, 0, width, height, 0, info.depth, InputOutput,
                           info.visual, CWColormap | CWBorderPixel | CWBackPixel, &settings);
    XMapWindow(FDisplay, window);
  });
  const bool viewable = WaitUntil([&] {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(FDisplay, window, &attributes) &&
           attributes.map_state == IsViewable;
  });
  if (!viewable) throw std::runtime_error("X11 test host: the parent window never became viewable");
  return window;
}

void TX11TestHost::DestroyWindow(TWindowId window) {
  Checked(FDisplay, "destroying a window", [&] { XDestroyWindow(FDisplay, window); });
}

std::vector<TX11TestHost::TWindowId> TX11TestHost::ChildrenOf(TWindowId window) const {
  std::vector<TWindowId> children;
  Checked(FDisplay, "listing children", [&] {
    Window root = 0, parent = 0;
    Window* list = nullptr;
    unsigned count = 0;
    if (XQueryTree(FDisplay, window, &root, &parent, &list, &count)) {
      children.assign(list, list + count);
      if (list) XFree(list);
    }
  });
  return children;
}

TPixelBuffer TX11TestHost::ReadPixels(TWindowId window) const {
  XWindowAttributes attributes{};
  XImage* image = nullptr;
  Checked(FDisplay, "reading pixels", [&] {
    if (XGetWindowAttributes(FDisplay, window, &attributes)) {
      image = XGetImage(FDisplay, window, 0, 0, attributes.width, attributes.height, AllPlanes,
                        ZPixmap);
    }
  });
  if (!image) throw std::runtime_error("X11 test host: no image of the window");
  const std::uint32_t alpha = attributes.depth == kAlphaDepth ? 0 : kOpaque;
  TPixelBuffer pixels(attributes.width, attributes.height);
  for (int y = 0; y < attributes.height; ++y) {
    std::uint32_t* row = pixels.Row(y);
    for (int x = 0; x < attributes.width; ++x) {
      row[x] = static_cast<std::uint32_t>(XGetPixel(image, x, y)) | alpha;
    }
  }
  XDestroyImage(image);
  return pixels;
}

void TX11TestHost::MovePointer(TWindowId window, int x, int y) {
  Checked(FDisplay, "moving the pointer", [&] {
    const int screen = DefaultScreen(FDisplay);
    int rootX = 0, rootY = 0;
    Window child = 0;
    if (XTranslateCoordinates(FDisplay, window, RootWindow(FDisplay, screen), x, y, &rootX, &rootY,
                              &child)) {
      XTestFakeMotionEvent(FDisplay, screen, rootX, rootY, CurrentTime);
    }
  });
}

void TX11TestHost::PressButton(unsigned button) {
  FakeButton(button, true);
}

void TX11TestHost::ReleaseButton(unsigned button) {
  FakeButton(button, false);
}

void TX11TestHost::TurnWheel(int notches) {
  const unsigned button = notches > 0 ? kWheelForward : kWheelBack;
  for (int i = 0; i < std::abs(notches); ++i) {
    FakeButton(button, true);
    FakeButton(button, false);
  }
}

void TX11TestHost::PressKey(unsigned long keysym) {
  FakeKey(keysym, true);
}

void TX11TestHost::ReleaseKey(unsigned long keysym) {
  FakeKey(keysym, false);
}

bool TX11TestHost::WaitUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

void TX11TestHost::FakeButton(unsigned button, bool press) {
  Checked(FDisplay, "pressing a button",
          [&] { XTestFakeButtonEvent(FDisplay, button, press ? True : False, CurrentTime); });
  Hold(FHeldButtons, button, press);
}

void TX11TestHost::FakeKey(unsigned long keysym, bool press) {
  const KeyCode key = XKeysymToKeycode(FDisplay, keysym);
  if (key == 0) throw std::runtime_error("X11 test host: no key for that keysym");
  Checked(FDisplay, "pressing a key",
          [&] { XTestFakeKeyEvent(FDisplay, key, press ? True : False, CurrentTime); });
  Hold(FHeldKeys, key, press);
}
